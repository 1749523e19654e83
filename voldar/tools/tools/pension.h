#pragma once

#include "paycalc/message.h"

#include <optional>
#include <QString>

// The military pension estimate: a share of the serviceman's salaries that
// grows with the years above the minimum, plus fixed supplements.
namespace tools {

enum class PensionKind
{
    Service,       // for length of military service over 20 years
    WorkExperience // for total work experience over 25 years
};

struct PensionInputs
{
    double rankSalary = 0;
    double raisedPositionSalary = 0;
    double longServiceBonus = 0;
    double otherAllowances = 0;
    bool legalSupplement = false;
};

// The refusal shown when the main window has not chosen the salaries the
// pension is computed from (any of the three is 0); std::nullopt otherwise.
std::optional<paycalc::Message> missingSalaries(const PensionInputs& inputs);

// The prompt of the input box that asks for the years, and its title.
QString yearsPrompt(PensionKind kind);
QString yearsTitle();

// The percentage of the salaries for `years` (not rounded), capped at 85.
double pensionPercentage(PensionKind kind, double years);

// The pension amount in roubles.
double pensionAmount(PensionKind kind, const PensionInputs& inputs, double years);

// The amount as shown: its decimal text cut to 7 characters, blank-led.
QString pensionText(double pension);

// The answer to one button press once the years are known: a refusal when the
// years are out of range, else the pension message.
paycalc::Message pensionMessage(PensionKind kind, const PensionInputs& inputs, double years);

} // namespace tools
