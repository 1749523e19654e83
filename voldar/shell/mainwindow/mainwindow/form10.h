#pragma once

#include "mainwindow/form1.h"

#include <memory>
#include <QWidget>

class QTimer;

namespace Ui {
class Form10;
}

// The splash window: shows the program's picture for five seconds, then opens
// the main window (built meanwhile, loaded at the hand-over) and steps aside.
// It stays loaded, hidden, until the end.
class Form10 : public QWidget
{
    Q_OBJECT

public:
    // `mainSetup` is handed to the main window when it is created.
    explicit Form10(Form1::Setup mainSetup, QWidget* parent = nullptr);
    ~Form10() override;

    QTimer* timer1() const { return m_timer1; }
    // The main window, once the splash has handed over; nullptr before.
    Form1* mainWindow() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void prepareMainWindow();
    void onTimer1Timeout();

    std::unique_ptr<Ui::Form10> ui;
    QTimer* m_timer1;
    Form1::Setup m_mainSetup;
    // Built while the splash shows, loaded and shown when it hands over.
    std::unique_ptr<Form1> m_main;
    bool m_handedOver = false;
};
