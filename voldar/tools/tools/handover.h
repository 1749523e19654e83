#pragma once

#include <optional>
#include <QString>

// The calculator's hand-over into the main window: the program's only two
// process-wide values. The main window's calculator buttons name the field
// that receives the result; the calculator's transfer button leaves the
// result here; the main window copies it into that field once, at its first
// activation after the transfer, so that later typing in the field is kept.
namespace tools::handover {

// The two targets the main window's calculator buttons set.
inline constexpr char16_t TargetText5[] = u"Text5.text"; // other allowances
inline constexpr char16_t TargetText1[] = u"Text1.text"; // other deductions

// Empty until a calculator button of the main window names a field; never
// cleared afterwards.
void setTransferTarget(const QString& target);
QString transferTarget();

// Called by the transfer button: keeps `result` and marks it as waiting for
// the main window.
void setCalculatorResult(const QString& result);
// The last result handed over (empty at start), whether taken or not.
QString calculatorResult();

// The result waiting since the last transfer, returned once; std::nullopt
// when nothing was transferred since the last call.
std::optional<QString> takeCalculatorResult();

} // namespace tools::handover
