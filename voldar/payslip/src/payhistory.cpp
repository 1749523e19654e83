#include "payslip/payhistory.h"

#include "filesave.h"
#include "paycalc/wholefile.h"
#include "paycalc/controls.h"
#include "paycalc/numbers.h"
#include "paycalc/payengine.h"
#include "payslip/payslipfile.h"

#include <algorithm>
#include <cmath>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

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

// The amount of a value line, read strictly: blanks, an optional sign,
// digits with at most one point, an optional exponent, then blanks, an
// optional "руб." and blanks; nothing else. Every caption the program writes
// reads (" 1234.56 руб.", "-.5 руб.", "1500.5"); a hand-edited line, one of
// blanks or "Подождите..." does not, nor an amount beyond any month's pay.
std::optional<double> strictAmount(const QString& line)
{
    static const QRegularExpression amount(QRegularExpression::anchoredPattern(
        u" *([+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)(?:[eE][+-]?[0-9]+)?) *(?:руб\\.)? *"_s));
    const QRegularExpressionMatch match = amount.match(line);
    if (!match.hasMatch())
        return std::nullopt;
    // The reader saturates an overflow at the largest double.
    const double value = paycalc::leadingNumber(match.capturedView(1));
    if (!std::isfinite(value) || std::abs(value) > PayHistory::MaxAmount)
        return std::nullopt;
    return value;
}

HistoryMonth readMonth(const QDir& lists, const QString& fileName, SlipMonth month)
{
    HistoryMonth entry{month, fileName, {}, {}, {}};
    const PaySlipReading reading = readPaySlip(lists.filePath(fileName));
    if (reading.status != PaySlipReading::Status::Complete) {
        entry.problem = paySlipProblem(reading);
        return entry;
    }
    for (int column = 0; column < HistoryAmountCount; ++column) {
        const auto& text = reading.values[fieldOfLine(HistoryAmountLines[column])];
        if (!text)
            continue;
        entry.amounts[column] = strictAmount(*text);
        if (!entry.amounts[column])
            entry.notAmounts[column] = *text;
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
        ++year.months;
        for (int column = 0; column < HistoryAmountCount; ++column) {
            if (const std::optional<double> amount = entry.amounts[column]) {
                year.sums[column] += *amount;
                ++year.counted[column];
            }
        }
    }
    return years;
}

// "Строка 25: «Подождите...»" for each line that holds no amount; a long line
// is cut, so that the note stays a note.
QString notesOf(const HistoryMonth& entry)
{
    constexpr qsizetype Shown = 40;
    QStringList notes;
    for (int column = 0; column < HistoryAmountCount; ++column) {
        const QString& text = entry.notAmounts[column];
        if (text.isEmpty())
            continue;
        const QString shown = text.size() > Shown ? text.left(Shown) + u'…' : text;
        notes << u"Строка "_s + QString::number(HistoryAmountLines[column]) + u": «"_s + shown +
                     u'»';
    }
    return notes.join(u"; "_s);
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

QString csvLine(const QStringList& texts)
{
    QStringList fields;
    for (const QString& text : texts)
        fields << csvField(text);
    return fields.join(u';');
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
    history.m_lists = lists.path();
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

QString PayHistory::emptyText() const
{
    if (!m_months.empty())
        return {};
    return u"Расчетных листков нет в папке "_s + QDir::toNativeSeparators(m_lists);
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
            span.low = std::min(span.low, *amount);
            span.high = std::max(span.high, *amount);
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
    QStringList lines{csvLine(monthHeaders())};
    for (const HistoryMonth& entry : m_months)
        lines << csvLine(monthTexts(entry));
    lines << QString() << csvLine(yearHeaders());
    for (const HistoryYear& year : m_years)
        lines << csvLine(yearTexts(year));
    const QString text = lines.join(u"\r\n"_s) + u"\r\n"_s;
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
    return headers << u"Примечание"_s;
}

QStringList PayHistory::yearHeaders()
{
    QStringList headers{u"Год"_s, u"Месяцев"_s};
    for (const HistoryAmount which : YearAmounts)
        headers << amountName(which);
    return headers;
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

QStringList PayHistory::monthTexts(const HistoryMonth& entry)
{
    QStringList texts{periodText(entry.month)};
    for (int column = 0; column < HistoryAmountCount; ++column) {
        texts << (entry.notAmounts[column].isEmpty() ? amountText(entry.amounts[column])
                                                     : u"нет суммы"_s);
    }
    return texts << (entry.isRead() ? notesOf(entry) : entry.problem);
}

QStringList PayHistory::yearTexts(const HistoryYear& year)
{
    QStringList texts{QString::number(year.year), QString::number(year.months)};
    for (const HistoryAmount which : YearAmounts) {
        QString sum = amountText(year.sum(which));
        if (year.count(which) < year.months)
            sum += u" ("_s + QString::number(year.count(which)) + u" мес.)"_s;
        texts << sum;
    }
    return texts;
}

paycalc::Message saveHistoryCsv(const PayHistory& history, const QString& path)
{
    const QString failure = paycalc::saveWholeFile(path, history.csv());
    return failure.isEmpty() ? detail::savedMessage() : detail::saveFailedMessage(path, failure);
}

} // namespace payslip
