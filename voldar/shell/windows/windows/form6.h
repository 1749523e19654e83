#pragma once

#include "windows/keyboardinfo.h"

#include <memory>
#include <QTimer>
#include <QWidget>

namespace Ui {
class Form6;
}

// The keyboard information window: type, subtype and function keys of the
// keyboard, and the current input layout, kept current while the window is
// open. Closing the window deletes it.
class Form6 : public QWidget
{
    Q_OBJECT

public:
    // `keyboard` replaces the system's keyboard queries (tests); an empty query
    // falls back to the system's.
    explicit Form6(QWidget* parent = nullptr, shellwindows::KeyboardQueries keyboard = {});
    ~Form6() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void onTimerTimeout();
    void pollLayout();
    void showLayout(const std::optional<QString>& name);

    std::unique_ptr<Ui::Form6> m_ui;
    shellwindows::KeyboardQueries m_keyboard;
    shellwindows::LayoutWatch m_layout;
    QTimer Timer; // a child, so that it can be found by name
};
