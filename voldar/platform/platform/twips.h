#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Window designs are measured in twips; these turn them into pixels and back.
namespace platform {

// Designs are measured in twips: 1440 to the logical inch.
inline constexpr int TwipsPerInch = 1440;

// Pixels that cover `twips` at `dotsPerInch`, to the nearest pixel.
int twipsToPixels(int twips, int dotsPerInch);

// Pixels, not rounded, that cover `twips` at `dotsPerInch`.
double twipsToPixelsExact(double twips, int dotsPerInch);

// Twips in one pixel of `widget`'s screen (15 at 96 dots per inch, also when
// the screen reports no resolution).
double twipsPerPixel(const QWidget* widget);

// Top-left corner that puts a window of `size` in the middle of `screen`.
QPoint centredOrigin(const QRect& screen, const QSize& size);

// How many blanks of the window's font fill `box`, plus `adjust`: both widths
// are measured in twips, as the moving texts of the side windows are sized.
int blanksAcross(const QWidget* box, int adjust);

} // namespace platform
