#pragma once

namespace paycalc {

// Everything the main window knows about one month's pay: the rates and amounts
// that the user's choices resolve to, the computed components and the totals.
// Amounts are roubles per month, rates fractions (0.25 = 25 %), factors
// multipliers (1.35 = +35 %). Everything starts at 0 but RegionalMultiplier.
struct PaySheet
{
    // Salaries looked up in the salary files.
    double RankSalary = 0;
    double PositionSalary = 0;

    // Rates and factors set by the lists.
    double FlightRaiseFactor = 0;
    double LongServiceRate = 0;
    double ComplexityRate = 0;
    double StateSecretRate = 0;
    double SecrecyUnitRate = 0;
    double CipherRate = 0;
    double SpecialConditionsRate = 0;
    double ClassQualificationRate = 0;

    // Free-entry values, as last read by the delayed refreshes.
    double RegionalPercent = 0;
    float RegionalMultiplier = 1.0f; // single precision on purpose: shown amounts carry its error
    double OtherAllowances = 0;
    double OtherDeductions = 0;
    double PremiumRemainingPercent = 0;
    double AnnualRewardRemainingPercent = 0;

    // Standard tax deductions.
    double SelfDeduction = 0; // 400, 1 (marker: children's deduction only) or 0
    double ChildDeduction = 0;

    double SanatoriumFamilyPart = 0;

    // Computed components.
    double RaisedPositionSalary = 0;
    double LongServiceBonus = 0;
    double ComplexityBonus = 0;
    double StateSecretBonus = 0;
    double SecrecyUnitBonus = 0;
    double CipherBonus = 0;
    double SpecialConditionsBonus = 0;
    double ClassQualificationBonus = 0;
    double Premium = 0;
    double AnnualReward = 0;
    double MaterialAid = 0;
    double MaterialAidTaxFree = 0;
    double MaterialAidNet = 0;
    double TotalAccrued = 0;

    // Deductions and totals.
    double IncomeTaxExact = 0;
    double IncomeTax = 0; // whole roubles; wider than the historical 16 bits
    double TotalWithheld = 0;
    double NetPay = 0;
    double FoodRationCompensation = 0;
    double SanatoriumCompensation = 0;
    double GrandTotal = 0;
};

} // namespace paycalc
