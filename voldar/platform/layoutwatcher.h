#pragma once

#include <cstdint>
#include <QObject>

namespace platform {

// Keeps the current keyboard layout as one window system tells it, in the
// Windows form (0 when it is not known), and says when it becomes another one.
// One exists per application, owned by it.
class LayoutWatcher : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual std::uint32_t layout() = 0;

    // Whether layoutChanged() is ever emitted; without it a window has to poll.
    virtual bool notifies() const = 0;

signals:
    // Emitted on the event thread, once the layout has become another one.
    void layoutChanged();
};

} // namespace platform
