#include "payslip/savedcalculation.h"
#include "testfolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;
using paycalc::List;
using paycalc::Message;
using namespace payslip::test;

namespace {

const QByteArray TenEmptyLines = QByteArray("\r\n").repeated(10);

QByteArray withEmptyLines(const QByteArray& head, int lines)
{
    return head + QByteArray("\r\n").repeated(10 - lines);
}

Message saved()
{
    return {u"Данные сохранены"_s, u"Сохранение"_s, Message::Icon::Information};
}

Message loadFailed()
{
    return {u"Файл 'Save_log.txt' не найден!\rНажмите Ctrl+S для его создания"_s, u"Ошибка"_s,
            Message::Icon::Error};
}

} // namespace

class TestSavedCalculation : public QObject
{
    Q_OBJECT

private slots:
    void saveThenLoadGivesTheSameSheet();
    void fileHoldsTheMirrorsWithoutBlanks();
    void untouchedListsSaveEmptyLinesThatLoadAsNothing();
    void secondSaveReplacesTheFirst();
    void load_data();
    void load();
    void failedSaveKeepsTheOldFile_data();
    void failedSaveKeepsTheOldFile();
    void resetZeroesTheSheetButKeepsTheChoices();
};

void TestSavedCalculation::saveThenLoadGivesTheSameSheet()
{
    ProgramFolder folder;
    Sheet first(folder.data());
    const std::vector<std::pair<List, int>> choices = {
        {List::Combo1, 2}, {List::Combo2, 1}, {List::Combo3, 3},
        {List::Combo4, 1}, {List::Combo5, 2}, {List::Combo11, 1},
        {List::Combo7, 2}, {List::Combo8, 1}, {List::Combo9, 1}};
    for (const auto& [list, index] : choices)
        QVERIFY(first.engine.setSelection(list, index));
    QVERIFY(first.engine.sheet().TotalAccrued > 0);
    QCOMPARE(payslip::SavedCalculation(first.engine, folder.data()).save(), saved());

    Sheet second(folder.data());
    payslip::SavedCalculation loaded(second.engine, folder.data());
    QVERIFY(!loaded.load());
    QVERIFY(second.sink.messages.empty());

    for (int n = 1; n <= 10; ++n) {
        const auto mirror = static_cast<paycalc::Mirror>(n);
        QCOMPARE(second.engine.mirror(mirror), first.engine.mirror(mirror));
        QCOMPARE(second.engine.selectedIndex(paycalc::listOf(mirror)),
                 first.engine.selectedIndex(paycalc::listOf(mirror)));
    }
    const paycalc::PaySheet& a = first.engine.sheet();
    const paycalc::PaySheet& b = second.engine.sheet();
    QCOMPARE(b.RankSalary, a.RankSalary);
    QCOMPARE(b.PositionSalary, a.PositionSalary);
    QCOMPARE(b.FlightRaiseFactor, a.FlightRaiseFactor);
    QCOMPARE(b.LongServiceRate, a.LongServiceRate);
    QCOMPARE(b.ComplexityRate, a.ComplexityRate);
    QCOMPARE(b.SecrecyUnitRate, a.SecrecyUnitRate);
    QCOMPARE(b.CipherRate, a.CipherRate);
    QCOMPARE(b.StateSecretRate, a.StateSecretRate);
    QCOMPARE(b.SpecialConditionsRate, a.SpecialConditionsRate);
    QCOMPARE(b.TotalAccrued, a.TotalAccrued);
    QCOMPARE(second.engine.caption(paycalc::Label::Label23),
             first.engine.caption(paycalc::Label::Label23));
}

void TestSavedCalculation::fileHoldsTheMirrorsWithoutBlanks()
{
    ProgramFolder folder;
    Sheet sheet(folder.data());
    QVERIFY(sheet.engine.setSelection(List::Combo1, 3));
    QVERIFY(sheet.engine.setSelection(List::Combo9, 1)); // line 10
    QCOMPARE(sheet.engine.mirror(paycalc::Mirror::Txt1), u" 3"_s);

    payslip::SavedCalculation saved(sheet.engine, folder.data());
    QCOMPARE(saved.save().icon, Message::Icon::Information);
    QCOMPARE(readBytes(folder.data() + u"/Save_log.txt"),
             QByteArray("3\r\n") + QByteArray("\r\n").repeated(8) + "1\r\n");
}

void TestSavedCalculation::untouchedListsSaveEmptyLinesThatLoadAsNothing()
{
    ProgramFolder folder;
    Sheet sheet(folder.data());
    payslip::SavedCalculation saved(sheet.engine, folder.data());
    QCOMPARE(saved.save(), ::saved());
    QCOMPARE(readBytes(saved.filePath()), TenEmptyLines);

    QVERIFY(!saved.load());
    QCOMPARE(sheet.engine.selectedIndex(List::Combo1), -1);
    QCOMPARE(sheet.engine.mirror(paycalc::Mirror::Txt1), QString());
}

void TestSavedCalculation::secondSaveReplacesTheFirst()
{
    ProgramFolder folder;
    Sheet sheet(folder.data());
    payslip::SavedCalculation saved(sheet.engine, folder.data());
    QVERIFY(sheet.engine.setSelection(List::Combo1, 1));
    QVERIFY(sheet.engine.setSelection(List::Combo2, 2));
    saved.save();
    QVERIFY(sheet.engine.setSelection(List::Combo1, 0));
    QCOMPARE(saved.save(), ::saved());
    QCOMPARE(readBytes(saved.filePath()), withEmptyLines("0\r\n2\r\n", 2));
    // Only the file itself: no temporary file is left behind.
    QCOMPARE(QDir(folder.data()).entryList(QDir::Files),
             QStringList({u"Dolznost.Txt"_s, u"Save_log.txt"_s, u"Zvanie.Txt"_s}));
}

void TestSavedCalculation::load_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QList<int>>("indexes"); // Combo1, Combo2, Combo3 afterwards
    QTest::addColumn<bool>("fails");

    QTest::newRow("halves go to the even index")
        << true << withEmptyLines("2.5\r\n0.5\r\n3.5\r\n", 3) << QList<int>{2, 0, 4} << false;
    QTest::newRow("letters read as 0")
        << true << withEmptyLines("abc\r\nxyz\r\n", 2) << QList<int>{0, 0, -1} << false;
    QTest::newRow("blanks and trailing text")
        << true << withEmptyLines(" 1 \r\n2 items\r\n1,9\r\n", 3) << QList<int>{1, 2, 1} << false;
    QTest::newRow("empty line leaves its list")
        << true << withEmptyLines("\r\n\r\n5\r\n", 3) << QList<int>{-1, -1, 5} << false;
    QTest::newRow("line feeds alone")
        << true << QByteArray("1\n2\n3\n\n\n\n\n\n\n\n") << QList<int>{1, 2, 3} << false;
    QTest::newRow("bytes that are not text")
        << true << withEmptyLines(QByteArray("\xff\x98\r\n\x00\x81\r\n2\r\n", 11), 3)
        << QList<int>{0, 0, 2} << false;
    QTest::newRow("three lines apply, then the box")
        << true << QByteArray("1\r\n2\r\n3\r\n") << QList<int>{1, 2, 3} << true;
    QTest::newRow("index past the end stops the load")
        << true << withEmptyLines("1\r\n99\r\n2\r\n", 3) << QList<int>{1, -1, -1} << true;
    QTest::newRow("negative index")
        << true << withEmptyLines("-2\r\n", 1) << QList<int>{-1, -1, -1} << true;
    QTest::newRow("number beyond any index")
        << true << withEmptyLines("1e300\r\n", 1) << QList<int>{-1, -1, -1} << true;
    QTest::newRow("missing file") << false << QByteArray() << QList<int>{-1, -1, -1} << true;
    QTest::newRow("empty file changes nothing")
        << true << QByteArray() << QList<int>{-1, -1, -1} << false;
}

void TestSavedCalculation::load()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, content);
    QFETCH(QList<int>, indexes);
    QFETCH(bool, fails);

    ProgramFolder folder;
    Sheet sheet(folder.data());
    payslip::SavedCalculation saved(sheet.engine, folder.data());
    if (exists)
        QVERIFY(writeBytes(saved.filePath(), content));

    const std::optional<Message> box = saved.load();
    QCOMPARE(box.has_value(), fails);
    if (box)
        QCOMPARE(*box, loadFailed());
    QCOMPARE(sheet.engine.selectedIndex(List::Combo1), indexes[0]);
    QCOMPARE(sheet.engine.selectedIndex(List::Combo2), indexes[1]);
    QCOMPARE(sheet.engine.selectedIndex(List::Combo3), indexes[2]);
    QVERIFY(sheet.sink.messages.empty());
    // Loading never writes the file.
    QCOMPARE(readBytes(saved.filePath()), content);
}

void TestSavedCalculation::failedSaveKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("failure");
    QTest::newRow("no Data folder") << u"missing"_s;
    QTest::newRow("disk full") << u"full"_s;
    QTest::newRow("Save_log.txt is a folder") << u"folder"_s;
    QTest::newRow("read-only Data folder") << u"readonly"_s;
}

void TestSavedCalculation::failedSaveKeepsTheOldFile()
{
    QFETCH(QString, failure);

    ProgramFolder folder;
    Sheet sheet(folder.data());
    QVERIFY(sheet.engine.setSelection(List::Combo1, 3));
    QVERIFY(sheet.engine.setSelection(List::Combo2, 2));

    QString dataFolder = folder.data();
    const QByteArray old = "old\r\n";
    const QString path = dataFolder + u"/Save_log.txt";
    if (failure == u"missing")
        dataFolder = folder.path() + u"/NoData";
    else if (failure == u"folder")
        QVERIFY(QDir(folder.data()).mkdir(u"Save_log.txt"_s));
    else
        QVERIFY(writeBytes(path, old));
    const QStringList before = QDir(folder.data()).entryList(QDir::AllEntries | QDir::Hidden);

    Message box;
    {
        std::unique_ptr<FileSizeLimit> full;
        if (failure == u"full")
            full = std::make_unique<FileSizeLimit>(4);
        if (failure == u"readonly")
            QVERIFY(QFile::setPermissions(folder.data(), QFile::ReadOwner | QFile::ExeOwner));
        // Root writes into a read-only folder all the same; for root no new
        // file can be made at all.
        std::unique_ptr<NoNewFiles> noNewFiles;
        if (failure == u"readonly" && runningAsRoot()) {
            noNewFiles = std::make_unique<NoNewFiles>();
            QVERIFY(noNewFiles->isActive());
        }
        box = payslip::SavedCalculation(sheet.engine, dataFolder).save();
        QFile::setPermissions(folder.data(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QCOMPARE(box.icon, Message::Icon::Error);
    QCOMPARE(box.title, u"Ошибка"_s);
    QVERIFY2(box.text.contains(dataFolder + u"/Save_log.txt"), qPrintable(box.text));
    QVERIFY2(box.text.contains(u'\r'), "the reason follows the file name");
    if (failure == u"full")
        QVERIFY2(box.text.contains(u"диск заполнен"_s), qPrintable(box.text));
    if (failure != u"missing" && failure != u"folder")
        QCOMPARE(readBytes(path), old);
    QCOMPARE(QDir(folder.data()).entryList(QDir::AllEntries | QDir::Hidden), before);
}

void TestSavedCalculation::resetZeroesTheSheetButKeepsTheChoices()
{
    ProgramFolder folder;
    Sheet sheet(folder.data());
    QVERIFY(sheet.engine.setSelection(List::Combo1, 2));
    QVERIFY(sheet.engine.setSelection(List::Combo2, 1));
    sheet.engine.ModulUder();
    QVERIFY(sheet.engine.sheet().NetPay > 0);

    payslip::SavedCalculation(sheet.engine, folder.data()).reset();
    QCOMPARE(sheet.engine.sheet().NetPay, 0.0);
    QCOMPARE(sheet.engine.caption(paycalc::Label::Label41), u"       0 руб."_s);
    QCOMPARE(sheet.engine.selectedIndex(List::Combo1), 2);
    QCOMPARE(sheet.engine.mirror(paycalc::Mirror::Txt1), u" 2"_s);
}

QTEST_GUILESS_MAIN(TestSavedCalculation)
#include "tst_savedcalculation.moc"
