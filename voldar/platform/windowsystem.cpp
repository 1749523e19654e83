#include "platform/windowsystem.h"

#include <QGuiApplication>

// X11 headers last: they define macros (None, Bool, Status) that clash with Qt.
#include <X11/Xlib.h>

namespace platform {
namespace {

constexpr char QtPlatformVariable[] = "QT_QPA_PLATFORM";
constexpr char FrameWatchVariable[] = "QT_WAYLAND_FRAME_CALLBACK_TIMEOUT";
constexpr char FrameWatchMs[] = "1000";

} // namespace

WindowSystemEnvironment WindowSystemEnvironment::current()
{
    return {qgetenv(QtPlatformVariable), qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"),
            qgetenv(FrameWatchVariable)};
}

QByteArray chooseQtPlatform(const WindowSystemEnvironment& environment, bool xServerAnswers)
{
    if (!environment.qtPlatform.isEmpty())
        return {};
    if (xServerAnswers)
        return QByteArrayLiteral("xcb");
    if (!environment.waylandDisplay.isEmpty())
        return QByteArrayLiteral("wayland");
    return {};
}

QByteArray chooseFrameWatch(const WindowSystemEnvironment& environment, const QByteArray& platform)
{
    if (!environment.frameWatch.isEmpty())
        return {};
    const QByteArray& running =
        environment.qtPlatform.isEmpty() ? platform : environment.qtPlatform;
    const bool wayland =
        running.isEmpty() ? !environment.waylandDisplay.isEmpty() : running.startsWith("wayland");
    return wayland ? QByteArray(FrameWatchMs) : QByteArray();
}

bool xServerAnswers(const QByteArray& display)
{
    if (display.isEmpty())
        return false;
    Display* const connection = XOpenDisplay(display.constData());
    if (!connection)
        return false;
    XCloseDisplay(connection);
    return true;
}

WindowSystemChoice::WindowSystemChoice()
{
    if (qEnvironmentVariableIsSet(QtPlatformVariable))
        m_userValue = qgetenv(QtPlatformVariable);
    const WindowSystemEnvironment environment = WindowSystemEnvironment::current();
    const bool userChose = !environment.qtPlatform.isEmpty();
    m_platform = chooseQtPlatform(environment, !userChose && xServerAnswers(environment.display));
    if (!m_platform.isEmpty())
        qputenv(QtPlatformVariable, m_platform);
    const QByteArray frameWatch = chooseFrameWatch(environment, m_platform);
    if (!frameWatch.isEmpty())
        qputenv(FrameWatchVariable, frameWatch);
}

WindowSystemChoice::~WindowSystemChoice()
{
    restoreEnvironment();
}

void WindowSystemChoice::restoreEnvironment()
{
    if (m_platform.isEmpty() || m_restored)
        return;
    m_restored = true;
    if (m_userValue)
        qputenv(QtPlatformVariable, *m_userValue);
    else
        qunsetenv(QtPlatformVariable);
}

bool isNativeWayland()
{
    // The plug-in's variants ("wayland-egl") are all native Wayland.
    return QGuiApplication::platformName().startsWith(QStringLiteral("wayland"));
}

bool canKeepOnTop()
{
    return !isNativeWayland();
}

void setProgramIdentity()
{
    // Fixed rather than taken from the executable's name, so that a renamed
    // program keeps its data folder (~/.local/share/voldar) and settings
    // (~/.config/voldar). No organization name: it would move both folders.
    QCoreApplication::setApplicationName(QString::fromUtf16(ApplicationName));
    // Wayland compositors and task bars match the window with its desktop
    // entry, and so its icon, by this name.
    QGuiApplication::setDesktopFileName(QString::fromUtf16(DesktopFileName));
}

} // namespace platform
