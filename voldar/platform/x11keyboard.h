#pragma once

#include <cstdint>
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform {
class LayoutWatcher;
}

// Reading the keyboard from the X server: the active layout group and the XKB
// rules names (model and layout list) that the root window publishes.
namespace platform::x11 {

struct RulesNames
{
    QString model;       // "pc105"
    QStringList layouts; // {"us", "ru"}
};

// Parses the _XKB_RULES_NAMES property value: NUL-separated rules, model,
// layout list, variants and options.
RulesNames parseRulesNames(const QByteArray& property);

// The Windows language identifier of an XKB layout name ("ru" -> 0x0419), or 0.
std::uint16_t languageOf(const QString& layout);

// A layout in the Windows form: the language identifier in both halves.
inline std::uint32_t windowsLayout(std::uint16_t language)
{
    return (std::uint32_t{language} << 16) | language;
}

// The keyboard type, subtype and function-key count of an XKB model
// (GetKeyboardType 0, 1, 2); 0 when the model is not known.
int keyboardTypeOf(const QString& model, int which);

// Live queries; they report nothing (0, empty) without an X11 display. Each
// is a round trip to the X server.
bool hasDisplay();
int currentGroup();
RulesNames currentRulesNames();

// The watcher of the display's keyboard: it keeps the current layout and
// marks it stale when the server reports a keyboard change (an XKB event that
// moves the group or changes the keyboard, or a new rules-names property), so
// that it reads the layout from the server only after a change and polling it
// every 10 ms costs nothing while nothing changes. It notifies when the server
// has the XKB extension, as soon as the event loop has delivered the server's
// report (no timer in between). Created on first use, owned by the
// application; nullptr without a display.
LayoutWatcher* layoutWatcher();

} // namespace platform::x11
