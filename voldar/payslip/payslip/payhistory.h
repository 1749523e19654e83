#pragma once

#include "paycalc/message.h"

#include <array>
#include <compare>
#include <optional>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace payslip {

// The month a pay slip is for, taken from its file name.
struct SlipMonth
{
    int year = 0;
    int month = 0; // 1 = January

    friend auto operator<=>(const SlipMonth&, const SlipMonth&) = default;

    // The calendar month after this one.
    SlipMonth next() const
    {
        return month == 12 ? SlipMonth{year + 1, 1} : SlipMonth{year, month + 1};
    }
    // Months since January 1970 (0), for a time axis.
    int number() const { return (year - 1970) * 12 + month - 1; }
};

// The month of a slip file named as the program names them: a month name as
// the month list shows it, one blank, a four-digit year and ".txt"
// ("Март 2008.txt"). Any other name gives nothing.
std::optional<SlipMonth> slipMonthOfFileName(const QString& fileName);

// The amounts the history shows of each slip, in column order, with the slip
// line each one is read from.
enum class HistoryAmount
{
    Accrued,         // line 18, "ИТОГО НАЧИСЛЕНО"
    IncomeTax,       // line 20
    OtherDeductions, // line 21
    Withheld,        // line 23, "ИТОГО УДЕРЖАНО"
    NetPay,          // line 25, "К ВЫДАЧЕ"
};
inline constexpr int HistoryAmountCount = 5;
inline constexpr std::array<int, HistoryAmountCount> HistoryAmountLines = {18, 20, 21, 23, 25};

// The amounts of the year totals, in column order.
inline constexpr std::array<HistoryAmount, 4> YearAmounts = {
    HistoryAmount::Accrued, HistoryAmount::IncomeTax, HistoryAmount::Withheld,
    HistoryAmount::NetPay};

// One slip of the history.
struct HistoryMonth
{
    SlipMonth month;
    QString fileName;
    // Why the slip shows no amounts (it cannot be read, is empty or ends
    // early); empty when it was read whole.
    QString problem;
    // The amounts; none where the slip's line is empty (the amount was never
    // shown when the slip was saved), where it holds no amount, and for a
    // slip that was not read.
    std::array<std::optional<double>, HistoryAmountCount> amounts{};
    // What a value line holds when that is no amount ("Подождите..."); empty
    // for an amount and for an empty line.
    std::array<QString, HistoryAmountCount> notAmounts{};

    bool isRead() const { return problem.isEmpty(); }
    std::optional<double> amount(HistoryAmount which) const
    {
        return amounts[static_cast<std::size_t>(which)];
    }
};

// What a chart of the net pay and the accrued total spans: months (as
// SlipMonth::number()) from `firstTick` to `lastTick`, a tick every `tickStep`
// months with at most 12 gaps, at least a month before the first slip and
// after the last; amounts from `low` to `high`, zero included.
struct ChartSpan
{
    bool hasPoints = false;
    int firstTick = 0;
    int lastTick = 0;
    int tickStep = 1;
    double low = 0;
    double high = 1;

    int tickCount() const { return (lastTick - firstTick) / tickStep + 1; }
};

// The sums of one calendar year over the slips that were read. A slip whose
// line holds no amount adds nothing to that amount's sum nor to its count.
struct HistoryYear
{
    int year = 0;
    int months = 0; // slips read for this year
    std::array<double, HistoryAmountCount> sums{};
    std::array<int, HistoryAmountCount> counted{}; // months that hold the amount

    double sum(HistoryAmount which) const { return sums[static_cast<std::size_t>(which)]; }
    int count(HistoryAmount which) const { return counted[static_cast<std::size_t>(which)]; }
};

// Every pay slip saved in a Data folder's Lists, oldest month first, with the
// yearly totals, the texts the history window shows and the tables as CSV.
// Slips are read with the pay-slip reader. A value line is an amount only
// when it holds a number and at most " руб." (as the program writes them)
// and no more than a month's pay could be (MaxAmount): anything else, such
// as a caption saved while it read "Подождите...", is no amount.
class PayHistory
{
public:
    // The largest amount in roubles, either way, that a slip's line may hold.
    static constexpr double MaxAmount = 1e12;

    // Reads `dataFolder`/Lists. Files with other names than a slip's are left
    // alone and counted; a slip that cannot be read stays in with its reason.
    static PayHistory load(const QString& dataFolder);

    const std::vector<HistoryMonth>& months() const { return m_months; }
    const std::vector<HistoryYear>& years() const { return m_years; }
    int skippedFiles() const { return m_skipped; }

    // "Пропущено файлов: N", or why the Lists folder could not be read.
    QString statusText() const;
    // "Расчетных листков нет в папке <Lists>"; empty when there are slips.
    QString emptyText() const;

    // Runs of slips for consecutive calendar months that all hold `which`, as
    // indexes into months(): a chart draws one line through each run, so
    // that a month without a slip (or without that amount) is a gap.
    std::vector<std::vector<int>> runs(HistoryAmount which) const;

    ChartSpan chartSpan() const;

    // "Март 2008 г." and its net pay and accrued total, for a chart point.
    QString toolTip(int monthIndex) const;

    // The tables as CSV for a Russian spreadsheet: UTF-8 with a byte-order
    // mark, semicolons, CR LF; the months with the texts of monthTexts(), then
    // a blank line and the years with those of yearTexts().
    QByteArray csv() const;

    // The column head of an amount ("К выдаче"), also the name of its line.
    static QString amountName(HistoryAmount which);
    // "Месяц", the amounts and "Примечание".
    static QStringList monthHeaders();
    static QStringList yearHeaders();
    // "Март 2008"
    static QString periodText(const SlipMonth& month);
    // Two decimals with a decimal comma ("26636,50"); empty for no amount.
    static QString amountText(std::optional<double> amount);
    // A month's row under monthHeaders(): an amount, "нет суммы" for a line
    // that holds none, empty for an empty line; the note names each such line
    // and what it holds, or says why the slip was not read.
    static QStringList monthTexts(const HistoryMonth& entry);
    // A year's row under yearHeaders(); a sum over fewer months than the
    // year's slips says over how many ("26100,00 (1 мес.)").
    static QStringList yearTexts(const HistoryYear& year);

private:
    std::vector<HistoryMonth> m_months;
    std::vector<HistoryYear> m_years;
    int m_skipped = 0;
    QString m_lists;
    QString m_folderProblem;
};

// Writes the history's CSV to `path`, replacing a file there only once the
// new one is completely written. The box to show: saved, or the reason.
paycalc::Message saveHistoryCsv(const PayHistory& history, const QString& path);

} // namespace payslip
