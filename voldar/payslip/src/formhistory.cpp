#include "payslip/formhistory.h"

#include "platform/titles.h"
#include "ui_formhistory.h"

#include <cmath>
#include <QChart>
#include <QCursor>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QDir>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLocale>
#include <QPen>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTableWidget>
#include <QToolTip>
#include <QValueAxis>
#include <utility>

namespace payslip {

namespace {

using namespace Qt::StringLiterals;

// Months on the time axis are evenly spaced at the average length of a
// Gregorian month, each at its middle. Ticks a whole number of months apart
// then fall in the middle of the month their label names; at calendar month
// starts they would drift onto the last day of the month before.
constexpr double MonthMs = 365.2425 / 12 * 24 * 60 * 60 * 1000;

qreal monthPosition(int number)
{
    return (number + 0.5) * MonthMs;
}

QDateTime timeAt(int number)
{
    return QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(std::llround(monthPosition(number))));
}

QTableWidgetItem* textItem(const QString& text, Qt::Alignment alignment = Qt::AlignLeft)
{
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    return item;
}

void setHeaders(QTableWidget& table, const QStringList& headers, int rows)
{
    table.clearSpans();
    table.setRowCount(0);
    table.setColumnCount(static_cast<int>(headers.size()));
    table.setHorizontalHeaderLabels(headers);
    table.setRowCount(rows);
}

} // namespace

QString FormHistory::showSaveDialog(QWidget* parent, const SaveRequest& request)
{
    return platform::askSaveFileName(parent, request.caption, request.suggestedPath,
                                     request.filter);
}

FormHistory::FormHistory(const QString& dataFolder, QWidget* parent)
    : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::FormHistory>()), m_dataFolder(dataFolder)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf16(titles::FormHistory));
    ui->ChartView->setRenderHint(QPainter::Antialiasing);
    // The tables at their full width, the rest to the chart.
    ui->Splitter->setSizes({650, 510});
    connect(ui->CommandSave, &QPushButton::clicked, this, &FormHistory::onCommandSaveClicked);
}

FormHistory::~FormHistory() = default;

void FormHistory::setFileDialogHook(FileDialogHook hook)
{
    m_fileDialog = std::move(hook);
}

void FormHistory::setMessageHook(platform::MessageHook hook)
{
    m_message = std::move(hook);
}

FormHistory::SaveRequest FormHistory::saveRequest() const
{
    const QDir documents(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    return {u"Сохранить таблицу"_s, documents.filePath(u"История выплат.csv"_s),
            u"Таблица CSV (*.csv)"_s};
}

// Shown again after a slip was saved, the window shows that slip too.
void FormHistory::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refresh();
}

void FormHistory::refresh()
{
    m_history = PayHistory::load(m_dataFolder);
    showMonths();
    showYears();
    showChart();
    ui->LabelSkipped->setText(m_history.statusText());
}

void FormHistory::showMonths()
{
    QTableWidget& table = *ui->TableMonths;
    const std::vector<HistoryMonth>& months = m_history.months();
    setHeaders(table, PayHistory::monthHeaders(), static_cast<int>(months.size()));
    for (int row = 0; row < static_cast<int>(months.size()); ++row) {
        const HistoryMonth& entry = months[row];
        table.setItem(row, 0, textItem(PayHistory::periodText(entry.month)));
        if (!entry.isRead()) {
            // The reason stands in place of the amounts.
            table.setItem(row, 1, textItem(entry.problem));
            table.setSpan(row, 1, 1, HistoryAmountCount);
            continue;
        }
        const QStringList texts = PayHistory::monthTexts(entry);
        for (int column = 1; column <= HistoryAmountCount; ++column)
            table.setItem(row, column, textItem(texts[column], Qt::AlignRight));
        table.setItem(row, HistoryAmountCount + 1, textItem(texts.back()));
    }
    table.resizeColumnsToContents();
}

void FormHistory::showYears()
{
    QTableWidget& table = *ui->TableYears;
    const std::vector<HistoryYear>& years = m_history.years();
    setHeaders(table, PayHistory::yearHeaders(), static_cast<int>(years.size()));
    for (int row = 0; row < static_cast<int>(years.size()); ++row) {
        const QStringList texts = PayHistory::yearTexts(years[row]);
        for (int column = 0; column < texts.size(); ++column)
            table.setItem(row, column,
                          textItem(texts[column], column == 0 ? Qt::AlignLeft : Qt::AlignRight));
    }
    table.resizeColumnsToContents();
}

void FormHistory::showChart()
{
    // Without slips the window says so, and where it looked, instead of an
    // empty chart.
    const QString empty = m_history.emptyText();
    ui->LabelNoSlips->setText(empty);
    ui->ChartStack->setCurrentWidget(empty.isEmpty() ? static_cast<QWidget*>(ui->ChartView)
                                                     : ui->LabelNoSlips);

    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignBottom);
    // Amounts with their thousands grouped the Russian way: "200 000".
    chart->setLocale(QLocale(QLocale::Russian, QLocale::Russia));
    chart->setLocalizeNumbers(true);

    auto* months = new QDateTimeAxis;
    months->setObjectName(u"AxisMonths"_s);
    months->setFormat(u"MM.yyyy"_s);
    // Slanted, every label has room in full, however narrow the chart.
    months->setLabelsAngle(-45);
    months->setTruncateLabels(false);
    auto* roubles = new QValueAxis;
    roubles->setObjectName(u"AxisRoubles"_s);
    roubles->setLabelFormat(u"%.0f"_s);
    roubles->setTitleText(u"руб."_s);
    chart->addAxis(months, Qt::AlignBottom);
    chart->addAxis(roubles, Qt::AlignLeft);

    addRuns(*chart, HistoryAmount::NetPay, QColor(0x1f, 0x77, 0xb4));
    addRuns(*chart, HistoryAmount::Accrued, QColor(0xd6, 0x27, 0x28));

    // Axes without a point would only label a range of nothing.
    const ChartSpan span = m_history.chartSpan();
    months->setVisible(span.hasPoints);
    roubles->setVisible(span.hasPoints);
    if (span.hasPoints) {
        months->setRange(timeAt(span.firstTick), timeAt(span.lastTick));
        months->setTickCount(span.tickCount());
        roubles->setRange(span.low, span.high);
        roubles->applyNiceNumbers();
    }

    QChart* previous = ui->ChartView->chart();
    ui->ChartView->setChart(chart);
    delete previous;
}

// One line series per run of consecutive months, all in the same colour and
// under one legend entry: a month without the amount is a gap, not a zero.
void FormHistory::addRuns(QChart& chart, HistoryAmount which, const QColor& colour)
{
    bool first = true;
    for (const std::vector<int>& run : m_history.runs(which)) {
        auto* series = new QLineSeries;
        series->setName(PayHistory::amountName(which));
        series->setPointsVisible(true);
        series->setPen(QPen(colour, 2));
        series->setColor(colour);
        for (const int index : run) {
            const HistoryMonth& entry = m_history.months()[index];
            series->append(monthPosition(entry.month.number()), *entry.amount(which));
        }
        chart.addSeries(series);
        for (QAbstractAxis* axis : chart.axes())
            series->attachAxis(axis);
        if (!first) {
            for (QLegendMarker* marker : chart.legend()->markers(series))
                marker->setVisible(false);
        }
        first = false;
        connect(series, &QLineSeries::hovered, this,
                [this, run, series](const QPointF& point, bool entered) {
                    onSeriesHovered(run, *series, point, entered);
                });
    }
}

// The tool tip names the month nearest the mouse and its amounts.
void FormHistory::onSeriesHovered(const std::vector<int>& run, const QLineSeries& series,
                                  const QPointF& point, bool entered)
{
    if (!entered || run.empty()) {
        QToolTip::hideText();
        return;
    }
    std::size_t nearest = 0;
    for (std::size_t i = 1; i < run.size(); ++i) {
        if (std::abs(series.at(int(i)).x() - point.x()) <
            std::abs(series.at(int(nearest)).x() - point.x()))
            nearest = i;
    }
    QToolTip::showText(QCursor::pos(), m_history.toolTip(run[nearest]), ui->ChartView);
}

void FormHistory::onCommandSaveClicked()
{
    const QString path = m_fileDialog(this, saveRequest());
    if (!path.isEmpty())
        m_message(this, saveHistoryCsv(m_history, path));
}

} // namespace payslip
