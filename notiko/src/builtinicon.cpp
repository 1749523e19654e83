#include "builtinicon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace notiko {

QPixmap drawBuiltInPicture(int size, qreal devicePixelRatio)
{
    // Painted in pixels; the painter maps them onto the device pixels.
    QPixmap pixmap(QSize(size, size) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;

    // A rounded blue tile with a white speech bubble: "a notice for the tray".
    QLinearGradient fill(0, 0, 0, s);
    fill.setColorAt(0, QColor(70, 140, 230));
    fill.setColorAt(1, QColor(20, 60, 150));
    painter.setPen(QPen(QColor(10, 30, 90), s / 32));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(s * 0.03, s * 0.03, s * 0.94, s * 0.94), s * 0.18, s * 0.18);

    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(s * 0.18, s * 0.2, s * 0.64, s * 0.42), s * 0.1, s * 0.1);
    QPolygonF tail;
    tail << QPointF(s * 0.3, s * 0.58) << QPointF(s * 0.26, s * 0.8) << QPointF(s * 0.48, s * 0.6);
    bubble.addPolygon(tail);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPath(bubble.simplified());

    painter.setBrush(QColor(20, 60, 150));
    for (int i = 0; i < 3; ++i)
        painter.drawEllipse(QPointF(s * (0.34 + 0.16 * i), s * 0.41), s * 0.05, s * 0.05);
    return pixmap;
}

QIcon builtInIcon()
{
    QIcon icon;
    for (const qreal ratio : {1.0, 2.0})
        icon.addPixmap(drawBuiltInPicture(32, ratio));
    return icon;
}

} // namespace notiko
