#include "tools/servicelength.h"

#include "paycalc/numbers.h"

#include <cmath>

namespace tools {

namespace {

constexpr int StartYear = 0;
constexpr int StartMonth = 1;
constexpr int StartDay = 2;
constexpr int EndYear = 3;
constexpr int EndMonth = 4;
constexpr int EndDay = 5;

enum class Part
{
    Year,
    Month,
    Day
};

struct Bound
{
    double value;
    QString firstLine;
};

// The lower bound fails at or below its value, the upper one above it.
struct Rule
{
    Bound lower;
    Bound upper;
    double upperReplacement;
};

Rule ruleFor(Part part, int currentYear)
{
    switch (part) {
    case Part::Year:
        // The upper limit follows the calendar: fourteen years ahead is still
        // plausible for a planned end of service, more is a typing error.
        return {{1900, QStringLiteral(" Да здравствуют долгожители!!!")},
                {currentYear + 14.0, QStringLiteral(" Поделитесь машиной времени!!!")},
                static_cast<double>(currentYear)};
    case Part::Month:
        return {{0, QStringLiteral(" Введите месяц с 1 по 12 ")},
                {12, QStringLiteral(" Введите месяц с 1 по 12 ")},
                12};
    case Part::Day:
        break;
    }
    return {{0, QStringLiteral(" Введите день с 1 по 31 ")},
            {31, QStringLiteral(" Введите день с 1 по 31 ")},
            31};
}

paycalc::Message dateMessage(Part part, const QString& firstLine)
{
    const QString second = part == Part::Year ? QStringLiteral(" Введите реальную дату")
                                              : QStringLiteral(" Введите реальные данные ");
    return {firstLine + u"\r\r" + second, QStringLiteral(" Ошибочка вышла!!! "),
            paycalc::Message::Icon::Warning};
}

bool isOdd(double value)
{
    return std::fmod(paycalc::roundHalfEven(value), 2.0) != 0;
}

} // namespace

DateCheck checkDates(const DateTexts& texts, int currentYear)
{
    struct Step
    {
        int box;
        Part part;
    };
    static constexpr std::array<Step, 6> order{{{StartYear, Part::Year},
                                                {EndYear, Part::Year},
                                                {StartMonth, Part::Month},
                                                {EndMonth, Part::Month},
                                                {StartDay, Part::Day},
                                                {EndDay, Part::Day}}};
    DateCheck check;
    std::array<double, 6> values{};
    for (const Step& step : order) {
        const double value = paycalc::leadingNumber(texts[step.box]);
        const Rule rule = ruleFor(step.part, currentYear);
        if (value <= rule.lower.value) {
            check.failure =
                DateCheck::Failure{step.box, paycalc::captionNumber(rule.lower.value + 1),
                                   dateMessage(step.part, rule.lower.firstLine)};
            return check;
        }
        if (value > rule.upper.value) {
            check.failure =
                DateCheck::Failure{step.box, paycalc::captionNumber(rule.upperReplacement),
                                   dateMessage(step.part, rule.upper.firstLine)};
            return check;
        }
        values[step.box] = value;
        check.rewrites.push_back({step.box, paycalc::boxNormalForm(value)});
    }
    check.period = {values[StartYear], values[StartMonth], values[StartDay],
                    values[EndYear],   values[EndMonth],   values[EndDay]};
    return check;
}

Length calendarLength(const Period& p)
{
    double dY = p.endYear - p.startYear;
    double dM = p.endMonth - p.startMonth;
    double dD = p.endDay - p.startDay;
    // Borrow for negative parts, and carry a full 30 days (the 31st back to
    // the 1st) so that the length stays normalized like every other one.
    if (dD < 0) {
        dD += 30;
        dM -= 1;
    } else if (dD >= 30) {
        dD -= 30;
        dM += 1;
    }
    if (dM < 0) {
        dM += 12;
        dY -= 1;
    } else if (dM >= 12) {
        dM -= 12;
        dY += 1;
    }
    return {dY, dM, dD};
}

namespace {

// Coefficients 1, 2 and 3: the borrowed day and month parts are multiplied
// together with the rest, then carried upwards.
Length wholeCoefficientLength(const Period& p, double k)
{
    const double dY = p.endYear - p.startYear;
    double dM = p.endMonth - p.startMonth;
    const double dD = p.endDay - p.startDay;

    double dayBorrow = 0;
    double dayCarry = 0;
    double day = dD < 0 ? (dD + 30) * k : dD * k;
    if (dD < 0)
        dayBorrow = -1;
    while (day >= 30) {
        day -= 30;
        dayCarry += 1;
    }

    double yearBorrow = 0;
    if (dM <= 0) {
        dM += 12;
        yearBorrow = -1;
    }
    double month = (dM + dayBorrow) * k + dayCarry;
    double yearCarry = 0;
    while (month >= 12) {
        month -= 12;
        yearCarry += 1;
    }
    return {(dY + yearBorrow) * k + yearCarry, month, day};
}

// Coefficient 1.5: halves of a month become 15 days and halves of a year six
// months; a half day counts as a whole one.
Length oneAndHalfLength(const Period& p)
{
    const double dY = p.endYear - p.startYear;
    const double dM = p.endMonth - p.startMonth;
    const double dD = p.endDay - p.startDay;

    double day = paycalc::roundHalfEven(1.5 * dD + 0.1);
    double borrow = 0;
    if (day < 0) {
        day += 30;
        borrow = -1;
        if (day < 0) {
            day += 30;
            borrow = -2;
        }
    }
    while (day >= 30) {
        day -= 30;
        borrow += 1;
    }

    double month = 1.5 * dM;
    double year = 0;
    if (month < 0) {
        month += 12;
        year = -1;
    }
    if (isOdd(dM)) {
        month -= 0.5;
        day += 15;
        if (day >= 30) {
            day -= 30;
            borrow += 1;
        }
    }
    month += borrow;
    if (month < 0) {
        month += 12;
        year -= 1;
    }
    while (month >= 12) {
        month -= 12;
        year += 1;
    }

    double years = 1.5 * dY;
    if (isOdd(dY)) {
        years -= 0.5;
        month += 6;
        if (month >= 12) {
            month -= 12;
            year += 1;
        }
    }
    return {years + year, month, day};
}

} // namespace

Length preferentialLength(const Period& period, Coefficient k)
{
    switch (k) {
    case Coefficient::One:
        return wholeCoefficientLength(period, 1);
    case Coefficient::OneAndHalf:
        return oneAndHalfLength(period);
    case Coefficient::Two:
        return wholeCoefficientLength(period, 2);
    case Coefficient::Three:
        break;
    }
    return wholeCoefficientLength(period, 3);
}

PeriodResult computePeriod(const Period& period, Coefficient k)
{
    PeriodResult result;
    result.service = preferentialLength(period, k);
    result.calendar = calendarLength(period);
    result.rows[static_cast<std::size_t>(k)] = result.service;
    return result;
}

Length addToTotal(Length total, const Length& add)
{
    total.days += add.days;
    if (total.days >= 30) {
        total.days -= 30;
        total.months += 1;
    }
    total.months += add.months;
    if (total.months >= 12) {
        total.months -= 12;
        total.years += 1;
    }
    total.years += add.years;
    return total;
}

std::array<QString, 3> lengthTexts(const Length& length)
{
    return {paycalc::captionNumber(length.years), paycalc::captionNumber(length.months),
            paycalc::captionNumber(length.days)};
}

Length readLength(const QString& years, const QString& months, const QString& days)
{
    return {paycalc::leadingNumber(years), paycalc::leadingNumber(months),
            paycalc::leadingNumber(days)};
}

paycalc::Message internalErrorMessage()
{
    return {QStringLiteral(" Произошла внутреняя ошибка \r Перезапустите программу либо "
                           "введите свои данные в поля! "),
            QStringLiteral(" Ошибка "), paycalc::Message::Icon::Error};
}

} // namespace tools
