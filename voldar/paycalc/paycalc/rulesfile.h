#pragma once

#include <array>
#include <optional>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

// The rules file of the today's pay sheet (Data/Pravila.Txt): the rates and
// limits of the law, each with the act it comes from, so that a change of the
// law is a file edit. Windows-1251, lines ended by CR LF (a lone CR or LF is
// taken too).
//
// Line 1 is a heading holding the edition date as ДД.ММ.ГГГГ. Every further
// line is empty, a comment starting with '#', or one rule:
//
//     name = values ; source
//
// The name is one of ruleName()'s, written once. Values are numbers without
// sign, at most two decimals after a point or a comma, separated by blanks; a
// scale is a list of steps "from:value" with increasing "from". The source is
// free text (act, article, part or item) and must not be empty; a source that
// holds the words «не подтверждено» marks the rule as not confirmed.
namespace paycalc::rulesfile {

inline constexpr char16_t FileName[] = u"Pravila.Txt";

// A rules file is a few kilobytes; anything larger is refused unread.
inline constexpr qint64 MaxFileSize = 64 * 1024;

enum class Rule
{
    BaseSalary,          // no values: only the source of the base salary
    LongService,         // scale: full years → % of the base salary
    Qualification,       // four values: % of the position salary, 3rd class … master
    StateSecret,         // the largest % of the position salary
    SpecialConditions,   // the largest % of the position salary
    Risk,                // the largest % of the position salary
    Achievements,        // the largest % of the position salary
    Premium,             // the largest % of the base salary a month
    RegionalCoefficient, // the largest coefficient
    NorthernPercent,     // the largest %
    MaterialAid,         // base salaries paid as material aid
    TaxFreeAid,          // roubles of material aid free of income tax
    ChildDeduction,      // roubles a month: first, second, … child; the last for each next
    ChildDeductionLimit, // roubles of income since the year's start, at most
    TaxScale,            // scale: roubles of the year's base → % tax
    TaxRounding,         // kopecks from which the tax rounds up to the rouble
};
inline constexpr int RuleCount = 16;

// Every number is kept in hundredths (12.5 → 1250; roubles thus in kopecks),
// so that the sheet computes from them exactly.
struct RuleValue
{
    QList<qint64> values;
    QList<qint64> steps; // scales only: where each value starts
    QString source;
    bool unconfirmed = false;
};

struct Rules
{
    QString edition; // the heading line, as written
    std::array<RuleValue, RuleCount> rules;

    const RuleValue& operator[](Rule rule) const { return rules[static_cast<std::size_t>(rule)]; }
};

// Either every rule, or the problem in Russian naming the file and, for a
// wrong line, its number and what is wrong with it.
struct ReadResult
{
    std::optional<Rules> rules;
    QString problem;
};

// The rule's name as the file writes it.
QString ruleName(Rule rule);

// `label` names the file in problems (its path or its name).
ReadResult parse(QByteArrayView bytes, const QString& label);
ReadResult read(const QString& path);

// The number of plain digits with at most `decimals` (0..2) more after one
// point or comma, in hundredths; nullopt for anything else (signs, blanks,
// exponents). Numbers past any amount the sheet handles give Huge.
inline constexpr qint64 Huge = qint64(1) << 60;
std::optional<qint64> parseNumber(QStringView text, int decimals);

// Hundredths as the sheet writes numbers: digit groups split by a blank, a
// decimal comma, at least `decimals` and at most two decimals ("2 400 000",
// "12,5", "14 647,00" for decimals = 2).
QString numberText(qint64 hundredths, int decimals = 0);

} // namespace paycalc::rulesfile
