#include "windowhandles.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

namespace notiko::windowhandles {
namespace {

struct Table
{
    QHash<std::uint32_t, QPointer<QWidget>> widgets;
    std::uint32_t next = 0x1000;
};

Table& table()
{
    static Table instance;
    return instance;
}

} // namespace

std::uint32_t acquire(QWidget* widget)
{
    Table& t = table();
    const std::uint32_t handle = t.next;
    t.next += 4; // window handles are multiples of four, never 0
    t.widgets.insert(handle, widget);
    return handle;
}

void release(std::uint32_t handle)
{
    table().widgets.remove(handle);
}

QWidget* find(std::uint32_t handle)
{
    return table().widgets.value(handle);
}

} // namespace notiko::windowhandles
