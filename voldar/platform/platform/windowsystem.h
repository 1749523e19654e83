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
    QByteArray frameWatch;     // QT_WAYLAND_FRAME_CALLBACK_TIMEOUT: the user's own, if any

    static WindowSystemEnvironment current();
};

// The Qt platform to ask for. "xcb" where an X server answers at DISPLAY (an
// X11 session, or XWayland in a Wayland session), since keeping the window on
// top and the keyboard indicator need X. "wayland" where there is only a
// Wayland compositor. Empty where Qt's own choice stands: the user named a
// platform, or there is neither (Qt then reports what it cannot open).
QByteArray chooseQtPlatform(const WindowSystemEnvironment& environment, bool xServerAnswers);

// How long, in milliseconds, Qt's Wayland client waits for the compositor to
// answer a frame before it takes the window for hidden. Qt's 100 ms watch is a
// timer started with each frame: for the ticker's frame every 150 ms that is a
// second wake-up per frame. At 1000 ms it fires about once a second, and a
// window the compositor stopped drawing is still noticed within a second.
// Given where the program may run on native Wayland (the chosen `platform`, or
// the user's, or Qt's own with a compositor at hand) and the user set no value;
// else empty.
QByteArray chooseFrameWatch(const WindowSystemEnvironment& environment, const QByteArray& platform);

// Whether an X server accepts a connection at `display`: one connection,
// closed at once. False for an empty name.
bool xServerAnswers(const QByteArray& display);

// Made before the QApplication: decides from the environment (connecting to
// the X server only when the user named no platform) and asks Qt for the
// choice through QT_QPA_PLATFORM, which Qt reads while the application is
// built. restoreEnvironment(), once the application exists, puts the variable
// back as the user had it, so that the programs started from this one (a
// browser, a mail program) make their own choice. The frame watch (see
// chooseFrameWatch) stays set: Qt reads it as each window is made.
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
