#include "paycalc/cp1251.h"
#include "paycalc/todaypay.h"
#include "testfiles.h"

#include <cmath>
#include <map>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace paycalc::todaypay;

namespace {

const QString ShippedRules = QStringLiteral(VOLDAR_SOURCE_DATA_DIR "/Pravila.Txt");

// Lieutenant 30 000, grade 10: 26 636,50; base salary 56 636,50.
const QByteArray Ranks =
    paycalc::cp1251::encodeLines({u"Оклады по званиям"_s, u"1"_s, u"Рядовой"_s, u"10000"_s, u"2"_s,
                                  u"Лейтенант"_s, u"30000"_s, QString(), QString()});
const QByteArray Grades =
    paycalc::cp1251::encodeLines({u"Оклады по разрядам"_s, u"1"_s, u"1 разряд"_s, u"20000"_s,
                                  u"2"_s, u"10 разряд"_s, u"26636.50"_s, QString(), QString()});

Amount amountKey(const QString& key)
{
    static const QStringList keys = {u"R"_s,   u"P"_s,   u"ODS"_s, u"LS"_s,  u"Q"_s,   u"SS"_s,
                                     u"SC"_s,  u"RK"_s,  u"ACH"_s, u"PR"_s,  u"REG"_s, u"NOR"_s,
                                     u"AID"_s, u"ACC"_s, u"DED"_s, u"TAX"_s, u"NET"_s};
    return static_cast<Amount>(keys.indexOf(key));
}

QStringList shippedLines()
{
    return paycalc::cp1251::decode(readBytes(ShippedRules)).split(u"\r\n"_s);
}

int lineOf(const QString& prefix)
{
    const QStringList lines = shippedLines();
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i].startsWith(prefix))
            return int(i) + 1;
    return 0;
}

// The shipped rules with the line that starts with `prefix` replaced.
QByteArray rulesWith(const QString& prefix, const QString& line)
{
    QStringList lines = shippedLines();
    lines[lineOf(prefix) - 1] = line;
    return paycalc::cp1251::encode(lines.join(u"\r\n"_s));
}

} // namespace

class TestTodayPay : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(writeBytes(path(u"Zvanie.Txt"_s), Ranks));
        QVERIFY(writeBytes(path(u"Dolznost.Txt"_s), Grades));
        QVERIFY(writeBytes(path(u"Pravila.Txt"_s), readBytes(ShippedRules)));
    }

    void computesEveryAmount_data();
    void computesEveryAmount();
    void readsTypedNumbers_data();
    void readsTypedNumbers();
    void refusesAWrongFile_data();
    void refusesAWrongFile();
    void reloadKeepsChoicesThatStillExist();
    void choicesComeBackAndDamageIsIgnored();
    void showsAmountsSourcesAndEdition();

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

void TestTodayPay::computesEveryAmount_data()
{
    QTest::addColumn<QString>("settings"); // choices, blank-separated
    QTest::addColumn<QString>("expected"); // amounts in roubles

    QTest::newRow("lieutenant, 2nd class, 25 % premium")
        << u"rank=1 grade=1 qualification=2"_s
        << u"R=30000 P=26636.50 ODS=56636.50 LS=0 Q=2663.65 SS=0 PR=14159.13 REG=0 NOR=0 AID=0 "
           "ACC=73459.28 DED=0 TAX=9550 NET=63909.28"_s;

    // Years or class : amount, for a lieutenant without premium.
    const QString lieutenant = u"rank=1 grade=1 premium=0 "_s;
    for (const QString& step : u"1:0 2:5663.65 5:8495.48 10:11327.30 15:14159.13 20:16990.95 "
                               "25:22654.60"_s.split(u' '))
        QTest::addRow("%s years of service", qPrintable(step.section(u':', 0, 0)))
            << lieutenant + u"serviceYears="_s + step.section(u':', 0, 0)
            << u"LS="_s + step.section(u':', 1);
    for (const QString& step : u"0:0 1:1331.83 2:2663.65 3:5327.30 4:7990.95"_s.split(u' '))
        QTest::addRow("qualification %s", qPrintable(step.section(u':', 0, 0)))
            << lieutenant + u"qualification="_s + step.section(u':', 0, 0)
            << u"Q="_s + step.section(u':', 1);

    QTest::newRow("material aid under 4 000 is tax-free")
        << u"premium=0 manualPositionSalary=3000 materialAid=1"_s
        << u"ODS=3000 AID=3000 ACC=6000 TAX=390 NET=5610"_s;
    QTest::newRow("material aid over 4 000: the rest is taxed")
        << lieutenant + u"materialAid=1"_s << u"AID=56636.50 ACC=113273 TAX=14205 NET=99068"_s;
    QTest::newRow("450 000 reached, not passed: deduction")
        << lieutenant + u"children=1 incomeSoFar=393363.50"_s
        << u"DED=1400 TAX=7181 NET=49455.50"_s;
    QTest::newRow("450 000 passed in the month: none")
        << lieutenant + u"children=1 incomeSoFar=400000"_s << u"DED=0 TAX=7363 NET=49273.50"_s;
    QTest::newRow("fourth child") << lieutenant + u"children=4"_s << u"DED=16200 TAX=5257"_s;
    QTest::newRow("2 400 000 passed in the month")
        << lieutenant + u"incomeSoFar=2380000"_s << u"TAX=8095 NET=48541.50"_s;
    QTest::newRow("coefficient 1,15 and 30 %")
        << u"rank=1 grade=1 regionalCoefficient=1,15 northernPercent=30"_s
        << u"PR=14159.13 REG=10619.34 NOR=21238.69 ACC=102653.66 TAX=13345 NET=89308.66"_s;
    QTest::newRow("coefficient and percent leave material aid alone")
        << u"rank=1 grade=1 regionalCoefficient=1.15 northernPercent=30 materialAid=1"_s
        << u"REG=10619.34 NOR=21238.69 AID=56636.50 ACC=159290.16 TAX=20188"_s;
    QTest::newRow("tax of x,49 rounds down")
        << u"premium=0 manualPositionSalary=30073"_s << u"TAX=3909 NET=26164"_s;
    QTest::newRow("tax of x,50 rounds up")
        << u"premium=0 manualPositionSalary=30050"_s << u"TAX=3907 NET=26143"_s;
    QTest::newRow("earlier months' tax is set off in whole roubles")
        << u"premium=0 manualPositionSalary=30073 incomeSoFar=10.50"_s << u"TAX=3910"_s;
    QTest::newRow("manual salary replaces the grade's")
        << u"grade=1 manualPositionSalary=1000 premium=0 stateSecret=65 specialConditions=100 "
           "risk=50 achievements=12.5"_s
        << u"P=1000 SS=650 SC=1000 RK=500 ACH=125 ACC=3275"_s;
}

void TestTodayPay::computesEveryAmount()
{
    QFETCH(QString, settings);
    QFETCH(QString, expected);
    TodayPay sheet(m_dir.path());
    QVERIFY2(sheet.canCompute(), qPrintable(sheet.problem()));
    sheet.restoreChoices(settings.replace(u' ', u'\n').toUtf8());
    for (const QString& pair : expected.split(u' ')) {
        const QStringList parts = pair.split(u'=');
        const qint64 kopecks = std::llround(sheet.amount(amountKey(parts[0])) * 100);
        QCOMPARE(parts[0] + u'=' + QString::number(kopecks / 100.0, 'f', 2),
                 parts[0] + u'=' + QString::number(parts[1].toDouble(), 'f', 2));
    }
}

void TestTodayPay::readsTypedNumbers_data()
{
    QTest::addColumn<int>("input");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("amount"); // of the input's own row, position salary 1 000

    const auto row = [](const char* name, Input input, const QString& text, bool accepted,
                        double amount) {
        QTest::newRow(name) << int(input) << text << accepted << amount;
    };
    row("blanks around and between groups", Input::ManualPositionSalary, u" 1 000 "_s, true, 1000);
    row("over the file's limit", Input::StateSecret, u"65,01"_s, false, 0);
    row("three decimals", Input::StateSecret, u"1,125"_s, false, 0);
    row("sign", Input::StateSecret, u"-1"_s, false, 0);
    row("blank not between groups", Input::ManualPositionSalary, u"10 00"_s, false, 0);
    row("zero salary", Input::ManualPositionSalary, u"0"_s, false, 0);
    row("non-breaking blanks, at the bound", Input::ManualPositionSalary, u"10\u00A0000\u202F000"_s,
        true, 1e7);
    row("salary past the bound", Input::ManualPositionSalary, u"10 000 000,01"_s, false, 0);
    row("whole years only", Input::ServiceYears, u"2,5"_s, false, 0);
    row("years past 60", Input::ServiceYears, u"61"_s, false, 0);
    row("coefficient below 1", Input::RegionalCoefficient, u"0,9"_s, false, 0);
    row("empty coefficient is 1", Input::RegionalCoefficient, QString(), true, 0);
}

void TestTodayPay::readsTypedNumbers()
{
    QFETCH(int, input);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(double, amount);
    TodayPay sheet(m_dir.path());
    sheet.setText(Input::Premium, QString());
    sheet.setText(Input::ManualPositionSalary, u"1000"_s);
    sheet.setText(Input(input), text);
    QCOMPARE(sheet.isAccepted(Input(input)), accepted);
    const std::map<Input, Amount> own = {{Input::StateSecret, Amount::StateSecret},
                                         {Input::ManualPositionSalary, Amount::PositionSalary},
                                         {Input::ServiceYears, Amount::LongService},
                                         {Input::RegionalCoefficient, Amount::Regional}};
    // A refused salary leaves the grade's, which is none here.
    QCOMPARE(sheet.amount(own.at(Input(input))), amount);
}

void TestTodayPay::refusesAWrongFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes"); // null: no file
    QTest::addColumn<QString>("problem");

    const auto row = [](const char* name, const QByteArray& bytes, const QString& problem,
                        const QString& file = u"Pravila.Txt"_s) {
        QTest::newRow(name) << file << bytes << problem;
    };
    const auto line = [](const QString& prefix) { return u"строка %1: "_s.arg(lineOf(prefix)); };
    // The rule on the line that starts with `prefix`, its values and source replaced.
    const auto ruleAs = [](const QString& prefix, const QString& rest) {
        return rulesWith(prefix, shippedLines()[lineOf(prefix) - 1].section(u'=', 0, 0) + rest);
    };
    const QString premium = u"премия, наибольший % оклада денежного содержания в месяц"_s;
    const QString service = u"выслуга лет, % оклада денежного содержания"_s;

    row("shipped", readBytes(ShippedRules), QString());
    row("no file", QByteArray(), u"Не удалось открыть файл правил"_s);
    row("too large", readBytes(ShippedRules) + QByteArray(64 * 1024, '#'), u"больше 64 КБ"_s);
    row("heading without a date", rulesWith(u"Правила"_s, u"Правила"_s),
        u"строка 1: первая строка"_s);
    row("heading with an impossible date",
        rulesWith(u"Правила"_s, u"Правила, редакция от 31.02.2025"_s), u"строка 1: "_s);
    row("unknown rule", rulesWith(premium, u"премия в год = 3 ; закон"_s),
        line(premium) + u"неизвестное правило «премия в год»"_s);
    row("rule missing", rulesWith(premium, u"# нет"_s), u"нет правила «"_s + premium + u'»');
    row("rule twice", rulesWith(service, shippedLines()[lineOf(premium) - 1]),
        line(premium) + u"правило «%1» уже задано в строке %2"_s.arg(premium).arg(lineOf(service)));
    row("no equals sign", rulesWith(premium, u"премия 25 ; закон"_s), u"нет знака «=»"_s);
    row("no source", ruleAs(premium, u"= 25"_s), u"после значений нужны «;» и источник"_s);
    row("negative", ruleAs(premium, u"= -25 ; закон"_s), u"отрицательное"_s);
    row("not a number", ruleAs(premium, u"= 25% ; закон"_s),
        line(premium) + u"правило «"_s + premium + u"»: «25%» — не число"_s);
    row("two values for one", ruleAs(premium, u"= 25 30 ; закон"_s), u"нужно одно значение"_s);
    row("three classes", ruleAs(u"классная"_s, u"= 5 10 20 ; закон"_s), u"нужно четыре значения"_s);
    row("values for the base salary", ruleAs(u"оклад"_s, u"= 1 ; закон"_s), u"нет значений"_s);
    row("scale step twice", ruleAs(service, u"= 2:10 2:15 ; закон"_s),
        u"ступени должны идти по возрастанию"_s);
    row("part of a year", ruleAs(service, u"= 2.5:10 ; закон"_s), u"«2.5» должно быть целым"_s);
    row("tax scale not from 0", ruleAs(u"шкала"_s, u"= 100:13 ; закон"_s),
        u"первая ступень должна начинаться с 0"_s);
    row("coefficient below 1", ruleAs(u"районный"_s, u"= 0.5 ; закон"_s),
        u"значение «0.5» вне пределов от 1 до 10"_s);
    row("rank file missing", QByteArray(), u"Не удалось открыть файл окладов"_s, u"Zvanie.Txt"_s);
    row("grade file without its end", QByteArray(Grades).chopped(4), u"признака конца списка"_s,
        u"Dolznost.Txt"_s);
    row("negative salary", QByteArray(Grades).replace("20000", "-5"),
        u"запись 1 («1 разряд»): оклад должен быть от 0"_s, u"Dolznost.Txt"_s);
}

void TestTodayPay::refusesAWrongFile()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);
    QVERIFY(bytes.isNull() ? QFile::remove(path(file)) : writeBytes(path(file), bytes));
    TodayPay sheet(m_dir.path());
    sheet.restoreChoices("rank=1\ngrade=1\n");
    QCOMPARE(sheet.canCompute(), problem.isEmpty());
    QVERIFY2(sheet.problem().contains(problem), qPrintable(sheet.problem()));
    if (!problem.isEmpty()) {
        QCOMPARE(sheet.text(Amount::NetPay), u"—"_s);
        QCOMPARE(sheet.amount(Amount::Accrued), 0.0);
    }
}

void TestTodayPay::reloadKeepsChoicesThatStillExist()
{
    TodayPay sheet(m_dir.path());
    sheet.setIndex(Input::Rank, 1);
    sheet.setIndex(Input::Grade, 1);
    QVERIFY(writeBytes(path(u"Zvanie.Txt"_s), QByteArray(Ranks).replace("30000", "31000")));
    QVERIFY(writeBytes(path(u"Dolznost.Txt"_s),
                       paycalc::cp1251::encodeLines({u"Разряды"_s, u"1"_s, u"1 разряд"_s,
                                                     u"20000"_s, QString(), QString()})));
    sheet.reload();
    QCOMPARE(sheet.index(Input::Rank), 1);
    QCOMPARE(sheet.amount(Amount::RankSalary), 31000.0);
    QCOMPARE(sheet.index(Input::Grade), -1);
    QCOMPARE(sheet.amount(Amount::PositionSalary), 0.0);
}

void TestTodayPay::choicesComeBackAndDamageIsIgnored()
{
    TodayPay first(m_dir.path());
    first.restoreChoices("rank=1\r\ngrade=1\nserviceYears=20\nmaterialAid=1\nchildren=2\n");
    TodayPay second(m_dir.path());
    second.restoreChoices(first.choices() + "rank=7\nqualification=-2\nmaterialAid=2\npremium\n");
    QCOMPARE(second.choices(), first.choices());
    QCOMPARE(second.amount(Amount::NetPay), first.amount(Amount::NetPay));
    QVERIFY(first.amount(Amount::NetPay) > 0);
}

void TestTodayPay::showsAmountsSourcesAndEdition()
{
    QCOMPARE(amountText(1234567.891), u"1 234 567,89 руб."_s);
    QCOMPARE(amountText(0.5), u"0,50 руб."_s);
    TodayPay sheet(m_dir.path());
    QCOMPARE(sheet.toolTip(Input::StateSecret), u"Число от 0 до 65 (не подтверждено)"_s);
    QCOMPARE(sheet.toolTip(Input::Premium), u"Число от 0 до 25"_s);
    QVERIFY(sheet.toolTip(Amount::IncomeTax).contains(u"НК РФ, ст. 52 п. 6"_s));
    QVERIFY(sheet.footerText().contains(u"Правила: Правила расчета"_s));
}

QTEST_GUILESS_MAIN(TestTodayPay)
#include "tst_todaypay.moc"
