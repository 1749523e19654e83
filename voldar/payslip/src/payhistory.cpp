#include "payslip/payhistory.h"

#include "filesave.h"
#include "paycalc/controls.h"
#include "paycalc/numbers.h"
#include "paycalc/payengine.h"
#include "payslip/payslipfile.h"

#include <algorithm>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace payslip {

namespace {

using namespace Qt::StringLiterals;

// The slip field stored on `line`.
constexpr int fieldOfLine(int line)
{
    for (int field = 0; field < PaySlipFieldCount; ++field) {
        if (PaySlipFieldLines[field] == line)
            return field;
    }
    return -1;
}

const QStringList& monthNames()
{
    static const QStringList names = paycalc::PayEngine::fixedItems(paycalc::List::Combo15, 0);
    return names;
}

// Why a slip that the reader could not finish shows no amounts.
QString problemOf(const QString& path, PaySlipReading::Status status)
{
    if (status == PaySlipReading::Status::Empty)
        return u"Файл пустой"_s;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return u"Не удалось открыть файл ("_s + file.errorString() + u')';
    return u"Файл обрывается раньше 25-й строки"_s;
}

HistoryMonth readMonth(const QDir& lists, const QString& fileName, SlipMonth month)
{
    HistoryMonth entry{month, fileName, {}, {}};
    const QString path = lists.filePath(fileName);
    const PaySlipReading reading = readPaySlip(path);
    if (reading.status != PaySlipReading::Status::Complete) {
        entry.problem = problemOf(path, reading.status);
        return entry;
    }
    for (int column = 0; column < HistoryAmountCount; ++column) {
        if (const auto& text = reading.values[fieldOfLine(HistoryAmountLines[column])])
            entry.amounts[column] = paycalc::leadingNumber(*text);
    }
    return entry;
}

std::vector<HistoryYear> yearTotals(const std::vector<HistoryMonth>& months)
{
    std::vector<HistoryYear> years;
    for (const HistoryMonth& entry : months) {
        if (!entry.isRead())
            continue;
        if (years.empty() || years.back().year != entry.month.year)
            years.push_back({entry.month.year});
        HistoryYear& year = years.back();
        const auto add = [&entry](double& sum, HistoryAmount which) {
            sum += entry.amount(which).value_or(0.0);
        };
        ++year.months;
        add(year.accrued, HistoryAmount::Accrued);
        add(year.incomeTax, HistoryAmount::IncomeTax);
        add(year.withheld, HistoryAmount::Withheld);
        add(year.netPay, HistoryAmount::NetPay);
    }
    return years;
}

// A CSV field: quoted when it holds a separator, a quote or a line break.
QString csvField(const QString& text)
{
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\r') &&
        !text.contains(u'\n'))
        return text;
    QString quoted = text;
    quoted.replace(u"\""_s, u"\"\""_s);
    return u'"' + quoted + u'"';
}

// The amount as read, at full precision, with a decimal comma.
QString csvAmount(std::optional<double> amount)
{
    return amount ? paycalc::amountText(*amount).replace(u'.', u',') : QString();
}

} // namespace

std::optional<SlipMonth> slipMonthOfFileName(const QString& fileName)
{
    constexpr qsizetype YearDigits = 4;
    const QString suffix = u".txt"_s;
    if (!fileName.endsWith(suffix))
        return std::nullopt;
    const QStringView stem = QStringView(fileName).chopped(suffix.size());
    if (stem.size() < YearDigits + 2 || stem[stem.size() - YearDigits - 1] != u' ')
        return std::nullopt;
    const QStringView year = stem.right(YearDigits);
    if (!std::all_of(year.begin(), year.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    const qsizetype month = monthNames().indexOf(stem.chopped(YearDigits + 1));
    if (month < 0)
        return std::nullopt;
    return SlipMonth{year.toInt(), static_cast<int>(month) + 1};
}

PayHistory PayHistory::load(const QString& dataFolder)
{
    PayHistory history;
    const QDir lists(QDir(dataFolder).filePath(u"Lists"_s));
    if (!QFileInfo(lists.path()).isDir()) {
        history.m_folderProblem =
            u"Папка '"_s + QDir::toNativeSeparators(lists.path()) + u"' не найдена"_s;
        return history;
    }
    // Hidden files (such as a folder's placeholder) are not the user's slips.
    const QStringList names = lists.entryList(QDir::Files, QDir::Name);
    history.m_months.reserve(static_cast<std::size_t>(names.size()));
    for (const QString& name : names) {
        if (const std::optional<SlipMonth> month = slipMonthOfFileName(name))
            history.m_months.push_back(readMonth(lists, name, *month));
        else
            ++history.m_skipped;
    }
    std::sort(history.m_months.begin(), history.m_months.end(),
              [](const HistoryMonth& a, const HistoryMonth& b) { return a.month < b.month; });
    history.m_years = yearTotals(history.m_months);
    return history;
}

QString PayHistory::statusText() const
{
    if (!m_folderProblem.isEmpty())
        return m_folderProblem;
    return u"Пропущено файлов: "_s + QString::number(m_skipped);
}

std::vector<std::vector<int>> PayHistory::runs(HistoryAmount which) const
{
    std::vector<std::vector<int>> runs;
    std::optional<SlipMonth> previous;
    for (int index = 0; index < static_cast<int>(m_months.size()); ++index) {
        const HistoryMonth& entry = m_months[index];
        if (!entry.amount(which)) {
            previous.reset();
            continue;
        }
        if (!previous || previous->next() != entry.month)
            runs.emplace_back();
        runs.back().push_back(index);
        previous = entry.month;
    }
    return runs;
}

ChartSpan PayHistory::chartSpan() const
{
    constexpr int MaxTickGaps = 12;
    // A slip is a text file anyone may edit: an amount beyond any pay must not
    // make the span overflow. Such points lie outside the drawn range.
    constexpr double Beyond = 1e15;

    ChartSpan span;
    int first = 0;
    int last = 0;
    for (const HistoryMonth& entry : m_months) {
        for (const HistoryAmount which : {HistoryAmount::NetPay, HistoryAmount::Accrued}) {
            const std::optional<double> amount = entry.amount(which);
            if (!amount)
                continue;
            const int number = entry.month.number();
            first = span.hasPoints ? std::min(first, number) : number;
            last = span.hasPoints ? std::max(last, number) : number;
            span.low = std::max(std::min(span.low, *amount), -Beyond);
            span.high = std::max(span.high, std::min(*amount, Beyond));
            span.hasPoints = true;
        }
    }
    if (!span.hasPoints)
        return span;

    // From a month before the first to a month after the last, in whole steps.
    const int months = last - first + 2;
    for (const int step : {1, 2, 3, 4, 6, 12, 24, 36, 60, 120, 240, 600, 1200}) {
        span.tickStep = step;
        if ((months + step - 1) / step <= MaxTickGaps)
            break;
    }
    const int gaps = (months + span.tickStep - 1) / span.tickStep;
    // The months left over go half before the first, half after the last.
    span.firstTick = first - 1 - (gaps * span.tickStep - months) / 2;
    span.lastTick = span.firstTick + gaps * span.tickStep;
    return span;
}

QString PayHistory::toolTip(int monthIndex) const
{
    if (monthIndex < 0 || monthIndex >= static_cast<int>(m_months.size()))
        return {};
    const HistoryMonth& entry = m_months[monthIndex];
    QString text = periodText(entry.month) + u" г."_s;
    const auto line = [&](const QString& caption, HistoryAmount which) {
        if (const auto amount = entry.amount(which))
            text += u'\n' + caption + u": "_s + amountText(amount) + u" руб."_s;
    };
    line(amountName(HistoryAmount::NetPay), HistoryAmount::NetPay);
    line(amountName(HistoryAmount::Accrued), HistoryAmount::Accrued);
    return text;
}

QByteArray PayHistory::csv() const
{
    QStringList lines;
    lines << (monthHeaders() << u"Примечание"_s).join(u';');
    for (const HistoryMonth& entry : m_months) {
        QStringList fields{csvField(periodText(entry.month))};
        for (const std::optional<double>& amount : entry.amounts)
            fields << csvAmount(amount);
        fields << csvField(entry.problem);
        lines << fields.join(u';');
    }
    QString text = lines.join(u"\r\n"_s) + u"\r\n"_s;
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QString PayHistory::amountName(HistoryAmount which)
{
    switch (which) {
    case HistoryAmount::Accrued:
        return u"Начислено"_s;
    case HistoryAmount::IncomeTax:
        return u"Подоходный налог"_s;
    case HistoryAmount::OtherDeductions:
        return u"Другие удержания"_s;
    case HistoryAmount::Withheld:
        return u"Удержано"_s;
    case HistoryAmount::NetPay:
        return u"К выдаче"_s;
    }
    return {};
}

QStringList PayHistory::monthHeaders()
{
    QStringList headers{u"Месяц"_s};
    for (int column = 0; column < HistoryAmountCount; ++column)
        headers << amountName(static_cast<HistoryAmount>(column));
    return headers;
}

QStringList PayHistory::yearHeaders()
{
    return {u"Год"_s,
            u"Месяцев"_s,
            amountName(HistoryAmount::Accrued),
            amountName(HistoryAmount::IncomeTax),
            amountName(HistoryAmount::Withheld),
            amountName(HistoryAmount::NetPay)};
}

QString PayHistory::periodText(const SlipMonth& month)
{
    return monthNames().value(month.month - 1) + u' ' +
           QString::number(month.year).rightJustified(4, u'0');
}

QString PayHistory::amountText(std::optional<double> amount)
{
    if (!amount)
        return {};
    // + 0.0 turns a negative zero into zero, so that it never reads "-0,00".
    QString text = QString::number(*amount + 0.0, 'f', 2).replace(u'.', u',');
    if (text == u"-0,00")
        text.remove(0, 1);
    return text;
}

paycalc::Message saveHistoryCsv(const PayHistory& history, const QString& path)
{
    const QString failure = detail::saveWholeFile(path, history.csv());
    return failure.isEmpty() ? detail::savedMessage() : detail::saveFailedMessage(path, failure);
}

} // namespace payslip
