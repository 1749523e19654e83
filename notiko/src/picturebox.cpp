#include "picturebox.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

PictureBox::PictureBox(QWidget* parent) : QLabel(parent)
{
    // Moves without a button pressed must arrive too: callbacks come as such.
    setMouseTracking(true);
    setAutoFillBackground(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

double PictureBox::twipsPerPixelX() const
{
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const double dpi = s ? s->logicalDotsPerInchX() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

void PictureBox::mouseMoveEvent(QMouseEvent* event)
{
    const double tpp = twipsPerPixelX();
    const QPointF pos = event->position();
    emit mouseMoved(event->buttons(), event->modifiers(), pos.x() * tpp, pos.y() * tpp);
}
