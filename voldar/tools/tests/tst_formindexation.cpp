#include "../../paycalc/tests/testfiles.h"
#include "paycalc/cp1251.h"
#include "paycalc/salaryfile.h"
#include "platform/titles.h"
#include "recordingdialogs.h"
#include "tools/formindexation.h"

#include <algorithm>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using paycalc::Message;
namespace salaryfile = paycalc::salaryfile;

namespace {

const QByteArray RankFile =
    paycalc::cp1251::encodeLines({u"Оклады по званиям"_s, u"1"_s, u"Рядовой (матрос)"_s, u"6659"_s,
                                  u"2"_s, u"Ефрейтор"_s, u"7324"_s, QString(), QString()});
const QByteArray PositionFile = paycalc::cp1251::encodeLines(
    {u"Оклады по разрядам"_s, u"1"_s, u"1 тарифный разряд"_s, u"13318"_s, QString(), QString()});

// The window on a Data folder of its own, its boxes recorded.
struct Window
{
    Window()
    {
        writeBytes(rank(), RankFile);
        writeBytes(position(), PositionFile);
    }
    ~Window() { delete form; }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    QString rank() const { return dir.filePath(u"Zvanie.Txt"_s); }
    QString position() const { return dir.filePath(u"Dolznost.Txt"_s); }
    bool unchanged() const
    {
        return readBytes(rank()) == RankFile && readBytes(position()) == PositionFile;
    }

    void open()
    {
        form = new tools::FormIndexation(dir.path(), nullptr, &dialogs);
        form->show();
    }
    template <typename T> T* child(const QString& name) const
    {
        T* found = form->findChild<T*>(name);
        if (found == nullptr)
            qFatal("no control %s", qPrintable(name));
        return found;
    }
    QLineEdit* percent() const { return child<QLineEdit>(u"PercentText"_s); }
    QLineEdit* date() const { return child<QLineEdit>(u"DateText"_s); }
    QTableWidget* table() const { return child<QTableWidget>(u"PreviewTable"_s); }
    QPushButton* applyButton() const { return child<QPushButton>(u"ApplyButton"_s); }
    QPushButton* restoreButton() const { return child<QPushButton>(u"RestoreButton"_s); }
    QString cell(int row, int column) const
    {
        const QTableWidgetItem* item = table()->item(row, column);
        return item != nullptr ? item->text() : u"<none>"_s;
    }
    // Typed key by key; text the test keyboard cannot type is inserted as a
    // whole, as an input method would.
    void type(QLineEdit* box, const QString& text) const
    {
        box->clear();
        const bool ascii =
            std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
        if (ascii)
            QTest::keyClicks(box, text);
        else
            box->insert(text);
    }

    QTemporaryDir dir;
    RecordingDialogs dialogs;
    QPointer<tools::FormIndexation> form;
};

} // namespace

class TestFormIndexation : public QObject
{
    Q_OBJECT

private slots:
    void previewFollowsThePercentage_data();
    void previewFollowsThePercentage();
    void applyThenRestoreThroughTheButtons();
    void refusedInputsChangeNothing_data();
    void refusedInputsChangeNothing();
    void unreadableFileIsShownAndRefused();
    void failedWriteIsReported();
};

void TestFormIndexation::previewFollowsThePercentage_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("indexed"); // the new-salary column, row by row

    QTest::newRow("comma") << u"7,6"_s << QStringList{u"7166"_s, u"7881"_s, u"14331"_s};
    QTest::newRow("point") << u"7.6"_s << QStringList{u"7166"_s, u"7881"_s, u"14331"_s};
    QTest::newRow("not yet a number") << u"7,"_s << QStringList{QString(), QString(), QString()};
    QTest::newRow("above 100") << u"150"_s << QStringList{QString(), QString(), QString()};
}

void TestFormIndexation::previewFollowsThePercentage()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, indexed);

    Window window;
    window.open();
    QCOMPARE(window.form->windowTitle(), QString::fromUtf16(titles::FormIndexation));
    QCOMPARE(window.date()->text(), QDate::currentDate().toString(u"dd.MM.yyyy"_s));
    const QString inForce = window.child<QLabel>(u"InForceLabel"_s)->text();
    QVERIFY2(inForce.contains(u"Оклады по званиям"_s) && inForce.contains(u"Оклады по разрядам"_s),
             qPrintable(inForce));

    QCOMPARE(window.table()->rowCount(), 3);
    QCOMPARE(window.cell(0, 0), u"Звания"_s);
    QCOMPARE(window.cell(0, 1), u"Рядовой (матрос)"_s);
    QCOMPARE(window.cell(2, 0), u"Должности"_s);
    QCOMPARE(window.cell(2, 2), u"13318"_s);
    QCOMPARE(window.cell(0, 3), QString());

    window.type(window.percent(), typed);
    for (int row = 0; row < 3; ++row)
        QCOMPARE(window.cell(row, 3), indexed[row]);
    QVERIFY(window.unchanged());
    QVERIFY(window.dialogs.messages.isEmpty());
}

void TestFormIndexation::applyThenRestoreThroughTheButtons()
{
    Window window;
    window.open();
    QVERIFY(!window.restoreButton()->isEnabled());

    window.type(window.percent(), u"7,6"_s);
    window.type(window.date(), u"01.10.2024"_s);
    QTest::mouseClick(window.applyButton(), Qt::LeftButton);
    QCOMPARE(window.dialogs.messages.size(), 1);
    QCOMPARE(window.dialogs.messages[0].icon, Message::Icon::Information);
    QCOMPARE(salaryfile::lookupSalary(window.rank(), 0), std::optional<double>(7166));
    QCOMPARE(salaryfile::lookupSalary(window.position(), 0), std::optional<double>(14331));

    // The table in force is shown, with nothing more to apply.
    QCOMPARE(window.percent()->text(), QString());
    QCOMPARE(window.cell(0, 2), u"7166"_s);
    QCOMPARE(window.cell(0, 3), QString());
    QVERIFY(window.child<QLabel>(u"InForceLabel"_s)->text().contains(u"01.10.2024"_s));
    QVERIFY(window.restoreButton()->isEnabled());

    QTest::mouseClick(window.restoreButton(), Qt::LeftButton);
    QCOMPARE(window.dialogs.messages.size(), 2);
    QCOMPARE(window.dialogs.messages[1].icon, Message::Icon::Information);
    QVERIFY(window.unchanged());
    QCOMPARE(window.cell(0, 2), u"6659"_s);
    QVERIFY(!window.restoreButton()->isEnabled());
}

void TestFormIndexation::refusedInputsChangeNothing_data()
{
    QTest::addColumn<QString>("percent");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("says");

    QTest::newRow("letters") << u"семь"_s << u"01.10.2024"_s << u"Процент"_s;
    QTest::newRow("above 100") << u"100,5"_s << u"01.10.2024"_s << u"Процент"_s;
    QTest::newRow("no such date") << u"7,6"_s << u"32.10.2024"_s << u"Дата"_s;
}

void TestFormIndexation::refusedInputsChangeNothing()
{
    QFETCH(QString, percent);
    QFETCH(QString, date);
    QFETCH(QString, says);

    Window window;
    window.open();
    window.type(window.percent(), percent);
    window.type(window.date(), date);
    window.applyButton()->click();
    QCOMPARE(window.dialogs.messages.size(), 1);
    QVERIFY(window.dialogs.messages[0].text.startsWith(says));
    QCOMPARE(window.dialogs.messages[0].icon, Message::Icon::Warning);
    QVERIFY(window.unchanged());
    QVERIFY(!QFileInfo::exists(window.dir.filePath(u"Archive"_s)));
    QCOMPARE(window.percent()->text(), percent);
    QVERIFY(!window.restoreButton()->isEnabled());
}

void TestFormIndexation::unreadableFileIsShownAndRefused()
{
    Window window;
    const QByteArray noEndMarker("H\r\n1\r\nA\r\n100\r\n");
    QVERIFY(writeBytes(window.position(), noEndMarker));
    window.open();
    QCOMPARE(window.table()->rowCount(), 0);
    QVERIFY(window.child<QLabel>(u"InForceLabel"_s)->text().contains(u"Dolznost.Txt"_s));

    window.type(window.percent(), u"7,6"_s);
    window.applyButton()->click();
    QCOMPARE(window.dialogs.messages.size(), 1);
    QCOMPARE(window.dialogs.messages[0].icon, Message::Icon::Error);
    QVERIFY(window.dialogs.messages[0].text.contains(u"Dolznost.Txt"_s));
    QCOMPARE(readBytes(window.rank()), RankFile);
    QCOMPARE(readBytes(window.position()), noEndMarker);
}

void TestFormIndexation::failedWriteIsReported()
{
    // A folder where the new position file is written first: root cannot
    // write there either.
    Window window;
    QVERIFY(QDir(window.dir.path()).mkpath(u"Dolznost.Txt.new"_s));
    window.open();
    window.type(window.percent(), u"7,6"_s);
    window.applyButton()->click();
    QCOMPARE(window.dialogs.messages.size(), 1);
    QCOMPARE(window.dialogs.messages[0].icon, Message::Icon::Error);
    QVERIFY(window.dialogs.messages[0].text.contains(u"Dolznost.Txt.new"_s));
    QVERIFY(window.unchanged());
    QVERIFY(!window.restoreButton()->isEnabled());
    QCOMPARE(window.cell(0, 3), u"7166"_s); // what was typed stays for another try
}

QTEST_MAIN(TestFormIndexation)
#include "tst_formindexation.moc"
