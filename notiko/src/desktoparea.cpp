#include "windowhandles.h"

#include <map>
#include <notiko/notificationarea.h>
#include <notiko/picture.h>
#include <optional>
#include <QCoreApplication>
#include <QIcon>
#include <QMouseEvent>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QWidget>
#include <utility>

namespace notiko {

NotificationArea::~NotificationArea() = default;

bool postCallback(const NotifyIconData& record, std::uint32_t mouseMessage)
{
    QWidget* window = windowhandles::find(record.hWnd);
    if (!window || record.uCallbackMessage != MouseMove)
        return false;
    const QPointF local(mouseMessage, 0);
    // Posted, not sent: the control takes it from its event queue like any
    // other input, also while one of its event handlers runs a nested loop.
    QCoreApplication::postEvent(window, new QMouseEvent(QEvent::MouseMove, local,
                                                        window->mapToGlobal(local), Qt::NoButton,
                                                        Qt::NoButton, Qt::NoModifier));
    return true;
}

namespace {

// The icon to show for a record, or nothing when its handle is not an icon's.
// Handle 0 is a blank icon, as the shell shows one for a record without a picture.
std::optional<QIcon> iconFor(std::uint32_t handle)
{
    if (handle == 0) {
        QPixmap blank(16, 16);
        blank.fill(Qt::transparent);
        return QIcon(blank);
    }
    const Picture picture = Picture::fromHandle(handle);
    if (picture.type() != Picture::Type::Icon)
        return std::nullopt;
    return picture.icon();
}

// QSystemTrayIcon reports whole clicks, not presses and releases, and no
// motion at all; each click becomes the press and release messages.
QList<std::uint32_t> messagesFor(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return {LeftButtonDown, LeftButtonUp};
    case QSystemTrayIcon::DoubleClick:
        return {LeftButtonDoubleClick, LeftButtonUp};
    case QSystemTrayIcon::Context:
        return {RightButtonDown, RightButtonUp};
    case QSystemTrayIcon::MiddleClick:
    case QSystemTrayIcon::Unknown:
        break;
    }
    return {};
}

class DesktopArea final : public QObject, public NotificationArea
{
public:
    int notifyIcon(NotifyMessage message, const NotifyIconData& record) override
    {
        switch (message) {
        case NotifyMessage::Add:
            return add(record);
        case NotifyMessage::Modify:
            return modify(record);
        case NotifyMessage::Delete:
            return remove(record);
        }
        return 0;
    }

private:
    using Key = std::pair<std::uint32_t, std::uint32_t>; // window, id

    struct Entry
    {
        QPointer<QSystemTrayIcon> tray;
        NotifyIconData record; // the fields that the icon uses now
    };

    int add(const NotifyIconData& record)
    {
        const Key key{record.hWnd, record.uID};
        if (m_icons.contains(key) || !windowhandles::find(record.hWnd))
            return 0;
        std::optional<QIcon> icon;
        if (record.uFlags & NifIcon) {
            icon = iconFor(record.hIcon);
            if (!icon)
                return 0;
        }
        auto* tray = new QSystemTrayIcon(this);
        Entry& entry = m_icons[key];
        entry.tray = tray;
        entry.record = NotifyIconData();
        entry.record.hWnd = record.hWnd;
        entry.record.uID = record.uID;
        apply(entry, record, icon ? *icon : *iconFor(0));
        QObject::connect(
            tray, &QSystemTrayIcon::activated, this,
            [this, key](QSystemTrayIcon::ActivationReason reason) { report(key, reason); });
        tray->show();
        return 1;
    }

    int modify(const NotifyIconData& record)
    {
        const auto it = m_icons.find({record.hWnd, record.uID});
        if (it == m_icons.end())
            return 0;
        std::optional<QIcon> icon;
        if (record.uFlags & NifIcon) {
            icon = iconFor(record.hIcon);
            if (!icon)
                return 0;
        }
        apply(it->second, record, icon);
        return 1;
    }

    int remove(const NotifyIconData& record)
    {
        const auto it = m_icons.find({record.hWnd, record.uID});
        if (it == m_icons.end())
            return 0;
        if (QSystemTrayIcon* tray = it->second.tray) {
            tray->hide();
            delete tray;
        }
        m_icons.erase(it);
        return 1;
    }

    // Takes over the fields that the record's flags mark as valid.
    static void apply(Entry& entry, const NotifyIconData& record, std::optional<QIcon> icon)
    {
        if (record.uFlags & NifMessage) {
            entry.record.uFlags |= NifMessage;
            entry.record.uCallbackMessage = record.uCallbackMessage;
        }
        if (icon) {
            entry.record.hIcon = record.hIcon;
            entry.tray->setIcon(*icon);
        }
        if (record.uFlags & NifTip)
            entry.tray->setToolTip(tipText(record));
    }

    void report(const Key& key, QSystemTrayIcon::ActivationReason reason)
    {
        const auto it = m_icons.find(key);
        if (it == m_icons.end() || !(it->second.record.uFlags & NifMessage))
            return;
        const NotifyIconData record = it->second.record;
        for (const std::uint32_t message : messagesFor(reason))
            postCallback(record, message);
    }

    std::map<Key, Entry> m_icons;
};

} // namespace

std::unique_ptr<NotificationArea> createDesktopNotificationArea()
{
    return std::make_unique<DesktopArea>();
}

} // namespace notiko
