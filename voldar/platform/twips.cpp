#include "platform/twips.h"

#include "paycalc/marquee.h"

#include <QFontMetricsF>
#include <QWidget>

namespace platform {

int twipsToPixels(int twips, int dotsPerInch)
{
    // Whole-number arithmetic, rounded half up: the sizes here are positive.
    const long long scaled = static_cast<long long>(twips) * dotsPerInch;
    return static_cast<int>((scaled + TwipsPerInch / 2) / TwipsPerInch);
}

double twipsToPixelsExact(double twips, int dotsPerInch)
{
    return twips * dotsPerInch / TwipsPerInch;
}

double twipsPerPixel(const QWidget* widget)
{
    const int dpi = widget->logicalDpiX() > 0 ? widget->logicalDpiX() : 96;
    return double(TwipsPerInch) / dpi;
}

QPoint centredOrigin(const QRect& screen, const QSize& size)
{
    return {screen.left() + (screen.width() - size.width()) / 2,
            screen.top() + (screen.height() - size.height()) / 2};
}

int blanksAcross(const QWidget* box, int adjust)
{
    const double perPixel = twipsPerPixel(box);
    const double blank = QFontMetricsF(box->window()->font()).horizontalAdvance(u' ');
    return paycalc::Marquee::blanksFor(box->width() * perPixel, blank * perPixel, adjust);
}

} // namespace platform
