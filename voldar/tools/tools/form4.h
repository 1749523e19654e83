#pragma once

#include "tools/calculator.h"

#include <memory>
#include <QWidget>

class QTimer;

namespace Ui {
class Form4;
}

namespace tools {

class Dialogs;

// The arithmetic calculator window. Its state (operands, pending operation,
// ticker position) lives in a Calculator that outlives the window, so a
// closed window opened again continues with the same state.
//
// A top-level window (also when given a parent). The transfer button hides it;
// closing it deletes it.
class Form4 : public QWidget
{
    Q_OBJECT

public:
    explicit Form4(Calculator& calculator, QWidget* parent = nullptr, Dialogs* dialogs = nullptr);
    ~Form4() override;

signals:
    // The display text was handed over (tools::handover); the main window
    // should become active now to take it.
    void transferred();
    // The window is closing; the main window should take the focus back.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onActivated();
    void onDigitClicked(int digit);
    void onPointButtonClicked();
    void onOperationClicked(Calculator::Operation operation);
    void onEqualsButtonClicked();
    void onClearButtonClicked();
    void onTransferButtonClicked();
    void onTimerTimeout();
    bool onDisplayKeyPressed(int key, const QString& text);

    void setDisplay(const QString& text);

    std::unique_ptr<Ui::Form4> ui;
    Calculator& m_calculator;
    Dialogs& m_dialogs;
    QTimer* m_timer = nullptr;
};

} // namespace tools
