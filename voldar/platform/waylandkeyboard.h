#pragma once

#include <cstdint>

class QLocale;

namespace platform {
class LayoutWatcher;
}

// The keyboard layout on Wayland, where a program sees neither the
// compositor's layout groups nor their names. What Qt passes on is the input
// language of the program's own keyboard focus, where the compositor reports
// one through its text-input protocol; nothing else tells the layout.
namespace platform::wayland {

// The layout in the Windows form for an input language: 0x04190419 for
// Russian, 0x04090409 for English (US); 0 for any other, since a language
// alone does not say which of its layouts is meant.
std::uint32_t layoutOf(const QLocale& language);

// The watcher of the input language: the layout stays 0 until Qt reports a
// language, then follows the reports; it notifies, so nothing polls. Created
// on first use, owned by the application; nullptr on any platform but Wayland.
LayoutWatcher* layoutWatcher();

} // namespace platform::wayland
