#include "../../paycalc/tests/testfiles.h"
#include "paycalc/cp1251.h"
#include "paycalc/indexation.h"
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
#include <QSignalSpy>
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
// Decimals past the kopeck count as written: 1000.004 at 7,6 % is 1077, not 1076.
const QByteArray PositionFile = paycalc::cp1251::encodeLines(
    {u"Оклады по разрядам"_s, u"1"_s, u"1 тарифный разряд"_s, u"1000.004"_s, QString(), QString()});

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
        changes.emplace(form.data(), &tools::FormIndexation::tablesChanged);
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
    QTableWidget* archive() const { return child<QTableWidget>(u"ArchiveList"_s); }
    QPushButton* applyButton() const { return child<QPushButton>(u"ApplyButton"_s); }
    QPushButton* restoreButton() const { return child<QPushButton>(u"RestoreButton"_s); }
    QString cell(int row, int column, const QTableWidget* in = nullptr) const
    {
        const QTableWidgetItem* item = (in != nullptr ? in : table())->item(row, column);
        return item != nullptr ? item->text() : u"<none>"_s;
    }
    int selectedArchiveRow() const
    {
        const auto ranges = archive()->selectedRanges();
        return ranges.isEmpty() ? -1 : ranges.constFirst().topRow();
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
    std::optional<QSignalSpy> changes; // tablesChanged
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

    QTest::newRow("comma") << u"7,6"_s << QStringList{u"7166"_s, u"7881"_s, u"1077"_s};
    QTest::newRow("point") << u"7.6"_s << QStringList{u"7166"_s, u"7881"_s, u"1077"_s};
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
    QCOMPARE(window.cell(2, 2), u"1000.004"_s);
    QCOMPARE(window.cell(0, 3), QString());

    window.type(window.percent(), typed);
    for (int row = 0; row < 3; ++row)
        QCOMPARE(window.cell(row, 3), indexed[row]);
    QCOMPARE(readBytes(window.rank()), RankFile);
    QVERIFY(window.dialogs.messages.isEmpty());
}

void TestFormIndexation::applyThenRestoreThroughTheButtons()
{
    Window window;
    window.open();
    QVERIFY(!window.restoreButton()->isEnabled());
    QCOMPARE(window.archive()->rowCount(), 0);

    window.type(window.percent(), u"7,6"_s);
    window.type(window.date(), u"01.10.2024"_s);
    // "No" changes nothing; "Yes" indexes.
    window.dialogs.replies = {false, true};
    QTest::mouseClick(window.applyButton(), Qt::LeftButton);
    QVERIFY(window.unchanged() && window.dialogs.messages.isEmpty());
    QTest::mouseClick(window.applyButton(), Qt::LeftButton);
    QCOMPARE(window.dialogs.asked.size(), 2);
    QCOMPARE(window.dialogs.asked[1].text,
             u"Оклады по званиям и должностям будут повышены на 7,6 % с 01.10.2024.\r"
             u"Прежние оклады будут сохранены в архиве. Продолжить?"_s);
    QCOMPARE(window.dialogs.asked[1].icon, Message::Icon::Question);
    QCOMPARE(window.dialogs.messages.size(), 1);
    QCOMPARE(window.dialogs.messages[0].icon, Message::Icon::Information);
    QCOMPARE(window.changes->count(), 1);
    QCOMPARE(salaryfile::lookupSalary(window.position(), 0), std::optional<double>(1077));
    const QByteArray indexedRank = readBytes(window.rank());

    // The table in force is shown, nothing more to apply; the pair replaced is offered.
    QCOMPARE(window.percent()->text(), QString());
    QCOMPARE(window.cell(0, 2), u"7166"_s);
    QVERIFY(window.child<QLabel>(u"InForceLabel"_s)->text().contains(u"01.10.2024"_s));
    QCOMPARE(window.archive()->rowCount(), 1);
    QCOMPARE(window.cell(0, 1, window.archive()), u"Оклады по званиям"_s);
    QCOMPARE(window.cell(0, 2, window.archive()), u"Оклады по разрядам"_s);
    QCOMPARE(window.selectedArchiveRow(), 0);
    QVERIFY(window.restoreButton()->isEnabled());

    // The restore lists the pair it replaces on top, so the row is read first.
    const QString changedAt = window.cell(0, 0, window.archive());
    window.dialogs.replies = {false, true};
    QTest::mouseClick(window.restoreButton(), Qt::LeftButton);
    QCOMPARE(readBytes(window.rank()), indexedRank);
    QCOMPARE(window.changes->count(), 1);
    QTest::mouseClick(window.restoreButton(), Qt::LeftButton);
    QCOMPARE(window.dialogs.asked.size(), 4);
    const QString restoring = window.dialogs.asked[3].text;
    QVERIFY2(restoring.contains(changedAt) && restoring.contains(u"Звания: Оклады по званиям"_s) &&
                 restoring.contains(u"Должности: Оклады по разрядам"_s),
             qPrintable(restoring));
    QCOMPARE(window.dialogs.messages.size(), 2);
    QCOMPARE(window.dialogs.messages[1].icon, Message::Icon::Information);
    QCOMPARE(window.changes->count(), 2);
    QVERIFY(window.unchanged());
    QCOMPARE(window.cell(0, 2), u"6659"_s);
}

void TestFormIndexation::refusedInputsChangeNothing_data()
{
    QTest::addColumn<QString>("percent");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("says");

    QTest::newRow("letters") << u"семь"_s << u"01.10.2024"_s << u"Процент"_s;
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
    QVERIFY(window.dialogs.asked.isEmpty());
}

void TestFormIndexation::unreadableFileIsShownAndRefused()
{
    // An indexation, and then the position file is damaged.
    Window window;
    QVERIFY(paycalc::indexation::Indexer(window.dir.path()).apply(u"7,6", u"01.10.2024").done);
    const QByteArray rank = readBytes(window.rank());
    const QByteArray noEndMarker("H\r\n1\r\nA\r\n100\r\n");
    QVERIFY(writeBytes(window.position(), noEndMarker));
    window.open();
    QCOMPARE(window.table()->rowCount(), 0);
    QVERIFY(window.child<QLabel>(u"InForceLabel"_s)->text().contains(u"Dolznost.Txt"_s));

    window.type(window.percent(), u"7,6"_s);
    window.applyButton()->click();
    QVERIFY(window.dialogs.asked.isEmpty());
    QCOMPARE(window.dialogs.messages.size(), 1);
    QCOMPARE(window.dialogs.messages[0].icon, Message::Icon::Error);
    QVERIFY(window.dialogs.messages[0].text.contains(u"Dolznost.Txt"_s));
    QCOMPARE(readBytes(window.rank()), rank);
    QCOMPARE(readBytes(window.position()), noEndMarker);

    QVERIFY(window.restoreButton()->isEnabled());
    window.restoreButton()->click();
    QCOMPARE(window.dialogs.messages.size(), 2);
    QCOMPARE(window.dialogs.messages[1].icon, Message::Icon::Information);
    QVERIFY(window.unchanged());
    QCOMPARE(window.table()->rowCount(), 3);
    QCOMPARE(window.changes->count(), 1);
    // The damaged pair is kept and listed, but not offered.
    QCOMPARE(window.archive()->rowCount(), 2);
    QVERIFY2(window.cell(0, 3, window.archive()).contains(u"нет строк конца списка"_s),
             qPrintable(window.cell(0, 3, window.archive())));
    QCOMPARE(window.selectedArchiveRow(), 1);
    window.archive()->selectRow(0);
    QVERIFY(!window.restoreButton()->isEnabled());
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
    QCOMPARE(window.changes->count(), 0);
}

QTEST_MAIN(TestFormIndexation)
#include "tst_formindexation.moc"
