#include "form1fixture.h"
#include "mainwindow/form1.h"

#include <memory>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
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
    m_form = std::make_unique<Form1>(m_record.setup(m_dir->path()));
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
                                   u"mnuIndexation=Индексация окладов"_s}));
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

QTEST_MAIN(TestHistoryMenu)
#include "tst_historymenu.moc"
