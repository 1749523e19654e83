#pragma once

#include "paycalc/message.h"

#include <array>
#include <optional>
#include <QString>
#include <vector>

// Length of service in the 30/360 system: every month has 30 days, every year
// 12 months. Only the differences of the year, month and day numbers count;
// the end day itself is not counted.
namespace tools {

// A length as years, months and days. A normalized length has days 0..29 and
// months 0..11; the years carry the sign of the whole length.
struct Length
{
    double years = 0;
    double months = 0;
    double days = 0;

    friend bool operator==(const Length&, const Length&) = default;
};

// How many years one year of service counts as.
enum class Coefficient
{
    One,
    OneAndHalf,
    Two,
    Three
};

// One service period as read from the six date boxes.
struct Period
{
    double startYear = 0;
    double startMonth = 0;
    double startDay = 0;
    double endYear = 0;
    double endMonth = 0;
    double endDay = 0;
};

// The six date boxes in window order: start year, month, day, end year,
// month, day (Text1 .. Text6).
using DateTexts = std::array<QString, 6>;

// What the check of the date boxes asks the window to do.
struct DateCheck
{
    struct Rewrite
    {
        int box = 0; // index into DateTexts
        QString text;
    };
    struct Failure
    {
        int box = 0;
        QString replacement; // written after the message was shown
        paycalc::Message message;
    };

    // Boxes that passed, rewritten in their normal form, in the order tested.
    std::vector<Rewrite> rewrites;
    // The first failing box, if any; the boxes after it were not tested.
    std::optional<Failure> failure;
    // The values read; meaningful only without a failure.
    Period period;
};

// Tests the boxes in the order start year, end year, start month, end month,
// start day, end day. A year is accepted above 1900 and up to 14 years after
// `currentYear`; a too large year is replaced by `currentYear` itself.
DateCheck checkDates(const DateTexts& texts, int currentYear);

// The calendar length of a period.
Length calendarLength(const Period& period);

// The preferential length of a period: the borrowed parts are multiplied, not
// the raw differences; a half day counts as a whole one at "год за 1.5".
Length preferentialLength(const Period& period, Coefficient k);

// What one "Считать" shows: the preferential and calendar lengths, and the
// preferential length again in the row of its coefficient (zero elsewhere).
struct PeriodResult
{
    Length service;
    Length calendar;
    std::array<Length, 4> rows; // indexed by Coefficient
};

PeriodResult computePeriod(const Period& period, Coefficient k);

// Adds a shown (normalized) length to a running total with one carry per
// step; negative parts are added unchanged, without borrowing.
Length addToTotal(Length total, const Length& add);

// The three box texts of a length: each number with a leading blank when it
// is not negative.
std::array<QString, 3> lengthTexts(const Length& length);

// A length read back from its three boxes (years, months, days).
Length readLength(const QString& years, const QString& months, const QString& days);

// The message of an unexpected failure inside one of the window's handlers.
paycalc::Message internalErrorMessage();

} // namespace tools
