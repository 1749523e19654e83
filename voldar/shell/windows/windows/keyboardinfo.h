#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <QString>

class QObject;

namespace shellwindows {

// The keyboard queries of the keyboard window, replaceable by a caller.
// `type(which)`: 0 the keyboard type, 1 the subtype, 2 the number of function
// keys. `layout()`: the current input layout in the Windows form.
// `follow(context, changed)`: calls `changed` in `context` after each change
// of the layout and returns true, where the platform reports the changes;
// false (or no `follow`) where the window has to poll `layout()`.
struct KeyboardQueries
{
    std::function<int(int which)> type;
    std::function<std::uint32_t()> layout;
    std::function<bool(QObject* context, std::function<void()> changed)> follow = {};
};

// The queries of the running system.
KeyboardQueries systemKeyboard();

// The description of a keyboard type 1..7; nullopt for any other type.
std::optional<QString> keyboardTypeText(int type);

QString keyboardSubtypeText(int subtype);

// "12 функциональных клавиш".
QString functionKeysText(int count);

// "Английская" for English (US), "Русская" for Russian; nullopt otherwise.
std::optional<QString> layoutName(std::uint32_t layout);

inline constexpr std::uint32_t EnglishUsLayout = 0x04090409;
inline constexpr std::uint32_t RussianLayout = 0x04190419;

// Follows the input layout for the layout line: remembers the last identifier
// seen and says what the line should show.
class LayoutWatch
{
public:
    // A fresh reading: remembered and named whether or not it changed (load,
    // paint). nullopt: leave the line as it is.
    std::optional<QString> read(std::uint32_t layout);

    // A polled reading (timer, mouse): named only when it differs from the
    // remembered one.
    std::optional<QString> poll(std::uint32_t layout);

    std::uint32_t last() const { return m_last; }

private:
    std::uint32_t m_last = 0;
};

} // namespace shellwindows
