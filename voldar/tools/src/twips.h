#pragma once

class QWidget;

namespace tools {

// How many blanks of the window's font fill `box`, plus `adjust`: both widths
// are measured in twips, as the moving texts of the side windows are sized.
int blanksAcross(const QWidget* box, int adjust);

} // namespace tools
