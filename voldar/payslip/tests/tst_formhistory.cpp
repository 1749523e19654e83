#include "historyslips.h"
#include "paycalc/numbers.h"
#include "payslip/formhistory.h"
#include "platform/titles.h"

#include <functional>
#include <map>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QFileDialog>
#include <QGraphicsTextItem>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolTip>

using namespace Qt::StringLiterals;
using paycalc::Message;
using payslip::FormHistory;
using namespace payslip::test;

namespace {

// A history window on a program folder whose save dialog answers `chosen`
// and whose boxes are recorded.
struct History
{
    explicit History(const ProgramFolder& folder) : form(new FormHistory(folder.data()))
    {
        form->setFileDialogHook([this](QWidget*, const FormHistory::SaveRequest& request) {
            requests.push_back(request);
            return chosen;
        });
        form->setMessageHook([this](QWidget*, const Message& box) { boxes.push_back(box); });
    }
    ~History() { delete form; }
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    QTableWidget* table(const QString& name) const { return form->findChild<QTableWidget*>(name); }
    QString status() const { return form->findChild<QLabel*>(u"LabelSkipped"_s)->text(); }
    void save() const { form->findChild<QPushButton*>(u"CommandSave"_s)->click(); }

    QList<QStringList> rows(const QString& tableName) const
    {
        const QTableWidget* shown = table(tableName);
        QList<QStringList> rows;
        for (int row = 0; row < shown->rowCount(); ++row) {
            QStringList texts;
            for (int column = 0; column < shown->columnCount(); ++column) {
                const QTableWidgetItem* item = shown->item(row, column);
                texts << (item != nullptr ? item->text() : QString());
            }
            rows << texts;
        }
        return rows;
    }

    QStringList headers(const QString& tableName) const
    {
        const QTableWidget* shown = table(tableName);
        QStringList texts;
        for (int column = 0; column < shown->columnCount(); ++column)
            texts << shown->horizontalHeaderItem(column)->text();
        return texts;
    }

    QChartView* chartView() const { return form->findChild<QChartView*>(u"ChartView"_s); }
    QChart* chart() const { return chartView()->chart(); }

    // Every text the chart draws: axis labels, titles, legend.
    QStringList drawnTexts() const
    {
        QStringList texts;
        for (const QGraphicsItem* item : chartView()->scene()->items()) {
            if (const auto* text = qgraphicsitem_cast<const QGraphicsTextItem*>(item))
                texts << text->toPlainText();
        }
        return texts;
    }

    // Each line of the chart as "MM.yyyy=amount" points, under its name.
    std::map<QString, QList<QStringList>> lines() const
    {
        std::map<QString, QList<QStringList>> found;
        for (QAbstractSeries* series : chart()->series()) {
            auto* line = qobject_cast<QLineSeries*>(series);
            QStringList points;
            for (const QPointF& point : line->points())
                points << QDateTime::fromMSecsSinceEpoch(qint64(point.x())).toString(u"MM.yyyy"_s) +
                              u'=' + QString::number(point.y(), 'f', 2);
            found[line->name()] << points;
        }
        return found;
    }

    QPointer<FormHistory> form;
    QString chosen;
    std::vector<FormHistory::SaveRequest> requests;
    std::vector<Message> boxes;
};

// A program folder with two years of slips, and its history window shown.
struct TwoYears : ProgramFolder, History
{
    TwoYears() : History(static_cast<const ProgramFolder&>(*this))
    {
        writeTwoYears(lists());
        form->show();
    }
};

QByteArray twoYearsCsv()
{
    return "\xEF\xBB\xBF"
           "Месяц;Начислено;Подоходный налог;Другие удержания;Удержано;К выдаче;Примечание\r\n"
           "Январь 2008;30000,00;3900,00;0,00;3900,00;26100,00;\r\n"
           "Февраль 2008;30500,50;3965,00;100,25;4065,25;26435,25;\r\n"
           "Март 2008;31000,00;4030,00;;4030,00;26970,00;\r\n"
           "Май 2008;;;;;;Файл обрывается раньше 25-й строки\r\n"
           "Июнь 2008;;;;;;Файл пустой\r\n"
           "Август 2008;нет суммы;4000,00;0,00;4000,00;нет суммы;"
           "\"Строка 18: «Подождите...»; Строка 25: «1e999 руб.»\"\r\n"
           "Ноябрь 2008;45000,75;5850,00;0,50;5850,50;39150,25;\r\n"
           "Январь 2009;32000,00;4160,00;0,00;4160,00;27840,00;\r\n"
           "Февраль 2009;32000,00;4160,00;1000,00;5160,00;26840,00;\r\n"
           "\r\n"
           "Год;Месяцев;Начислено;Подоходный налог;Удержано;К выдаче\r\n"
           "2008;5;136501,25 (4 мес.);21745,00;21845,75;118655,50 (4 мес.)\r\n"
           "2009;2;64000,00;8320,00;9320,00;54680,00\r\n"_ba;
}

// Runs `handle` on the modal file dialog once it is open.
void whenDialogOpens(std::function<void(QFileDialog*)> handle)
{
    QTimer::singleShot(10, [handle] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
            handle(dialog);
        else
            whenDialogOpens(handle);
    });
}

} // namespace

class TestFormHistory : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void tablesShowEverySlipOldestFirstAndTheYears();
    void chartHoldsExactlyTheMonthsPresent();
    void toolTipNamesTheMonthAndItsAmounts();
    void saveWritesTheTableAsCsv();
    void showingAgainReadsANewSlip();
    void missingListsFolderIsReported();
    void hugeAmountsAreNoAmounts();
    void saveDialogProposesTheFileAndAddsTheExtension();
};

void TestFormHistory::initTestCase()
{
    QLocale::setDefault(QLocale::c());
}

void TestFormHistory::tablesShowEverySlipOldestFirstAndTheYears()
{
    TwoYears history;
    QCOMPARE(history.form->windowTitle(), QString::fromUtf16(titles::FormHistory));
    QCOMPARE(history.headers(u"TableMonths"_s),
             (QStringList{u"Месяц"_s, u"Начислено"_s, u"Подоходный налог"_s, u"Другие удержания"_s,
                          u"Удержано"_s, u"К выдаче"_s, u"Примечание"_s}));
    const QString cut = u"Файл обрывается раньше 25-й строки"_s;
    QList<QStringList> months = {
        {u"Январь 2008"_s, u"30000,00"_s, u"3900,00"_s, u"0,00"_s, u"3900,00"_s, u"26100,00"_s},
        {u"Февраль 2008"_s, u"30500,50"_s, u"3965,00"_s, u"100,25"_s, u"4065,25"_s, u"26435,25"_s},
        {u"Март 2008"_s, u"31000,00"_s, u"4030,00"_s, QString(), u"4030,00"_s, u"26970,00"_s},
        {u"Май 2008"_s, cut, {}, {}, {}, {}},
        {u"Июнь 2008"_s, u"Файл пустой"_s, {}, {}, {}, {}},
        {u"Ноябрь 2008"_s, u"45000,75"_s, u"5850,00"_s, u"0,50"_s, u"5850,50"_s, u"39150,25"_s},
        {u"Январь 2009"_s, u"32000,00"_s, u"4160,00"_s, u"0,00"_s, u"4160,00"_s, u"27840,00"_s},
        {u"Февраль 2009"_s, u"32000,00"_s, u"4160,00"_s, u"1000,00"_s, u"5160,00"_s,
         u"26840,00"_s}};
    for (QStringList& row : months)
        row << QString(); // no note
    months.insert(5, {u"Август 2008"_s, u"нет суммы"_s, u"4000,00"_s, u"0,00"_s, u"4000,00"_s,
                      u"нет суммы"_s, u"Строка 18: «Подождите...»; Строка 25: «1e999 руб.»"_s});
    QCOMPARE(history.rows(u"TableMonths"_s), months);
    // The reason stands across the amount columns.
    QCOMPARE(history.table(u"TableMonths"_s)->columnSpan(3, 1), 5);
    QCOMPARE(history.table(u"TableMonths"_s)->columnSpan(4, 1), 5);
    QCOMPARE(history.table(u"TableMonths"_s)->columnSpan(5, 1), 1);

    QCOMPARE(history.headers(u"TableYears"_s),
             (QStringList{u"Год"_s, u"Месяцев"_s, u"Начислено"_s, u"Подоходный налог"_s,
                          u"Удержано"_s, u"К выдаче"_s}));
    // August's accrued and net pay are left out, and the sums say so.
    const QList<QStringList> years = {
        {u"2008"_s, u"5"_s, u"136501,25 (4 мес.)"_s, u"21745,00"_s, u"21845,75"_s,
         u"118655,50 (4 мес.)"_s},
        {u"2009"_s, u"2"_s, u"64000,00"_s, u"8320,00"_s, u"9320,00"_s, u"54680,00"_s}};
    QCOMPARE(history.rows(u"TableYears"_s), years);
    // The two foreign names; the hidden file and the folder are not counted.
    QCOMPARE(history.status(), u"Пропущено файлов: 2"_s);
}

void TestFormHistory::chartHoldsExactlyTheMonthsPresent()
{
    TwoYears history;
    // Gaps: April (no slip), May, June (not read), August (no amounts), December.
    const std::map<QString, QList<QStringList>> expected = {
        {u"К выдаче"_s,
         {{u"01.2008=26100.00"_s, u"02.2008=26435.25"_s, u"03.2008=26970.00"_s},
          {u"11.2008=39150.25"_s},
          {u"01.2009=27840.00"_s, u"02.2009=26840.00"_s}}},
        {u"Начислено"_s,
         {{u"01.2008=30000.00"_s, u"02.2008=30500.50"_s, u"03.2008=31000.00"_s},
          {u"11.2008=45000.75"_s},
          {u"01.2009=32000.00"_s, u"02.2009=32000.00"_s}}}};
    QCOMPARE(history.lines(), expected);

    // One legend entry for each amount, however many pieces its line has.
    QStringList legend;
    for (QLegendMarker* marker : history.chart()->legend()->markers())
        if (marker->isVisible())
            legend << marker->label();
    QCOMPARE(legend, (QStringList{u"К выдаче"_s, u"Начислено"_s}));

    // Amounts on the axis have their thousands grouped: Qt 6.4 draws "40 000".
    QCOMPARE(history.drawnTexts().filter(QRegularExpression(u"^40[ \\x{a0}]000$"_s)).size(), 1);

    // Every point lies inside the time axis, and every tick in the middle of
    // the month its label names.
    auto* months = qobject_cast<QDateTimeAxis*>(history.chart()->axes(Qt::Horizontal).value(0));
    QVERIFY(months != nullptr);
    QVERIFY(months->min() < QDate(2008, 1, 1).startOfDay());
    QVERIFY(months->max() > QDate(2009, 3, 1).startOfDay());
    QVERIFY(months->tickCount() >= 2);
    const qint64 first = months->min().toMSecsSinceEpoch();
    const qint64 gap = (months->max().toMSecsSinceEpoch() - first) / (months->tickCount() - 1);
    for (int tick = 0; tick < months->tickCount(); ++tick) {
        const QDate date = QDateTime::fromMSecsSinceEpoch(first + tick * gap).date();
        QVERIFY2(date.day() >= 10 && date.day() <= 20, qPrintable(date.toString(Qt::ISODate)));
    }
}

void TestFormHistory::toolTipNamesTheMonthAndItsAmounts()
{
    TwoYears history;
    auto* first = qobject_cast<QLineSeries*>(history.chart()->series().value(0));
    QVERIFY(first != nullptr && first->count() == 3);
    // A little after February's point.
    const QPointF nearFebruary(first->at(1).x() + 3 * 24 * 3600 * 1000.0, 0);
    emit first->hovered(nearFebruary, true);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(),
             u"Февраль 2008 г.\nК выдаче: 26435,25 руб.\nНачислено: 30500,50 руб."_s);
    emit first->hovered(nearFebruary, false);
    QTRY_VERIFY(!QToolTip::isVisible());
}

// Cancelled, nothing is written; failed, the old file stays; saved, the table
// replaces it whole.
void TestFormHistory::saveWritesTheTableAsCsv()
{
    TwoYears history;
    const QStringList before = QDir(history.path()).entryList(QDir::AllEntries | QDir::Hidden);
    history.save();
    QVERIFY(history.boxes.empty());
    QCOMPARE(QDir(history.path()).entryList(QDir::AllEntries | QDir::Hidden), before);

    const QString csv = history.path() + u"/история.csv"_s;
    const QByteArray old(4096, 'x'); // longer than the table
    QVERIFY(writeBytes(csv, old));
    history.chosen = csv;
    {
        const FileSizeLimit fullDisk(64);
        history.save();
    }
    history.chosen = history.path() + u"/нет такой папки/история.csv"_s;
    history.save();
    QCOMPARE(readBytes(csv), old);
    QCOMPARE(history.boxes.size(), std::size_t(2));
    for (const Message& box : history.boxes)
        QCOMPARE(box.icon, Message::Icon::Error);
    QVERIFY(history.boxes[0].text.startsWith(u"Не удалось сохранить файл"_s));
    QVERIFY(history.boxes[0].text.contains(u"история.csv"_s));

    history.boxes.clear();
    history.chosen = csv;
    history.save();
    QCOMPARE(history.requests.size(), std::size_t(4));
    QCOMPARE(history.requests[0].caption, u"Сохранить таблицу"_s);
    QCOMPARE(history.requests[0].filter, u"Таблица CSV (*.csv)"_s);
    QVERIFY(history.requests[0].suggestedPath.endsWith(u"/История выплат.csv"_s));
    QCOMPARE(readBytes(csv), twoYearsCsv());
    QCOMPARE(history.boxes, (std::vector<Message>{{u"Данные сохранены"_s, u"Сохранение"_s,
                                                   Message::Icon::Information}}));
}

void TestFormHistory::showingAgainReadsANewSlip()
{
    TwoYears history;
    QCOMPARE(history.rows(u"TableMonths"_s).size(), 9);
    history.form->hide();

    // December 2008 saved from a sheet while the window is hidden.
    Sheet sheet(history.data());
    QVERIFY(sheet.engine.setSelection(paycalc::List::Combo1, 2));
    QVERIFY(sheet.engine.setSelection(paycalc::List::Combo2, 1));
    sheet.engine.ModulUder();
    payslip::savePaySlip(sheet.engine, history.data(), u"Декабрь"_s, u"2008"_s);
    const QString december = payslip::PayHistory::amountText(
        paycalc::leadingNumber(sheet.engine.caption(paycalc::Label::Label39)));

    history.form->show();
    const QList<QStringList> rows = history.rows(u"TableMonths"_s);
    QCOMPARE(rows.size(), 10);
    QCOMPARE(rows[7].value(0), u"Декабрь 2008"_s);
    QCOMPARE(rows[7].value(5), december);
    QCOMPARE(history.rows(u"TableYears"_s).value(0).value(1), u"6"_s);
    // November to February now make one line.
    QCOMPARE(history.lines().at(u"К выдаче"_s).size(), 2);
}

void TestFormHistory::missingListsFolderIsReported()
{
    ProgramFolder folder;
    QVERIFY(QDir(folder.lists()).removeRecursively());
    History history(folder);
    history.form->show();
    const QString lists = QDir::toNativeSeparators(folder.lists());
    QCOMPARE(history.status(), u"Папка '"_s + lists + u"' не найдена"_s);
    QVERIFY(history.rows(u"TableMonths"_s).isEmpty());
    QVERIFY(history.rows(u"TableYears"_s).isEmpty());
    QVERIFY(history.chart()->series().isEmpty());
    // Said where the chart would be, instead of axes labelling nothing.
    QCOMPARE(history.form->findChild<QLabel*>(u"LabelNoSlips"_s)->text(),
             u"Расчетных листков нет в папке "_s + lists);
    QVERIFY(!history.chartView()->isVisible());
}

// Slips are outside data: an amount beyond any month's pay is no amount, one
// at the edge is summed and drawn, and no text reads "inf" or "nan".
void TestFormHistory::hugeAmountsAreNoAmounts()
{
    ProgramFolder folder;
    for (const char16_t* name : {u"Январь 2010.txt", u"Февраль 2010.txt"})
        writeSlip(folder.lists(), QString::fromUtf16(name),
                  slipLines(u"1e999 руб."_s, u"-1e999 руб."_s, u"0 руб."_s, u"1e308 руб."_s,
                            u"-1e12 руб."_s));
    const QRegularExpression broken(u"nan|inf"_s, QRegularExpression::CaseInsensitiveOption);
    QTest::failOnWarning(broken);
    History history(folder);
    history.form->show();
    QCOMPARE(history.rows(u"TableMonths"_s).value(1).mid(1, 5),
             (QStringList{u"нет суммы"_s, u"нет суммы"_s, u"0,00"_s, u"нет суммы"_s,
                          u"-1000000000000,00"_s}));
    QCOMPARE(history.rows(u"TableYears"_s).value(0).mid(2),
             (QStringList{u"0,00 (0 мес.)"_s, u"0,00 (0 мес.)"_s, u"0,00 (0 мес.)"_s,
                          u"-2000000000000,00"_s}));
    QCOMPARE(history.lines().size(), std::size_t(1));
    QVERIFY(!history.drawnTexts().join(u' ').contains(broken));
}

// The real dialog: it starts at the proposed file, asks to save, and a name
// typed without an extension gets ".csv".
void TestFormHistory::saveDialogProposesTheFileAndAddsTheExtension()
{
    ProgramFolder folder;
    const QString proposed = folder.path() + u"/История выплат.csv"_s;
    const FormHistory::SaveRequest request{u"Сохранить таблицу"_s, proposed,
                                           u"Таблица CSV (*.csv)"_s};
    QStringList seen;
    whenDialogOpens([&](QFileDialog* dialog) {
        seen << dialog->windowTitle() << dialog->selectedFiles().value(0)
             << QString::number(dialog->acceptMode() == QFileDialog::AcceptSave);
        // A name box with the focus keeps what the user is typing.
        if (QWidget* focused = dialog->focusWidget())
            focused->clearFocus();
        dialog->selectFile(folder.path() + u"/таблица"_s);
        static_cast<QDialog*>(dialog)->accept();
    });
    QCOMPARE(FormHistory::showSaveDialog(nullptr, request), folder.path() + u"/таблица.csv"_s);
    QCOMPARE(seen, (QStringList{u"Сохранить таблицу"_s, proposed, u"1"_s}));

    whenDialogOpens([](QFileDialog* dialog) { dialog->reject(); });
    QCOMPARE(FormHistory::showSaveDialog(nullptr, request), QString());
}

QTEST_MAIN(TestFormHistory)
#include "tst_formhistory.moc"
