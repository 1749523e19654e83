#pragma once

#include "paycalc/formsink.h"
#include "paycalc/marquee.h"
#include "payslip/printing.h"
#include "platform/boxes.h"
#include "platform/platform.h"

#include <array>
#include <functional>
#include <memory>
#include <QDate>
#include <QMainWindow>
#include <QString>
#include <type_traits>

class QAbstractButton;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTimer;
class Form1Commands;
class Scroller;
class TrayIcon;

namespace paycalc {
class PayEngine;
}

namespace Ui {
class Form1;
}

// The main window: the pay sheet on screen. Every number and caption comes from
// the PayEngine; the window forwards its controls' events to it and shows what
// it writes back through the FormSink.
//
// Labels of the form (Label1 to Label65):
//   Label1-Label17   row captions: 1 rank, 2 position, 3 flight-class raise,
//                    4 long service, 5 complexity, 6 state secret, 7 secrecy
//                    units, 8 ciphers, 9 special conditions, 10 class
//                    qualification, 11 monthly incentive, 12 regional percent,
//                    13 other allowances, 14 income tax, 15 other deductions,
//                    16 food ration, 17 sanatorium
//   Label18, Label19 notes on the remaining percent of premium / annual reward
//   Label20          heading " Начисления"
//   Label21-Label31  accrual amounts (engine captions)
//   Label32, Label33 headings " Удержания", " Итого"
//   Label34          total caption "  НАЧИСЛЕНО :"
//   Label35, Label36 income tax and withheld total amounts
//   Label37, Label38 total captions "  УДЕРЖАНО :", "  ИТОГО :"
//   Label39-Label41  net pay, food ration and grand total amounts
//   Label42          total caption " ВСЕГО НА РУКИ :"
//   Label43, Label44 headings "  Прочие выплаты", " Дополнительные начисления"
//   Label45          secrecy-unit bonus amount
//   Label46, Label47 "Раскладка клавиатуры:" and the layout shown ("???")
//   Label48-Label50  "%" units of Text4, Text2, Text3
//   Label51, Label53 "руб." units of Text5, Text1
//   Label52          premium amount
//   Label54          program banner at the top (print look only)
//   Label55          web-site line at the foot (print look only)
//   Label56, Label57 premium and annual reward after tax (frame "С учетом налога")
//   Label58-Label60  annual reward, material aid and sanatorium amounts
//   Label61          material aid after tax (frame "С учетом налога")
//   Label62-Label64  hidden hand-over to the pension calculator
//   Label65          other deductions amount
//
// Colour groups: every element that changes colour or visibility between the
// screen and the print look carries a dynamic property "role" ("caption",
// "amount", "fixedAmount", "heading", "total", "banner", "siteLine"); elements
// that are left out of print carry "screenOnly" = true.
//
// Everything that scrolls lives in the container "Area" inside the clipping
// viewport "Viewport"; the top row (Combo15, Combo16, Command5, Command6) and
// the hidden hand-over labels and index mirrors stay outside it.
//
// The frame around the sheet lives in small parts of its own: Form1Commands
// (menus, buttons, side windows, printing, the calculator's hand-over),
// Scroller (Command5, Command6 and their repeat timers) and TrayIcon
// (Notiko1 and its two pop-up menus).
class Form1 : public QMainWindow, private paycalc::FormSink
{
    Q_OBJECT

public:
    using MessageHook = std::function<void(const paycalc::Message&)>;
    using DocumentOpener = std::function<void(const QString& address)>;

    // Where loading takes its date (title, month and year) from: by default the
    // system's date at the moment of loading; a fixed date or a test's clock
    // otherwise.
    class Clock
    {
    public:
        Clock() = default;
        Clock(QDate fixed) : m_today([fixed] { return fixed; }) {}
        template <class Today, class = std::enable_if_t<std::is_invocable_r_v<QDate, Today>>>
        Clock(Today today) : m_today(std::move(today))
        {}
        QDate today() const { return m_today ? m_today() : QDate::currentDate(); }

    private:
        std::function<QDate()> m_today;
    };

    struct Setup
    {
        QString dataFolder;      // holds the two salary files
        Clock today;             // read when the window loads, not when it is built
        MessageHook showMessage; // empty: a modal message box over the window
        // Yes/No questions and the update-check window's boxes; empty: real boxes.
        platform::BoxHook askQuestion = {};
        // Opens web and mail addresses; empty: platform::openDocument.
        DocumentOpener openDocument = {};
        // Prints the window's image; empty: the default printer.
        payslip::PrintHook print = {};
        // The file of the today's-pay sheet's choices; empty: the user's
        // configuration.
        QString todayPayChoices = {};
        // Polled: the keyboard indicator polls with Timer5 even where the
        // platform reports layout changes.
        platform::KeyboardLayoutSource::Changes keyboardChanges =
            platform::KeyboardLayoutSource::Changes::Notified;
    };

    // The program's own setup: the platform's data folder, today, message boxes.
    static Setup programSetup();

    // Builds the window and loads it at once.
    explicit Form1(Setup setup, QWidget* parent = nullptr);

    // Builds the window without loading it: nothing is read from the salary
    // files, shown, asked or started until load(). The splash prepares the
    // main window this way while it shows.
    struct Unloaded
    {};
    Form1(Setup setup, Unloaded, QWidget* parent = nullptr);
    ~Form1() override;

    // The loading sequence: title and date, not topmost, centred, the lists
    // from the salary files, the tray icon and the ticker (a failure stops it
    // where it occurred); then the keyboard indicator and the periodic
    // computation start. Runs once; a second call does nothing.
    void load();

    // The engine behind the sheet. A selection set by the program goes through
    // engine().setSelection() (which runs the list's rule and shows the
    // choice); text put into Text1 .. Text5 counts as a change like typing.
    paycalc::PayEngine& engine();

    // Timer1 .. Timer9 of the window.
    QTimer* timer(int number) const;
    // A menu entry or a menu by its object name ("mnuSave", "mnuFile"), or
    // nullptr when there is none.
    QAction* action(const QString& objectName) const;
    QMenu* menu(const QString& objectName) const;
    // The container of everything that scrolls.
    QWidget* area() const;

    // The screen look: colours by role, print-only elements hidden, the
    // screen-only ones shown.
    void applyNormalLook();

    Form1Commands& commands() const { return *m_commands; }
    Scroller& scroller() const { return *m_scroller; }
    TrayIcon& trayIcon() const { return *m_trayIcon; }

    static QColor pageGreen();
    static QColor amountTeal();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // FormSink: the engine writes, the window shows.
    void setTitle(const QString& title) override;
    void setCaption(paycalc::Label label, const QString& text) override;
    void setBoxText(paycalc::Box box, const QString& text) override;
    void setMirror(paycalc::Mirror mirror, const QString& text) override;
    void addListItems(paycalc::List list, const QStringList& items) override;
    void clearListItems(paycalc::List list) override;
    void setListIndex(paycalc::List list, int index) override;
    void setListEditText(paycalc::List list, const QString& text) override;
    void setListEnabled(paycalc::List list, bool enabled) override;
    void setTimerRunning(paycalc::Timer timer, bool running) override;
    void showMessage(const paycalc::Message& message) override;

    void createTimers();
    void bindControls();
    void createFrame();
    void fillDesignLists();
    void fillYearList(int currentYear);
    void syncSwitches();
    void fitToScreen();
    void centreOnScreen();
    QSize fittingSize(const QSize& room) const;
    void createTrayIcon();
    void startTicker();
    void startKeyboardIndicator();
    void sizeControls();

    // Event handlers; the control is the first argument.
    void onListActivated(paycalc::List list, int index);
    void onBoxChanged(paycalc::Box box, const QString& text);
    void onSwitchToggled(paycalc::Switch control, bool on);
    void onEngineTimerTimeout(paycalc::Timer timer);
    void onTimer5Timeout();
    void onTimer9Timeout();
    void onMnuExitTriggered();

    QComboBox* list(paycalc::List list) const;
    QLabel* label(paycalc::Label label) const;
    QLineEdit* box(paycalc::Box box) const;

    std::unique_ptr<Ui::Form1> ui;
    Setup m_setup;
    std::unique_ptr<paycalc::PayEngine> m_engine;

    // Controls by the number in their name (index 0 unused).
    std::array<QComboBox*, 17> m_lists{};
    std::array<QLineEdit*, 6> m_boxes{};
    std::array<QAbstractButton*, 9> m_switches{};
    std::array<QLabel*, 66> m_labels{};
    std::array<QLineEdit*, 11> m_mirrors{};
    std::array<QTimer*, 10> m_timers{};

    Form1Commands* m_commands = nullptr;
    Scroller* m_scroller = nullptr;
    TrayIcon* m_trayIcon = nullptr;

    paycalc::Marquee m_ticker;
    // The keyboard indicator follows the layout through the platform's
    // notifications where there are any, and Timer5 polls it elsewhere.
    platform::KeyboardLayoutSource m_keyboardLayout{m_setup.keyboardChanges};
    // A message box is open: timer ticks that arrive meanwhile are not passed
    // to the engine, which is still inside the call that showed the message.
    bool m_messageOpen = false;
    bool m_loaded = false;
};
