#include "tools/activation.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace tools {

ActivationWatcher::ActivationWatcher(QWidget* window) : QObject(window), m_window(window)
{
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this,
            &ActivationWatcher::onFocusWindowChanged);
    window->installEventFilter(this);
}

bool ActivationWatcher::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window || event->spontaneous())
        return QObject::eventFilter(watched, event);
    // Hidden by the program: the next showing is a new use of the window.
    if (event->type() == QEvent::Hide) {
        m_last = nullptr;
        m_lastWasOwnBox = false;
    }
    // Shown again while the program still counts it as the focus window (no
    // other window took over meanwhile): no focus change will report it.
    if (event->type() == QEvent::Show && m_last == nullptr && m_window->windowHandle() != nullptr &&
        QGuiApplication::focusWindow() == m_window->windowHandle()) {
        m_last = m_window->windowHandle();
        emit activated();
    }
    return QObject::eventFilter(watched, event);
}

void ActivationWatcher::onFocusWindowChanged(QWindow* focused)
{
    // No focus window: the user is in another program; what counts is the
    // program window active before and after.
    if (focused == nullptr)
        return;
    const QWindow* own = m_window->windowHandle();
    if (focused == own && m_last != own && !m_lastWasOwnBox)
        emit activated();
    m_last = focused;
    m_lastWasOwnBox = focused != own && own != nullptr && focused->transientParent() == own;
}

} // namespace tools
