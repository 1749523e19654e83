#include "enginefixture.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace paycalc;

// The regional factor and the additional accruals (premium, annual reward,
// material aid) against the captions the user sees. The expected texts are
// worked out by hand from the pay rules, with the regional factor held in
// single precision as the captions hold it (1.15 is 1.149999976...), never
// taken from the engine.
namespace {

constexpr QStringView Three = u"   ";
constexpr QStringView Four = u"    ";
constexpr QStringView Six = u"      ";

QString rub(QStringView prefix, QStringView number)
{
    return prefix + number + u" руб.";
}

// Ranks: 8000, 2000, 2000.5, 1500; grade 12345.67. Chooses the rank by index
// and, when asked, the grade.
void chooseSalaries(EngineFixture& f, int rank = 0, bool grade = true)
{
    f.writeSalaryFile(u"Zvanie.Txt"_s, {{u"Майор"_s, u"8000"_s},
                                        {u"Рядовой"_s, u"2000"_s},
                                        {u"Ефрейтор"_s, u"2000.5"_s},
                                        {u"Курсант"_s, u"1500"_s}});
    f.writeSalaryFile(u"Dolznost.Txt"_s, {{u"10 тарифный разряд"_s, u"12345.67"_s}});
    f.e().select(List::Combo1, rank);
    if (grade)
        f.e().select(List::Combo2, 0);
}

void setRegionalPercent(EngineFixture& f, const QString& percent)
{
    f.typeAndSettle(Box::Text4, percent, Timer::Timer2);
}

} // namespace

class TestTablesRegional : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void regionalFactorAndOtherAllowances_data();
    void regionalFactorAndOtherAllowances();
    void afterTaxRowsCarryTheRegionalFactor_data();
    void afterTaxRowsCarryTheRegionalFactor();
    void materialAid_data();
    void materialAid();
    void annualRewardRemainingPercent_data();
    void annualRewardRemainingPercent();
};

void TestTablesRegional::regionalFactorAndOtherAllowances_data()
{
    QTest::addColumn<QString>("percent");
    QTest::addColumn<bool>("onOther");
    QTest::addColumn<QString>("other");
    QTest::addColumn<QString>("accrued");
    QTest::addColumn<QString>("rank");
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("tax");

    // 1000 of other allowances, 8000 + 2 x 12345.67 = 32691.34 of the rest.
    // The total uses the exact factor; the rows the single-precision one.
    QTest::newRow("15 %, on other") << u"15"_s << true << u" 1149.9"_s << u" 38745.04"_s
                                    << u" 9199.99"_s << u" 14197.52"_s << u" 5037"_s;
    QTest::newRow("15 %, not on other") << u"15"_s << false << u" 1000"_s << u" 38595.04"_s
                                        << u" 9199.99"_s << u" 14197.52"_s << u" 5017"_s;
    QTest::newRow("50 %, on other") << u"50"_s << true << u" 1500"_s << u" 50537.01"_s
                                    << u" 12000"_s << u" 18518.5"_s << u" 6570"_s;
    QTest::newRow("50 %, not on other") << u"50"_s << false << u" 1000"_s << u" 50037.01"_s
                                        << u" 12000"_s << u" 18518.5"_s << u" 6505"_s;
}

void TestTablesRegional::regionalFactorAndOtherAllowances()
{
    QFETCH(QString, percent);
    QFETCH(bool, onOther);
    QFETCH(QString, other);
    QFETCH(QString, accrued);
    QFETCH(QString, rank);
    QFETCH(QString, position);
    QFETCH(QString, tax);

    EngineFixture f;
    chooseSalaries(f);
    f.e().setSwitch(Switch::Check4, onOther);
    f.e().boxChanged(Box::Text5, u"1000"_s);
    setRegionalPercent(f, percent);
    f.e().timerTick(Timer::Timer6);
    QCOMPARE(f.caption(Label::Label31), rub(Six, other));
    QCOMPARE(f.caption(Label::Label23), rub(Three, accrued));
    QCOMPARE(f.caption(Label::Label22), rub(Six, rank));
    QCOMPARE(f.caption(Label::Label24), rub(Six, position));
    QCOMPARE(f.caption(Label::Label21), rub(Six, position));
    QCOMPARE(f.caption(Label::Label35), rub(Six, tax));
}

void TestTablesRegional::afterTaxRowsCarryTheRegionalFactor_data()
{
    QTest::addColumn<QString>("percent");
    QTest::addColumn<bool>("monthly");
    QTest::addColumn<QString>("premium");
    QTest::addColumn<QString>("premiumNet");
    QTest::addColumn<QString>("reward");
    QTest::addColumn<QString>("rewardNet");

    // Two salaries 20345.67: quarterly premium 15259.2525, monthly 5086.4175,
    // annual reward 61037.01; after tax 87 % of each; all times the factor.
    QTest::newRow("15 %, quarterly")
        << u"15"_s << false << u" 17548.14"_s << u" 15266.88"_s << u" 70192.56"_s << u" 61067.52"_s;
    QTest::newRow("15 %, monthly")
        << u"15"_s << true << u" 5849.38"_s << u" 5088.96"_s << u" 70192.56"_s << u" 61067.52"_s;
    QTest::newRow("50 %, quarterly")
        << u"50"_s << false << u" 22888.87"_s << u" 19913.32"_s << u" 91555.51"_s << u" 79653.29"_s;
    QTest::newRow("50 %, monthly")
        << u"50"_s << true << u" 7629.62"_s << u" 6637.77"_s << u" 91555.51"_s << u" 79653.29"_s;
}

void TestTablesRegional::afterTaxRowsCarryTheRegionalFactor()
{
    QFETCH(QString, percent);
    QFETCH(bool, monthly);
    QFETCH(QString, premium);
    QFETCH(QString, premiumNet);
    QFETCH(QString, reward);
    QFETCH(QString, rewardNet);

    EngineFixture f;
    chooseSalaries(f);
    setRegionalPercent(f, percent);
    f.e().setSwitch(Switch::Check6, true);
    f.e().setSwitch(monthly ? Switch::Option2 : Switch::Option1, true);
    f.e().setSwitch(Switch::Check5, true);
    f.e().timerTick(Timer::Timer6);
    QCOMPARE(f.caption(Label::Label52), rub(Four, premium));
    QCOMPARE(f.caption(Label::Label56), rub(Four, premiumNet));
    QCOMPARE(f.caption(Label::Label58), rub(Four, reward));
    QCOMPARE(f.caption(Label::Label57), rub(Four, rewardNet));
}

void TestTablesRegional::materialAid_data()
{
    QTest::addColumn<QString>("percent");
    QTest::addColumn<int>("rank");
    QTest::addColumn<bool>("grade");
    QTest::addColumn<QString>("aid");
    QTest::addColumn<QString>("aidNet");
    QTest::addColumn<QString>("tax");

    // Material aid is twice the two salaries. Up to 4000 it is shown after
    // tax as it is (no factor, no tax); above, the factor applies and 13 % of
    // what exceeds 4000 comes off. The tax leaves out at most 4000 of it.
    QTest::newRow("40691.34 at 15 %")
        << u"15"_s << 0 << true << u" 46795.04"_s << u" 41231.68"_s << u" 10451"_s;
    QTest::newRow("40691.34 at 0 %")
        << u"0"_s << 0 << true << u" 40691.34"_s << u" 35921.46"_s << u" 9020"_s;
    QTest::newRow("4001 at 15 %") << u"15"_s << 2 << false << u" 4601.14"_s << u" 4523"_s
                                  << u" 377"_s;
    QTest::newRow("4001 at 0 %") << u"0"_s << 2 << false << u" 4001"_s << u" 4000.87"_s
                                 << u" 260"_s;
    QTest::newRow("4000 at 15 %") << u"15"_s << 1 << false << u" 4599.99"_s << u" 4000"_s
                                  << u" 377"_s;
    QTest::newRow("3000 at 15 %") << u"15"_s << 3 << false << u" 3449.99"_s << u" 3000"_s
                                  << u" 283"_s;
}

void TestTablesRegional::materialAid()
{
    QFETCH(QString, percent);
    QFETCH(int, rank);
    QFETCH(bool, grade);
    QFETCH(QString, aid);
    QFETCH(QString, aidNet);
    QFETCH(QString, tax);

    EngineFixture f;
    chooseSalaries(f, rank, grade);
    setRegionalPercent(f, percent);
    f.e().setSwitch(Switch::Check3, true);
    f.e().timerTick(Timer::Timer6);
    QCOMPARE(f.caption(Label::Label59), rub(Four, aid));
    QCOMPARE(f.caption(Label::Label61), rub(Four, aidNet));
    QCOMPARE(f.caption(Label::Label35), rub(Six, tax));
}

void TestTablesRegional::annualRewardRemainingPercent_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("reward");
    QTest::addColumn<QString>("rewardNet");

    // The full reward is 3 x 20345.67 = 61037.01; a percent outside 0..100
    // leaves nothing, not the whole reward.
    QTest::newRow("above 100") << u"150"_s << u" 0"_s << u" 0"_s;
    QTest::newRow("just above 100") << u"100.5"_s << u" 0"_s << u" 0"_s;
    QTest::newRow("below 0") << u"-5"_s << u" 0"_s << u" 0"_s;
    QTest::newRow("100") << u"100"_s << u" 61037.01"_s << u" 53102.19"_s;
    QTest::newRow("99.9") << u"99.9"_s << u" 60975.97"_s << u" 53049.09"_s;
    QTest::newRow("50") << u"50"_s << u" 30518.5"_s << u" 26551.09"_s;
    QTest::newRow("0") << u"0"_s << u" 0"_s << u" 0"_s;
    QTest::newRow("comma ends the number") << u"12,5"_s << u" 7324.44"_s << u" 6372.26"_s;
    QTest::newRow("letters") << u"abc"_s << u" 0"_s << u" 0"_s;
}

void TestTablesRegional::annualRewardRemainingPercent()
{
    QFETCH(QString, typed);
    QFETCH(QString, reward);
    QFETCH(QString, rewardNet);

    EngineFixture f;
    chooseSalaries(f);
    f.e().setSwitch(Switch::Check5, true);
    f.e().setSwitch(Switch::Check2, true);
    f.e().boxChanged(Box::Text3, typed);
    f.e().timerTick(Timer::Timer6);
    QCOMPARE(f.caption(Label::Label58), rub(Four, reward));
    QCOMPARE(f.caption(Label::Label57), rub(Four, rewardNet));
}

QTEST_GUILESS_MAIN(TestTablesRegional)
#include "tst_tables_regional.moc"
