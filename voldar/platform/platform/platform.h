#pragma once

#include "paycalc/message.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <QPointer>
#include <QString>

class QWidget;

// The few operating-system services the program needs, each behind one small
// function with the contract the program relies on. Implemented over Qt and
// X11; on Qt's offscreen platform they do nothing and report "unknown".
namespace platform {

// Opens a web address or a "mailto:" address with the user's default handler
// (the shell's "Open" verb). The result is not reported: a failure to open is
// not the program's to handle.
void openDocument(const QString& address);

// The keyboard layout of the current input group in the Windows form:
// 0x04090409 for English (US), 0x04190419 for Russian, 0x0LLLLLLL for others
// (LLLL the language identifier twice), 0 when there is no X11 display.
// Cheap enough to poll every 10 ms.
std::uint32_t keyboardLayout();

// keyboardLayout() for a window that asks every few milliseconds: bound once
// to the watcher of the display's keyboard, so that each answer only reads
// the layout the watcher keeps.
class KeyboardLayoutSource
{
public:
    KeyboardLayoutSource();
    std::uint32_t current() const;

private:
    QPointer<QObject> m_watcher; // none without a display
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

// Keeps `window` above all others (SetWindowPos HWND_TOPMOST) or returns it to
// the normal z-order (HWND_NOTOPMOST), keeping its position and size.
void setTopmost(QWidget* window, bool topmost);

// The folder that holds the program's executable.
QString programFolder();

// The program's data folder. "Data" beside the program when that folder exists
// and can be written (the build tree, an unpacked copy). An installed program
// keeps it in the user's data folder instead, seeded by prepareDataFolder().
QString dataFolder();

// Run once at start-up: when the data folder is the user's, creates it with its
// Lists folder and copies in the installed salary files that are missing
// there. Files already present are never replaced. Returns false when the
// folder cannot be prepared (the program then reports the missing files as
// usual when it reads them).
bool prepareDataFolder();

// The decision behind dataFolder(), for given folders: `installedData` is the
// read-only copy an installation ships, `userData` the user's own folder.
QString resolveDataFolder(const QString& programFolder, const QString& installedData,
                          const QString& userData);

} // namespace platform
