#include "form1fixture.h"
#include "mainwindow/form1.h"
#include "paycalc/payengine.h"

#include <memory>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using namespace Qt::StringLiterals;

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

int shownMonths(QWidget* history)
{
    return history->findChild<QTableWidget*>(QStringLiteral("TableMonths"))->rowCount();
}

} // namespace

// The entries after the specified ones of "Дополнительно": the pay history
// and the indexation of the salary tables.
class TestHistoryMenu : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void entriesFollowTheSpecifiedOnes();
    void historyOpensAndFollowsTheSavedSlips();
    void indexationOpens();
    void indexedTablesAreInForceAtOnce();
    void todayPayOpensWithTheMainChoices();

private:
    QAction* action(const char* name) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    form1fixture::Recorder m_record;
    std::unique_ptr<Form1> m_form;
};

void TestHistoryMenu::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    form1fixture::writeSalaryFiles(m_dir->path());
    m_record = {};
    Form1::Setup setup = m_record.setup(m_dir->path());
    setup.todayPayChoices = m_dir->filePath(u"todaypay.txt"_s);
    m_form = std::make_unique<Form1>(std::move(setup));
}

void TestHistoryMenu::cleanup()
{
    m_form.reset();
    m_dir.reset();
}

QAction* TestHistoryMenu::action(const char* name) const
{
    QAction* entry = m_form->action(QString::fromLatin1(name));
    if (entry == nullptr)
        qFatal("no %s", name);
    return entry;
}

void TestHistoryMenu::entriesFollowTheSpecifiedOnes()
{
    QStringList entries;
    for (const QAction* entry : m_form->menu(QStringLiteral("test"))->actions())
        entries << entry->objectName() + u'=' + (entry->isSeparator() ? u"-"_s : entry->text());
    QCOMPARE(entries, (QStringList{u"nnn=Калькулятор"_s, u"visluga=Расчет выслуги"_s,
                                   u"Klava_Info=Информация о клавиатуре"_s, u"scroll=Прокрутка"_s,
                                   u"sepHistory=-"_s, u"mnuHistory=История выплат"_s,
                                   u"mnuIndexation=Индексация окладов"_s,
                                   u"mnuTodayPay=Расчёт по действующим правилам"_s}));
}

void TestHistoryMenu::historyOpensAndFollowsTheSavedSlips()
{
    action("mnuHistory")->trigger();
    const QList<QWidget*> first = shownWindows("payslip::FormHistory");
    QCOMPARE(first.size(), 1);
    QCOMPARE(first.first()->parentWidget(), m_form.get());
    QCOMPARE(shownMonths(first.first()), 0);

    // A slip saved while the history is on screen shows at once.
    action("rlist_save")->trigger();
    QCOMPARE(shownMonths(first.first()), 1);
    QCOMPARE(
        first.first()->findChild<QTableWidget*>(QStringLiteral("TableMonths"))->item(0, 0)->text(),
        QStringLiteral("Март 2010"));

    // Shown again, not made twice; hidden and shown again, it reads afresh.
    action("mnuHistory")->trigger();
    QCOMPARE(shownWindows("payslip::FormHistory"), first);
    first.first()->hide();
    QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("Lists/Март 2010.txt"))));
    action("mnuHistory")->trigger();
    QCOMPARE(shownWindows("payslip::FormHistory"), first);
    QCOMPARE(shownMonths(first.first()), 0);
}

void TestHistoryMenu::indexationOpens()
{
    action("mnuIndexation")->trigger();
    const QList<QWidget*> first = shownWindows("tools::FormIndexation");
    QCOMPARE(first.size(), 1);
    QCOMPARE(first.first()->parentWidget(), m_form.get());
    first.first()->hide();
    action("mnuIndexation")->trigger();
    QCOMPARE(shownWindows("tools::FormIndexation"), first);
}

// An indexation applied or undone is in the sheet at once: the chosen rank
// and grade keep their places and show the new salaries.
void TestHistoryMenu::indexedTablesAreInForceAtOnce()
{
    paycalc::PayEngine& engine = m_form->engine();
    QVERIFY(engine.setSelection(paycalc::List::Combo1, 1)); // 12000
    QVERIFY(engine.setSelection(paycalc::List::Combo2, 0)); // 20000
    const auto label = [this](const char* name) {
        return m_form->findChild<QLabel*>(QString::fromLatin1(name))->text().trimmed();
    };
    const QString accruedBefore = label("Label23");
    QCOMPARE(label("Label22"), u"12000 руб."_s);

    action("mnuIndexation")->trigger();
    QWidget* indexation = shownWindows("tools::FormIndexation").value(0);
    QVERIFY(indexation != nullptr);
    indexation->findChild<QLineEdit*>(u"PercentText"_s)->setText(u"7,6"_s);
    indexation->findChild<QPushButton*>(u"ApplyButton"_s)->click();
    QCOMPARE(m_record.questions.size(), 1);

    QCOMPARE(m_form->findChild<QComboBox*>(u"Combo1"_s)->currentText(), u"Сержант"_s);
    QCOMPARE(label("Label22"), u"12912 руб."_s);
    QCOMPARE(label("Label24"), u"21520 руб."_s);
    QVERIFY(label("Label23") != accruedBefore);

    indexation->findChild<QPushButton*>(u"RestoreButton"_s)->click();
    QCOMPARE(label("Label22"), u"12000 руб."_s);
    QCOMPARE(label("Label23"), accruedBefore);
}

void TestHistoryMenu::todayPayOpensWithTheMainChoices()
{
    QVERIFY(m_form->engine().setSelection(paycalc::List::Combo1, 1));
    action("mnuTodayPay")->trigger();
    QWidget* today = shownWindows("tools::FormTodayPay").value(0);
    QVERIFY(today != nullptr);
    QCOMPARE(today->parentWidget(), m_form.get());
    today->findChild<QPushButton*>(u"TakeFromMainButton"_s)->click();
    QCOMPARE(today->findChild<QComboBox*>(u"RankCombo"_s)->currentText(), u"Сержант"_s);
    QCOMPARE(today->findChild<QComboBox*>(u"GradeCombo"_s)->currentIndex(), -1);
}

QTEST_MAIN(TestHistoryMenu)
#include "tst_historymenu.moc"
