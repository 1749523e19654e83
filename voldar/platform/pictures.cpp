#include "platform/pictures.h"

#include <QFileInfo>

namespace platform {
namespace {

// "@2x" before the extension, as Qt names the twice-as-large twin of a picture.
QString doubleSizePath(const QString& path)
{
    const QFileInfo file(path);
    const QString extension = file.suffix();
    if (extension.isEmpty())
        return path + u"@2x";
    return path.chopped(extension.size() + 1) + u"@2x." + extension;
}

} // namespace

QPixmap picture(const QString& path, qreal devicePixelRatio)
{
    // QPixmap reads the named file only; QIcon alone looks for the twin.
    if (devicePixelRatio > 1.0) {
        QPixmap twin(doubleSizePath(path));
        if (!twin.isNull()) {
            twin.setDevicePixelRatio(2.0);
            return twin;
        }
    }
    return QPixmap(path);
}

} // namespace platform
