#include "enginefixture.h"
#include "paycalc/numbers.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace paycalc;

namespace {

const QString Zero6 = u"       0 руб."_s;

QString rub(QStringView prefix, QStringView number)
{
    return prefix + number + u" руб.";
}

// Types an amount into the other-allowances box and lets it settle, which
// makes TotalAccrued that amount when nothing else is accrued.
void accrue(EngineFixture& f, const QString& amount)
{
    f.typeAndSettle(Box::Text5, amount, Timer::Timer1);
}

void setRegionalPercent(EngineFixture& f, const QString& percent)
{
    f.typeAndSettle(Box::Text4, percent, Timer::Timer2);
}

} // namespace

class TestComputation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void nothingChosenShowsZerosInOrder();
    void regionalFactorIsSinglePrecisionInCaptionsOnly();
    void premium_data();
    void premium();
    void premiumWithoutOptionKeepsItsValue();
    void annualRewardAndMaterialAid();
    void materialAidBelowTaxFreeLimit();
    void otherAllowancesFollowRegionalSwitch();
    void incomeTax_data();
    void incomeTax();
    void taxFreeMaterialAidLeavesTheBase();
    void withheldCaptionCutsBeforeRounding();
    void netPayFollowsTheWithheldTotal();
    void taxAboveSixteenBitsIsShownWhole();
    void taxableBaseNeverBelowZero();
    void hugeAmountsKeepTheirIntegerPart();
    void grandTotalFollowsNetPay();
    void handOverCarriesExactAmountsWithAPoint();
    void otherAllowancesRefresh_data();
    void otherAllowancesRefresh();
    void otherDeductionsRefresh();
    void regionalRefresh_data();
    void regionalRefresh();
    void premiumPercentBoxStartsTheRegionalRefresh();
    void runningTimerIsNotStartedAgain();
    void resetZeroesTheListedValues();
    void resetShowsZeroDeductionsAndFoodRation();
    void designCaptionsBeforeAnyChoice_data();
    void designCaptionsBeforeAnyChoice();
    void designCaptionsAreTheEmptySheetsCaptions();
};

void TestComputation::nothingChosenShowsZerosInOrder()
{
    EngineFixture f;
    f.e().timerTick(Timer::Timer6);
    QCOMPARE(f.sink.captionOrder(),
             (QStringList{u"Label31"_s, u"Label21"_s, u"Label23"_s, u"Label24"_s, u"Label63"_s,
                          u"Label25"_s, u"Label64"_s, u"Label22"_s, u"Label62"_s, u"Label26"_s,
                          u"Label27"_s, u"Label28"_s, u"Label29"_s, u"Label30"_s, u"Label45"_s,
                          u"Label52"_s, u"Label56"_s, u"Label58"_s, u"Label57"_s, u"Label59"_s,
                          u"Label61"_s, u"Label35"_s, u"Label36"_s, u"Label39"_s, u"Label41"_s}));
    for (const Label label :
         {Label::Label21, Label::Label22, Label::Label24, Label::Label25, Label::Label26,
          Label::Label27, Label::Label28, Label::Label29, Label::Label30, Label::Label45,
          Label::Label31, Label::Label35, Label::Label36, Label::Label39, Label::Label41})
        QCOMPARE(f.caption(label), Zero6);
    QCOMPARE(f.caption(Label::Label23), u"    0 руб."_s);
    for (const Label label : {Label::Label52, Label::Label56, Label::Label57, Label::Label58,
                              Label::Label59, Label::Label61})
        QCOMPARE(f.caption(label), u"     0 руб."_s);
    QCOMPARE(f.caption(Label::Label62), u"0"_s);
    QCOMPARE(f.sheet().NetPay, 0.0);
}

void TestComputation::regionalFactorIsSinglePrecisionInCaptionsOnly()
{
    EngineFixture f;
    f.e().select(List::Combo1, 0); // 10000
    setRegionalPercent(f, u"15"_s);
    QCOMPARE(f.sheet().RegionalMultiplier, 1.15f);
    QCOMPARE(f.caption(Label::Label22), rub(u"      ", u" 11499.99"));
    QCOMPARE(f.sheet().TotalAccrued, (15.0 / 100 + 1) * 10000);
    // The regional refresh writes the total with a six-blank prefix...
    QCOMPARE(f.caption(Label::Label23), rub(u"      ", u" 11500"));
    QCOMPARE(f.caption(Label::Label62), u"10000"_s);
    // ...and the next periodic run with the usual three.
    f.e().timerTick(Timer::Timer6);
    QCOMPARE(f.caption(Label::Label23), rub(u"   ", u" 11500"));
}

void TestComputation::premium_data()
{
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<bool>("monthly");
    QTest::addColumn<bool>("cut");
    QTest::addColumn<QString>("percent");
    QTest::addColumn<double>("premium");

    QTest::newRow("not ticked") << false << false << false << QString() << 0.0;
    QTest::newRow("quarterly") << true << false << false << QString() << 11250.0;
    QTest::newRow("monthly") << true << true << false << QString() << 3750.0;
    QTest::newRow("quarterly, half left") << true << false << true << u"50"_s << 5625.0;
    QTest::newRow("monthly, half left") << true << true << true << u"50"_s << 1875.0;
    QTest::newRow("above 100 is nothing") << true << false << true << u"150"_s << 0.0;
    QTest::newRow("negative is nothing") << true << false << true << u"-5"_s << 0.0;
    QTest::newRow("letters are nothing") << true << false << true << u"abc"_s << 0.0;
    QTest::newRow("all of it") << true << false << true << u"100"_s << 11250.0;
}

void TestComputation::premium()
{
    QFETCH(bool, ticked);
    QFETCH(bool, monthly);
    QFETCH(bool, cut);
    QFETCH(QString, percent);
    QFETCH(double, premium);

    EngineFixture f;
    f.e().select(List::Combo1, 1); // 5000
    f.e().select(List::Combo2, 0); // 10000: ODS 15000
    f.e().setSwitch(Switch::Check6, ticked);
    f.e().setSwitch(monthly ? Switch::Option2 : Switch::Option1, true);
    f.e().setSwitch(Switch::Check1, cut);
    f.e().boxChanged(Box::Text2, percent);
    f.e().timerTick(Timer::Timer6);
    QCOMPARE(f.sheet().Premium, premium);
    QCOMPARE(f.caption(Label::Label52), rub(u"    ", captionNumber(premium)));
    QCOMPARE(f.sheet().TotalAccrued, 5000 + 2 * 10000 + premium);
}

void TestComputation::premiumWithoutOptionKeepsItsValue()
{
    EngineFixture f;
    f.e().select(List::Combo1, 1);
    f.e().select(List::Combo2, 0);
    f.e().setSwitch(Switch::Check6, true);
    f.e().timerTick(Timer::Timer6);
    QCOMPARE(f.sheet().Premium, 11250.0);
    f.e().setSwitch(Switch::Option1, false);
    f.e().select(List::Combo1, 0); // ODS changes, the premium does not
    f.e().timerTick(Timer::Timer6);
    QCOMPARE(f.sheet().Premium, 11250.0);
    f.e().setSwitch(Switch::Option2, true);
    f.e().timerTick(Timer::Timer6);
    QCOMPARE(f.sheet().Premium, 5000.0);
    QVERIFY(!f.e().isOn(Switch::Option1));
}

void TestComputation::annualRewardAndMaterialAid()
{
    EngineFixture f;
    f.e().select(List::Combo1, 1);
    f.e().select(List::Combo2, 0);
    f.e().setSwitch(Switch::Check5, true);
    f.e().setSwitch(Switch::Check3, true);
    f.e().timerTick(Timer::Timer6);
    QCOMPARE(f.sheet().AnnualReward, 45000.0);
    QCOMPARE(f.caption(Label::Label58), rub(u"    ", u" 45000"));
    QCOMPARE(f.caption(Label::Label57), rub(u"    ", u" 39150"));
    QCOMPARE(f.sheet().MaterialAid, 30000.0);
    QCOMPARE(f.sheet().MaterialAidTaxFree, 4000.0);
    QCOMPARE(f.caption(Label::Label61), rub(u"    ", u" 26620"));

    f.e().setSwitch(Switch::Check2, true);
    f.e().boxChanged(Box::Text3, u"10"_s);
    QVERIFY(!f.e().isTimerRunning(Timer::Timer2)); // Text3 has no delayed refresh
    f.e().timerTick(Timer::Timer6);
    QCOMPARE(f.sheet().AnnualReward, 4500.0);
}

void TestComputation::materialAidBelowTaxFreeLimit()
{
    EngineFixture f;
    f.e().select(List::Combo2, 1); // 1500: material aid 3000
    setRegionalPercent(f, u"20"_s);
    f.e().setSwitch(Switch::Check3, true);
    f.e().timerTick(Timer::Timer6);
    QCOMPARE(f.sheet().MaterialAid, 3000.0);
    QCOMPARE(f.sheet().MaterialAidTaxFree, 3000.0);
    QCOMPARE(f.caption(Label::Label59), rub(u"    ", u" 3600"));
    QCOMPARE(f.caption(Label::Label61), rub(u"    ", u" 3000"));

    f.e().select(List::Combo2, 2); // 5000: material aid 10000
    setRegionalPercent(f, u"0"_s);
    f.e().timerTick(Timer::Timer6);
    QCOMPARE(f.caption(Label::Label61), rub(u"    ", u" 9220"));
}

void TestComputation::otherAllowancesFollowRegionalSwitch()
{
    EngineFixture f;
    f.e().boxChanged(Box::Text5, u"1000"_s);
    setRegionalPercent(f, u"50"_s);
    QCOMPARE(f.sheet().TotalAccrued, 1500.0);
    QCOMPARE(f.caption(Label::Label31), rub(u"      ", u" 1500"));
    f.e().setSwitch(Switch::Check4, false);
    f.e().timerTick(Timer::Timer6);
    QCOMPARE(f.sheet().TotalAccrued, 1000.0);
    QCOMPARE(f.caption(Label::Label31), rub(u"      ", u" 1000"));
}

void TestComputation::incomeTax_data()
{
    QTest::addColumn<QString>("accrued");
    QTest::addColumn<int>("bracket");
    QTest::addColumn<int>("children");
    QTest::addColumn<double>("tax");

    QTest::newRow("to 20, two children") << u"30000"_s << 0 << 2 << 3692.0;
    QTest::newRow("to 40, two children") << u"30000"_s << 1 << 2 << 3744.0;
    QTest::newRow("above 40") << u"30000"_s << 2 << -1 << 3900.0;
    QTest::newRow("to 20, no children") << u"30000"_s << 0 << 0 << 3848.0;
    QTest::newRow("no bracket chosen") << u"30000"_s << -1 << -1 << 3900.0;
    QTest::newRow("half to even down") << u"10050"_s << -1 << -1 << 1306.0;
    QTest::newRow("half to even up") << u"10150"_s << -1 << -1 << 1320.0;
}

void TestComputation::incomeTax()
{
    QFETCH(QString, accrued);
    QFETCH(int, bracket);
    QFETCH(int, children);
    QFETCH(double, tax);

    EngineFixture f;
    accrue(f, accrued);
    if (bracket >= 0)
        f.e().select(List::Combo13, bracket);
    if (children >= 0)
        f.e().select(List::Combo14, children);
    f.e().timerTick(Timer::Timer6);
    QCOMPARE(f.sheet().IncomeTax, tax);
    QCOMPARE(f.sheet().TotalWithheld, tax);
    QCOMPARE(f.caption(Label::Label35), rub(u"      ", captionNumber(tax)));
    QCOMPARE(f.sheet().NetPay, leadingNumber(accrued) - tax);
}

void TestComputation::taxFreeMaterialAidLeavesTheBase()
{
    EngineFixture f;
    f.e().select(List::Combo1, 1);
    f.e().select(List::Combo2, 0); // ODS 15000: material aid 30000
    f.e().select(List::Combo13, 0);
    f.e().select(List::Combo14, 2);
    f.e().setSwitch(Switch::Check3, true);
    f.e().timerTick(Timer::Timer6);
    QCOMPARE(f.sheet().TotalAccrued, 55000.0);
    // 55000 - 400 - 1200 - 4000 = 49400
    QCOMPARE(f.sheet().IncomeTax, 6422.0);
}

void TestComputation::withheldCaptionCutsBeforeRounding()
{
    EngineFixture f;
    accrue(f, u"10050"_s);
    f.typeAndSettle(Box::Text1, u"100.5"_s, Timer::Timer3);
    QCOMPARE(f.sheet().OtherDeductions, 100.5);
    QCOMPARE(f.sheet().TotalWithheld, 1406.5);
    QCOMPARE(f.caption(Label::Label36), rub(u"      ", u" 1406"));
    QCOMPARE(f.caption(Label::Label65), u"   100.5 руб."_s);
}

void TestComputation::netPayFollowsTheWithheldTotal()
{
    EngineFixture f;
    accrue(f, u"30000"_s);
    f.e().select(List::Combo13, 2);
    f.sink.calls.clear();
    f.typeAndSettle(Box::Text1, u"0.5"_s, Timer::Timer3);
    // The box's rewrite to ".5" is a change of its own: wait caption again.
    const qsizetype rewrite = f.sink.indexOf(u"Text1 := .5"_s);
    QVERIFY(rewrite > 0);
    QCOMPARE(f.sink.calls.value(rewrite + 1), u"Label36 =  Подождите..."_s);
    QCOMPARE(f.sheet().TotalWithheld, 3900.5);
    QCOMPARE(f.sheet().NetPay, 26099.5);
    QCOMPARE(f.caption(Label::Label39), rub(u"      ", u" 26099.5"));
    QCOMPARE(f.caption(Label::Label36), rub(u"      ", u" 3900"));
    QVERIFY(!f.e().isTimerRunning(Timer::Timer3));
}

void TestComputation::taxAboveSixteenBitsIsShownWhole()
{
    EngineFixture f;
    accrue(f, u"307693"_s);
    f.e().timerTick(Timer::Timer6);
    QCOMPARE(f.sheet().IncomeTax, 40000.0);
    QCOMPARE(f.caption(Label::Label35), rub(u"      ", u" 40000"));
    QCOMPARE(f.caption(Label::Label36), rub(u"      ", u" 40000"));
    QCOMPARE(f.caption(Label::Label39), rub(u"      ", u" 267693"));
}

void TestComputation::taxableBaseNeverBelowZero()
{
    EngineFixture f;
    accrue(f, u"100"_s);
    f.e().select(List::Combo13, 0);
    f.e().select(List::Combo14, 1);
    f.e().timerTick(Timer::Timer6);
    QCOMPARE(f.sheet().IncomeTaxExact, 0.0);
    QCOMPARE(f.sheet().IncomeTax, 0.0);
    QCOMPARE(f.sheet().NetPay, 100.0);
    QCOMPARE(f.caption(Label::Label35), Zero6);
}

void TestComputation::hugeAmountsKeepTheirIntegerPart()
{
    EngineFixture f;
    f.e().select(List::Combo1, 3); // 123456789
    f.e().timerTick(Timer::Timer6);
    QCOMPARE(f.caption(Label::Label22), rub(u"      ", u" 123456789"));
    QCOMPARE(f.caption(Label::Label35), rub(u"      ", u" 16049383"));
    QCOMPARE(f.caption(Label::Label39), rub(u"      ", u" 107407406"));
    QCOMPARE(f.caption(Label::Label41), rub(u"      ", u" 107407406"));
}

void TestComputation::grandTotalFollowsNetPay()
{
    EngineFixture f;
    f.e().select(List::Combo12, 1);
    QCOMPARE(f.sheet().GrandTotal, 600.0);
    f.e().select(List::Combo1, 0); // 10000, tax 1300
    f.e().timerTick(Timer::Timer6);
    QCOMPARE(f.sheet().NetPay, 8700.0);
    QCOMPARE(f.sheet().GrandTotal, 9300.0);
    QCOMPARE(f.caption(Label::Label41), rub(u"      ", u" 9300"));
}

void TestComputation::handOverCarriesExactAmountsWithAPoint()
{
    EngineFixture f;
    f.writeSalaryFile(u"Zvanie.Txt"_s, {{u"A"_s, u"12345.67"_s}});
    f.writeSalaryFile(u"Dolznost.Txt"_s, {{u"B"_s, u"20000.5"_s}});
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    f.e().select(List::Combo1, 0);
    f.e().select(List::Combo2, 0);
    f.e().select(List::Combo5, 1);
    f.e().select(List::Combo3, 3);
    QLocale::setDefault(QLocale::c());
    QCOMPARE(f.caption(Label::Label62), u"12345.67"_s);
    QCOMPARE(f.caption(Label::Label63), u"27000.675"_s);
    QCOMPARE(f.caption(Label::Label64), amountText(0.40 * (12345.67 + 20000.5 * 1.35)));
    QVERIFY(f.caption(Label::Label64).contains(u'.'));
}

void TestComputation::otherAllowancesRefresh_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("box");
    QTest::newRow("blank inside") << u"1 500.5"_s << 1500.5 << u"1500.5"_s;
    QTest::newRow("comma") << u"12,5"_s << 12.0 << u"12"_s;
    QTest::newRow("negative") << u"-100"_s << 0.0 << u"0"_s;
    QTest::newRow("half") << u"0.5"_s << 0.5 << u".5"_s;
    QTest::newRow("letters") << u"abc"_s << 0.0 << u"0"_s;
}

void TestComputation::otherAllowancesRefresh()
{
    QFETCH(QString, typed);
    QFETCH(double, amount);
    QFETCH(QString, box);

    EngineFixture f;
    f.e().boxChanged(Box::Text5, typed);
    QCOMPARE(f.sink.calls, (QStringList{u"start Timer1"_s, u"Label23 =    Подождите..."_s}));
    f.sink.calls.clear();
    f.e().timerTick(Timer::Timer1);
    QCOMPARE(f.sheet().OtherAllowances, amount);
    QCOMPARE(f.e().boxText(Box::Text5), box);
    // Rewrite, its own change (timer already running), the accruals, the stop.
    QCOMPARE(f.sink.calls.value(0), u"Text5 := "_s + box);
    QCOMPARE(f.sink.calls.value(1), u"Label23 =    Подождите..."_s);
    QCOMPARE(f.sink.calls.value(2).section(u' ', 0, 0), u"Label31"_s);
    QCOMPARE(f.sink.calls.last(), u"stop Timer1"_s);
    QCOMPARE(f.caption(Label::Label31), rub(u"      ", captionNumber(amount)));
    QCOMPARE(f.sheet().TotalAccrued, amount);

    // A box already in normal form is not rewritten.
    f.sink.calls.clear();
    f.e().boxChanged(Box::Text5, box);
    f.e().timerTick(Timer::Timer1);
    QVERIFY(!f.sink.calls.contains(u"Text5 := "_s + box));
}

void TestComputation::otherDeductionsRefresh()
{
    EngineFixture f;
    f.e().boxChanged(Box::Text1, u"-100"_s);
    QCOMPARE(f.sink.calls.mid(0, 2),
             (QStringList{u"start Timer3"_s, u"Label36 =  Подождите..."_s}));
    // The wait caption is a write of the withheld caption: net pay follows.
    QCOMPARE(f.sink.calls.value(2).section(u' ', 0, 0), u"Label39"_s);
    f.e().timerTick(Timer::Timer3);
    QCOMPARE(f.sheet().OtherDeductions, 0.0);
    QCOMPARE(f.e().boxText(Box::Text1), u"0"_s);
    QCOMPARE(f.caption(Label::Label65), u"   0 руб."_s);
    QCOMPARE(f.caption(Label::Label36), Zero6);
    QVERIFY(!f.e().isTimerRunning(Timer::Timer3));
}

void TestComputation::regionalRefresh_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("percent");
    QTest::addColumn<float>("multiplier");
    QTest::addColumn<QString>("box");
    QTest::newRow("above 300") << u"350"_s << 300.0 << 4.0f << u"300"_s;
    QTest::newRow("letters") << u"abc"_s << 0.0 << 1.0f << u"0"_s;
    QTest::newRow("negative") << u"-20"_s << 0.0 << 1.0f << u"0"_s;
    QTest::newRow("fraction") << u"12.5"_s << 12.5 << 1.125f << u"12.5"_s;
}

void TestComputation::regionalRefresh()
{
    QFETCH(QString, typed);
    QFETCH(double, percent);
    QFETCH(float, multiplier);
    QFETCH(QString, box);

    EngineFixture f;
    f.e().select(List::Combo1, 0);
    f.e().boxChanged(Box::Text5, u"100"_s);
    f.e().boxChanged(Box::Text4, typed);
    QVERIFY(f.e().isTimerRunning(Timer::Timer1));
    QVERIFY(f.e().isTimerRunning(Timer::Timer2));
    f.sink.calls.clear();
    f.e().timerTick(Timer::Timer2);
    QCOMPARE(f.sheet().RegionalPercent, percent);
    QCOMPARE(f.sheet().RegionalMultiplier, multiplier);
    QCOMPARE(f.e().boxText(Box::Text4), box);
    QCOMPARE(f.sheet().OtherAllowances, 100.0);
    QVERIFY(!f.e().isTimerRunning(Timer::Timer1));
    QVERIFY(!f.e().isTimerRunning(Timer::Timer2));
    // Timer1 stops inside the nested other-allowances refresh, Timer2 last.
    QCOMPARE(f.sink.calls.count(u"stop Timer1"_s), 1);
    QCOMPARE(f.sink.calls.last(), u"stop Timer2"_s);
    // Rows 1 to 11 written again, the total with six blanks.
    const QStringList order = f.sink.captionOrder();
    QCOMPARE(order.mid(order.size() - 14),
             (QStringList{u"Label21"_s, u"Label23"_s, u"Label24"_s, u"Label63"_s, u"Label25"_s,
                          u"Label64"_s, u"Label22"_s, u"Label62"_s, u"Label26"_s, u"Label27"_s,
                          u"Label28"_s, u"Label29"_s, u"Label30"_s, u"Label45"_s}));
    QCOMPARE(f.caption(Label::Label23), rub(u"      ", captionNumber((percent / 100 + 1) * 10100)));
}

void TestComputation::premiumPercentBoxStartsTheRegionalRefresh()
{
    EngineFixture f;
    f.e().boxChanged(Box::Text2, u"50"_s);
    QCOMPARE(f.sink.calls, (QStringList{u"start Timer2"_s, u"Label23 =    Подождите..."_s}));
    f.e().timerTick(Timer::Timer2);
    QCOMPARE(f.sheet().RegionalPercent, 0.0);
    QCOMPARE(f.e().boxText(Box::Text2), u"50"_s);
}

void TestComputation::runningTimerIsNotStartedAgain()
{
    EngineFixture f;
    f.e().boxChanged(Box::Text5, u"1"_s);
    f.e().boxChanged(Box::Text5, u"12"_s);
    f.e().boxChanged(Box::Text4, u"1"_s);
    f.e().boxChanged(Box::Text2, u"1"_s);
    QCOMPARE(f.sink.calls.count(u"start Timer1"_s), 1);
    QCOMPARE(f.sink.calls.count(u"start Timer2"_s), 1);
    f.e().timerTick(Timer::Timer1);
    f.e().timerTick(Timer::Timer1); // a late tick stops nothing twice
    QCOMPARE(f.sink.calls.count(u"stop Timer1"_s), 1);
}

void TestComputation::resetZeroesTheListedValues()
{
    EngineFixture f;
    f.e().select(List::Combo1, 0);
    f.e().select(List::Combo2, 0);
    f.e().select(List::Combo11, 1);
    f.e().select(List::Combo10, 0);
    f.e().select(List::Combo12, 1);
    f.e().select(List::Combo13, 0);
    f.e().setSwitch(Switch::Check6, true);
    setRegionalPercent(f, u"15"_s);
    f.typeAndSettle(Box::Text1, u"250"_s, Timer::Timer3);
    f.e().timerTick(Timer::Timer6);
    const double premium = f.sheet().Premium;
    QVERIFY(premium > 0);

    f.sink.calls.clear();
    f.e().reset();
    const PaySheet& s = f.sheet();
    for (const double value :
         {s.RankSalary, s.PositionSalary, s.RaisedPositionSalary, s.FlightRaiseFactor,
          s.ComplexityBonus, s.OtherAllowances, s.SelfDeduction, s.ChildDeduction, s.IncomeTax,
          s.OtherDeductions, s.NetPay, s.FoodRationCompensation, s.GrandTotal})
        QCOMPARE(value, 0.0);
    // Kept: the secrecy-unit rate, the factor, the premium, the sanatorium.
    QCOMPARE(s.SecrecyUnitRate, 0.10);
    QCOMPARE(s.RegionalMultiplier, 1.15f);
    QCOMPARE(s.Premium, premium);
    QCOMPARE(s.SanatoriumCompensation, 600.0);
    QCOMPARE(f.e().mirror(Mirror::Txt1), u" 0"_s);
    // The tax first (from the old total), then the accruals, then the total.
    const QStringList order = f.sink.captionOrder();
    QCOMPARE(order.mid(0, 5),
             (QStringList{u"Label35"_s, u"Label36"_s, u"Label39"_s, u"Label41"_s, u"Label31"_s}));
    QCOMPARE(order.last(), u"Label41"_s);
    QCOMPARE(f.caption(Label::Label41), Zero6);
    QCOMPARE(f.caption(Label::Label22), Zero6);
}

// The deductions' and the food ration's amounts follow the zeroed values, as
// the other allowances' amount does: what the sheet shows adds up.
void TestComputation::resetShowsZeroDeductionsAndFoodRation()
{
    EngineFixture f;
    f.e().select(List::Combo10, 0); // 620
    f.typeAndSettle(Box::Text1, u"250"_s, Timer::Timer3);
    f.typeAndSettle(Box::Text5, u"100"_s, Timer::Timer1);
    QCOMPARE(f.caption(Label::Label65), u"   250 руб."_s);

    f.e().reset();
    QCOMPARE(f.caption(Label::Label65), u"   0 руб."_s);
    QCOMPARE(f.caption(Label::Label40), Zero6);
    QCOMPARE(f.caption(Label::Label31), Zero6);
    QCOMPARE(f.sink.captions.value(Label::Label65), u"   0 руб."_s);
    // The boxes keep what was typed until they are edited again.
    QCOMPARE(f.e().boxText(Box::Text1), u"250"_s);
    QCOMPARE(f.e().boxText(Box::Text5), u"100"_s);
}

void TestComputation::designCaptionsBeforeAnyChoice_data()
{
    QTest::addColumn<Label>("label");
    QTest::addColumn<QString>("caption");

    QTest::addRow("Label22 accrual") << Label::Label22 << Zero6;
    QTest::addRow("Label23 total") << Label::Label23 << u"    0 руб."_s;
    QTest::addRow("Label52 additional") << Label::Label52 << u"     0 руб."_s;
    QTest::addRow("Label65 other deductions") << Label::Label65 << u"   0 руб."_s;
    QTest::addRow("Label47 layout") << Label::Label47 << u"???"_s;
    QTest::addRow("Label62 hand-over") << Label::Label62 << u"zvanie"_s;
}

// Before anything is loaded or chosen, every label has its design caption,
// and showing all captions hands exactly those to the window.
void TestComputation::designCaptionsBeforeAnyChoice()
{
    QFETCH(Label, label);
    QFETCH(QString, caption);

    RecordingSink sink;
    PayEngine engine(sink, QString());
    QCOMPARE(engine.caption(label), caption);
    QVERIFY(sink.calls.isEmpty());
    engine.showAllCaptions();
    QCOMPARE(sink.captions.value(label), caption);
    QCOMPARE(sink.captionOrder().size(), qsizetype(Labels.size()));
    // Showing the captions computes nothing: no net pay, no hand-over amount.
    QCOMPARE(sink.captions.value(Label::Label62), u"zvanie"_s);
}

// The first computations of an empty sheet change no amount text: each
// design caption is the zero in its label's own form.
void TestComputation::designCaptionsAreTheEmptySheetsCaptions()
{
    RecordingSink sink;
    const PayEngine design(sink, QString());

    EngineFixture f;
    f.e().timerTick(Timer::Timer6);
    f.typeAndSettle(Box::Text1, QString(), Timer::Timer3);
    f.e().select(List::Combo10, 13); // "беру продуктами": 0
    f.e().select(List::Combo12, 0);  // " Я не получаю ": 0
    for (const Label label : Labels) {
        if (label == Label::Label47 || label == Label::Label62 || label == Label::Label63 ||
            label == Label::Label64)
            continue; // not amounts
        QCOMPARE(design.caption(label), f.caption(label));
    }
}

QTEST_GUILESS_MAIN(TestComputation)
#include "tst_computation.moc"
