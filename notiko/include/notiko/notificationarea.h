#pragma once

#include <memory>
#include <notiko/notifyicondata.h>
#include <notiko/notiko_export.h>

namespace notiko {

// The taskbar notification area: adds, modifies and deletes the icon that a
// record describes. Icons are told apart by the record's window and id. Every
// operation answers nonzero for success and 0 for failure (adding an icon that
// is already there, modifying or deleting one that is not, a picture handle
// that is not an icon); a failed operation changes nothing.
class NOTIKO_EXPORT NotificationArea
{
public:
    virtual ~NotificationArea();
    virtual int notifyIcon(NotifyMessage message, const NotifyIconData& record) = 0;
};

// The desktop's notification area (QSystemTrayIcon underneath).
NOTIKO_EXPORT std::unique_ptr<NotificationArea> createDesktopNotificationArea();

// Sends a mouse message back to the window of the record, the way the
// notification area reports mouse actions on an icon: a callback message of
// 0x200 arrives as a mouse move whose x coordinate, in pixels, is the mouse
// message number. The event is posted, so it is handled from the event loop.
// Returns false when the record has no callback or its window is gone.
NOTIKO_EXPORT bool postCallback(const NotifyIconData& record, std::uint32_t mouseMessage);

} // namespace notiko
