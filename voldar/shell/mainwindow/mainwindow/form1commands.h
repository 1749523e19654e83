#pragma once

#include "paycalc/message.h"
#include "payslip/printing.h"
#include "platform/boxes.h"
#include "platform/platform.h"
#include "tools/calculator.h"

#include <functional>
#include <memory>
#include <QObject>
#include <QPointer>
#include <QString>

class Form2;
class Form6;
class Form7;
class QKeyEvent;
class QMainWindow;
class QLineEdit;

namespace paycalc {
class PayEngine;
}
namespace payslip {
class Form9;
class FormHistory;
class PrintSequence;
} // namespace payslip
namespace tools {
class Form4;
class Form5;
class Dialogs;
class Form8;
class FormIndexation;
class FormTodayPay;
} // namespace tools

// The commands of the main window's menus and buttons: the saved calculation,
// the pay slip, printing, the side windows and the web and mail addresses,
// and the calculator's hand-over into Text1 or Text5. Each side window is
// kept through a QPointer: made when there is none (the windows delete
// themselves when closed), otherwise shown again, raised and activated.
class Form1Commands : public QObject
{
    Q_OBJECT

public:
    struct Services
    {
        paycalc::PayEngine* engine;
        QString dataFolder;
        // The main window's message path.
        std::function<void(const paycalc::Message&)> showMessage;
        // The message boxes of the pay-slip viewer and the pay history;
        // empty: their own.
        platform::MessageHook viewerMessage;
        // Yes/No questions; empty: a real box.
        platform::BoxHook askQuestion;
        // Opens a web or mail address; never empty.
        std::function<void(const QString&)> openDocument;
        // The printer; empty: the default printer.
        payslip::PrintHook print;
        // The today's-pay sheet's choices; empty: the user's configuration.
        QString todayPayChoices;
    };

    Form1Commands(QMainWindow& window, Services services);
    ~Form1Commands() override;

    // The main window has become the active window: a calculator result handed
    // over since the last time goes into the field the last calculator button
    // named.
    void onForm1Activated();

    // The print sequence of "Печать"; its restore timer is the window's Timer4.
    payslip::PrintSequence& printSequence() const { return *m_print; }

protected:
    // The text boxes of the window leave the menu shortcuts to the menus.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectMenus();
    void keepShortcutsForTheMenus();
    bool isMenuShortcut(const QKeyEvent& key) const;
    void connectButtons();
    void createPrintSequence();

    void onOnTopTriggered(bool checked);
    void onMnuNewTriggered();
    void onMnuSaveTriggered();
    void onMnuLoadTriggered();
    void onRlistSaveTriggered();
    void onRlistOpenTriggered();
    void onMnuPrintTriggered();
    void onMnuPenTriggered();
    void onNnnTriggered();
    void onVislugaTriggered();
    void onKlavaInfoTriggered();
    void onMnuHistoryTriggered();
    void onMnuIndexationTriggered();
    void onMnuTodayPayTriggered();
    void onFormIndexationTablesChanged();
    void onSaitTriggered();
    void onKsTriggered();
    void onKonMail1Triggered();
    void onKonMail2Triggered();
    void onMnuUPDATETriggered();
    void onMnuAboutTriggered();
    void onCommand1Clicked();
    void onCommand2Clicked();
    void onCommand3Clicked();
    void onCommand4Clicked();
    void onForm4TransferredOrClosed();

    void showCalculator();
    void showServiceLength();
    void openSite();
    QString listText(const QString& name) const;

    QMainWindow& m_window;
    Services m_services;
    QLineEdit* m_text1;
    QLineEdit* m_text5;

    // The calculator's state outlives its window.
    tools::Calculator m_calculator;

    QPointer<payslip::Form9> m_form9;
    QPointer<payslip::FormHistory> m_formHistory;
    QPointer<tools::FormIndexation> m_formIndexation;
    QPointer<tools::FormTodayPay> m_formTodayPay;
    // The side windows' boxes, through the main window's hooks.
    std::unique_ptr<tools::Dialogs> m_dialogs;
    QPointer<tools::Form8> m_form8;
    QPointer<tools::Form4> m_form4;
    QPointer<tools::Form5> m_form5;
    QPointer<Form6> m_form6;
    QPointer<Form2> m_form2;
    QPointer<Form7> m_form7;
    payslip::PrintSequence* m_print = nullptr;
};
