#include "mainwindow/form1commands.h"

#include "mainwindow/form1printlook.h"
#include "namedchild.h"
#include "paycalc/controls.h"
#include "paycalc/payengine.h"
#include "payslip/form3.h"
#include "payslip/form9.h"
#include "payslip/formhistory.h"
#include "payslip/payslipfile.h"
#include "payslip/printlook.h"
#include "payslip/printsequence.h"
#include "payslip/savedcalculation.h"
#include "platform/addresses.h"
#include "platform/platform.h"
#include "platform/windowsystem.h"
#include "tools/dialogs.h"
#include "tools/form4.h"
#include "tools/form5.h"
#include "tools/form8.h"
#include "tools/formindexation.h"
#include "tools/formtodaypay.h"
#include "tools/handover.h"
#include "windows/form2.h"
#include "windows/form6.h"
#include "windows/form7.h"

#include <array>
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <utility>

namespace {

// Shows a side window that exists, or first makes it.
template <class Window, class Make> Window* showWindow(QPointer<Window>& window, Make make)
{
    if (!window)
        window = make();
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

// The side windows' boxes go where the main window's go: a recording window
// records them too.
class HookedDialogs : public tools::Dialogs
{
public:
    HookedDialogs(platform::MessageHook message, platform::BoxHook question)
        : m_message(std::move(message)), m_question(std::move(question))
    {}

    void showMessage(QWidget* parent, const paycalc::Message& message) override
    {
        if (m_message)
            m_message(parent, message);
        else
            tools::Dialogs::showMessage(parent, message);
    }

    bool ask(QWidget* parent, const paycalc::Message& question) override
    {
        if (!m_question)
            return tools::Dialogs::ask(parent, question);
        return m_question(parent, {platform::Box::Kind::Question, question.title, question.text});
    }

private:
    platform::MessageHook m_message;
    platform::BoxHook m_question;
};

// An entry the window system cannot carry out stays in its menus, disabled,
// and its tool tip says why.
void disableWithReason(QAction* entry, const QString& reason)
{
    entry->setEnabled(false);
    entry->setToolTip(reason);
    for (QObject* shownIn : entry->associatedObjects())
        if (auto* menu = qobject_cast<QMenu*>(shownIn))
            menu->setToolTipsVisible(true);
}

QString mailTo(const char16_t* address)
{
    return QStringLiteral("mailto:") + QString::fromUtf16(address);
}

} // namespace

Form1Commands::Form1Commands(QMainWindow& window, Services services)
    : QObject(&window), m_window(window), m_services(std::move(services)),
      m_text1(namedChild<QLineEdit>(window, paycalc::objectName(paycalc::Box::Text1))),
      m_text5(namedChild<QLineEdit>(window, paycalc::objectName(paycalc::Box::Text5))),
      m_dialogs(std::make_unique<HookedDialogs>(m_services.viewerMessage, m_services.askQuestion))
{
    connectMenus();
    connectButtons();
    keepShortcutsForTheMenus();
    createPrintSequence();
}

// The print look comes from the window's design; Combo14 goes through the
// engine, which keeps the list's state.
void Form1Commands::createPrintSequence()
{
    payslip::PrintLook look(&m_window, form1printlook::table(m_window),
                            [this](QWidget*, bool enabled) {
                                m_services.engine->setListEnabled(paycalc::List::Combo14, enabled);
                            });
    m_print =
        new payslip::PrintSequence(&m_window, m_window.centralWidget(), std::move(look), this);
    if (m_services.print)
        m_print->setPrintHook(m_services.print);
}

// The calculator window refers to the calculator state kept here, so it must
// not outlive this object when the main window goes away.
Form1Commands::~Form1Commands()
{
    delete m_form4.data();
    // These two ask through m_dialogs and read the engine.
    delete m_formIndexation.data();
    delete m_formTodayPay.data();
}

void Form1Commands::connectMenus()
{
    const auto on = [this](const char* name, void (Form1Commands::*handler)()) {
        connect(namedChild<QAction>(m_window, QString::fromLatin1(name)), &QAction::triggered, this,
                handler);
    };
    QAction* const onTop = namedChild<QAction>(m_window, QStringLiteral("on_top"));
    connect(onTop, &QAction::triggered, this, &Form1Commands::onOnTopTriggered);
    if (!platform::canKeepOnTop())
        disableWithReason(onTop, QString::fromUtf16(platform::KeepOnTopUnavailable));
    on("mnuNew", &Form1Commands::onMnuNewTriggered);
    on("mnuSave", &Form1Commands::onMnuSaveTriggered);
    on("mnuLoad", &Form1Commands::onMnuLoadTriggered);
    on("rlist_save", &Form1Commands::onRlistSaveTriggered);
    on("rlist_open", &Form1Commands::onRlistOpenTriggered);
    on("mnuPrint", &Form1Commands::onMnuPrintTriggered);
    on("mnuPen", &Form1Commands::onMnuPenTriggered);
    on("nnn", &Form1Commands::onNnnTriggered);
    on("visluga", &Form1Commands::onVislugaTriggered);
    on("Klava_Info", &Form1Commands::onKlavaInfoTriggered);
    on("mnuHistory", &Form1Commands::onMnuHistoryTriggered);
    on("mnuIndexation", &Form1Commands::onMnuIndexationTriggered);
    on("mnuTodayPay", &Form1Commands::onMnuTodayPayTriggered);
    on("Sait", &Form1Commands::onSaitTriggered);
    on("ks", &Form1Commands::onKsTriggered);
    on("kon_mail1", &Form1Commands::onKonMail1Triggered);
    on("kon_mail2", &Form1Commands::onKonMail2Triggered);
    on("mnuUPDATE", &Form1Commands::onMnuUPDATETriggered);
    on("mnuAbout", &Form1Commands::onMnuAboutTriggered);
}

// A text box claims some keys for itself before the window's shortcuts see
// them (Ctrl+A selects its text); the menu entries' keys go to the menus
// whichever box has the focus.
void Form1Commands::keepShortcutsForTheMenus()
{
    for (QLineEdit* box : m_window.findChildren<QLineEdit*>())
        box->installEventFilter(this);
}

bool Form1Commands::isMenuShortcut(const QKeyEvent& key) const
{
    const QKeySequence pressed(key.keyCombination());
    for (const QAction* entry : m_window.findChildren<QAction*>(Qt::FindDirectChildrenOnly))
        if (entry->isEnabled() && entry->shortcuts().contains(pressed))
            return true;
    return false;
}

bool Form1Commands::eventFilter(QObject* watched, QEvent* event)
{
    // Left unaccepted, the key is not the box's: the shortcut runs instead.
    if (event->type() == QEvent::ShortcutOverride &&
        isMenuShortcut(*static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void Form1Commands::connectButtons()
{
    const auto on = [this](const char* name, void (Form1Commands::*handler)()) {
        connect(namedChild<QAbstractButton>(m_window, QString::fromLatin1(name)),
                &QAbstractButton::clicked, this, handler);
    };
    on("Command1", &Form1Commands::onCommand1Clicked);
    on("Command2", &Form1Commands::onCommand2Clicked);
    on("Command3", &Form1Commands::onCommand3Clicked);
    on("Command4", &Form1Commands::onCommand4Clicked);
}

// --- Файл ---------------------------------------------------------------------------

void Form1Commands::onOnTopTriggered(bool checked)
{
    platform::setTopmost(&m_window, checked);
}

void Form1Commands::onMnuNewTriggered()
{
    payslip::SavedCalculation(*m_services.engine, m_services.dataFolder).reset();
}

void Form1Commands::onMnuSaveTriggered()
{
    m_services.showMessage(
        payslip::SavedCalculation(*m_services.engine, m_services.dataFolder).save());
}

void Form1Commands::onMnuLoadTriggered()
{
    payslip::SavedCalculation saved(*m_services.engine, m_services.dataFolder);
    if (const auto message = saved.load())
        m_services.showMessage(*message);
}

QString Form1Commands::listText(const QString& name) const
{
    return namedChild<QComboBox>(m_window, name)->currentText();
}

void Form1Commands::onRlistSaveTriggered()
{
    m_services.showMessage(
        payslip::savePaySlip(*m_services.engine, m_services.dataFolder,
                             listText(paycalc::objectName(paycalc::List::Combo15)),
                             listText(paycalc::objectName(paycalc::List::Combo16))));
    // A pay history on screen shows the slip just saved.
    if (m_formHistory && m_formHistory->isVisible())
        m_formHistory->refresh();
}

void Form1Commands::onRlistOpenTriggered()
{
    showWindow(m_form9, [this] {
        auto* viewer = new payslip::Form9(m_services.dataFolder, &m_window);
        if (m_services.viewerMessage)
            viewer->setMessageHook(m_services.viewerMessage);
        return viewer;
    });
}

void Form1Commands::onMnuPrintTriggered()
{
    if (const auto message = m_print->print())
        m_services.showMessage(*message);
}

// --- Пенсия, Дополнительно --------------------------------------------------------------

void Form1Commands::onMnuPenTriggered()
{
    // The pension window reads the hand-over labels when a button is pressed.
    const std::array<QLabel*, 3> labels{namedChild<QLabel>(m_window, QStringLiteral("Label62")),
                                        namedChild<QLabel>(m_window, QStringLiteral("Label63")),
                                        namedChild<QLabel>(m_window, QStringLiteral("Label64"))};
    showWindow(m_form8, [this, labels] {
        return new tools::Form8(
            [labels] {
                return std::array<QString, 3>{labels[0]->text(), labels[1]->text(),
                                              labels[2]->text()};
            },
            &m_window);
    });
}

void Form1Commands::showCalculator()
{
    showWindow(m_form4, [this] {
        auto* calculator = new tools::Form4(m_calculator, &m_window);
        connect(calculator, &tools::Form4::transferred, this,
                &Form1Commands::onForm4TransferredOrClosed);
        connect(calculator, &tools::Form4::closed, this,
                &Form1Commands::onForm4TransferredOrClosed);
        return calculator;
    });
}

// The main window comes back to the front; its activation takes the result.
void Form1Commands::onForm4TransferredOrClosed()
{
    m_window.raise();
    m_window.activateWindow();
}

void Form1Commands::onNnnTriggered()
{
    showCalculator();
}

void Form1Commands::onCommand2Clicked()
{
    tools::handover::setTransferTarget(QString::fromUtf16(tools::handover::TargetText5));
    showCalculator();
}

void Form1Commands::onCommand3Clicked()
{
    tools::handover::setTransferTarget(QString::fromUtf16(tools::handover::TargetText1));
    showCalculator();
}

void Form1Commands::onForm1Activated()
{
    const std::optional<QString> result = tools::handover::takeCalculatorResult();
    if (!result)
        return;
    const QString target = tools::handover::transferTarget();
    // Set as typed text: the box's change handler starts its delayed refresh.
    if (target == QString::fromUtf16(tools::handover::TargetText5))
        m_text5->setText(*result);
    else if (target == QString::fromUtf16(tools::handover::TargetText1))
        m_text1->setText(*result);
}

void Form1Commands::showServiceLength()
{
    showWindow(m_form5, [this] { return new tools::Form5(&m_window); });
}

void Form1Commands::onVislugaTriggered()
{
    showServiceLength();
}

void Form1Commands::onCommand4Clicked()
{
    showServiceLength();
}

void Form1Commands::onKlavaInfoTriggered()
{
    showWindow(m_form6, [this] { return new Form6(&m_window); });
}

// A hidden history reads the slips when it is shown; one on screen reads
// them again here.
void Form1Commands::onMnuHistoryTriggered()
{
    if (m_formHistory && m_formHistory->isVisible())
        m_formHistory->refresh();
    showWindow(m_formHistory, [this] {
        auto* history = new payslip::FormHistory(m_services.dataFolder, &m_window);
        if (m_services.viewerMessage)
            history->setMessageHook(m_services.viewerMessage);
        return history;
    });
}

void Form1Commands::onMnuIndexationTriggered()
{
    showWindow(m_formIndexation, [this] {
        auto* indexation =
            new tools::FormIndexation(m_services.dataFolder, &m_window, m_dialogs.get());
        connect(indexation, &tools::FormIndexation::tablesChanged, this,
                &Form1Commands::onFormIndexationTablesChanged);
        return indexation;
    });
}

// New salary tables are in force at once: the sheet and the today's-pay
// sheet take them up, keeping the user's choices.
void Form1Commands::onFormIndexationTablesChanged()
{
    m_services.engine->reloadSalaryLists();
    if (m_formTodayPay)
        m_formTodayPay->reloadTables();
}

void Form1Commands::onMnuTodayPayTriggered()
{
    showWindow(m_formTodayPay, [this] {
        const QString choices = m_services.todayPayChoices.isEmpty()
                                    ? tools::FormTodayPay::defaultChoicesPath()
                                    : m_services.todayPayChoices;
        const paycalc::PayEngine& engine = *m_services.engine;
        return new tools::FormTodayPay(
            m_services.dataFolder, choices,
            [&engine] {
                return std::pair(engine.selectedIndex(paycalc::List::Combo1),
                                 engine.selectedIndex(paycalc::List::Combo2));
            },
            &m_window, m_dialogs.get());
    });
}

// --- Помощь -----------------------------------------------------------------------------

void Form1Commands::openSite()
{
    m_services.openDocument(QString::fromUtf16(addresses::Site));
}

void Form1Commands::onSaitTriggered()
{
    openSite();
}

void Form1Commands::onCommand1Clicked()
{
    openSite();
}

void Form1Commands::onKsTriggered()
{
    m_services.openDocument(QString::fromUtf16(addresses::DeveloperPage));
}

void Form1Commands::onKonMail1Triggered()
{
    m_services.openDocument(mailTo(addresses::DeveloperMail));
}

void Form1Commands::onKonMail2Triggered()
{
    m_services.openDocument(mailTo(addresses::SupportMail));
}

void Form1Commands::onMnuUPDATETriggered()
{
    if (!shellwindows::askToCheckForUpdates(&m_window, m_services.askQuestion))
        return;
    showWindow(m_form7, [this] {
        return new Form7(&m_window, Form7::defaultVersionFile(), m_services.askQuestion,
                         m_services.openDocument);
    });
}

void Form1Commands::onMnuAboutTriggered()
{
    showWindow(m_form2, [this] { return new Form2(&m_window, m_services.openDocument); });
}
