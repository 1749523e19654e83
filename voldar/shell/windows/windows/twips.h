#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace shellwindows {

// Designs are measured in twips: 1440 to the logical inch.
inline constexpr int TwipsPerInch = 1440;

// Pixels that cover `twips` at `dotsPerInch`, to the nearest pixel.
int twipsToPixels(int twips, int dotsPerInch);

// Top-left corner that puts a window of `size` in the middle of `screen`.
QPoint centredOrigin(const QRect& screen, const QSize& size);

} // namespace shellwindows
