#pragma once

#include <QIcon>
#include <QPixmap>

namespace notiko {

// The control's own picture, drawn at any size: the built-in icon (32 x 32)
// and the About window's image. Drawn with `devicePixelRatio` device pixels to
// a pixel, so that it is sharp on a scaled screen.
QPixmap drawBuiltInPicture(int size, qreal devicePixelRatio = 1.0);

// The built-in 32 x 32 icon, also drawn at twice that size for scaled screens.
QIcon builtInIcon();

} // namespace notiko
