#pragma once

#include <cstdint>

class QWidget;

// 32-bit handles for the windows named in notification records. The table is
// process-wide, like the window system's own: the notification area receives
// only the number and must find the window that gets the callbacks.
namespace notiko::windowhandles {

// A new handle for widget; it stays valid until released.
std::uint32_t acquire(QWidget* widget);
void release(std::uint32_t handle);
// The widget with this handle, or nullptr.
QWidget* find(std::uint32_t handle);

} // namespace notiko::windowhandles
