#include "form1fixture.h"
#include "mainwindow/form1.h"
#include "paycalc/controls.h"

#include <memory>
#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString accessibleText(QWidget* widget, QAccessible::Text kind)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face != nullptr ? face->text(kind) : QStringLiteral("<not accessible>");
}

// The place of a control on the sheet, in the window's coordinates.
QRect placeOnSheet(const QWidget* widget, const QWidget* form)
{
    return {widget->mapTo(form, QPoint(0, 0)), widget->size()};
}

// A reader's eye goes from `from` to `to` when `to` lies further right on the
// same line (the two overlap in height) or on a later line.
bool readsOnTo(const QRect& from, const QRect& to)
{
    const bool sameLine = to.top() <= from.bottom() && from.top() <= to.bottom();
    return sameLine ? to.left() > from.right() : to.top() > from.bottom();
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void controlIsAnnouncedByItsRowCaption_data();
    void controlIsAnnouncedByItsRowCaption();
    void everyControlOfTheSheetHasItsOwnName();
    void everyNamedControlIsFoundUnderItsName();
    void chosenItemAndAmountStayAudible();
    void tabRunsTopToBottom();

private:
    template <class T> T* child(const QString& name) const
    {
        T* found = m_form->findChild<T*>(name);
        if (found == nullptr)
            qFatal("no %s", qUtf8Printable(name));
        return found;
    }
    void choose(const QString& list, int index);
    QList<QWidget*> sheetControls() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    form1fixture::Recorder m_record;
    std::unique_ptr<Form1> m_form;
};

void TestAccessibility::initTestCase()
{
    QLocale::setDefault(QLocale::c());
}

void TestAccessibility::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    form1fixture::writeSalaryFiles(m_dir->path());
    m_record = {};
    m_form = std::make_unique<Form1>(m_record.setup(m_dir->path()));
    QVERIFY(m_record.messages.isEmpty());
}

void TestAccessibility::cleanup()
{
    m_form.reset();
    m_dir.reset();
}

void TestAccessibility::choose(const QString& list, int index)
{
    auto* combo = child<QComboBox>(list);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

// The lists, boxes, buttons and amount labels that the user sees on the sheet
// (not the hidden index mirrors and hand-over labels).
QList<QWidget*> TestAccessibility::sheetControls() const
{
    QList<QWidget*> controls;
    for (QWidget* widget : m_form->centralWidget()->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(m_form.get()))
            continue;
        const QString role = widget->property("role").toString();
        const bool amount = qobject_cast<QLabel*>(widget) != nullptr &&
                            (role == u"amount" || role == u"fixedAmount");
        if (amount || qobject_cast<QComboBox*>(widget) || qobject_cast<QAbstractButton*>(widget) ||
            (qobject_cast<QLineEdit*>(widget) && !qobject_cast<QComboBox*>(widget->parent())))
            controls << widget;
    }
    return controls;
}

void TestAccessibility::controlIsAnnouncedByItsRowCaption_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");

    const auto row = [](const char* control, const QString& name) {
        QTest::newRow(control) << QString::fromLatin1(control) << name;
    };
    row("Combo1", QStringLiteral("Оклад по ВОИНСКОМУ ЗВАНИЮ"));
    row("Label22", QStringLiteral("Оклад по ВОИНСКОМУ ЗВАНИЮ, сумма"));
    row("Combo13", QStringLiteral("Подоходный налог - 13%, доход за год"));
    row("Combo14", QStringLiteral("Подоходный налог - 13%, количество детей"));
    row("Combo15", QStringLiteral("Месяц расчетного листка"));
    row("Check6", QStringLiteral("Начислить Премию"));
    row("Text5", QStringLiteral("Прочие надбавки и выплаты (введите сумму в рублях)"));
}

// A list is announced by its row, not by the item it shows (which is what a
// list says by itself here), a label by its row, not by its amount.
void TestAccessibility::controlIsAnnouncedByItsRowCaption()
{
    QFETCH(QString, control);
    QFETCH(QString, name);

    choose(QStringLiteral("Combo1"), 1);
    choose(QStringLiteral("Combo13"), 0);
    form1fixture::fire(m_form->timer(6));
    QCOMPARE(accessibleText(child<QWidget>(control), QAccessible::Name), name);
}

void TestAccessibility::everyControlOfTheSheetHasItsOwnName()
{
    QHash<QString, QString> owners;
    const QList<QWidget*> controls = sheetControls();
    QVERIFY(controls.size() > 50);
    for (QWidget* control : controls) {
        const QString name = accessibleText(control, QAccessible::Name);
        QVERIFY2(!name.trimmed().isEmpty(), qPrintable(control->objectName()));
        QVERIFY2(name == name.simplified(), qPrintable(name));
        if (qobject_cast<QLabel*>(control))
            QVERIFY2(name.endsWith(u", сумма"), qPrintable(name));
        QVERIFY2(!owners.contains(name), qPrintable(name + u" also " + owners.value(name)));
        owners.insert(name, control->objectName());
    }
}

// Walking the window's accessibility tree, as a screen reader does, meets
// every control of the table under its name.
void TestAccessibility::everyNamedControlIsFoundUnderItsName()
{
    // A row caption reads like the name of its list: one name, two objects.
    QMultiHash<QString, QString> found;
    QList<QAccessibleInterface*> pending{QAccessible::queryAccessibleInterface(m_form.get())};
    while (!pending.isEmpty()) {
        QAccessibleInterface* face = pending.takeLast();
        if (face == nullptr)
            continue;
        if (face->object() != nullptr)
            found.insert(face->text(QAccessible::Name), face->object()->objectName());
        for (int i = 0; i < face->childCount(); ++i)
            pending << face->child(i);
    }
    for (const paycalc::AccessibleName& entry : paycalc::accessibleNames()) {
        const QString name = entry.name.toString();
        QVERIFY2(found.values(name).contains(entry.objectName.toString()),
                 qPrintable(entry.objectName.toString() + u": " + name));
    }
}

// The name says which list or amount a control is; the chosen item and the
// amount itself go with it.
void TestAccessibility::chosenItemAndAmountStayAudible()
{
    auto* rank = child<QLabel>(QStringLiteral("Label22"));
    auto* ranks = child<QComboBox>(QStringLiteral("Combo1"));
    QCOMPARE(accessibleText(rank, QAccessible::Description), rank->text());
    QCOMPARE(accessibleText(ranks, QAccessible::Value), QString());

    choose(QStringLiteral("Combo1"), 1);
    QCOMPARE(rank->text(), QStringLiteral("       12000 руб."));
    QCOMPARE(accessibleText(rank, QAccessible::Description), rank->text());
    QCOMPARE(accessibleText(ranks, QAccessible::Value), QStringLiteral("Сержант"));
    QCOMPARE(accessibleText(ranks, QAccessible::Description), QStringLiteral("Сержант"));
    QCOMPARE(QAccessible::queryAccessibleInterface(ranks)->role(), QAccessible::ComboBox);
}

// Tab goes through the sheet as a reader's eye does: along a line from left
// to right, then down to the next line, through every control once.
void TestAccessibility::tabRunsTopToBottom()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));

    QList<QWidget*> focusable;
    for (QWidget* control : sheetControls())
        if (control->focusPolicy() & Qt::TabFocus)
            focusable << control;
    // The chain is a ring: it is read from the control at the top left.
    std::sort(focusable.begin(), focusable.end(), [this](QWidget* a, QWidget* b) {
        const QRect first = placeOnSheet(a, m_form.get());
        const QRect second = placeOnSheet(b, m_form.get());
        return std::pair(first.top(), first.left()) < std::pair(second.top(), second.left());
    });
    QVERIFY(focusable.size() > 25);

    QList<QWidget*> chain{focusable.first()};
    for (QWidget* next = chain.first()->nextInFocusChain(); next != chain.first();
         next = next->nextInFocusChain())
        if (focusable.contains(next))
            chain << next;
    QCOMPARE(chain.size(), focusable.size());

    for (qsizetype i = 1; i < chain.size(); ++i) {
        const QRect from = placeOnSheet(chain[i - 1], m_form.get());
        const QRect to = placeOnSheet(chain[i], m_form.get());
        QVERIFY2(readsOnTo(from, to),
                 qPrintable(chain[i - 1]->objectName() + u" -> " + chain[i]->objectName()));
    }
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
