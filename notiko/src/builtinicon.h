#pragma once

#include <QPixmap>

namespace notiko {

// The control's own picture, drawn at any size: the built-in icon (32 x 32)
// and the About window's image.
QPixmap drawBuiltInPicture(int size);

} // namespace notiko
