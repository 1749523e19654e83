#include "form1fixture.h"
#include "mainwindow/form1.h"
#include "mainwindow/form1commands.h"
#include "mainwindow/form1printlook.h"
#include "mainwindow/scroller.h"
#include "paycalc/message.h"
#include "paycalc/payengine.h"
#include "payslip/form3.h"
#include "payslip/printlook.h"
#include "payslip/printsequence.h"
#include "payslip/savedcalculation.h"
#include "platform/addresses.h"
#include "tools/handover.h"

#include <cmath>
#include <map>
#include <memory>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>
#include <utility>

using form1fixture::fire;
using paycalc::Message;

namespace {

// The top-level windows of a class that are on screen.
QList<QWidget*> shownWindows(const char* className)
{
    QList<QWidget*> found;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && qstrcmp(window->metaObject()->className(), className) == 0)
            found << window;
    return found;
}

// How an element of the window looks at one moment.
struct ElementState
{
    QColor background; // invalid when it paints no background of its own
    bool hidden = false;
    bool enabled = true;

    friend bool operator==(const ElementState&, const ElementState&) = default;
};

using LookSnapshot = std::map<QString, ElementState>;

LookSnapshot snapshot(const QWidget& form)
{
    LookSnapshot states;
    for (const payslip::LookEntry& entry : form1printlook::table(form)) {
        const auto* widget = form.findChild<QWidget*>(entry.objectName);
        if (widget == nullptr)
            continue;
        // The colour it paints, which for buttons need not be the Window role's.
        const QColor painted = widget->palette().color(widget->backgroundRole());
        states[entry.objectName] = {widget->autoFillBackground() ? painted : QColor(),
                                    widget->isHidden(), widget->isEnabled()};
    }
    return states;
}

} // namespace

class TestFrame : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void contactEntries();
    void startingCheckMarks();
    void sideWindows_data();
    void sideWindows();
    void closedSideWindowIsMadeAgain();
    void updateCheckAsksFirst_data();
    void updateCheckAsksFirst();
    void addresses_data();
    void addresses();
    void shortcutsTriggerTheirEntries_data();
    void shortcutsTriggerTheirEntries();

    void saveLoadAndReset();
    void paySlipIsWritten();
    void printLookTableMatchesTheWindow();
    void printLook_data();
    void printLook();
    void printRestoresTheNormalLook();
    void printWithoutPrinterRestoresAtOnce();

    void oneClickMovesTheArea();
    void holdingAButtonScrolls_data();
    void holdingAButtonScrolls();
    void scrollEntryDisablesTheButtons();

    void calculatorResultGoesIntoTheNamedField_data();
    void calculatorResultGoesIntoTheNamedField();
    void laterActivationKeepsTypedText();

    void onTopTwiceReturnsToNormal();

    void shortcutsWorkInATextBox_data();
    void shortcutsWorkInATextBox();

private:
    void openForm();
    void activate(QWidget* window);
    QWidget* named(const QString& name) const;
    QAction* action(const char* name) const;
    void transferFromCalculator(const char* button, const QString& digits);

    std::unique_ptr<QTemporaryDir> m_dir;
    form1fixture::Recorder m_record;
    std::unique_ptr<Form1> m_form;
};

void TestFrame::initTestCase()
{
    QLocale::setDefault(QLocale::c());
}

void TestFrame::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    form1fixture::writeSalaryFiles(m_dir->path());
    m_record = {};
    // A result left waiting by an earlier test is not this test's.
    tools::handover::takeCalculatorResult();
}

void TestFrame::cleanup()
{
    m_form.reset();
    m_dir.reset();
}

void TestFrame::openForm()
{
    m_form = std::make_unique<Form1>(m_record.setup(m_dir->path()));
    QVERIFY(m_record.messages.isEmpty());
}

void TestFrame::activate(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

QWidget* TestFrame::named(const QString& name) const
{
    auto* widget = m_form->findChild<QWidget*>(name);
    if (widget == nullptr)
        qFatal("no %s", qUtf8Printable(name));
    return widget;
}

QAction* TestFrame::action(const char* name) const
{
    QAction* entry = m_form->action(QString::fromLatin1(name));
    if (entry == nullptr)
        qFatal("no %s", name);
    return entry;
}

// --- menus and buttons --------------------------------------------------------------

void TestFrame::contactEntries()
{
    openForm();
    QMenu* help = m_form->menu(QStringLiteral("mnuHelp"));
    QMenu* www = m_form->menu(QStringLiteral("WWW"));
    QMenu* contacts = m_form->menu(QStringLiteral("kon"));
    QCOMPARE(www->title(), QStringLiteral("W.W.W."));
    QCOMPARE(contacts->title(), QStringLiteral("Контакты"));
    QVERIFY(help->actions().contains(www->menuAction()));
    QCOMPARE(www->actions(),
             (QList<QAction*>{action("Sait"), action("ks"), contacts->menuAction()}));

    QStringList texts;
    for (const QAction* entry : contacts->actions())
        texts << entry->objectName() + u'=' + entry->text();
    QCOMPARE(texts, (QStringList{u"kon_name1=" + QString::fromUtf16(addresses::DeveloperName),
                                 u"kon_mail1=" + QString::fromUtf16(addresses::DeveloperMail),
                                 u"kon_icq1=" + QString::fromUtf16(addresses::DeveloperMessenger),
                                 u"kon_name2=" + QString::fromUtf16(addresses::SupportName),
                                 u"kon_mail2=" + QString::fromUtf16(addresses::SupportMail),
                                 u"kon_icq2=" + QString::fromUtf16(addresses::SupportMessenger)}));
}

void TestFrame::startingCheckMarks()
{
    openForm();
    QVERIFY(action("on_top")->isCheckable() && !action("on_top")->isChecked());
    QVERIFY(action("scroll")->isCheckable() && action("scroll")->isChecked());
    QVERIFY(named(QStringLiteral("Command5"))->isEnabled());
    QVERIFY(named(QStringLiteral("Command6"))->isEnabled());
    // The program's icon, which the side windows show too.
    const QList<QSize> sizes = m_form->windowIcon().availableSizes();
    QVERIFY(sizes.contains(QSize(32, 32)) && sizes.contains(QSize(64, 64)));
}

void TestFrame::sideWindows_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QByteArray>("windowClass");

    const auto add = [](const char* control, const char* windowClass) {
        QTest::newRow(control) << QString::fromLatin1(control) << QByteArray(windowClass);
    };
    add("rlist_open", "payslip::Form9");
    add("mnuPen", "tools::Form8");
    add("nnn", "tools::Form4");
    add("Command2", "tools::Form4");
    add("Command3", "tools::Form4");
    add("visluga", "tools::Form5");
    add("Command4", "tools::Form5");
    add("Klava_Info", "Form6");
    add("mnuAbout", "Form2");
    add("mnuUPDATE", "Form7");
}

void TestFrame::sideWindows()
{
    QFETCH(QString, control);
    QFETCH(QByteArray, windowClass);

    openForm();
    const auto use = [&] {
        if (auto* button = m_form->findChild<QPushButton*>(control))
            button->click();
        else
            m_form->action(control)->trigger();
    };

    use();
    const QList<QWidget*> first = shownWindows(windowClass.constData());
    QCOMPARE(first.size(), 1);
    QCOMPARE(first.first()->parentWidget(), m_form.get());

    // A window that is there is shown again, not made twice.
    first.first()->hide();
    use();
    QCOMPARE(shownWindows(windowClass.constData()), first);
    QVERIFY(m_record.messages.isEmpty());
}

void TestFrame::closedSideWindowIsMadeAgain()
{
    openForm();
    action("mnuPen")->trigger();
    QPointer<QWidget> first = shownWindows("tools::Form8").value(0);
    QVERIFY(first);

    first->close(); // deletes itself
    QTRY_VERIFY(first.isNull());

    action("mnuPen")->trigger();
    QCOMPARE(shownWindows("tools::Form8").size(), 1);
}

void TestFrame::updateCheckAsksFirst_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("Yes") << true;
    QTest::newRow("No") << false;
}

void TestFrame::updateCheckAsksFirst()
{
    QFETCH(bool, answer);

    openForm();
    m_record.answer = answer;
    action("mnuUPDATE")->trigger();

    const platform::Box question{platform::Box::Kind::Question,
                                 QStringLiteral("  ~ Voldar ™ обновление ~ "),
                                 QStringLiteral("Вы хотите проверить обновление на сервере ?")};
    QCOMPARE(m_record.questions, QList<platform::Box>{question});
    QCOMPARE(shownWindows("Form7").size(), answer ? 1 : 0);
}

void TestFrame::addresses_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QStringList>("opened");

    const QString site = QString::fromUtf16(addresses::Site);
    QTest::newRow("Sait") << QStringLiteral("Sait") << QStringList{site};
    QTest::newRow("Command1") << QStringLiteral("Command1") << QStringList{site};
    QTest::newRow("ks") << QStringLiteral("ks")
                        << QStringList{QString::fromUtf16(addresses::DeveloperPage)};
    QTest::newRow("kon_mail1") << QStringLiteral("kon_mail1")
                               << QStringList{u"mailto:" +
                                              QString::fromUtf16(addresses::DeveloperMail)};
    QTest::newRow("kon_mail2") << QStringLiteral("kon_mail2")
                               << QStringList{u"mailto:" +
                                              QString::fromUtf16(addresses::SupportMail)};
    for (const char* shownOnly : {"kon_name1", "kon_icq1", "kon_name2", "kon_icq2"})
        QTest::newRow(shownOnly) << QString::fromLatin1(shownOnly) << QStringList();
}

void TestFrame::addresses()
{
    QFETCH(QString, control);
    QFETCH(QStringList, opened);

    openForm();
    if (auto* button = m_form->findChild<QPushButton*>(control))
        button->click();
    else
        m_form->action(control)->trigger();
    QCOMPARE(m_record.opened, opened);
}

void TestFrame::shortcutsTriggerTheirEntries_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QKeySequence>("keys");

    const auto add = [](const char* entry, QKeySequence keys) {
        QTest::newRow(entry) << QString::fromLatin1(entry) << keys;
    };
    add("on_top", QKeySequence(Qt::CTRL | Qt::Key_A));
    add("mnuNew", QKeySequence(Qt::CTRL | Qt::Key_O));
    add("rlist_save", QKeySequence(Qt::Key_F11));
    add("rlist_open", QKeySequence(Qt::Key_F12));
    add("mnuPrint", QKeySequence(Qt::CTRL | Qt::Key_P));
    add("mnuSave", QKeySequence(Qt::CTRL | Qt::Key_S));
    add("mnuLoad", QKeySequence(Qt::CTRL | Qt::Key_L));
    add("mnuPen", QKeySequence(Qt::CTRL | Qt::Key_W));
    add("mnuUPDATE", QKeySequence(Qt::Key_F5));
    add("mnuAbout", QKeySequence(Qt::Key_F1));
}

void TestFrame::shortcutsTriggerTheirEntries()
{
    QFETCH(QString, entry);
    QFETCH(QKeySequence, keys);

    openForm();
    m_record.answer = false;
    activate(m_form.get());
    QSignalSpy triggered(m_form->action(entry), &QAction::triggered);
    QTest::keySequence(m_form.get(), keys);
    QCOMPARE(triggered.count(), 1);
}

// --- saved calculation and pay slip ----------------------------------------------------

void TestFrame::saveLoadAndReset()
{
    openForm();
    auto* ranks = static_cast<QComboBox*>(named(QStringLiteral("Combo1")));
    const auto choose = [&](int index) {
        ranks->setCurrentIndex(index);
        emit ranks->activated(index);
    };
    const Message saved{QStringLiteral("Данные сохранены"), QStringLiteral("Сохранение"),
                        Message::Icon::Information};

    choose(1);
    action("mnuSave")->trigger();
    QCOMPARE(m_record.messages, QList<Message>{saved});
    QVERIFY(QFile::exists(m_dir->filePath(QStringLiteral("Save_log.txt"))));

    choose(0);
    action("mnuLoad")->trigger();
    QCOMPARE(ranks->currentIndex(), 1);
    QCOMPARE(m_record.messages.size(), 1);

    action("mnuNew")->trigger();
    QCOMPARE(static_cast<QLabel*>(named(QStringLiteral("Label41")))->text(),
             QStringLiteral("       0 руб."));
    QCOMPARE(ranks->currentIndex(), 1);

    QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("Save_log.txt"))));
    action("mnuLoad")->trigger();
    QCOMPARE(m_record.messages.last(), payslip::SavedCalculation::loadFailedMessage());
}

void TestFrame::paySlipIsWritten()
{
    openForm();
    action("rlist_save")->trigger();

    const Message saved{QStringLiteral("Данные сохранены"), QStringLiteral("Сохранение"),
                        Message::Icon::Information};
    QCOMPARE(m_record.messages, QList<Message>{saved});
    QVERIFY(QFile::exists(m_dir->filePath(QStringLiteral("Lists/Март 2010.txt"))));
}

// --- printing ---------------------------------------------------------------------------

void TestFrame::printLookTableMatchesTheWindow()
{
    openForm();
    const payslip::PrintLook look(m_form.get(), form1printlook::table(*m_form));
    QCOMPARE(look.missingNames(), QStringList());
}

// How each element of the window is printed.
void TestFrame::printLook_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("printed");

    const auto rows = [](const char* printed, const QStringList& names) {
        for (const QString& name : names)
            QTest::addRow("%s %s", qUtf8Printable(name), printed)
                << name << QString::fromLatin1(printed);
    };
    const auto series = [](const char* stem, std::initializer_list<int> numbers) {
        QStringList names;
        for (int n : numbers)
            names << QString::fromLatin1(stem) + QString::number(n);
        return names;
    };
    rows("white", {QStringLiteral("centralwidget"), QStringLiteral("Check4"),
                   QStringLiteral("Check3"), QStringLiteral("Check5"), QStringLiteral("Check6"),
                   QStringLiteral("Option1"), QStringLiteral("Option2"), QStringLiteral("Frame1")});
    rows("white",
         series("Label", {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18,
                          19, 20, 32, 33, 43, 44, 48, 49, 50, 51, 53, 21, 22, 23, 24, 25, 26, 27,
                          28, 29, 30, 31, 35, 36, 39, 40, 41, 45, 52, 56, 57, 58, 59, 60, 61}));
    rows("teal", series("Label", {65, 34, 37, 38, 42}));
    rows("hidden",
         {QStringLiteral("Check1"), QStringLiteral("Check2"), QStringLiteral("Command1"),
          QStringLiteral("Command2"), QStringLiteral("Command3"), QStringLiteral("Command4"),
          QStringLiteral("Command5"), QStringLiteral("Command6"), QStringLiteral("txtR"),
          QStringLiteral("Label46"), QStringLiteral("Label47")});
    rows("shown", {QStringLiteral("Label55")});
    rows("shown teal", {QStringLiteral("Label54")});
    rows("enabled", {QStringLiteral("Combo14")});
}

void TestFrame::printLook()
{
    QFETCH(QString, name);
    QFETCH(QString, printed);

    openForm();
    LookSnapshot onPaper;
    m_record.onPrint = [&](QWidget* widget) {
        QCOMPARE(widget, m_form->centralWidget());
        onPaper = snapshot(*m_form);
    };
    action("mnuPrint")->trigger();
    QCOMPARE(m_record.printed, 1);
    QVERIFY2(onPaper.count(name) == 1, qUtf8Printable(name));
    const ElementState state = onPaper.at(name);

    const QColor white(255, 255, 255);
    if (printed == QStringLiteral("white")) {
        QCOMPARE(state.background, white);
    } else if (printed == QStringLiteral("teal")) {
        QCOMPARE(state.background, Form1::amountTeal());
    } else if (printed == QStringLiteral("hidden")) {
        QVERIFY(state.hidden);
    } else if (printed == QStringLiteral("shown")) {
        QVERIFY(!state.hidden);
    } else if (printed == QStringLiteral("shown teal")) {
        QVERIFY(!state.hidden);
        QCOMPARE(state.background, Form1::amountTeal());
    } else if (printed == QStringLiteral("enabled")) {
        QVERIFY(state.enabled);
    }
}

void TestFrame::printRestoresTheNormalLook()
{
    openForm();
    const LookSnapshot normal = snapshot(*m_form);
    QVERIFY(normal.at(QStringLiteral("Label54")).hidden);
    QVERIFY(!normal.at(QStringLiteral("Combo14")).enabled);

    action("mnuPrint")->trigger();
    payslip::PrintSequence& sequence = m_form->commands().printSequence();
    QTimer* timer4 = m_form->timer(4);
    QCOMPARE(timer4, &sequence.Timer4());
    QVERIFY(snapshot(*m_form) != normal);
    QVERIFY(sequence.waitWindow() != nullptr && sequence.waitWindow()->isVisible());
    QVERIFY(timer4->isActive());
    QVERIFY(timer4->isSingleShot());

    // A second print during the print look prints again.
    action("mnuPrint")->trigger();
    QCOMPARE(m_record.printed, 2);

    fire(timer4);
    QCOMPARE(snapshot(*m_form), normal);
    QVERIFY(!sequence.waitWindow()->isVisible());
    QVERIFY(m_record.messages.isEmpty());
}

void TestFrame::printWithoutPrinterRestoresAtOnce()
{
    openForm();
    const LookSnapshot normal = snapshot(*m_form);
    m_record.printResults << payslip::PrintResult{false, QStringLiteral("Нет принтера")};

    action("mnuPrint")->trigger();

    QCOMPARE(m_record.messages,
             QList<Message>{payslip::printFailedMessage(QStringLiteral("Нет принтера"))});
    QCOMPARE(snapshot(*m_form), normal);
    QVERIFY(!m_form->timer(4)->isActive());
}

// --- scrolling --------------------------------------------------------------------------

void TestFrame::oneClickMovesTheArea()
{
    openForm();
    const QStringList moving{
        QStringLiteral("txtR"),     QStringLiteral("Frame1"),  QStringLiteral("Label56"),
        QStringLiteral("Label61"),  QStringLiteral("Label1"),  QStringLiteral("Label54"),
        QStringLiteral("Label55"),  QStringLiteral("Label60"), QStringLiteral("Label65"),
        QStringLiteral("Line1"),    QStringLiteral("Line11"),  QStringLiteral("Command1"),
        QStringLiteral("Command4"), QStringLiteral("Combo1"),  QStringLiteral("Combo14"),
        QStringLiteral("Text1"),    QStringLiteral("Text5"),   QStringLiteral("Check1"),
        QStringLiteral("Check6"),   QStringLiteral("Option1"), QStringLiteral("Option2")};
    const QStringList staying{
        QStringLiteral("Combo15"),  QStringLiteral("Combo16"), QStringLiteral("Command5"),
        QStringLiteral("Command6"), QStringLiteral("Label62"), QStringLiteral("Label63"),
        QStringLiteral("Label64"),  QStringLiteral("Txt1"),    QStringLiteral("Txt10")};
    const auto positions = [this](const QStringList& names) {
        QList<QPoint> all;
        for (const QString& name : names)
            all << named(name)->mapTo(m_form.get(), QPoint());
        return all;
    };
    const QList<QPoint> movingBefore = positions(moving);
    const QList<QPoint> stayingBefore = positions(staying);
    const auto pixels = [this](int twips) {
        return int(std::lround(twips * m_form->area()->logicalDpiY() / 1440.0));
    };

    static_cast<QPushButton*>(named(QStringLiteral("Command5")))->click();
    QCOMPARE(m_form->scroller().offsetTwips(), 100);
    const QList<QPoint> movingAfter = positions(moving);
    for (int i = 0; i < moving.size(); ++i)
        QVERIFY2(movingAfter[i] == movingBefore[i] + QPoint(0, pixels(100)),
                 qUtf8Printable(moving[i]));
    QCOMPARE(positions(staying), stayingBefore);

    // Up past the starting place: there is no limit.
    for (int click = 0; click < 3; ++click)
        static_cast<QPushButton*>(named(QStringLiteral("Command6")))->click();
    QCOMPARE(m_form->scroller().offsetTwips(), -200);
    QCOMPARE(positions(moving).first(), movingBefore.first() + QPoint(0, pixels(-200)));
    QCOMPARE(positions(staying), stayingBefore);
}

void TestFrame::holdingAButtonScrolls_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("timer");
    QTest::addColumn<int>("direction");
    QTest::newRow("Command5") << QStringLiteral("Command5") << 7 << 1;
    QTest::newRow("Command6") << QStringLiteral("Command6") << 8 << -1;
}

void TestFrame::holdingAButtonScrolls()
{
    QFETCH(QString, button);
    QFETCH(int, timer);
    QFETCH(int, direction);

    openForm();
    activate(m_form.get());
    QWidget* pressed = named(button);
    QTimer* repeat = m_form->timer(timer);
    QCOMPARE(repeat->interval(), 10);

    QTest::mousePress(pressed, Qt::LeftButton);
    QVERIFY(repeat->isActive());
    for (int tick = 0; tick < 3; ++tick)
        fire(repeat);
    QCOMPARE(m_form->scroller().offsetTwips(), 300 * direction);

    // Releasing stops the repeat; the release completes one more click.
    QTest::mouseRelease(pressed, Qt::LeftButton);
    QVERIFY(!repeat->isActive());
    QCOMPARE(m_form->scroller().offsetTwips(), 400 * direction);
}

void TestFrame::scrollEntryDisablesTheButtons()
{
    openForm();
    activate(m_form.get());
    auto* down = static_cast<QPushButton*>(named(QStringLiteral("Command5")));
    auto* up = static_cast<QPushButton*>(named(QStringLiteral("Command6")));
    down->click();
    const int y = m_form->area()->y();

    // Held down while the entry is unchecked: the repeat stops with it.
    QTest::mousePress(down, Qt::LeftButton);
    action("scroll")->trigger();
    QVERIFY(!action("scroll")->isChecked());
    QVERIFY(!m_form->timer(7)->isActive());
    QVERIFY(!down->isEnabled() && !up->isEnabled());
    QTest::mouseRelease(down, Qt::LeftButton);
    QTest::mouseClick(down, Qt::LeftButton);
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(m_form->scroller().offsetTwips(), 100);
    QCOMPARE(m_form->area()->y(), y);

    action("scroll")->trigger();
    QVERIFY(action("scroll")->isChecked());
    QVERIFY(down->isEnabled() && up->isEnabled());
    QTest::mouseClick(up, Qt::LeftButton);
    QCOMPARE(m_form->scroller().offsetTwips(), 0);
}

// --- the calculator's hand-over ---------------------------------------------------------------

// Opens the calculator with `button`, types `digits` and hands the display over.
void TestFrame::transferFromCalculator(const char* button, const QString& digits)
{
    static_cast<QPushButton*>(named(QString::fromLatin1(button)))->click();
    const QList<QWidget*> calculators = shownWindows("tools::Form4");
    QCOMPARE(calculators.size(), 1);
    QWidget* calculator = calculators.first();
    QVERIFY(QTest::qWaitForWindowActive(calculator));
    auto* display = calculator->findChild<QLineEdit*>(QStringLiteral("Display"));
    QVERIFY(display != nullptr);
    QTest::keyClicks(display, digits);
    QCOMPARE(display->text(), digits);
    calculator->findChild<QPushButton*>(QStringLiteral("TransferButton"))->click();
}

void TestFrame::calculatorResultGoesIntoTheNamedField_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("other");
    QTest::addColumn<int>("delayTimer");
    QTest::newRow("Command2") << QStringLiteral("Command2") << QStringLiteral("Text5")
                              << QStringLiteral("Text1") << 1;
    QTest::newRow("Command3") << QStringLiteral("Command3") << QStringLiteral("Text1")
                              << QStringLiteral("Text5") << 3;
}

void TestFrame::calculatorResultGoesIntoTheNamedField()
{
    QFETCH(QString, button);
    QFETCH(QString, target);
    QFETCH(QString, other);
    QFETCH(int, delayTimer);

    openForm();
    activate(m_form.get());
    auto* field = static_cast<QLineEdit*>(named(target));
    auto* otherField = static_cast<QLineEdit*>(named(other));
    // Activation before any transfer changes nothing.
    QVERIFY(field->text().isEmpty());

    transferFromCalculator(qPrintable(button), QStringLiteral("125"));

    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QTRY_COMPARE(field->text(), QStringLiteral("125"));
    QVERIFY(otherField->text().isEmpty());
    // Put there like typing: the field's delayed refresh is on its way.
    QVERIFY(m_form->timer(delayTimer)->isActive());
}

void TestFrame::laterActivationKeepsTypedText()
{
    openForm();
    activate(m_form.get());
    transferFromCalculator("Command3", QStringLiteral("7"));
    auto* field = static_cast<QLineEdit*>(named(QStringLiteral("Text1")));
    QTRY_COMPARE(field->text(), QStringLiteral("7"));

    field->setText(QStringLiteral("55"));
    QWidget elsewhere;
    activate(&elsewhere);
    activate(m_form.get());
    QCOMPARE(field->text(), QStringLiteral("55"));
}

// --- window options ---------------------------------------------------------------------

void TestFrame::onTopTwiceReturnsToNormal()
{
    openForm();
    m_form->show();
    QAction* onTop = action("on_top");

    onTop->trigger();
    QVERIFY(onTop->isChecked());
    QVERIFY(m_form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(m_form->isVisible());

    onTop->trigger();
    QVERIFY(!onTop->isChecked());
    QVERIFY(!m_form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(m_form->isVisible());
}

// --- shortcuts while a text box has the focus ------------------------------------------

void TestFrame::shortcutsWorkInATextBox_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QKeySequence>("keys");

    const std::pair<const char*, QKeyCombination> shortcuts[] = {
        {"on_top", Qt::CTRL | Qt::Key_A},
        {"mnuNew", Qt::CTRL | Qt::Key_O},
        {"rlist_save", QKeyCombination(Qt::Key_F11)},
        {"rlist_open", QKeyCombination(Qt::Key_F12)},
        {"mnuPrint", Qt::CTRL | Qt::Key_P},
        {"mnuSave", Qt::CTRL | Qt::Key_S},
        {"mnuLoad", Qt::CTRL | Qt::Key_L},
        {"mnuPen", Qt::CTRL | Qt::Key_W},
        {"mnuUPDATE", QKeyCombination(Qt::Key_F5)},
        {"mnuAbout", QKeyCombination(Qt::Key_F1)}};
    for (int n = 1; n <= 5; ++n)
        for (const auto& [entry, keys] : shortcuts)
            QTest::addRow("Text%d, %s", n, entry)
                << QStringLiteral("Text%1").arg(n) << QString::fromLatin1(entry)
                << QKeySequence(keys);
}

// The box's own bindings (Ctrl+A selects its text) do not take the menus' keys.
void TestFrame::shortcutsWorkInATextBox()
{
    QFETCH(QString, box);
    QFETCH(QString, entry);
    QFETCH(QKeySequence, keys);

    openForm();
    m_record.answer = false;
    QVERIFY(m_form->engine().setSelection(paycalc::List::Combo1, 1));
    activate(m_form.get());
    auto* edit = static_cast<QLineEdit*>(named(box));
    edit->setText(QStringLiteral("12"));
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());
    QSignalSpy triggered(action(entry.toLatin1().constData()), &QAction::triggered);

    QTest::keyClick(edit, keys[0].key(), keys[0].keyboardModifiers());

    QCOMPARE(triggered.count(), 1);
    QVERIFY(!edit->hasSelectedText());
    if (entry == u"on_top") {
        QVERIFY(action("on_top")->isChecked());
        QVERIFY(m_form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    } else if (entry == u"mnuNew") {
        QCOMPARE(m_form->engine().sheet().RankSalary, 0.0);
    } else if (entry == u"rlist_save") {
        QVERIFY(QFile::exists(m_dir->filePath(QStringLiteral("Lists/Март 2010.txt"))));
    } else if (entry == u"rlist_open") {
        QCOMPARE(shownWindows("payslip::Form9").size(), 1);
    } else if (entry == u"mnuPrint") {
        QTRY_COMPARE(m_record.printed, 1);
    } else if (entry == u"mnuSave") {
        QVERIFY(QFile::exists(m_dir->filePath(QStringLiteral("Save_log.txt"))));
    } else if (entry == u"mnuLoad") {
        QCOMPARE(m_record.messages.value(0), payslip::SavedCalculation::loadFailedMessage());
    } else if (entry == u"mnuPen") {
        QCOMPARE(shownWindows("tools::Form8").size(), 1);
    } else if (entry == u"mnuUPDATE") {
        QCOMPARE(m_record.questions.size(), 1);
    } else if (entry == u"mnuAbout") {
        QCOMPARE(shownWindows("Form2").size(), 1);
    }
    if (entry != u"mnuNew")
        QCOMPARE(edit->text(), QStringLiteral("12"));
}

QTEST_MAIN(TestFrame)
#include "tst_frame.moc"
