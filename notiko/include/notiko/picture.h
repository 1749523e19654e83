#pragma once

#include <cstdint>
#include <notiko/notiko_export.h>
#include <QIcon>
#include <QMetaType>
#include <QSharedDataPointer>

class QByteArray;
class QImage;
class QPixmap;
class QSize;
class QVariant;

namespace notiko {

class PictureData;

// A picture as a control property holds it: nothing, a bitmap or an icon. Every
// picture other than the empty one has a process-wide handle, which is what the
// notification record carries; the notification area accepts only icon handles.
// Copies share the picture and its handle.
class NOTIKO_EXPORT Picture
{
public:
    enum class Type
    {
        None,
        Bitmap,
        Icon,
    };

    Picture();
    Picture(const Picture&);
    Picture(Picture&&) noexcept;
    Picture& operator=(const Picture&);
    Picture& operator=(Picture&&) noexcept;
    ~Picture();

    static Picture fromIcon(const QIcon& icon);
    static Picture fromImage(const QImage& image);
    // Image file contents: an .ico file gives an icon, any other image a bitmap,
    // anything unreadable the empty picture.
    static Picture fromData(const QByteArray& data);
    // A picture as a property store or a host hands it over: a Picture, a QIcon
    // (icon), a QImage or QPixmap (bitmap), or image file contents.
    static Picture fromVariant(const QVariant& value);
    // The live picture with this handle, or the empty picture.
    static Picture fromHandle(std::uint32_t handle);

    Type type() const;
    bool isNull() const { return type() == Type::None; }
    std::uint32_t handle() const;
    // Natural size in pixels; empty for the empty picture.
    QSize size() const;
    QIcon icon() const;
    QPixmap pixmap() const;
    // For a property store: a QIcon for an icon, a QImage for a bitmap, an
    // invalid QVariant for the empty picture.
    QVariant toVariant() const;

    friend bool operator==(const Picture& a, const Picture& b) { return a.handle() == b.handle(); }

private:
    QExplicitlySharedDataPointer<PictureData> d;
};

} // namespace notiko

Q_DECLARE_METATYPE(notiko::Picture)
