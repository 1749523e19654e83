#include "paycalc/numbers.h"

#include <limits>
#include <QLocale>
#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace paycalc;

class TestNumbers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void leadingNumberReadsTheLeadingNumber_data();
    void leadingNumberReadsTheLeadingNumber();
    void leadingNumberSaturatesHugeInput();
    void roundHalfEvenGoesToTheEvenNeighbour_data();
    void roundHalfEvenGoesToTheEvenNeighbour();
    void amountTextIsPlainDecimal_data();
    void amountTextIsPlainDecimal();
    void amountTextKeepsFifteenDigits();
    void captionAndBoxForms_data();
    void captionAndBoxForms();
    void cutKeepingIntegerNeverCutsTheIntegerPart_data();
    void cutKeepingIntegerNeverCutsTheIntegerPart();
    void amountCaptionWidthByMagnitude_data();
    void amountCaptionWidthByMagnitude();
    void amountCaptionMatchesItsStepByStepStatement();
    void fixedAndWholeCaptions_data();
    void fixedAndWholeCaptions();
    void formsIgnoreTheUsersLocale();
};

void TestNumbers::leadingNumberReadsTheLeadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    QTest::newRow("plain") << u"5200"_s << 5200.0;
    QTest::newRow("thousands blank and unit") << u"5 200 руб."_s << 5200.0;
    QTest::newRow("comma ends the number") << u"5200,50"_s << 5200.0;
    QTest::newRow("comma decimal") << u"12,5"_s << 12.0;
    QTest::newRow("blank inside") << u"1 500.5"_s << 1500.5;
    QTest::newRow("tabs and line feeds") << u"\t1\n2.5"_s << 12.5;
    QTest::newRow("carriage return ends") << u"1\r2"_s << 1.0;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("letters") << u"abc"_s << 0.0;
    QTest::newRow("letters after") << u"42abc"_s << 42.0;
    QTest::newRow("negative") << u"-100"_s << -100.0;
    QTest::newRow("plus") << u"+7"_s << 7.0;
    QTest::newRow("sign alone") << u"-"_s << 0.0;
    QTest::newRow("point first") << u".5"_s << 0.5;
    QTest::newRow("point alone") << u"."_s << 0.0;
    QTest::newRow("second point ends") << u"1.2.3"_s << 1.2;
    QTest::newRow("leading zeros") << u"00012"_s << 12.0;
    QTest::newRow("minus after digits") << u"1-2"_s << 1.0;
    QTest::newRow("exponent E") << u"1E3"_s << 1000.0;
    QTest::newRow("exponent D") << u"1D3"_s << 1000.0;
    QTest::newRow("negative exponent") << u"2.5e-1"_s << 0.25;
    QTest::newRow("blanks in exponent") << u"1 E + 2"_s << 100.0;
    QTest::newRow("exponent without digits") << u"1e"_s << 1.0;
    QTest::newRow("exponent alone") << u"E5"_s << 0.0;
    QTest::newRow("hexadecimal") << u"&H1F"_s << 31.0;
    QTest::newRow("hexadecimal lower") << u"&hff"_s << 255.0;
    QTest::newRow("octal") << u"&O17"_s << 15.0;
    QTest::newRow("octal stops at 8") << u"&O78"_s << 7.0;
    QTest::newRow("other radix letter") << u"&X1"_s << 0.0;
    QTest::newRow("underflow") << u"1e-999"_s << 0.0;
    QTest::newRow("zero with huge exponent") << u"0.000e99999"_s << 0.0;
    QTest::newRow("arabic-indic digits") << u"\u0661\u0662"_s << 0.0;
}

void TestNumbers::leadingNumberReadsTheLeadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(leadingNumber(text), value);
}

void TestNumbers::leadingNumberSaturatesHugeInput()
{
    constexpr double max = std::numeric_limits<double>::max();
    QCOMPARE(leadingNumber(u"1e999"), max);
    QCOMPARE(leadingNumber(u"-1e999"), -max);
    QCOMPARE(leadingNumber(u"1e99999999999999999999999"), max);
    QCOMPARE(leadingNumber(u"0.0001e-99999999999"), 0.0);
    // A megabyte of digits is read, not rejected.
    const QString digits(1024 * 1024, u'9');
    QCOMPARE(leadingNumber(digits), max);
    QCOMPARE(leadingNumber(QString(u"&H"_s + QString(400, u'F'))), max);
}

void TestNumbers::roundHalfEvenGoesToTheEvenNeighbour_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("rounded");
    QTest::newRow("0.5") << 0.5 << 0.0;
    QTest::newRow("1.5") << 1.5 << 2.0;
    QTest::newRow("2.5") << 2.5 << 2.0;
    QTest::newRow("-1.5") << -1.5 << -2.0;
    QTest::newRow("-2.5") << -2.5 << -2.0;
    QTest::newRow("1306.5") << 1306.5 << 1306.0;
    QTest::newRow("1319.5") << 1319.5 << 1320.0;
    QTest::newRow("below half") << 2.4999999 << 2.0;
    QTest::newRow("above half") << 2.5000001 << 3.0;
    QTest::newRow("large") << 1e300 << 1e300;
}

void TestNumbers::roundHalfEvenGoesToTheEvenNeighbour()
{
    QFETCH(double, value);
    QFETCH(double, rounded);
    QCOMPARE(roundHalfEven(value), rounded);
}

void TestNumbers::amountTextIsPlainDecimal_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << u"0"_s;
    QTest::newRow("negative zero") << -0.0 << u"0"_s;
    QTest::newRow("whole") << 620.0 << u"620"_s;
    QTest::newRow("decimals") << 608.33 << u"608.33"_s;
    QTest::newRow("half keeps its zero") << 0.5 << u"0.5"_s;
    QTest::newRow("negative half") << -0.5 << u"-0.5"_s;
    QTest::newRow("negative") << -1234.567 << u"-1234.567"_s;
    QTest::newRow("small") << 0.00001 << u"0.00001"_s;
    QTest::newRow("third") << 1.0 / 3 << u"0.333333333333333"_s;
    QTest::newRow("two thirds") << 2.0 / 3 << u"0.666666666666667"_s;
    QTest::newRow("sum error hidden") << 0.1 + 0.2 << u"0.3"_s;
    QTest::newRow("single-precision factor") << double(1.15f) * 10000 << u"11499.9997615814"_s;
    QTest::newRow("15 digits whole") << 1e15 << u"1000000000000000"_s;
    QTest::newRow("beyond 15 digits") << 123456789012345678.0 << u"123456789012346000"_s;
    QTest::newRow("rounds up to next power") << 999.9999999999999 << u"1000"_s;
    QTest::newRow("max") << std::numeric_limits<double>::max()
                         << u"17976931348623200"_s + QString(292, u'0');
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << u"0"_s;
}

void TestNumbers::amountTextIsPlainDecimal()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(amountText(value), text);
}

void TestNumbers::amountTextKeepsFifteenDigits()
{
    // Reading the text back gives the value rounded to 15 significant digits.
    QRandomGenerator random(20240517);
    for (int i = 0; i < 20000; ++i) {
        const double magnitude = std::pow(10.0, random.bounded(-12, 18));
        const double value = (random.generateDouble() - 0.3) * magnitude;
        const QString text = amountText(value);
        QVERIFY2(!text.contains(u'e') && !text.contains(u'E'), qPrintable(text));
        const double expected = QString::number(value, 'g', 15).toDouble();
        QCOMPARE(leadingNumber(text), expected == 0 ? 0.0 : expected);
    }
}

void TestNumbers::captionAndBoxForms_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("box");
    QTest::newRow("zero") << 0.0 << u" 0"_s << u"0"_s;
    QTest::newRow("half") << 0.5 << u" .5"_s << u".5"_s;
    QTest::newRow("negative half") << -0.5 << u"-.5"_s << u"-.5"_s;
    QTest::newRow("hundredths") << 0.05 << u" .05"_s << u".05"_s;
    QTest::newRow("amount") << 1234.56 << u" 1234.56"_s << u"1234.56"_s;
    QTest::newRow("typed amount") << 1500.5 << u" 1500.5"_s << u"1500.5"_s;
    QTest::newRow("negative") << -3.0 << u"-3"_s << u"-3"_s;
    QTest::newRow("percent") << 300.0 << u" 300"_s << u"300"_s;
}

void TestNumbers::captionAndBoxForms()
{
    QFETCH(double, value);
    QFETCH(QString, caption);
    QFETCH(QString, box);
    QCOMPARE(captionNumber(value), caption);
    QCOMPARE(boxNormalForm(value), box);
}

void TestNumbers::cutKeepingIntegerNeverCutsTheIntegerPart_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("cut");
    QTest::newRow("short stays") << u"12"_s << 5 << u"12"_s;
    QTest::newRow("decimals cut") << u"1234.5678"_s << 6 << u"1234.5"_s;
    QTest::newRow("point at the end stays") << u"12345.6"_s << 6 << u"12345."_s;
    QTest::newRow("integer kept") << u"123456789 "_s << 8 << u"123456789"_s;
    QTest::newRow("negative integer kept") << u"-12345.6"_s << 5 << u"-12345"_s;
    QTest::newRow("blank kept inside width") << u"0.5 "_s << 5 << u"0.5 "_s;
}

void TestNumbers::cutKeepingIntegerNeverCutsTheIntegerPart()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, cut);
    QCOMPARE(cutKeepingInteger(text, width), cut);
}

void TestNumbers::amountCaptionWidthByMagnitude_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("shown");

    QTest::newRow("0") << 0.0 << u" 0"_s;
    QTest::newRow("0.5") << 0.5 << u" .5"_s;
    QTest::newRow("third decimal below 10") << 5.555 << u" 5.555"_s;
    QTest::newRow("12.345") << 12.345 << u" 12.34"_s;
    QTest::newRow("5.5") << 5.5 << u" 5.5"_s;
    QTest::newRow("99.99") << 99.99 << u" 99.99"_s;
    QTest::newRow("99.999") << 99.999 << u" 99.99"_s;
    QTest::newRow("100") << 100.0 << u" 100"_s;
    QTest::newRow("100.555") << 100.555 << u" 100.55"_s;
    QTest::newRow("999") << 999.0 << u" 999"_s;
    QTest::newRow("999.99") << 999.99 << u" 999.99"_s;
    QTest::newRow("third decimal below 1000") << 999.995 << u" 999.995"_s;
    QTest::newRow("1000") << 1000.0 << u" 1000"_s;
    QTest::newRow("1234.567") << 1234.567 << u" 1234.56"_s;
    QTest::newRow("9999.99") << 9999.99 << u" 9999.99"_s;
    QTest::newRow("10000") << 10000.0 << u" 10000"_s;
    QTest::newRow("single-precision 15 %") << double(1.15f) * 10000 << u" 11499.99"_s;
    QTest::newRow("99999.99") << 99999.99 << u" 99999.99"_s;
    QTest::newRow("100000") << 100000.0 << u" 100000"_s;
    QTest::newRow("123456.78") << 123456.78 << u" 123456.7"_s;
    QTest::newRow("12345678.9") << 12345678.9 << u" 12345678"_s;
    QTest::newRow("integer part kept") << 123456789.5 << u" 123456789"_s;
    QTest::newRow("huge integer kept") << 1e12 << u" 1000000000000"_s;
    QTest::newRow("negative") << -5.0 << u"-5"_s;
    QTest::newRow("negative cut") << -1234.5 << u"-1234"_s;
    QTest::newRow("negative integer kept") << -123456.7 << u"-123456"_s;
    QTest::newRow("negative half") << -0.5 << u"-.5"_s;
    QTest::newRow("tiny") << 0.0001 << u" 0"_s;
}

void TestNumbers::amountCaptionWidthByMagnitude()
{
    QFETCH(double, amount);
    QFETCH(QString, shown);
    QCOMPARE(amountCaption(amount, u"      "_s), u"      "_s + shown + u" руб.");
}

// The caption stated step by step: amount's text plus a blank, cut by the
// width of the amount's magnitude, read back, written in caption form.
static QString stepByStepCaption(double amount)
{
    const double hundreds = amount / 100;
    int width = 5;
    if (hundreds >= 1)
        width = 6;
    if (hundreds > 9.99)
        width = 7;
    if (hundreds > 99.99)
        width = 8;
    const QString cut = cutKeepingInteger(amountText(amount) + u' ', width);
    return u"   "_s + captionNumber(leadingNumber(cut)) + u" руб.";
}

void TestNumbers::amountCaptionMatchesItsStepByStepStatement()
{
    QRandomGenerator random(7);
    for (int i = 0; i < 20000; ++i) {
        const double magnitude = std::pow(10.0, random.bounded(-6, 14));
        double amount = (random.generateDouble() - 0.2) * magnitude;
        if (i % 3 == 0)
            amount = std::round(amount * 100) / 100; // two-decimal money values
        QCOMPARE(amountCaption(amount, u"   "_s), stepByStepCaption(amount));
    }
}

void TestNumbers::fixedAndWholeCaptions_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("whole");
    QTest::addColumn<QString>("shown");

    QTest::newRow("net pay") << 26099.5 << 7 << false << u" 26099.5"_s;
    QTest::newRow("net pay cut") << 123456.78 << 7 << false << u" 123456"_s;
    QTest::newRow("net pay of millions") << 9999999.5 << 7 << false << u" 9999999"_s;
    QTest::newRow("net pay integer kept") << 12345678.5 << 7 << false << u" 12345678"_s;
    QTest::newRow("negative net pay") << -500.25 << 7 << false << u"-500.25"_s;
    QTest::newRow("other allowances") << 1500.5 << 6 << false << u" 1500.5"_s;
    QTest::newRow("other allowances cut") << 12345.67 << 6 << false << u" 12345"_s;
    QTest::newRow("withheld half cut first") << 1406.5 << 6 << true << u" 1406"_s;
    QTest::newRow("withheld odd half") << 1407.5 << 6 << true << u" 1408"_s;
    QTest::newRow("separator sixth") << 12345.5 << 6 << true << u" 12345"_s;
    QTest::newRow("tax above 16 bits") << 40000.0 << 6 << true << u" 40000"_s;
    QTest::newRow("tax of millions") << 1234567.0 << 6 << true << u" 1234567"_s;
    QTest::newRow("zero tax") << 0.0 << 6 << true << u" 0"_s;
}

void TestNumbers::fixedAndWholeCaptions()
{
    QFETCH(double, amount);
    QFETCH(int, width);
    QFETCH(bool, whole);
    QFETCH(QString, shown);
    const QString prefix = u"      "_s;
    const QString caption =
        whole ? wholeCaption(amount, width, prefix) : fixedCaption(amount, width, prefix);
    QCOMPARE(caption, prefix + shown + u" руб.");
}

void TestNumbers::formsIgnoreTheUsersLocale()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(amountText(12345.67), u"12345.67"_s);
    QCOMPARE(captionNumber(0.5), u" .5"_s);
    QCOMPARE(leadingNumber(u"12345.67"), 12345.67);
    QLocale::setDefault(QLocale::c());
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
