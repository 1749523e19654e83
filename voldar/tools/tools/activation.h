#pragma once

#include <QObject>
#include <QPointer>

class QWidget;
class QWindow;

namespace tools {

// Tells when a window becomes the program's active window coming from
// another of the program's windows (or at its first showing). Returning to it
// from its own message or input box, or from another program while it was
// the last active one, does not count: those are not a new use of the window.
// Showing the window again after it was hidden counts as well.
class ActivationWatcher : public QObject
{
    Q_OBJECT

public:
    explicit ActivationWatcher(QWidget* window);

signals:
    void activated();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onFocusWindowChanged(QWindow* focused);

    QWidget* m_window;
    QPointer<QWindow> m_last;
    bool m_lastWasOwnBox = false;
};

} // namespace tools
