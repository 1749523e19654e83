#include "cp1251.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <notiko/notifyicondata.h>
#include <QByteArray>
#include <QtEndian>

namespace notiko {

QByteArray NotifyIconData::toBytes() const
{
    QByteArray bytes(sizeof(NotifyIconData), '\0');
    char* out = bytes.data();
    for (const std::uint32_t field : {cbSize, hWnd, uID, uFlags, uCallbackMessage, hIcon}) {
        qToLittleEndian(field, out);
        out += sizeof(field);
    }
    std::memcpy(out, szTip, TipLength);
    return bytes;
}

void buildTip(NotifyIconData& record, const QString& toolTip)
{
    QByteArray tip = cp1251::encode(toolTip);
    tip.append('\0');
    tip = tip.leftJustified(TipLength, ' ', true);
    std::memcpy(record.szTip, tip.constData(), TipLength);
}

QString tipText(const NotifyIconData& record)
{
    const char* end = std::find(record.szTip, record.szTip + TipLength, '\0');
    return cp1251::decode(QByteArrayView(record.szTip, end - record.szTip));
}

int messageFromTwips(double xTwips, double twipsPerPixel)
{
    // nearbyint rounds in the default mode: to nearest, halves to even.
    const double pixels = std::nearbyint(xTwips / twipsPerPixel);
    if (!std::isfinite(pixels))
        return 0;
    return static_cast<int>(std::clamp(pixels, -2147483648.0, 2147483647.0));
}

} // namespace notiko
