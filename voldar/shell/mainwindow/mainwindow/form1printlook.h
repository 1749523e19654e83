#pragma once

#include "payslip/printlook.h"

#include <vector>

class QWidget;

// The print look of the main window, read from its design: every element that
// changes between screen and paper carries a dynamic property "role" (its
// colour group) and, when it means nothing on paper, "screenOnly" = true.
//
//   role "caption"      page green on screen, paper white when printed
//   role "amount"       amount teal on screen, paper white when printed
//   role "heading"      likewise
//   role "fixedAmount"  amount teal in both looks (other deductions)
//   role "total"        amount teal in both looks (the total captions)
//   role "banner"       the program banner: shown, amount teal only on paper
//   role "siteLine"     the web-site line: shown only on paper
//   screenOnly          hidden on paper
//
// The window's background (its central widget) is page green on screen and
// white on paper; the children list Combo14 is enabled for printing and
// disabled again afterwards.
namespace form1printlook {

std::vector<payslip::LookEntry> table(const QWidget& form);

} // namespace form1printlook
