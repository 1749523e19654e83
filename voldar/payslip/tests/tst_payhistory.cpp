#include "historyslips.h"
#include "paycalc/numbers.h"
#include "paycalc/payengine.h"
#include "payslip/payhistory.h"

#include <QDate>
#include <QTest>

using namespace Qt::StringLiterals;
using payslip::HistoryAmount;
using payslip::PayHistory;
using payslip::SlipMonth;
using namespace payslip::test;

Q_DECLARE_METATYPE(std::optional<double>)

class TestPayHistory : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void slipFileNames_data();
    void slipFileNames();
    void runsBreakAtMissingMonthsAndAmounts();
    void chartSpan_data();
    void chartSpan();
    void amountTexts_data();
    void amountTexts();
    void valueLines_data();
    void valueLines();
    void slipSavedFromTheSheetReadsAsShown();
};

void TestPayHistory::initTestCase()
{
    QLocale::setDefault(QLocale::c());
}

void TestPayHistory::slipFileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("year"); // 0: not a slip
    QTest::addColumn<int>("month");

    QTest::newRow("March") << u"Март 2008.txt"_s << 2008 << 3;
    QTest::newRow("January") << u"Январь 2005.txt"_s << 2005 << 1;
    QTest::newRow("December") << u"Декабрь 2021.txt"_s << 2021 << 12;
    QTest::newRow("year outside the list") << u"Май 1999.txt"_s << 1999 << 5;
    QTest::newRow("other case") << u"март 2008.txt"_s << 0 << 0;
    QTest::newRow("upper-case extension") << u"Март 2008.TXT"_s << 0 << 0;
    QTest::newRow("two blanks") << u"Март  2008.txt"_s << 0 << 0;
    QTest::newRow("leading blank") << u" Март 2008.txt"_s << 0 << 0;
    QTest::newRow("blank before extension") << u"Март 2008 .txt"_s << 0 << 0;
    QTest::newRow("two-digit year") << u"Март 08.txt"_s << 0 << 0;
    QTest::newRow("five-digit year") << u"Март 20081.txt"_s << 0 << 0;
    QTest::newRow("wide digits") << u"Март ２００８.txt"_s << 0 << 0;
    QTest::newRow("backup") << u"Март 2008.txt.bak"_s << 0 << 0;
    QTest::newRow("no month") << u" 2008.txt"_s << 0 << 0;
    QTest::newRow("Latin month") << u"Mart 2008.txt"_s << 0 << 0;
    QTest::newRow("saved choices") << u"Save_log.txt"_s << 0 << 0;
}

void TestPayHistory::slipFileNames()
{
    QFETCH(QString, name);
    QFETCH(int, year);
    QFETCH(int, month);

    const std::optional<SlipMonth> found = payslip::slipMonthOfFileName(name);
    QCOMPARE(found.has_value(), year != 0);
    if (found)
        QCOMPARE(*found, (SlipMonth{year, month}));
}

// A chart line runs through consecutive calendar months only, across the turn
// of a year; a month without a slip, or whose slip lacks the amount, is a gap.
void TestPayHistory::runsBreakAtMissingMonthsAndAmounts()
{
    ProgramFolder folder;
    const QString lists = folder.lists();
    const auto slip = [&](const char16_t* name, const QString& net) {
        writeSlip(lists, QString::fromUtf16(name),
                  slipLines(u"100 руб."_s, u"13 руб."_s, u"0 руб."_s, u"13 руб."_s, net));
    };
    slip(u"Ноябрь 2008.txt", u"87 руб."_s);
    slip(u"Декабрь 2008.txt", u"87 руб."_s);
    slip(u"Январь 2009.txt", QString()); // net pay never shown
    slip(u"Февраль 2009.txt", u"87 руб."_s);
    slip(u"Март 2009.txt", u"Подождите..."_s); // saved while the caption waited
    slip(u"Апрель 2009.txt", u"87 руб."_s);
    writeSlip(lists, u"Май 2009.txt"_s, {u"cut"_s});
    slip(u"Июнь 2009.txt", u"87 руб."_s);

    const PayHistory history = PayHistory::load(folder.data());
    QCOMPARE(history.months().size(), std::size_t(8));
    using Runs = std::vector<std::vector<int>>;
    QCOMPARE(history.runs(HistoryAmount::NetPay), (Runs{{0, 1}, {3}, {5}, {7}}));
    QCOMPARE(history.runs(HistoryAmount::Accrued), (Runs{{0, 1, 2, 3, 4, 5}, {7}}));
    // A year counts the slips read; a line without an amount adds nothing.
    QCOMPARE(history.years().size(), std::size_t(2));
    QCOMPARE(PayHistory::yearTexts(history.years()[1]),
             (QStringList{u"2009"_s, u"5"_s, u"500,00"_s, u"65,00"_s, u"65,00"_s,
                          u"261,00 (3 мес.)"_s}));
}

void TestPayHistory::chartSpan_data()
{
    QTest::addColumn<int>("firstYear");
    QTest::addColumn<int>("firstMonth");
    QTest::addColumn<int>("slips"); // consecutive months
    QTest::addColumn<QDate>("firstTick");
    QTest::addColumn<int>("tickStep");
    QTest::addColumn<int>("tickCount");

    QTest::newRow("one month") << 2008 << 3 << 1 << QDate(2008, 2, 1) << 1 << 3;
    QTest::newRow("a year") << 2008 << 1 << 12 << QDate(2007, 12, 1) << 2 << 8;
    QTest::newRow("fourteen months") << 2008 << 1 << 14 << QDate(2007, 12, 1) << 2 << 9;
    // Ticks every July: the eleven spare months go five before, six after.
    QTest::newRow("ten years") << 2014 << 1 << 120 << QDate(2013, 7, 1) << 12 << 12;
}

// The time axis spans a month before the first slip to at least a month after
// the last, with at most twelve gaps of whole months between its ticks.
void TestPayHistory::chartSpan()
{
    QFETCH(int, firstYear);
    QFETCH(int, firstMonth);
    QFETCH(int, slips);
    QFETCH(QDate, firstTick);
    QFETCH(int, tickStep);
    QFETCH(int, tickCount);

    ProgramFolder folder;
    const QStringList names = paycalc::PayEngine::fixedItems(paycalc::List::Combo15, 0);
    SlipMonth month{firstYear, firstMonth};
    for (int slip = 0; slip < slips; ++slip, month = month.next())
        writeSlip(folder.lists(),
                  names[month.month - 1] + u' ' + QString::number(month.year) + u".txt"_s,
                  slipLines(u"100 руб."_s, u"13 руб."_s, u"0 руб."_s, u"13 руб."_s, u"87 руб."_s));

    const payslip::ChartSpan span = PayHistory::load(folder.data()).chartSpan();
    QVERIFY(span.hasPoints);
    QCOMPARE(span.firstTick, (SlipMonth{firstTick.year(), firstTick.month()}.number()));
    QCOMPARE(span.tickStep, tickStep);
    QCOMPARE(span.tickCount(), tickCount);
    QCOMPARE(span.low, 0.0);
    QCOMPARE(span.high, 100.0);
}

void TestPayHistory::amountTexts_data()
{
    QTest::addColumn<std::optional<double>>("amount");
    QTest::addColumn<QString>("text");

    QTest::newRow("none") << std::optional<double>() << QString();
    QTest::newRow("whole") << std::optional<double>(26100) << u"26100,00"_s;
    QTest::newRow("kopecks") << std::optional<double>(30500.5) << u"30500,50"_s;
    QTest::newRow("negative") << std::optional<double>(-12.25) << u"-12,25"_s;
    QTest::newRow("almost zero below") << std::optional<double>(-0.001) << u"0,00"_s;
    QTest::newRow("negative zero") << std::optional<double>(-0.0) << u"0,00"_s;
}

void TestPayHistory::amountTexts()
{
    QFETCH(std::optional<double>, amount);
    QFETCH(QString, text);
    QCOMPARE(PayHistory::amountText(amount), text);
}

void TestPayHistory::valueLines_data()
{
    QTest::addColumn<QString>("line");  // line 25, the net pay
    QTest::addColumn<QString>("shown"); // "нет суммы": named in the note

    const QString none = u"нет суммы"_s;
    QTest::newRow("below one, blanks around") << u"  -.5 руб. "_s << u"-0,50"_s;
    QTest::newRow("number alone, exponent") << u"+1.5E3"_s << u"1500,00"_s;
    QTest::newRow("unit without blank") << u"7руб."_s << u"7,00"_s;
    QTest::newRow("blanks") << u"   "_s << none;
    QTest::newRow("decimal comma") << u"12,5 руб."_s << none;
    QTest::newRow("text after") << u"100 руб. премия"_s << none;
    QTest::newRow("beyond a month's pay") << u"1000000000000.01"_s << none;
}

// Only an amount as the program writes it counts; other lines are named in the note.
void TestPayHistory::valueLines()
{
    QFETCH(QString, line);
    QFETCH(QString, shown);

    ProgramFolder folder;
    writeSlip(folder.lists(), u"Март 2008.txt"_s,
              slipLines(u"100 руб."_s, u"13 руб."_s, u"0 руб."_s, u"13 руб."_s, line));
    const QStringList texts = PayHistory::monthTexts(PayHistory::load(folder.data()).months()[0]);
    QCOMPARE(texts.value(5), shown);
    QCOMPARE(texts.value(6), shown == u"нет суммы" ? u"Строка 25: «"_s + line + u'»' : QString());
}

// A slip saved from a sheet shows in the history what the main window showed.
void TestPayHistory::slipSavedFromTheSheetReadsAsShown()
{
    ProgramFolder folder;
    Sheet sheet(folder.data());
    QVERIFY(sheet.engine.setSelection(paycalc::List::Combo1, 2));
    QVERIFY(sheet.engine.setSelection(paycalc::List::Combo2, 1));
    sheet.engine.ModulUder();
    QCOMPARE(payslip::savePaySlip(sheet.engine, folder.data(), u"Апрель"_s, u"2010"_s).title,
             u"Сохранение"_s);

    const PayHistory history = PayHistory::load(folder.data());
    QCOMPARE(history.months().size(), std::size_t(1));
    const payslip::HistoryMonth& april = history.months().front();
    QCOMPARE(april.month, (SlipMonth{2010, 4}));
    QVERIFY2(april.isRead(), qPrintable(april.problem));
    const paycalc::Label labels[] = {paycalc::Label::Label23, paycalc::Label::Label35,
                                     paycalc::Label::Label65, paycalc::Label::Label36,
                                     paycalc::Label::Label39};
    for (int column = 0; column < payslip::HistoryAmountCount; ++column) {
        const QString caption = sheet.engine.caption(labels[column]);
        QCOMPARE(april.amounts[column].has_value(), !caption.trimmed().isEmpty());
        if (april.amounts[column])
            QCOMPARE(*april.amounts[column], paycalc::leadingNumber(caption));
    }
    QVERIFY(*april.amount(HistoryAmount::Accrued) > 0);
}

QTEST_GUILESS_MAIN(TestPayHistory)
#include "tst_payhistory.moc"
