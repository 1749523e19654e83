#include "mainwindow/scroller.h"

#include "platform/twips.h"

#include <cmath>
#include <QAbstractButton>
#include <QAction>
#include <QTimer>
#include <QWidget>

Scroller::Scroller(const Controls& controls, QObject* parent)
    : QObject(parent), m_controls(controls)
{
    connect(m_controls.command5, &QAbstractButton::clicked, this, &Scroller::onCommand5Clicked);
    connect(m_controls.command6, &QAbstractButton::clicked, this, &Scroller::onCommand6Clicked);
    connect(m_controls.command5, &QAbstractButton::pressed, this, &Scroller::onCommand5Pressed);
    connect(m_controls.command5, &QAbstractButton::released, this, &Scroller::onCommand5Released);
    connect(m_controls.command6, &QAbstractButton::pressed, this, &Scroller::onCommand6Pressed);
    connect(m_controls.command6, &QAbstractButton::released, this, &Scroller::onCommand6Released);
    connect(m_controls.timer7, &QTimer::timeout, this, &Scroller::onTimer7Timeout);
    connect(m_controls.timer8, &QTimer::timeout, this, &Scroller::onTimer8Timeout);
    connect(m_controls.scroll, &QAction::triggered, this, &Scroller::onScrollTriggered);
    onScrollTriggered(m_controls.scroll->isChecked());
}

void Scroller::onCommand5Clicked()
{
    scroll(1);
}

void Scroller::onCommand6Clicked()
{
    scroll(-1);
}

void Scroller::onCommand5Pressed()
{
    m_controls.timer7->start();
}

void Scroller::onCommand5Released()
{
    m_controls.timer7->stop();
}

void Scroller::onCommand6Pressed()
{
    m_controls.timer8->start();
}

void Scroller::onCommand6Released()
{
    m_controls.timer8->stop();
}

void Scroller::onTimer7Timeout()
{
    onCommand5Clicked();
}

void Scroller::onTimer8Timeout()
{
    onCommand6Clicked();
}

void Scroller::onScrollTriggered(bool checked)
{
    // A button disabled while held never reports its release: its repeat
    // stops here instead.
    if (!checked) {
        m_controls.timer7->stop();
        m_controls.timer8->stop();
    }
    m_controls.command5->setEnabled(checked);
    m_controls.command6->setEnabled(checked);
}

// The offset is kept in twips and converted as a whole, so that many small
// steps do not gather rounding errors; it may be negative (scrolled up).
void Scroller::scroll(int direction)
{
    m_direction = direction;
    m_step = StepTwips;
    m_offsetTwips += m_step * m_direction;
    QWidget* area = m_controls.area;
    const double pixels = platform::twipsToPixelsExact(m_offsetTwips, area->logicalDpiY());
    area->move(area->x(), static_cast<int>(std::lround(pixels)));
}
