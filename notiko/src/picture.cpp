#include <notiko/picture.h>
#include <QBuffer>
#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QSize>
#include <QVariant>

namespace notiko {

// One live picture. Its handle is entered in a process-wide table for as long as
// any copy of the picture exists, so that a handle taken from a notification
// record leads back to the picture.
class PictureData : public QSharedData
{
public:
    PictureData(Picture::Type t, QIcon i, QImage b, QSize s);
    ~PictureData();

    const Picture::Type type;
    const QIcon icon;
    const QImage bitmap;
    const QSize size;
    const std::uint32_t handle;
};

namespace {

QHash<std::uint32_t, PictureData*>& liveTable()
{
    static QHash<std::uint32_t, PictureData*> table;
    return table;
}

std::uint32_t nextHandle()
{
    static std::uint32_t next = 0x10000;
    next += 2;
    return next;
}

// The size an icon picture has: the smallest it was made from, else 32 x 32.
QSize naturalSize(const QIcon& icon)
{
    QList<QSize> sizes = icon.availableSizes();
    if (sizes.isEmpty())
        return {32, 32};
    std::sort(sizes.begin(), sizes.end(),
              [](QSize a, QSize b) { return a.width() * a.height() < b.width() * b.height(); });
    return sizes.first();
}

} // namespace

PictureData::PictureData(Picture::Type t, QIcon i, QImage b, QSize s)
    : type(t), icon(std::move(i)), bitmap(std::move(b)), size(s), handle(nextHandle())
{
    liveTable().insert(handle, this);
}

PictureData::~PictureData()
{
    liveTable().remove(handle);
}

Picture::Picture() = default;
Picture::Picture(const Picture&) = default;
Picture::Picture(Picture&&) noexcept = default;
Picture& Picture::operator=(const Picture&) = default;
Picture& Picture::operator=(Picture&&) noexcept = default;
Picture::~Picture() = default;

Picture Picture::fromIcon(const QIcon& icon)
{
    Picture p;
    if (!icon.isNull())
        p.d = new PictureData(Type::Icon, icon, {}, naturalSize(icon));
    return p;
}

Picture Picture::fromImage(const QImage& image)
{
    Picture p;
    if (!image.isNull())
        p.d = new PictureData(Type::Bitmap, {}, image, image.size());
    return p;
}

Picture Picture::fromData(const QByteArray& data)
{
    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer);
    if (reader.format() == "ico") {
        QIcon icon;
        QImage frame;
        while (reader.read(&frame))
            icon.addPixmap(QPixmap::fromImage(frame));
        return fromIcon(icon);
    }
    return fromImage(reader.read());
}

Picture Picture::fromVariant(const QVariant& value)
{
    switch (value.metaType().id()) {
    case QMetaType::QIcon:
        return fromIcon(value.value<QIcon>());
    case QMetaType::QImage:
        return fromImage(value.value<QImage>());
    case QMetaType::QPixmap:
        return fromImage(value.value<QPixmap>().toImage());
    case QMetaType::QByteArray:
        return fromData(value.toByteArray());
    default:
        break;
    }
    if (value.metaType() == QMetaType::fromType<Picture>())
        return value.value<Picture>();
    return {};
}

Picture Picture::fromHandle(std::uint32_t handle)
{
    Picture p;
    p.d = liveTable().value(handle);
    return p;
}

Picture::Type Picture::type() const
{
    return d ? d->type : Type::None;
}

std::uint32_t Picture::handle() const
{
    return d ? d->handle : 0;
}

QSize Picture::size() const
{
    return d ? d->size : QSize();
}

QIcon Picture::icon() const
{
    if (!d)
        return {};
    return d->type == Type::Icon ? d->icon : QIcon(QPixmap::fromImage(d->bitmap));
}

QPixmap Picture::pixmap() const
{
    if (!d)
        return {};
    return d->type == Type::Icon ? d->icon.pixmap(d->size) : QPixmap::fromImage(d->bitmap);
}

QVariant Picture::toVariant() const
{
    switch (type()) {
    case Type::Icon:
        return QVariant::fromValue(d->icon);
    case Type::Bitmap:
        return QVariant::fromValue(d->bitmap);
    case Type::None:
        break;
    }
    return {};
}

} // namespace notiko
