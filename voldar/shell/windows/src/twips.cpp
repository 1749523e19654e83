#include "windows/twips.h"

namespace shellwindows {

int twipsToPixels(int twips, int dotsPerInch)
{
    // Whole-number arithmetic, rounded half up: the sizes here are positive.
    const long long scaled = static_cast<long long>(twips) * dotsPerInch;
    return static_cast<int>((scaled + TwipsPerInch / 2) / TwipsPerInch);
}

QPoint centredOrigin(const QRect& screen, const QSize& size)
{
    return {screen.left() + (screen.width() - size.width()) / 2,
            screen.top() + (screen.height() - size.height()) / 2};
}

} // namespace shellwindows
