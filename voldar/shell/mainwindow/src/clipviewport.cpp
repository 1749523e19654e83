#include "mainwindow/clipviewport.h"

#include <algorithm>
#include <QChildEvent>
#include <QEvent>
#include <QLayout>

namespace {

int areaHeight(const QWidget& area, int width)
{
    const int forWidth = area.hasHeightForWidth() ? area.heightForWidth(width) : -1;
    return forWidth > 0 ? forWidth : area.sizeHint().height();
}

} // namespace

ClipViewport::ClipViewport(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QWidget* ClipViewport::area() const
{
    return findChild<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
}

QSize ClipViewport::sizeHint() const
{
    const QWidget* child = area();
    if (child == nullptr)
        return QWidget::sizeHint();
    const int width = child->sizeHint().width();
    return {width, areaHeight(*child, width)};
}

QSize ClipViewport::minimumSizeHint() const
{
    const QWidget* child = area();
    if (child == nullptr)
        return QWidget::minimumSizeHint();
    // A window narrower than the area clips it at the right rather than
    // squeezing it below its minimum.
    return {fontMetrics().averageCharWidth() * 20, fontMetrics().height() * 4};
}

void ClipViewport::placeArea()
{
    QWidget* child = area();
    if (child == nullptr)
        return;
    const int width = std::max(this->width(), child->minimumSizeHint().width());
    child->setGeometry(0, child->y(), width, areaHeight(*child, width));
}

void ClipViewport::childEvent(QChildEvent* event)
{
    QWidget::childEvent(event);
    if (event->added() && event->child()->isWidgetType())
        event->child()->installEventFilter(this);
}

bool ClipViewport::eventFilter(QObject* watched, QEvent* event)
{
    // The area is not managed by a layout of ours, so a change inside it (a
    // row shown or hidden, a longer caption) is noticed here: its layout is
    // settled first, then the area gets the height it now needs.
    if (event->type() == QEvent::LayoutRequest && watched == area()) {
        if (QLayout* layout = area()->layout())
            layout->activate();
        placeArea();
        updateGeometry();
    }
    return QWidget::eventFilter(watched, event);
}

void ClipViewport::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeArea();
}
