#include "twips.h"

#include "paycalc/marquee.h"

#include <QFontMetricsF>
#include <QWidget>

namespace tools {

int blanksAcross(const QWidget* box, int adjust)
{
    const int dpi = box->logicalDpiX() > 0 ? box->logicalDpiX() : 96;
    const double twipsPerPixel = 1440.0 / dpi;
    const double blank = QFontMetricsF(box->window()->font()).horizontalAdvance(u' ');
    return paycalc::Marquee::blanksFor(box->width() * twipsPerPixel, blank * twipsPerPixel, adjust);
}

} // namespace tools
