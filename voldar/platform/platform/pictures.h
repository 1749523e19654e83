#pragma once

#include <QPixmap>
#include <QString>

// Pictures for screens scaled above 100 %.
namespace platform {

// The picture of the file `path` (a resource such as ":/mainwindow/splash.png")
// for a screen with `devicePixelRatio` device pixels to a pixel. Above 1, the
// file's twin at twice its size ("splash@2x.png"), with a device pixel ratio
// of 2, so that it is drawn sharp at the same size on screen; the file itself
// at 1, or where there is no twin. A null picture when neither can be read.
QPixmap picture(const QString& path, qreal devicePixelRatio);

} // namespace platform
