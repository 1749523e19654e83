#pragma once

#include <optional>
#include <QByteArray>

// The window system the program runs on: chosen before the application is
// built, what it lets the program do, and the names it knows the program by.
namespace platform {

// What the choice depends on, as the environment gives it.
struct WindowSystemEnvironment
{
    QByteArray qtPlatform;     // QT_QPA_PLATFORM: the user's own choice, if any
    QByteArray display;        // DISPLAY: where an X server may answer
    QByteArray waylandDisplay; // WAYLAND_DISPLAY: the Wayland compositor's socket

    static WindowSystemEnvironment current();
};

// The Qt platform to ask for. "xcb" where an X server answers at DISPLAY (an
// X11 session, or XWayland in a Wayland session), since keeping the window on
// top and the keyboard indicator need X. "wayland" where there is only a
// Wayland compositor. Empty where Qt's own choice stands: the user named a
// platform, or there is neither (Qt then reports what it cannot open).
QByteArray chooseQtPlatform(const WindowSystemEnvironment& environment, bool xServerAnswers);

// Whether an X server accepts a connection at `display`: one connection,
// closed at once. False for an empty name.
bool xServerAnswers(const QByteArray& display);

// Made before the QApplication: decides from the environment (connecting to
// the X server only when the user named no platform) and asks Qt for the
// choice through QT_QPA_PLATFORM, which Qt reads while the application is
// built. restoreEnvironment(), once the application exists, puts the variable
// back as the user had it, so that the programs started from this one (a
// browser, a mail program) make their own choice.
class WindowSystemChoice
{
public:
    WindowSystemChoice();
    ~WindowSystemChoice();
    WindowSystemChoice(const WindowSystemChoice&) = delete;
    WindowSystemChoice& operator=(const WindowSystemChoice&) = delete;

    // What was asked for; empty when Qt's own choice stands.
    QByteArray platform() const { return m_platform; }

    void restoreEnvironment();

private:
    std::optional<QByteArray> m_userValue; // unset: no variable at all
    QByteArray m_platform;
    bool m_restored = false;
};

// Whether the application runs on Qt's native Wayland platform, where the
// compositor alone stacks and places windows.
bool isNativeWayland();

// Whether setTopmost() can keep a window above the others here. Not on
// native Wayland: no compositor lets a program do that.
bool canKeepOnTop();

// Why the always-on-top entry is disabled where canKeepOnTop() is false.
inline constexpr char16_t KeepOnTopUnavailable[] =
    u"В сеансе Wayland программа не может держать своё окно поверх остальных. "
    u"Это можно сделать в меню окна рабочего стола (Alt+Пробел).";

// The names the desktop knows the program by: the desktop entry
// org.example.Voldar.desktop, and "voldar" for its folders and window class.
inline constexpr char16_t DesktopFileName[] = u"org.example.Voldar";
inline constexpr char16_t ApplicationName[] = u"voldar";

// Sets both names on the application; called first thing in main().
void setProgramIdentity();

} // namespace platform
