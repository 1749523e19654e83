#include "mainwindow/form1.h"

#include "accessiblelist.h"
#include "mainwindow/form1commands.h"
#include "mainwindow/scroller.h"
#include "mainwindow/trayicon.h"
#include "namedchild.h"
#include "paycalc/controls.h"
#include "paycalc/payengine.h"
#include "payslip/form3.h"
#include "payslip/printsequence.h"
#include "platform/addresses.h"
#include "platform/platform.h"
#include "ui_form1.h"

#include <algorithm>
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <QtMath>

using paycalc::Box;
using paycalc::List;
using paycalc::Mirror;
using paycalc::Switch;
using paycalc::Timer;

namespace {

constexpr int ListCount = 16;
constexpr int BoxCount = 5;
constexpr int SwitchCount = 8;
constexpr int LabelCount = 65;
constexpr int MirrorCount = 10;
constexpr int TimerCount = 9;

// Design intervals of Timer1 .. Timer9 in milliseconds (index 0 unused; Timer4,
// 6000 ms, is made by the print sequence).
constexpr std::array<int, TimerCount + 1> TimerIntervals = {0,  3000, 2500, 3500, 6000,
                                                            10, 200,  10,   10,   100};
constexpr int TickerInterval = 150;

// Room that the window system's frame and title bar take around the window.
constexpr int FrameAllowance = 40;

// Lists take their choices from the mouse and the navigation keys only: text
// typed at a list never selects an item and so never changes the sheet.
class TypingBlocker : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const QString text = static_cast<QKeyEvent*>(event)->text();
            if (!text.isEmpty() && text.at(0).isPrint() && text != QStringLiteral(" "))
                return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// Every coloured element fills with the Window role, buttons (check boxes,
// option buttons) included, so that the print look recolours them all alike.
void fillBackground(QWidget* widget, const QColor& colour)
{
    widget->setBackgroundRole(QPalette::Window);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QIcon programIcon()
{
    QIcon icon;
    for (const char* size : {"32", "64"})
        icon.addFile(QStringLiteral(":/mainwindow/icon%1.png").arg(QLatin1String(size)));
    return icon;
}

// The prompt of a list reads like its items, not greyed out like a hint.
void showPromptAsText(QComboBox* combo)
{
    QPalette palette = combo->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::PlaceholderText,
                         palette.color(group, QPalette::ButtonText));
    combo->setPalette(palette);
}

// Every control of the sheet is announced by its row caption (the engine's
// table), not by its current item or amount.
void nameControls(const QObject& form)
{
    for (const paycalc::AccessibleName& entry : paycalc::accessibleNames())
        namedChild<QWidget>(form, entry.objectName.toString())
            ->setAccessibleName(entry.name.toString());
}

} // namespace

Form1::Setup Form1::programSetup()
{
    return {platform::dataFolder(), {}, {}};
}

Form1::Form1(Setup setup, QWidget* parent) : Form1(std::move(setup), Unloaded{}, parent)
{
    load();
}

Form1::Form1(Setup setup, Unloaded, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::Form1>()), m_setup(std::move(setup))
{
    installAccessibleLists(); // before the lists exist
    ui->setupUi(this);
    createTimers();
    bindControls();
    nameControls(*this);
    applyNormalLook();
    sizeControls();

    paycalc::FormSink& sink = *this;
    m_engine = std::make_unique<paycalc::PayEngine>(sink, m_setup.dataFolder);
    m_engine->showAllCaptions(); // the labels' design texts are the engine's
    fillDesignLists();
    syncSwitches();
    createFrame();
    fitToScreen();
}

Form1::~Form1() = default;

paycalc::PayEngine& Form1::engine()
{
    return *m_engine;
}

QTimer* Form1::timer(int number) const
{
    // Timer4, the print look's restore timer, belongs to the print sequence.
    if (number == static_cast<int>(Timer::Timer4))
        return m_commands != nullptr ? &m_commands->printSequence().Timer4() : nullptr;
    return number >= 1 && number <= TimerCount ? m_timers[number] : nullptr;
}

QAction* Form1::action(const QString& objectName) const
{
    return findChild<QAction*>(objectName);
}

QMenu* Form1::menu(const QString& objectName) const
{
    return findChild<QMenu*>(objectName);
}

QWidget* Form1::area() const
{
    return ui->Area;
}

QColor Form1::pageGreen()
{
    return {236, 254, 244};
}

QColor Form1::amountTeal()
{
    return {180, 236, 226};
}

// --- construction -------------------------------------------------------------

void Form1::createTimers()
{
    for (int n = 1; n <= TimerCount; ++n) {
        const auto id = static_cast<Timer>(n);
        if (id == Timer::Timer4)
            continue; // the print sequence's
        auto* timer = new QTimer(this);
        timer->setObjectName(paycalc::objectName(id));
        timer->setInterval(TimerIntervals[n]);
        m_timers[n] = timer;
    }
    for (const Timer id : {Timer::Timer1, Timer::Timer2, Timer::Timer3, Timer::Timer6})
        connect(m_timers[static_cast<int>(id)], &QTimer::timeout, this,
                [this, id] { onEngineTimerTimeout(id); });
    connect(timer(5), &QTimer::timeout, this, &Form1::onTimer5Timeout);
    connect(timer(9), &QTimer::timeout, this, &Form1::onTimer9Timeout);
}

void Form1::bindControls()
{
    auto* typingBlocker = new TypingBlocker(this);
    for (int n = 1; n <= ListCount; ++n) {
        const auto id = static_cast<List>(n);
        auto* combo = namedChild<QComboBox>(*this, paycalc::objectName(id));
        combo->installEventFilter(typingBlocker);
        showPromptAsText(combo);
        // activated, not currentIndexChanged: a choice of the item already
        // selected runs the rule again, and a selection set by the program
        // (setListIndex) does not run it a second time.
        connect(combo, &QComboBox::activated, this,
                [this, id](int index) { onListActivated(id, index); });
        m_lists[n] = combo;
    }
    for (int n = 1; n <= BoxCount; ++n) {
        const auto id = static_cast<Box>(n);
        auto* edit = namedChild<QLineEdit>(*this, paycalc::objectName(id));
        connect(edit, &QLineEdit::textChanged, this,
                [this, id](const QString& text) { onBoxChanged(id, text); });
        m_boxes[n] = edit;
    }
    for (int n = 1; n <= SwitchCount; ++n) {
        const auto id = static_cast<Switch>(n);
        auto* button = namedChild<QAbstractButton>(*this, paycalc::objectName(id));
        connect(button, &QAbstractButton::toggled, this,
                [this, id](bool on) { onSwitchToggled(id, on); });
        m_switches[n] = button;
    }
    for (int n = 1; n <= LabelCount; ++n)
        m_labels[n] = namedChild<QLabel>(*this, QStringLiteral("Label%1").arg(n));
    for (int n = 1; n <= MirrorCount; ++n)
        m_mirrors[n] = namedChild<QLineEdit>(*this, paycalc::objectName(static_cast<Mirror>(n)));

    // Menu separators keep their names as entries whose text is "-"; the text
    // goes, since some styles draw a separator's text beside its line.
    for (QAction* entry : findChildren<QAction*>()) {
        if (entry->text() == QStringLiteral("-")) {
            entry->setSeparator(true);
            entry->setText({});
        }
    }

    const QString site = QString::fromUtf16(addresses::Site);
    ui->Command1->setToolTip(site);
    ui->Label55->setText(site);
    ui->kon_name1->setText(QString::fromUtf16(addresses::DeveloperName));
    ui->kon_mail1->setText(QString::fromUtf16(addresses::DeveloperMail));
    ui->kon_icq1->setText(QString::fromUtf16(addresses::DeveloperMessenger));
    ui->kon_name2->setText(QString::fromUtf16(addresses::SupportName));
    ui->kon_mail2->setText(QString::fromUtf16(addresses::SupportMail));
    ui->kon_icq2->setText(QString::fromUtf16(addresses::SupportMessenger));

    connect(ui->mnuExit, &QAction::triggered, this, &Form1::onMnuExitTriggered);
}

// Menus, buttons, scrolling and the tray icon: the frame around the sheet.
void Form1::createFrame()
{
    setWindowIcon(programIcon());

    Form1Commands::Services services{m_engine.get(),
                                     m_setup.dataFolder,
                                     [this](const paycalc::Message& m) { showMessage(m); },
                                     {},
                                     m_setup.askQuestion,
                                     m_setup.openDocument,
                                     m_setup.print,
                                     m_setup.todayPayChoices};
    if (!services.openDocument)
        services.openDocument = &platform::openDocument;
    // A window that records its messages has the viewer's recorded as well.
    if (MessageHook hook = m_setup.showMessage)
        services.viewerMessage = [hook](QWidget*, const paycalc::Message& m) { hook(m); };
    m_commands = new Form1Commands(*this, std::move(services));

    m_scroller =
        new Scroller({ui->Area, ui->Command5, ui->Command6, timer(7), timer(8), ui->scroll}, this);
    m_trayIcon = new TrayIcon(*this, *ui->mnuHelp, *ui->mnuFile);
    m_trayIcon->prepare();
}

// Amount labels hold captions of changing length; a fixed width keeps the
// sheet from shifting while the figures change. Lists may narrow below their
// preferred width (long items are cut) so that the sheet fits a small screen.
void Form1::sizeControls()
{
    for (QLabel* amount : findChildren<QLabel*>()) {
        const QString role = amount->property("role").toString();
        if (role != QStringLiteral("amount") && role != QStringLiteral("fixedAmount"))
            continue;
        amount->setMinimumWidth(
            qCeil(QFontMetricsF(amount->font())
                      .horizontalAdvance(QStringLiteral("       000000.0 руб."))));
        amount->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }
    for (int n = 1; n <= static_cast<int>(List::Combo14); ++n)
        m_lists[n]->setMinimumWidth(m_lists[n]->fontMetrics().averageCharWidth() * 10);
}

// Combo15 and Combo16 carry their items from the window's design. The years
// run up to the year after the current one: the list is filled for today's
// year here and brought up to date when the window loads.
void Form1::fillDesignLists()
{
    const int year = m_setup.today.today().year();
    list(List::Combo15)->addItems(paycalc::PayEngine::fixedItems(List::Combo15, year));
    list(List::Combo15)->setCurrentIndex(-1); // until loading selects the month
    fillYearList(year);
}

void Form1::fillYearList(int currentYear)
{
    QComboBox* years = list(List::Combo16);
    const QStringList items = paycalc::PayEngine::fixedItems(List::Combo16, currentYear);
    if (years->count() != items.size()) {
        years->clear();
        years->addItems(items);
    }
    years->setCurrentIndex(-1); // until loading selects the year
}

// The engine learns the design state of every check box and option button.
void Form1::syncSwitches()
{
    for (int n = 1; n <= SwitchCount; ++n) {
        const auto id = static_cast<Switch>(n);
        const bool on = m_switches[n]->isChecked();
        if (m_engine->isOn(id) != on)
            m_engine->setSwitch(id, on);
    }
}

void Form1::applyNormalLook()
{
    fillBackground(ui->centralwidget, pageGreen());
    for (QWidget* widget : ui->centralwidget->findChildren<QWidget*>()) {
        const QString role = widget->property("role").toString();
        if (role == QStringLiteral("caption")) {
            fillBackground(widget, pageGreen());
        } else if (role == QStringLiteral("banner")) {
            fillBackground(widget, pageGreen());
            widget->hide();
        } else if (role == QStringLiteral("siteLine")) {
            widget->hide();
        } else if (!role.isEmpty()) {
            fillBackground(widget, amountTeal());
        }
        if (widget->property("screenOnly").toBool())
            widget->show();
    }
}

// --- loading ------------------------------------------------------------------

void Form1::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    // StartDate is the day of loading, however long the window was built
    // before (the splash builds it while it shows, possibly before midnight).
    const QDate startDate = m_setup.today.today();
    fillYearList(startDate.year());
    m_engine->beginLoad(startDate);
    platform::setTopmost(this, false);
    centreOnScreen();
    if (m_engine->fillLists()) {
        createTrayIcon();
        startTicker();
    }
    // The keyboard indicator and the periodic computation run from the end of
    // loading for the whole life of the window.
    startKeyboardIndicator();
    timer(6)->start();
}

// Where the platform reports layout changes, each report runs Timer5's handler
// and nothing polls; elsewhere Timer5 polls every 10 ms.
void Form1::startKeyboardIndicator()
{
    if (m_keyboardLayout.onChange(this, [this] { onTimer5Timeout(); }))
        onTimer5Timeout(); // the layout of the moment, without waiting for a change
    else
        timer(5)->start();
}

// The window takes the size of its content, as far as the screen allows (a
// smaller screen scrolls the sheet). Part of building the window: its size
// does not depend on anything that loading reads.
void Form1::fitToScreen()
{
    ensurePolished();
    const QRect screenArea = screen()->availableGeometry();
    const QSize room(screenArea.width(), screenArea.height() - FrameAllowance);
    resize(fittingSize(room));

    // Settle the geometry now: the ticker's width counts before first showing.
    layout()->activate();
    ui->centralwidget->layout()->activate();
    ui->Viewport->placeArea();
    ui->Area->layout()->activate();
}

void Form1::centreOnScreen()
{
    const QRect screenArea = screen()->availableGeometry();
    move(screenArea.x() + std::max(0, (screenArea.width() - width()) / 2),
         screenArea.y() + std::max(0, (screenArea.height() - height()) / 2));
}

// The narrowest size at which the whole sheet fits into `room`: a wider
// window wraps the long row captions into fewer lines. When even the full
// width does not give room enough, the window takes the full width and the
// sheet scrolls.
QSize Form1::fittingSize(const QSize& room) const
{
    const QSize natural = sizeHint();
    const int areaWidth = ui->Area->sizeHint().width();
    const int chromeWidth = natural.width() - areaWidth;
    const int chromeHeight = natural.height() - ui->Viewport->sizeHint().height();
    const auto heightAt = [&](int width) {
        return chromeHeight + ui->Area->heightForWidth(width - chromeWidth);
    };
    const int step = std::max(1, fontMetrics().averageCharWidth() * 2);
    int width = std::min(natural.width(), room.width());
    while (width < room.width() && heightAt(width) > room.height())
        width = std::min(width + step, room.width());
    return {width, std::min(heightAt(width), room.height())};
}

// The tray icon control is created here, once, when the lists have been filled;
// a failed loading leaves the window without it.
void Form1::createTrayIcon()
{
    m_trayIcon->create();
}

void Form1::startTicker()
{
    const QString invitation = QStringLiteral("<-- Заходите на сайт программы ") +
                               QString::fromUtf16(addresses::Site) +
                               QStringLiteral(" : новые версии, новые оклады и ответы на вопросы");
    timer(9)->setInterval(TickerInterval);
    timer(9)->start();
    const double blankWidth = QFontMetricsF(font()).horizontalAdvance(QLatin1Char(' '));
    m_ticker.setText(invitation, paycalc::Marquee::blanksFor(ui->txtR->width(), blankWidth, -10));
}

// --- events -------------------------------------------------------------------

void Form1::onListActivated(List id, int index)
{
    if (!m_messageOpen)
        m_engine->select(id, index);
}

void Form1::onBoxChanged(Box id, const QString& text)
{
    if (!m_messageOpen)
        m_engine->boxChanged(id, text);
}

void Form1::onSwitchToggled(Switch id, bool on)
{
    if (!m_messageOpen)
        m_engine->setSwitch(id, on);
}

void Form1::onEngineTimerTimeout(Timer id)
{
    if (!m_messageOpen)
        m_engine->timerTick(id);
}

void Form1::onTimer5Timeout()
{
    if (m_messageOpen) {
        // A change reported while a message is open would be lost: poll until
        // the message is closed.
        if (!timer(5)->isActive())
            timer(5)->start();
        return;
    }
    m_engine->showKeyboardLayout(m_keyboardLayout.current());
    if (m_keyboardLayout.notifies())
        timer(5)->stop();
}

void Form1::onTimer9Timeout()
{
    ui->txtR->setText(m_ticker.tick());
}

void Form1::onMnuExitTriggered()
{
    QCoreApplication::exit(0);
}

// Closing the main window ends the program at once, nothing saved or asked.
void Form1::closeEvent(QCloseEvent* event)
{
    event->accept();
    QCoreApplication::exit(0);
}

// Every activation of the window takes a calculator result handed over since
// the last one.
void Form1::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_commands)
        m_commands->onForm1Activated();
}

// --- what the engine writes -----------------------------------------------------

QComboBox* Form1::list(List id) const
{
    return m_lists[static_cast<int>(id)];
}

QLabel* Form1::label(paycalc::Label id) const
{
    return m_labels[static_cast<int>(id)];
}

QLineEdit* Form1::box(Box id) const
{
    return m_boxes[static_cast<int>(id)];
}

void Form1::setTitle(const QString& title)
{
    setWindowTitle(title);
}

// The periodic run rewrites every caption five times a second; only a changed
// text is passed on, so an idle window repaints nothing.
void Form1::setCaption(paycalc::Label id, const QString& text)
{
    QLabel* target = label(id);
    if (target->text() != text) {
        target->setText(text);
        // A label's accessible name is its row caption; the amount itself
        // reaches a screen reader as the description.
        target->setAccessibleDescription(text);
    }
}

// The engine's rewrite of a box is not a new change from the window's side:
// the engine accounts for it itself.
void Form1::setBoxText(Box id, const QString& text)
{
    QLineEdit* target = box(id);
    const QSignalBlocker blocker(target);
    target->setText(text);
}

void Form1::setMirror(Mirror id, const QString& text)
{
    m_mirrors[static_cast<int>(id)]->setText(text);
}

void Form1::addListItems(List id, const QStringList& items)
{
    QComboBox* combo = list(id);
    const int selected = combo->currentIndex();
    combo->addItems(items);
    // Adding items never selects one.
    if (combo->currentIndex() != selected)
        combo->setCurrentIndex(selected);
    // The open list is as wide as its longest item.
    combo->view()->setMinimumWidth(combo->view()->sizeHintForColumn(0) +
                                   combo->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

void Form1::clearListItems(List id)
{
    list(id)->clear();
}

void Form1::setListIndex(List id, int index)
{
    list(id)->setCurrentIndex(index);
}

// The list's edit field shows the text until the next choice.
void Form1::setListEditText(List id, const QString& text)
{
    QComboBox* combo = list(id);
    combo->setPlaceholderText(text);
    combo->setCurrentIndex(-1);
}

void Form1::setListEnabled(List id, bool enabled)
{
    list(id)->setEnabled(enabled);
}

// Starting a running timer leaves it running: its delay is not restarted.
void Form1::setTimerRunning(Timer id, bool running)
{
    QTimer* target = timer(static_cast<int>(id));
    if (!running)
        target->stop();
    else if (!target->isActive())
        target->start();
}

void Form1::showMessage(const paycalc::Message& message)
{
    const bool wasOpen = m_messageOpen;
    m_messageOpen = true;
    if (m_setup.showMessage) {
        m_setup.showMessage(message);
    } else {
        platform::showMessageBox(this, message);
    }
    m_messageOpen = wasOpen;
}
