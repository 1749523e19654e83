#pragma once

#include <array>
#include <memory>
#include <optional>
#include <QByteArray>
#include <QString>
#include <QStringList>

// Pay of a serviceman under contract under the rules in force today: the
// second, smaller sheet beside the main window. Its rates are not in the
// code: they are read from the rules file in the Data folder, one rule a line
// with the act it comes from, so that a change of the law is a file edit.
// The salaries come from the same rank and position files as the main sheet.
namespace paycalc::todaypay {

// The rules file in the Data folder: Windows-1251, CR LF.
inline constexpr char16_t RulesFileName[] = u"Pravila.Txt";

// The inputs, in the order the window shows them.
enum class Input
{
    Rank,                 // list: the rank file's names
    Grade,                // list: the position file's names
    ManualPositionSalary, // box: empty, or a number > 0 replacing the grade's salary
    ServiceYears,         // box: whole years 0..60
    Qualification, // list: «нет», «3 класс», «2 класс», «1 класс», «мастер»
    StateSecret,         // box: % of the position salary
    SpecialConditions,   // box: % of the position salary
    Risk,                // box: % of the position salary
    Achievements,        // box: % of the position salary
    Premium,             // box: % of the base salary, a month
    RegionalCoefficient, // box: 1..3
    NorthernPercent,     // box: %
    MaterialAid,         // check box
    Children,            // box: whole number 0..20
    IncomeSoFar,         // box: roubles since the year's start, before this month
};
inline constexpr int InputCount = 15;

enum class InputKind
{
    List,
    Box,
    CheckBox,
};

// The amounts, in the order the window shows them.
enum class Amount
{
    RankSalary,
    PositionSalary,
    BaseSalary, // «Оклад денежного содержания»
    LongService,
    Qualification,
    StateSecret,
    SpecialConditions,
    Risk,
    Achievements,
    Premium,
    Regional,
    Northern,
    MaterialAid,
    Accrued,
    ChildDeduction,
    IncomeTax,
    NetPay,
};
inline constexpr int AmountCount = 17;

InputKind kindOf(Input input);
// «Воинское звание» … «Доход с начала года до этого месяца, руб.»
QString caption(Input input);
// «Оклад по воинскому званию» … «К выдаче»
QString caption(Amount amount);
// What a screen reader names an amount's label: its caption and ", сумма".
QString accessibleName(Amount amount);
// The text a box starts with: "25" for the premium, "1" for the coefficient,
// "0" for the northern percentage, empty for the others.
QString startText(Input input);

// Roubles and kopecks as the sheet shows them: «14 647,00 руб.» (digit groups
// split by a blank, a decimal comma).
QString amountText(double roubles);

// The sheet: the rules and the salary tables it read, the user's choices and
// every amount, recomputed at once after each change. Display-free; the
// window forwards its controls' changes and shows what this reports.
class TodayPay
{
public:
    // Reads the rules file and both salary files of `dataFolder`.
    explicit TodayPay(QString dataFolder);

    // Reads the rules and the salary files again (after an indexation, or a
    // rules file edited meanwhile), keeping the choices: a list keeps its
    // position when the new list is long enough, else loses its selection.
    void reload();

    // False when the rules file (or a salary file) could not be read whole:
    // every amount then shows a dash and problem() says why.
    bool canCompute() const;
    // The reason in Russian, naming the file and, for a wrong line, its
    // number and what is wrong; empty when canCompute().
    QString problem() const;

    // The items of a list input; empty for other inputs.
    QStringList items(Input input) const;

    // The user's choices. A list index of -1 is no selection; a box text that
    // is not a number in its range counts as empty until mended.
    void setIndex(Input input, int index);
    void setText(Input input, const QString& text);
    void setChecked(Input input, bool checked);
    int index(Input input) const;
    QString text(Input input) const;
    bool isChecked(Input input) const;

    // Whether a box's text is accepted (empty is); true for non-boxes.
    bool isAccepted(Input input) const;
    // The tool tip of an input: the allowed range («Число от 0 до 65»), and
    // «не подтверждено» where the rules file marks the rate so.
    QString toolTip(Input input) const;

    // The amount in roubles (0 when it cannot be computed) and as shown:
    // amountText(), or "—" when !canCompute().
    double amount(Amount which) const;
    QString text(Amount which) const;
    // The rule behind the amount and its source (act, article, part), with
    // «не подтверждено» where the file marks it so.
    QString toolTip(Amount which) const;

    // The line under the sheet: the heading line of each salary file, the
    // rules file's edition, and the hint that «Индексация окладов» brings the
    // tables up to date.
    QString footerText() const;

    // The choices as a small UTF-8 text for the user's configuration, and
    // back. Unknown or damaged lines are ignored; a list index beyond its
    // list is dropped.
    QByteArray choices() const;
    void restoreChoices(const QByteArray& bytes);

private:
    struct State;
    void recompute();
    // The box's number in hundredths; nullopt when it is empty or not accepted.
    std::optional<qint64> boxValue(Input input) const;

    QString m_dataFolder;
    std::array<QString, InputCount> m_texts;
    std::array<int, InputCount> m_indexes{};
    bool m_materialAid = false;
    // Everything read from the files, and the amounts computed from them in
    // kopecks, so that each rounds exactly.
    std::shared_ptr<const State> m_state;
    std::array<qint64, AmountCount> m_kopecks{};
};

} // namespace paycalc::todaypay
