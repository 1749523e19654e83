#include "form1fixture.h"
#include "mainwindow/form1.h"
#include "mainwindow/form10.h"
#include "mainwindow/tickerbox.h"
#include "paycalc/message.h"
#include "paycalc/payengine.h"

#include <memory>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using form1fixture::fire;
using form1fixture::PaintCounter;
using form1fixture::writeFile;
using paycalc::Message;

namespace {

const QString RankFile = QStringLiteral("Zvanie.Txt");
const QString PositionFile = QStringLiteral("Dolznost.Txt");

QStringList salaryLines(const QString& heading, const QList<QPair<QString, int>>& records)
{
    QStringList lines{heading};
    int number = 0;
    for (const auto& [name, salary] : records)
        lines << QString::number(++number) << name << QString::number(salary);
    return lines << QString() << QString(); // the end marker
}

void writeRanks(const QString& folder, int firstSalary)
{
    writeFile(folder + u'/' + RankFile, salaryLines(QStringLiteral("Оклады по воинским званиям"),
                                                    {{QStringLiteral("Рядовой"), firstSalary},
                                                     {QStringLiteral("Сержант"), 12000},
                                                     {QStringLiteral("Лейтенант"), 15000}}));
}

void writePositions(const QString& folder)
{
    writeFile(folder + u'/' + PositionFile,
              salaryLines(QStringLiteral("Оклады по должностям"),
                          {{QStringLiteral("1 тарифный разряд"), 20000},
                           {QStringLiteral("2 тарифный разряд"), 22000}}));
}

} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void missingDataFolderLeavesListsEmpty();
    void loadingFillsEveryList();
    void topRowFollowsTheDate_data();
    void topRowFollowsTheDate();
    void timersAfterLoading_data();
    void timersAfterLoading();
    void tickerMovesAfterLoading();

    void choiceShowsSalaryAndMirror();
    void choosingTheSameItemRunsTheRuleAgain();
    void choiceAfterTheFileHasGoneShowsTheMessage();
    void pairedListsEnableEachOther();
    void typingAtAListChangesNothing();

    void switchTakesEffectAtTheNextPeriodicRun();
    void delayedRefreshes_data();
    void delayedRefreshes();
    void netPayFollowsTheWithheldTotal();
    void idleWindowRepaintsNoLabel();

    void namedObjects_data();
    void namedObjects();
    void menuEntries_data();
    void menuEntries();
    void designTexts_data();
    void designTexts();
    void normalLookColours();

    void splashHandsOverToTheMainWindow();
    void splashBuildsTheMainWindowAndLoadsItAtTheHandOver();
    void exitAndClosingEndTheProgram_data();
    void exitAndClosingEndTheProgram();
    void loadingTakesTheDateOfLoading_data();
    void loadingTakesTheDateOfLoading();
    void tickerPaintsNothingWhileTheWindowIsAway_data();
    void tickerPaintsNothingWhileTheWindowIsAway();

private:
    std::unique_ptr<Form1> open(const QString& dataFolder, const QDate& date = QDate(2010, 3, 15));
    void choose(const QString& list, int index);
    QString text(const QString& name) const;
    template <class T> T* child(const QString& name) const
    {
        T* found = m_form->findChild<T*>(name);
        if (found == nullptr)
            qFatal("no %s", qUtf8Printable(name));
        return found;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QList<Message> m_messages;
    std::unique_ptr<Form1> m_form;
};

void TestForm1::initTestCase()
{
    QLocale::setDefault(QLocale::c());
}

void TestForm1::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    writeRanks(m_dir->path(), 10000);
    writePositions(m_dir->path());
    m_messages.clear();
}

void TestForm1::cleanup()
{
    m_form.reset();
    m_dir.reset();
}

std::unique_ptr<Form1> TestForm1::open(const QString& dataFolder, const QDate& date)
{
    return std::make_unique<Form1>(
        Form1::Setup{dataFolder, date, [this](const Message& message) { m_messages << message; }});
}

// A choice as the user makes it: the list shows the item and reports it.
void TestForm1::choose(const QString& list, int index)
{
    auto* combo = child<QComboBox>(list);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

QString TestForm1::text(const QString& name) const
{
    if (auto* label = m_form->findChild<QLabel*>(name))
        return label->text();
    if (auto* edit = m_form->findChild<QLineEdit*>(name))
        return edit->text();
    if (auto* ticker = m_form->findChild<TickerBox*>(name))
        return ticker->text();
    return QStringLiteral("<no %1>").arg(name);
}

// --- loading -------------------------------------------------------------------

void TestForm1::missingDataFolderLeavesListsEmpty()
{
    m_form = open(m_dir->path() + QStringLiteral("/nowhere"));

    QCOMPARE(m_messages, QList<Message>{paycalc::dataFolderNotFound()});
    for (int n = 1; n <= 14; ++n)
        QCOMPARE(child<QComboBox>(QStringLiteral("Combo%1").arg(n))->count(), 0);
    QCOMPARE(child<QComboBox>(QStringLiteral("Combo15"))->currentText(), QStringLiteral("Март"));
    QCOMPARE(child<QComboBox>(QStringLiteral("Combo16"))->currentText(), QStringLiteral("2010"));
    QVERIFY(m_form->windowTitle().endsWith(QStringLiteral("    15.03.2010")));
    // The sequence stopped: no ticker; the window's own timers still run.
    QVERIFY(!m_form->timer(9)->isActive());
    QVERIFY(text(QStringLiteral("txtR")).isEmpty());
    QVERIFY(m_form->timer(5)->isActive());
    QVERIFY(m_form->timer(6)->isActive());
}

void TestForm1::loadingFillsEveryList()
{
    m_form = open(m_dir->path());

    QVERIFY(m_messages.isEmpty());
    const auto items = [this](const QString& name) {
        auto* combo = child<QComboBox>(name);
        QStringList all;
        for (int i = 0; i < combo->count(); ++i)
            all << combo->itemText(i);
        return all;
    };
    QCOMPARE(items(QStringLiteral("Combo1")),
             (QStringList{QStringLiteral("Рядовой"), QStringLiteral("Сержант"),
                          QStringLiteral("Лейтенант")}));
    QCOMPARE(items(QStringLiteral("Combo2")), (QStringList{QStringLiteral("1 тарифный разряд"),
                                                           QStringLiteral("2 тарифный разряд")}));
    for (int n = 3; n <= 16; ++n) {
        const auto list = static_cast<paycalc::List>(n);
        QCOMPARE(items(paycalc::objectName(list)), paycalc::PayEngine::fixedItems(list, 2010));
    }
    // Nothing is chosen: every list shows its prompt.
    for (int n = 1; n <= 14; ++n)
        QCOMPARE(child<QComboBox>(QStringLiteral("Combo%1").arg(n))->currentIndex(), -1);
    QCOMPARE(child<QComboBox>(QStringLiteral("Combo16"))->itemText(6), QStringLiteral("2011"));
}

void TestForm1::topRowFollowsTheDate_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("titleEnd");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("lastYear");

    QTest::newRow("March 2010") << QDate(2010, 3, 15) << QStringLiteral("    15.03.2010")
                                << QStringLiteral("Март") << QStringLiteral("2010")
                                << QStringLiteral("2011");
    QTest::newRow("December 2026")
        << QDate(2026, 12, 6) << QStringLiteral("    06.12.2026") << QStringLiteral("Декабрь")
        << QStringLiteral("2026") << QStringLiteral("2027");
}

void TestForm1::topRowFollowsTheDate()
{
    QFETCH(QDate, date);
    QFETCH(QString, titleEnd);
    QFETCH(QString, month);
    QFETCH(QString, year);
    QFETCH(QString, lastYear);

    m_form = open(m_dir->path(), date);

    QCOMPARE(m_form->windowTitle(), QStringLiteral("   ~ Voldar ™   v.3.0  i ~") + titleEnd);
    QCOMPARE(child<QComboBox>(QStringLiteral("Combo15"))->currentText(), month);
    auto* years = child<QComboBox>(QStringLiteral("Combo16"));
    QCOMPARE(years->currentText(), year);
    QCOMPARE(years->itemText(0), QStringLiteral("2005"));
    QCOMPARE(years->itemText(years->count() - 1), lastYear);
}

void TestForm1::timersAfterLoading_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("interval");
    QTest::addColumn<bool>("running");

    QTest::newRow("Timer1") << 1 << 3000 << false;
    QTest::newRow("Timer2") << 2 << 2500 << false;
    QTest::newRow("Timer3") << 3 << 3500 << false;
    QTest::newRow("Timer4") << 4 << 6000 << false;
    QTest::newRow("Timer5") << 5 << 10 << true;
    QTest::newRow("Timer6") << 6 << 200 << true;
    QTest::newRow("Timer7") << 7 << 10 << false;
    QTest::newRow("Timer8") << 8 << 10 << false;
    QTest::newRow("Timer9") << 9 << 150 << true;
}

void TestForm1::timersAfterLoading()
{
    QFETCH(int, number);
    QFETCH(int, interval);
    QFETCH(bool, running);

    m_form = open(m_dir->path());
    QTimer* timer = m_form->timer(number);
    QVERIFY(timer != nullptr);
    QCOMPARE(timer->objectName(), QStringLiteral("Timer%1").arg(number));
    QCOMPARE(timer->interval(), interval);
    QCOMPARE(timer->isActive(), running);
}

void TestForm1::tickerMovesAfterLoading()
{
    m_form = open(m_dir->path());

    fire(m_form->timer(9));
    const QString first = text(QStringLiteral("txtR"));
    QVERIFY(first.startsWith(QStringLiteral("   ")));
    QVERIFY(first.contains(QStringLiteral("<-- ")));
    fire(m_form->timer(9));
    QCOMPARE(text(QStringLiteral("txtR")), first.mid(1));
}

// --- list choices -----------------------------------------------------------------

void TestForm1::choiceShowsSalaryAndMirror()
{
    m_form = open(m_dir->path());

    choose(QStringLiteral("Combo1"), 0);
    choose(QStringLiteral("Combo2"), 1);

    QCOMPARE(text(QStringLiteral("Label22")), QStringLiteral("       10000 руб."));
    QCOMPARE(text(QStringLiteral("Label24")), QStringLiteral("       22000 руб."));
    QCOMPARE(text(QStringLiteral("Label23")), QStringLiteral("    54000 руб."));
    QCOMPARE(text(QStringLiteral("Txt1")), QStringLiteral(" 0"));
    QCOMPARE(text(QStringLiteral("Txt2")), QStringLiteral(" 1"));
    // The hand-over labels for the pension calculator follow.
    QCOMPARE(text(QStringLiteral("Label62")), QStringLiteral("10000"));
    QCOMPARE(text(QStringLiteral("Label63")), QStringLiteral("22000"));
}

void TestForm1::choosingTheSameItemRunsTheRuleAgain()
{
    m_form = open(m_dir->path());
    choose(QStringLiteral("Combo1"), 0);
    QCOMPARE(text(QStringLiteral("Label22")), QStringLiteral("       10000 руб."));

    writeRanks(m_dir->path(), 11000);
    choose(QStringLiteral("Combo1"), 0);
    QCOMPARE(text(QStringLiteral("Label22")), QStringLiteral("       11000 руб."));
}

void TestForm1::choiceAfterTheFileHasGoneShowsTheMessage()
{
    m_form = open(m_dir->path());
    choose(QStringLiteral("Combo1"), 0);
    QVERIFY(QFile::remove(m_dir->path() + u'/' + RankFile));

    choose(QStringLiteral("Combo1"), 1);

    QCOMPARE(m_messages, QList<Message>{paycalc::dataFolderNotFound()});
    QCOMPARE(text(QStringLiteral("Label22")), QStringLiteral("       10000 руб."));
    QCOMPARE(text(QStringLiteral("Txt1")), QStringLiteral(" 1"));
    // The list texts were read at loading and stay.
    QCOMPARE(child<QComboBox>(QStringLiteral("Combo1"))->count(), 3);
}

void TestForm1::pairedListsEnableEachOther()
{
    m_form = open(m_dir->path());
    const auto enabled = [this](const QString& name) {
        return child<QComboBox>(name)->isEnabled();
    };
    const QString flight = QStringLiteral("Combo5");
    const QString qualification = QStringLiteral("Combo6");
    const QString bracket = QStringLiteral("Combo13");
    const QString children = QStringLiteral("Combo14");

    QVERIFY(enabled(flight) && enabled(qualification) && enabled(bracket) && !enabled(children));

    choose(flight, 1);
    QVERIFY(!enabled(qualification));
    choose(flight, 0);
    QVERIFY(enabled(qualification));
    choose(qualification, 1); // "3 класс": no reward, still excludes a flight class
    QVERIFY(!enabled(flight));
    choose(qualification, 0);
    QVERIFY(enabled(flight));

    choose(bracket, 0);
    QVERIFY(!enabled(bracket) && enabled(children));
    choose(children, 2);
    QVERIFY(enabled(bracket) && !enabled(children));
    QVERIFY(m_messages.isEmpty());

    choose(bracket, 2);
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages.first().title, QStringLiteral("Информация"));
    QCOMPARE(m_messages.first().icon, Message::Icon::Information);
    QVERIFY(enabled(bracket) && !enabled(children));
    auto* childrenList = child<QComboBox>(children);
    QCOMPARE(childrenList->currentIndex(), -1);
    QCOMPARE(childrenList->placeholderText(), QStringLiteral(" Дети"));
}

void TestForm1::typingAtAListChangesNothing()
{
    m_form = open(m_dir->path());
    auto* ranks = child<QComboBox>(QStringLiteral("Combo1"));

    QTest::keyClicks(ranks, QStringLiteral("Ser1"));
    QKeyEvent cyrillic(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("С"));
    QApplication::sendEvent(ranks, &cyrillic);
    QCOMPARE(ranks->currentIndex(), -1);
    QVERIFY(text(QStringLiteral("Txt1")).isEmpty());

    // Choosing with the keyboard is a choice like any other.
    QTest::keyClick(ranks, Qt::Key_Down);
    QCOMPARE(ranks->currentIndex(), 0);
    QCOMPARE(text(QStringLiteral("Txt1")), QStringLiteral(" 0"));
    QCOMPARE(text(QStringLiteral("Label22")), QStringLiteral("       10000 руб."));
}

// --- live refresh -------------------------------------------------------------------

void TestForm1::switchTakesEffectAtTheNextPeriodicRun()
{
    m_form = open(m_dir->path());
    choose(QStringLiteral("Combo1"), 0);
    choose(QStringLiteral("Combo2"), 0);
    fire(m_form->timer(6));
    const QString before = text(QStringLiteral("Label52"));

    child<QCheckBox>(QStringLiteral("Check6"))->click();
    QCOMPARE(text(QStringLiteral("Label52")), before);

    fire(m_form->timer(6));
    QCOMPARE(text(QStringLiteral("Label52")), QStringLiteral("     22500 руб."));

    child<QRadioButton>(QStringLiteral("Option2"))->click();
    fire(m_form->timer(6));
    QCOMPARE(text(QStringLiteral("Label52")), QStringLiteral("     7500 руб."));
}

void TestForm1::delayedRefreshes_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("timer");
    QTest::addColumn<QString>("waitLabel");
    QTest::addColumn<QString>("waitText");
    QTest::addColumn<QString>("normalForm");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("caption");

    QTest::newRow("other allowances")
        << QStringLiteral("Text5") << QStringLiteral("1 500.5") << 1 << QStringLiteral("Label23")
        << QStringLiteral("   Подождите...") << QStringLiteral("1500.5")
        << QStringLiteral("Label31") << QStringLiteral("       1500.5 руб.");
    QTest::newRow("regional percent")
        << QStringLiteral("Text4") << QStringLiteral("350") << 2 << QStringLiteral("Label23")
        << QStringLiteral("   Подождите...") << QStringLiteral("300") << QStringLiteral("Label22")
        << QStringLiteral("       40000 руб.");
    QTest::newRow("premium percent")
        << QStringLiteral("Text2") << QStringLiteral("12,5") << 2 << QStringLiteral("Label23")
        << QStringLiteral("   Подождите...") << QStringLiteral("12,5") << QStringLiteral("Label22")
        << QStringLiteral("       10000 руб.");
    QTest::newRow("other deductions")
        << QStringLiteral("Text1") << QStringLiteral("-100") << 3 << QStringLiteral("Label36")
        << QStringLiteral(" Подождите...") << QStringLiteral("0") << QStringLiteral("Label65")
        << QStringLiteral("   0 руб.");
}

void TestForm1::delayedRefreshes()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(int, timer);
    QFETCH(QString, waitLabel);
    QFETCH(QString, waitText);
    QFETCH(QString, normalForm);
    QFETCH(QString, label);
    QFETCH(QString, caption);

    m_form = open(m_dir->path());
    choose(QStringLiteral("Combo1"), 0);

    QTest::keyClicks(child<QLineEdit>(box), typed);
    QCOMPARE(text(waitLabel), waitText);
    QVERIFY(m_form->timer(timer)->isActive());

    fire(m_form->timer(timer));
    QCOMPARE(text(box), normalForm);
    QCOMPARE(text(label), caption);
    // The engine's rewrite of the box is not a new change: no new delay.
    QVERIFY(!m_form->timer(timer)->isActive());
}

void TestForm1::netPayFollowsTheWithheldTotal()
{
    m_form = open(m_dir->path());
    choose(QStringLiteral("Combo1"), 0);
    choose(QStringLiteral("Combo2"), 0);

    fire(m_form->timer(6)); // accrued 50000, tax 6500
    QCOMPARE(text(QStringLiteral("Label36")), QStringLiteral("       6500 руб."));
    QCOMPARE(text(QStringLiteral("Label39")), QStringLiteral("       43500 руб."));

    QTest::keyClicks(child<QLineEdit>(QStringLiteral("Text1")), QStringLiteral("100"));
    QCOMPARE(text(QStringLiteral("Label36")), QStringLiteral(" Подождите..."));
    fire(m_form->timer(3));
    QCOMPARE(text(QStringLiteral("Label36")), QStringLiteral("       6600 руб."));
    QCOMPARE(text(QStringLiteral("Label39")), QStringLiteral("       43400 руб."));
}

// Five runs a second rewrite every caption; unchanged texts must not repaint.
void TestForm1::idleWindowRepaintsNoLabel()
{
    m_form = open(m_dir->path());
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    choose(QStringLiteral("Combo1"), 0);
    fire(m_form->timer(6));
    QTest::qWait(50);

    PaintCounter counter;
    const auto labels = m_form->findChildren<QLabel*>();
    for (QLabel* label : labels)
        label->installEventFilter(&counter);

    for (int run = 0; run < 5; ++run)
        fire(m_form->timer(6));
    QTest::qWait(50);
    QCOMPARE(counter.paints, 0);

    // The counter does see a changed caption.
    choose(QStringLiteral("Combo1"), 2);
    QTRY_VERIFY(counter.paints > 0);
}

// --- the form's design -----------------------------------------------------------------

void TestForm1::namedObjects_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("scrolls");

    const auto add = [](const QString& name, bool scrolls) {
        QTest::newRow(qUtf8Printable(name)) << name << scrolls;
    };
    const auto series = [&](const QString& stem, int from, int to, bool scrolls) {
        for (int n = from; n <= to; ++n)
            add(stem + QString::number(n), scrolls);
    };
    series(QStringLiteral("Combo"), 1, 14, true);
    series(QStringLiteral("Combo"), 15, 16, false);
    series(QStringLiteral("Text"), 1, 5, true);
    series(QStringLiteral("Check"), 1, 6, true);
    series(QStringLiteral("Option"), 1, 2, true);
    series(QStringLiteral("Label"), 1, 61, true);
    series(QStringLiteral("Label"), 62, 64, false);
    series(QStringLiteral("Label"), 65, 65, true);
    series(QStringLiteral("Line"), 1, 11, true);
    series(QStringLiteral("Command"), 1, 4, true);
    series(QStringLiteral("Command"), 5, 6, false);
    series(QStringLiteral("Txt"), 1, 10, false);
    add(QStringLiteral("Frame1"), true);
    add(QStringLiteral("txtR"), true);
}

void TestForm1::namedObjects()
{
    QFETCH(QString, name);
    QFETCH(bool, scrolls);

    m_form = open(m_dir->path());
    auto* widget = m_form->findChild<QWidget*>(name);
    QVERIFY2(widget != nullptr, qUtf8Printable(name));
    QCOMPARE(m_form->area()->isAncestorOf(widget), scrolls);
}

void TestForm1::menuEntries_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<QString>("menu");

    const auto add = [](const char* name, const QString& text, const char* shortcut,
                        const char* menu) {
        QTest::newRow(name) << QString::fromLatin1(name) << text << QString::fromLatin1(shortcut)
                            << QString::fromLatin1(menu);
    };
    add("on_top", QStringLiteral("Поверх остальных"), "Ctrl+A", "mnuFile");
    add("separ1", QStringLiteral("-"), "", "mnuFile");
    add("mnuNew", QStringLiteral("Обнулить"), "Ctrl+O", "mnuFile");
    add("sp12", QStringLiteral("-"), "", "mnuFile");
    add("rlist_save", QStringLiteral("Сохранить расчетный листок"), "F11", "mnuFile");
    add("rlist_open", QStringLiteral("Открыть расчетный листок"), "F12", "mnuFile");
    add("sp13", QStringLiteral("-"), "", "mnuFile");
    add("mnuPrint", QStringLiteral("Печать"), "Ctrl+P", "mnuFile");
    add("Separator", QStringLiteral("-"), "", "mnuFile");
    add("mnuSave", QStringLiteral("Сохранить"), "Ctrl+S", "mnuFile");
    add("mnuLoad", QStringLiteral("Загрузить"), "Ctrl+L", "mnuFile");
    add("se12", QStringLiteral("-"), "", "mnuFile");
    add("mnuExit", QStringLiteral("Выход"), "Shift+F4", "mnuFile");
    add("mnuPen", QStringLiteral("Расчет пенсии"), "Ctrl+W", "mnuPensia");
    add("nnn", QStringLiteral("Калькулятор"), "", "test");
    add("visluga", QStringLiteral("Расчет выслуги"), "", "test");
    add("Klava_Info", QStringLiteral("Информация о клавиатуре"), "", "test");
    add("scroll", QStringLiteral("Прокрутка"), "", "test");
    add("Sait", QStringLiteral("Сайт программы"), "", "WWW");
    add("ks", QStringLiteral("Страничка разработчика"), "", "WWW");
    add("sep", QStringLiteral("-"), "", "mnuHelp");
    add("mnuUPDATE", QStringLiteral("Проверить обновления"), "F5", "mnuHelp");
    add("sept", QStringLiteral("-"), "", "mnuHelp");
    add("mnuAbout", QStringLiteral("О программе"), "F1", "mnuHelp");
}

void TestForm1::menuEntries()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, shortcut);
    QFETCH(QString, menu);

    m_form = open(m_dir->path());
    QAction* entry = m_form->action(name);
    QVERIFY(entry != nullptr);
    QCOMPARE(entry->isSeparator(), text == QStringLiteral("-"));
    // A separator draws as a line only: no text for a style to draw beside it.
    QCOMPARE(entry->text(), entry->isSeparator() ? QString() : text);
    QCOMPARE(entry->shortcut(), QKeySequence(shortcut));
    QMenu* owner = m_form->menu(menu);
    QVERIFY(owner != nullptr);
    QVERIFY(owner->actions().contains(entry));
}

void TestForm1::designTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("value");

    const auto add = [](const QString& name, const char* property, const QVariant& value) {
        QTest::addRow("%s.%s", qUtf8Printable(name), property)
            << name << QByteArray(property) << value;
    };
    add(QStringLiteral("Combo1"), "placeholderText", QStringLiteral("Выбери звание"));
    add(QStringLiteral("Combo3"), "toolTip", QStringLiteral("Календарная выслуга лет"));
    add(QStringLiteral("Combo7"), "placeholderText", QStringLiteral("Стаж в шифров.органах"));
    add(QStringLiteral("Combo10"), "placeholderText", QStringLiteral(" Выберите нужное"));
    add(QStringLiteral("Combo11"), "toolTip", QStringLiteral("Стаж в ПЗГТ"));
    add(QStringLiteral("Combo13"), "placeholderText", QStringLiteral("Доход за год"));
    add(QStringLiteral("Combo14"), "toolTip", QStringLiteral("Количество детей"));
    add(QStringLiteral("Combo14"), "enabled", false);
    add(QStringLiteral("Combo15"), "placeholderText", QString());
    add(QStringLiteral("Check4"), "text", QStringLiteral("Начислять РК, ОМ на прочие"));
    add(QStringLiteral("Check4"), "checked", true);
    add(QStringLiteral("Check6"), "text", QStringLiteral("   Начислить           Премию"));
    add(QStringLiteral("Check5"), "text", QStringLiteral("   Начислить Е.Д.В. (тринадцатую)"));
    add(QStringLiteral("Check3"), "text", QStringLiteral("   Начислить Материальную помощь"));
    add(QStringLiteral("Check1"), "text", QString());
    add(QStringLiteral("Option1"), "checked", true);
    add(QStringLiteral("Option2"), "text", QStringLiteral("Ежемесячная"));
    add(QStringLiteral("Frame1"), "title", QStringLiteral("С учетом налога"));
    add(QStringLiteral("Command1"), "toolTip", QStringLiteral("https://voldar.example.org"));
    add(QStringLiteral("Command2"), "toolTip", QStringLiteral("Калькулятор"));
    add(QStringLiteral("Command4"), "toolTip", QStringLiteral("Расчет выслуги "));
    add(QStringLiteral("Text4"), "toolTip", QStringLiteral("нецелое через точку"));
    add(QStringLiteral("Label1"), "text", QStringLiteral("Оклад по ВОИНСКОМУ ЗВАНИЮ"));
    add(QStringLiteral("Label10"), "text",
        QStringLiteral("Денежное вознаграждение за классную квалификацию          (кроме "
                       "\"летчиков\")"));
    add(QStringLiteral("Label34"), "text", QStringLiteral("  НАЧИСЛЕНО :"));
    add(QStringLiteral("Label42"), "text", QStringLiteral(" ВСЕГО НА РУКИ :"));
    add(QStringLiteral("Label46"), "text", QStringLiteral("Раскладка клавиатуры:"));
    add(QStringLiteral("Label47"), "text", QStringLiteral("???"));
    add(QStringLiteral("Label62"), "text", QStringLiteral("zvanie"));
    add(QStringLiteral("Label63"), "text", QStringLiteral("tr"));
    add(QStringLiteral("Label64"), "text", QStringLiteral("vjsl"));
    add(QStringLiteral("Label22"), "text", QStringLiteral("       0 руб."));
}

void TestForm1::designTexts()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, property);
    QFETCH(QVariant, value);

    m_form = open(m_dir->path());
    QObject* object = m_form->findChild<QObject*>(name);
    QVERIFY(object != nullptr);
    QCOMPARE(object->property(property.constData()), value);
}

void TestForm1::normalLookColours()
{
    m_form = open(m_dir->path());
    const auto colour = [this](const QString& name) {
        auto* widget = child<QWidget>(name);
        return widget->autoFillBackground() ? widget->palette().color(widget->backgroundRole())
                                            : QColor();
    };
    QCOMPARE(colour(QStringLiteral("centralwidget")), Form1::pageGreen());
    QCOMPARE(colour(QStringLiteral("Label1")), Form1::pageGreen());
    QCOMPARE(colour(QStringLiteral("Check6")), Form1::pageGreen());
    QCOMPARE(colour(QStringLiteral("Label22")), Form1::amountTeal());
    QCOMPARE(colour(QStringLiteral("Label20")), Form1::amountTeal());
    QCOMPARE(colour(QStringLiteral("Label42")), Form1::amountTeal());
    QVERIFY(child<QLabel>(QStringLiteral("Label54"))->isHidden());
    QVERIFY(child<QLabel>(QStringLiteral("Label55"))->isHidden());
    QVERIFY(child<QLineEdit>(QStringLiteral("Txt1"))->isHidden());
    QVERIFY(child<QLabel>(QStringLiteral("Label62"))->isHidden());
}

// --- start-up ------------------------------------------------------------------------------

void TestForm1::splashHandsOverToTheMainWindow()
{
    Form10 splash(Form1::Setup{m_dir->path(), QDate(2010, 3, 15),
                               [this](const Message& message) { m_messages << message; }});
    splash.show();
    QCOMPARE(splash.timer1()->interval(), 5000);
    QVERIFY(splash.timer1()->isActive());
    QVERIFY(splash.mainWindow() == nullptr);

    fire(splash.timer1());

    QVERIFY(splash.mainWindow() != nullptr);
    QVERIFY(splash.mainWindow()->isVisible());
    QVERIFY(!splash.isVisible());
    QVERIFY(!splash.timer1()->isActive());
    QVERIFY(m_messages.isEmpty());
    // The splash is not kept in memory behind the main window: no native
    // window, no picture.
    QVERIFY(splash.windowHandle() == nullptr);
    const auto* picture = splash.findChild<QLabel*>(QStringLiteral("Picture1"));
    QVERIFY(picture != nullptr);
    QVERIFY(picture->pixmap().isNull());
}

// The main window is built while the splash shows, but nothing of loading
// happens before the hand-over: no salary file read, no message, no timer.
void TestForm1::splashBuildsTheMainWindowAndLoadsItAtTheHandOver()
{
    Form10 splash(Form1::Setup{m_dir->path() + QStringLiteral("/nowhere"), QDate(2010, 3, 15),
                               [this](const Message& message) { m_messages << message; }});
    QCOMPARE(splash.timer1()->timerType(), Qt::PreciseTimer);
    const auto prepared = [] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* form = qobject_cast<Form1*>(window))
                return form;
        return static_cast<Form1*>(nullptr);
    };
    splash.show();
    QTRY_VERIFY(prepared() != nullptr);

    Form1* form = prepared();
    QVERIFY(!form->isVisible());
    QVERIFY(!form->windowTitle().contains(QStringLiteral("2010")));
    QVERIFY(!form->timer(5)->isActive());
    QVERIFY(!form->timer(6)->isActive());
    QVERIFY(m_messages.isEmpty());
    QVERIFY(splash.mainWindow() == nullptr);

    fire(splash.timer1());

    QCOMPARE(splash.mainWindow(), form);
    QVERIFY(form->isVisible());
    QVERIFY(form->windowTitle().endsWith(QStringLiteral("    15.03.2010")));
    QCOMPARE(m_messages, QList<Message>{paycalc::dataFolderNotFound()});
    QVERIFY(form->timer(5)->isActive());

    // Loading runs once.
    form->load();
    QCOMPARE(m_messages.size(), 1);
}

void TestForm1::exitAndClosingEndTheProgram_data()
{
    QTest::addColumn<bool>("byMenu");
    QTest::newRow("Выход") << true;
    QTest::newRow("closing the window") << false;
}

void TestForm1::exitAndClosingEndTheProgram()
{
    QFETCH(bool, byMenu);

    m_form = open(m_dir->path());
    m_form->show();
    // Another window stays open: the program must end all the same.
    QWidget other;
    other.show();
    QTimer::singleShot(0, m_form.get(), [this, byMenu] {
        if (byMenu)
            m_form->action(QStringLiteral("mnuExit"))->trigger();
        else
            m_form->close();
    });
    QTimer giveUp;
    giveUp.setSingleShot(true);
    connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    giveUp.start(3000);
    QCOMPARE(QApplication::exec(), 0);
}

// The window may be built well before it loads (the splash builds it while it
// shows): the title, month and year are those of the moment of loading.
void TestForm1::loadingTakesTheDateOfLoading_data()
{
    QTest::addColumn<bool>("throughSplash");
    QTest::addColumn<QDate>("built");
    QTest::addColumn<QDate>("loaded");
    QTest::addColumn<QString>("titleEnd");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("lastYear");

    for (const bool splash : {false, true}) {
        const char* how = splash ? "splash" : "window";
        QTest::addRow("%s, before midnight", how)
            << splash << QDate(2010, 3, 15) << QDate(2010, 3, 16)
            << QStringLiteral("    16.03.2010") << QStringLiteral("Март") << QStringLiteral("2011");
        QTest::addRow("%s, New Year's Eve", how)
            << splash << QDate(2025, 12, 31) << QDate(2026, 1, 1)
            << QStringLiteral("    01.01.2026") << QStringLiteral("Январь")
            << QStringLiteral("2027");
    }
}

void TestForm1::loadingTakesTheDateOfLoading()
{
    QFETCH(bool, throughSplash);
    QFETCH(QDate, built);
    QFETCH(QDate, loaded);
    QFETCH(QString, titleEnd);
    QFETCH(QString, month);
    QFETCH(QString, lastYear);

    QDate today = built;
    Form1::Setup setup{m_dir->path(), [&today] { return today; },
                       [this](const Message& message) { m_messages << message; }};
    std::unique_ptr<Form10> splash;
    Form1* form = nullptr;
    if (throughSplash) {
        splash = std::make_unique<Form10>(setup);
        splash->show();
        // The main window is built while the splash shows.
        const auto built = [] {
            for (QWidget* window : QApplication::topLevelWidgets())
                if (qobject_cast<Form1*>(window) != nullptr)
                    return true;
            return false;
        };
        QTRY_VERIFY(built());
        today = loaded;
        fire(splash->timer1());
        form = splash->mainWindow();
        QVERIFY(form != nullptr);
    } else {
        m_form = std::make_unique<Form1>(setup, Form1::Unloaded{});
        today = loaded;
        m_form->load();
        form = m_form.get();
    }

    QVERIFY(m_messages.isEmpty());
    QCOMPARE(form->windowTitle(), QStringLiteral("   ~ Voldar ™   v.3.0  i ~") + titleEnd);
    auto* months = form->findChild<QComboBox*>(QStringLiteral("Combo15"));
    auto* years = form->findChild<QComboBox*>(QStringLiteral("Combo16"));
    QCOMPARE(months->currentText(), month);
    QCOMPARE(years->currentText(), QString::number(loaded.year()));
    QCOMPARE(years->itemText(years->count() - 1), lastYear);
    // The engine counts the same year items as the list shows.
    QVERIFY(form->engine().setSelection(paycalc::List::Combo16, years->count() - 1));
    QCOMPARE(years->currentText(), lastYear);
}

void TestForm1::tickerPaintsNothingWhileTheWindowIsAway_data()
{
    QTest::addColumn<bool>("minimize");
    QTest::newRow("hidden") << false;
    QTest::newRow("minimized") << true;
}

// The ticker moves on while nobody can see it, without painting; back on
// screen it shows the tail the ticker has reached.
void TestForm1::tickerPaintsNothingWhileTheWindowIsAway()
{
    QFETCH(bool, minimize);
    m_form = open(m_dir->path());
    m_form->resize(m_form->width(), 1400); // the ticker is in sight on a small screen
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    auto* const ticker = child<TickerBox>(QStringLiteral("txtR"));
    QTimer* const timer9 = m_form->timer(9);
    timer9->stop(); // the test makes every tick
    fire(timer9);
    const QString whole = ticker->text(); // the first tick shows the whole text
    PaintCounter counter;
    ticker->installEventFilter(&counter);

    if (minimize)
        m_form->showMinimized();
    else
        m_form->hide();
    QCoreApplication::processEvents();
    counter.paints = 0;
    for (int tick = 0; tick < 5; ++tick) {
        fire(timer9);
        QCoreApplication::processEvents();
    }
    QCOMPARE(counter.paints, 0);

    if (minimize)
        m_form->showNormal();
    else
        m_form->show();
    QCOMPARE(ticker->text(), whole.mid(5));
    QTRY_VERIFY(counter.paints > 0);

    // And it goes on from there.
    fire(timer9);
    QCOMPARE(ticker->text(), whole.mid(6));
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
