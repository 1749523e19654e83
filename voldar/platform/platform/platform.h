#pragma once

#include "paycalc/message.h"
#include "platform/datafolder.h" // dataFolder(), prepareDataFolder()

#include <cstdint>
#include <functional>
#include <optional>
#include <QPointer>
#include <QString>

class QWidget;

// The few operating-system services the program needs, each behind one small
// function with the contract the program relies on. Implemented over Qt and
// X11 (and what Qt's Wayland platform tells); on Qt's offscreen platform they
// do nothing and report "unknown".
namespace platform {

// Opens a web address or a "mailto:" address with the user's default handler
// (the shell's "Open" verb). The result is not reported: a failure to open is
// not the program's to handle.
void openDocument(const QString& address);

// The keyboard layout of the current input group in the Windows form:
// 0x04090409 for English (US), 0x04190419 for Russian, 0x0LLLLLLL for others
// (LLLL the language identifier twice), 0 when it is not known. On X11 it is
// the X server's layout; on native Wayland, where a program sees no layouts,
// the input language the compositor reports, if it reports one (English (US)
// and Russian only); 0 on other platforms. Cheap enough to poll every 10 ms.
std::uint32_t keyboardLayout();

// keyboardLayout() for a window that follows the layout, bound once to the
// watcher of the window system's keyboard. Where the platform reports layout
// changes (X11 with the XKB extension, native Wayland) it calls the window
// back after each change, and nothing needs to poll; elsewhere the window
// polls current(), which only reads the layout the watcher keeps.
class KeyboardLayoutSource
{
public:
    enum class Changes
    {
        Notified, // through the platform's notifications, where it gives them
        Polled    // never notified: the window polls even where it could be told
    };

    explicit KeyboardLayoutSource(Changes changes = Changes::Notified);
    std::uint32_t current() const;

    // Whether onChange() calls back.
    bool notifies() const;

    // Calls `handler` in `context`, on the event thread, soon after each change
    // of the layout, until `context` is destroyed. Returns false, and never
    // calls, when notifies() is false.
    bool onChange(QObject* context, std::function<void()> handler) const;

private:
    QPointer<QObject> m_watcher; // none without a keyboard to watch
    bool m_notifies = false;
};

// GetKeyboardType: which 0 gives the type (4 = enhanced 101/102-key), 1 the
// subtype, 2 the number of function keys; 0 when unknown.
int keyboardType(int which);

// Shows a modal message box over `parent` with the message's text, title and
// icon and an OK button, and returns when it is closed. The CR characters that
// join the pieces of a text become line breaks on screen.
void showMessageBox(QWidget* parent, const paycalc::Message& message);

// showMessageBox() or a stand-in: windows keep one so that tests can record the
// boxes instead of showing them.
using MessageHook = std::function<void(QWidget* parent, const paycalc::Message& message)>;

// A one-line input box with OK and Cancel; std::nullopt when it is cancelled.
std::optional<QString> askText(QWidget* parent, const QString& prompt, const QString& title,
                               const QString& initial);

// The file-open dialog: one existing file from `folder`, shown through `filter`
// ("Текст (*.txt)"); an empty string when the user cancels.
QString askOpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                        const QString& filter);

// The file-save dialog, starting at `suggestedPath` (folder and proposed name),
// shown through `filter` ("CSV (*.csv)"). A name typed without an extension
// gets the suggested file's; choosing an existing file asks before replacing
// it. An empty string when the user cancels.
QString askSaveFileName(QWidget* parent, const QString& caption, const QString& suggestedPath,
                        const QString& filter);

// Keeps `window` above all others (SetWindowPos HWND_TOPMOST) or returns it to
// the normal z-order (HWND_NOTOPMOST), keeping its position and size. Does
// nothing where canKeepOnTop() (windowsystem.h) is false.
void setTopmost(QWidget* window, bool topmost);

} // namespace platform
