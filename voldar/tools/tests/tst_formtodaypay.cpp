#include "../../paycalc/tests/testfiles.h"
#include "paycalc/cp1251.h"
#include "paycalc/todaypay.h"
#include "platform/titles.h"
#include "recordingdialogs.h"
#include "tools/formtodaypay.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
namespace todaypay = paycalc::todaypay;
using todaypay::Input;

namespace {

QByteArray rankFile(const QString& secondSalary)
{
    return paycalc::cp1251::encodeLines({u"Оклады по званиям"_s, u"1"_s, u"Рядовой"_s, u"6659"_s,
                                         u"2"_s, u"Ефрейтор"_s, secondSalary, QString(),
                                         QString()});
}
const QByteArray PositionFile = paycalc::cp1251::encodeLines(
    {u"Оклады по разрядам"_s, u"1"_s, u"1 тарифный разряд"_s, u"13318"_s, QString(), QString()});
const QString ShippedData = QStringLiteral(VOLDAR_DATA_DIR);
const QString Rules = QString::fromUtf16(todaypay::RulesFileName);

QString accessible(QWidget* widget, QAccessible::Text kind)
{
    return QAccessible::queryAccessibleInterface(widget)->text(kind);
}

// The window open on a Data folder with the shipped rules and a choices file
// of its own, its boxes recorded.
struct Window
{
    Window()
    {
        writeBytes(dir.filePath(u"Zvanie.Txt"_s), rankFile(u"7324"_s));
        writeBytes(dir.filePath(u"Dolznost.Txt"_s), PositionFile);
        QFile::copy(ShippedData + u'/' + Rules, dir.filePath(Rules));
        open();
    }
    ~Window() { delete form; }

    QString choices() const { return dir.filePath(u"config/todaypay.txt"_s); }
    void open()
    {
        delete form;
        form = new tools::FormTodayPay(
            dir.path(), choices(), [this] { return mainChoices; }, nullptr, &dialogs);
        form->show();
    }
    template <typename T> T* child(const QString& name) const
    {
        T* found = form->findChild<T*>(name);
        if (found == nullptr)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    // The inputs or the amount labels, in the engine's order.
    template <typename T> QList<T*> inOrder(const QString& group, const QString& pattern) const
    {
        return child<QWidget>(group)->findChildren<T*>(QRegularExpression(pattern));
    }
    QComboBox* rank() const { return child<QComboBox>(u"RankCombo"_s); }
    QComboBox* grade() const { return child<QComboBox>(u"GradeCombo"_s); }
    QLineEdit* years() const { return child<QLineEdit>(u"YearsText"_s); }
    void type(QLineEdit* box, const QString& text) const
    {
        box->clear();
        QTest::keyClicks(box, text);
    }

    // Every label shows what the engine reports for the choices shown.
    void compareWithEngine() const
    {
        todaypay::TodayPay pay(dir.path());
        const QList<QWidget*> inputs = inOrder<QWidget>(u"InputsGroup"_s, u"(Combo|Text|Check)$"_s);
        QCOMPARE(inputs.size(), todaypay::InputCount);
        for (int i = 0; i < todaypay::InputCount; ++i) {
            const auto input = static_cast<Input>(i);
            QCOMPARE(inputs[i]->accessibleName(), todaypay::caption(input));
            if (const auto* list = qobject_cast<QComboBox*>(inputs[i]))
                pay.setIndex(input, list->currentIndex());
            else if (const auto* box = qobject_cast<QLineEdit*>(inputs[i]))
                pay.setText(input, box->text());
            else
                pay.setChecked(input, static_cast<QCheckBox*>(inputs[i])->isChecked());
        }
        const QList<QLabel*> amounts =
            inOrder<QLabel>(u"AmountsGroup"_s, u"^Amount\\w+(?<!Caption)$"_s);
        QCOMPARE(amounts.size(), todaypay::AmountCount);
        for (int i = 0; i < todaypay::AmountCount; ++i) {
            const auto amount = static_cast<todaypay::Amount>(i);
            QCOMPARE(amounts[i]->text(), pay.text(amount));
            QCOMPARE(amounts[i]->toolTip(), pay.toolTip(amount));
            QCOMPARE(accessible(amounts[i], QAccessible::Name),
                     todaypay::caption(amount) + u", сумма");
            QCOMPARE(accessible(amounts[i], QAccessible::Description), pay.text(amount));
        }
        QCOMPARE(child<QLabel>(u"ProblemLabel"_s)->isVisible(), !pay.canCompute());
        QCOMPARE(child<QLabel>(u"ProblemLabel"_s)->text(), pay.problem());
    }
    QString rankSalary() const { return child<QLabel>(u"AmountRankSalary"_s)->text(); }

    QTemporaryDir dir;
    RecordingDialogs dialogs;
    std::pair<int, int> mainChoices{-1, -1};
    QPointer<tools::FormTodayPay> form;
};

} // namespace

class TestFormTodayPay : public QObject
{
    Q_OBJECT

private slots:
    void everyChangeRecomputesAndMarksARefusedBox();
    void choicesComeBackAfterAFailedSave();
    void wrongRulesFileIsShownUntilReloaded();
    void fitsTheSmallScreen();
};

void TestFormTodayPay::everyChangeRecomputesAndMarksARefusedBox()
{
    Window window;
    QCOMPARE(window.form->windowTitle(), QString::fromUtf16(titles::FormTodayPay));
    const QString footer = window.child<QLabel>(u"FooterLabel"_s)->text();
    QVERIFY2(footer.contains(u"Оклады по званиям"_s) && footer.contains(u"Оклады по разрядам"_s),
             qPrintable(footer));
    window.compareWithEngine();

    window.rank()->setCurrentIndex(1);
    window.grade()->setCurrentIndex(0);
    window.child<QCheckBox>(u"MaterialAidCheck"_s)->click();
    const QString range = window.years()->toolTip();
    QVERIFY2(range.contains(u"от"_s), qPrintable(range));
    window.type(window.years(), u"61"_s);
    QVERIFY(!window.years()->styleSheet().isEmpty());
    QCOMPARE(window.years()->toolTip(), range);
    window.compareWithEngine();

    window.type(window.years(), u"12"_s);
    QVERIFY(window.years()->styleSheet().isEmpty());
    QCOMPARE(window.rankSalary(), todaypay::amountText(7324));
    window.compareWithEngine();
    QVERIFY(window.dialogs.messages.isEmpty());
}

// Changes that fail to save are shown once, leave the old file whole and are
// saved with the next change.
void TestFormTodayPay::choicesComeBackAfterAFailedSave()
{
    Window window;
    window.mainChoices = {1, 0};
    QTest::mouseClick(window.child<QPushButton>(u"TakeFromMainButton"_s), Qt::LeftButton);
    const QByteArray kept = readBytes(window.choices());
    QVERIFY(!kept.isEmpty());
    {
        const FileSizeLimit fullDisk(kept.size() / 2);
        window.child<QCheckBox>(u"MaterialAidCheck"_s)->click();
        window.type(window.years(), u"1"_s);
    }
    QCOMPARE(window.dialogs.messages.size(), 1);
    QCOMPARE(window.dialogs.messages[0].icon, paycalc::Message::Icon::Error);
    QVERIFY(window.dialogs.messages[0].text.contains(u"todaypay.txt"_s));
    QCOMPARE(readBytes(window.choices()), kept);
    QCOMPARE(QDir(window.dir.filePath(u"config"_s)).entryList(QDir::Files | QDir::Hidden),
             QStringList{u"todaypay.txt"_s}); // nothing left beside it

    window.type(window.years(), u"12"_s);
    window.form->close();
    QTRY_VERIFY(window.form.isNull()); // closing deletes it
    window.open();
    QCOMPARE(window.rank()->currentIndex(), 1);
    QCOMPARE(window.grade()->currentIndex(), 0);
    QCOMPARE(window.years()->text(), u"12"_s);
    QVERIFY(window.child<QCheckBox>(u"MaterialAidCheck"_s)->isChecked());
    QCOMPARE(window.rankSalary(), todaypay::amountText(7324));
    QCOMPARE(window.dialogs.messages.size(), 1);
}

void TestFormTodayPay::wrongRulesFileIsShownUntilReloaded()
{
    Window window;
    const QString rulesPath = window.dir.filePath(Rules);
    const QByteArray rules = readBytes(rulesPath);
    QVERIFY(writeBytes(rulesPath, "no rule\r\n"));
    window.open();
    window.rank()->setCurrentIndex(1);
    const QString problem = window.child<QLabel>(u"ProblemLabel"_s)->text();
    QVERIFY2(problem.contains(Rules), qPrintable(problem));
    window.compareWithEngine();

    // Mended rules and a new rank table, read again as after an indexation.
    QVERIFY(writeBytes(rulesPath, rules));
    QVERIFY(writeBytes(window.dir.filePath(u"Zvanie.Txt"_s), rankFile(u"7881"_s)));
    window.form->reloadTables();
    QCOMPARE(window.rank()->currentIndex(), 1);
    QCOMPARE(window.rankSalary(), todaypay::amountText(7881));
    window.compareWithEngine();
}

// With the shipped tables' longest names and headings; a title bar and a
// panel take about 40 pixels of the 768.
void TestFormTodayPay::fitsTheSmallScreen()
{
    QTemporaryDir config;
    tools::FormTodayPay form(ShippedData, config.filePath(u"todaypay.txt"_s), {});
    form.show();
    QVERIFY(!form.findChild<QPushButton*>(u"TakeFromMainButton"_s)->isEnabled());
    for (const QSize size : {form.size(), form.sizeHint()})
        QVERIFY2(size.boundedTo({1366, 728}) == size,
                 qPrintable(u"%1 x %2"_s.arg(size.width()).arg(size.height())));
}

QTEST_MAIN(TestFormTodayPay)
#include "tst_formtodaypay.moc"
