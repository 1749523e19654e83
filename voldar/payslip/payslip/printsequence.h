#pragma once

#include "paycalc/message.h"
#include "payslip/printing.h"
#include "payslip/printlook.h"

#include <optional>
#include <QObject>
#include <QPointer>
#include <QTimer>

namespace payslip {

class Form3;

// mnuPrint (Ctrl+P) of the main window: switches the window to its print look,
// prints it, shows the wait window Form3 and, when the one-shot restore timer
// Timer4 fires six seconds later, brings the normal look back and hides Form3.
// A print that fails restores the normal look at once.
class PrintSequence : public QObject
{
    Q_OBJECT

public:
    static constexpr int RestoreDelayMs = 6000;

    // `window` is the main window (the owner of Form3); `printed` the widget
    // whose image goes on paper, normally the window's client area.
    PrintSequence(QWidget* window, QWidget* printed, PrintLook look, QObject* parent = nullptr);
    ~PrintSequence() override;

    // Runs the sequence. Returns the error box to show when nothing was
    // printed; the normal look is then already back.
    std::optional<paycalc::Message> print();

    // Replaces the printer (tests).
    void setPrintHook(PrintHook hook);

    // The restore timer's handler: normal look back, Form3 hidden.
    void onTimer4Timer();

    QTimer& Timer4() { return m_timer4; }
    Form3* waitWindow() const { return m_form3; }

private:
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_printed;
    PrintLook m_look;
    PrintHook m_print = printWidgetImage;
    QTimer m_timer4;
    QPointer<Form3> m_form3;
};

} // namespace payslip
