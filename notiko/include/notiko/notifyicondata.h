#pragma once

#include <cstddef>
#include <cstdint>
#include <notiko/notiko_export.h>
#include <QString>

class QByteArray;

namespace notiko {

// Operations of the notification area.
enum class NotifyMessage : std::uint32_t
{
    Add = 0,
    Modify = 1,
    Delete = 2,
};

// Which fields of the record carry a value.
enum NotifyFlag : std::uint32_t
{
    NifMessage = 1, // uCallbackMessage
    NifIcon = 2,    // hIcon
    NifTip = 4,     // szTip
};

// Mouse message numbers that the notification area sends back to the icon's window.
enum MouseMessage : std::uint32_t
{
    MouseMove = 0x200,
    LeftButtonDown = 0x201,
    LeftButtonUp = 0x202,
    LeftButtonDoubleClick = 0x203,
    RightButtonDown = 0x204,
    RightButtonUp = 0x205,
    RightButtonDoubleClick = 0x206,
};

constexpr int TipLength = 64;

// The notification record in its first, 88-byte form with an 8-bit tip. Handles
// are 32-bit numbers that the notification area resolves to a window and to an
// icon (see windowhandles.h and Picture::handle()).
struct NotifyIconData
{
    std::uint32_t cbSize = sizeof(NotifyIconData);
    std::uint32_t hWnd = 0;
    std::uint32_t uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    std::uint32_t hIcon = 0;
    char szTip[TipLength] = {};

    // The record as the platform sees it: little-endian fields, then the tip.
    NOTIKO_EXPORT QByteArray toBytes() const;
};

static_assert(sizeof(NotifyIconData) == 88);
static_assert(offsetof(NotifyIconData, szTip) == 24);

// Fills szTip: the text and one NUL, in Windows-1251, padded with blanks and cut
// at 64 characters, so a text of 63 characters or more loses its terminator.
NOTIKO_EXPORT void buildTip(NotifyIconData& record, const QString& toolTip);

// The tip as the notification area shows it: everything before the first NUL,
// or the whole field when it holds none.
NOTIKO_EXPORT QString tipText(const NotifyIconData& record);

// The mouse message number carried by a callback that arrived as a mouse move
// at xTwips: the pixel coordinate, rounded to the nearest whole number with
// halves going to the even neighbour.
NOTIKO_EXPORT int messageFromTwips(double xTwips, double twipsPerPixel);

} // namespace notiko
