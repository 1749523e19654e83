#include "paycalc/cp1251.h"
#include "paycalc/indexation.h"
#include "paycalc/salaryfile.h"
#include "testfiles.h"

#include <csignal>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <sys/resource.h>

using namespace Qt::StringLiterals;
namespace indexation = paycalc::indexation;
namespace salaryfile = paycalc::salaryfile;
using paycalc::Message;

namespace {

const QByteArray RankFile = paycalc::cp1251::encodeLines(
    {u"Оклады по воинским званиям, руб. в месяц"_s, u"1"_s, u"Рядовой (матрос)"_s, u"6659"_s,
     u"2"_s, u"Ефрейтор"_s, u"7324"_s, u"3"_s, u"Капитан"_s, u"26636.50"_s, u"конец"_s, QString(),
     u"после конца"_s});
const QByteArray PositionFile = paycalc::cp1251::encodeLines(
    {u"Разряды"_s, u"1"_s, u"1 тарифный разряд"_s, u"13318"_s, u"2"_s, u"2 тарифный разряд"_s,
     u"5000"_s, QString(), QString(), QString(300, u'ш')});
// Stands for a file that is not there.
const QByteArray Missing = "<missing>";

// A Data folder with the two salary files above and a clock of its own.
struct DataFolder
{
    DataFolder()
    {
        writeBytes(rank(), RankFile);
        writeBytes(position(), PositionFile);
    }

    QString path() const { return m_dir.path(); }
    QString rank() const { return m_dir.filePath(u"Zvanie.Txt"_s); }
    QString position() const { return m_dir.filePath(u"Dolznost.Txt"_s); }
    QString archive() const { return m_dir.filePath(u"Archive"_s); }
    bool unchanged() const
    {
        return readBytes(rank()) == RankFile && readBytes(position()) == PositionFile;
    }
    // Files in the archive and temporary files left in Data.
    QStringList leftovers() const
    {
        return QDir(archive()).entryList(QDir::Files) +
               QDir(path()).entryList({u"*.new"_s}, QDir::AllEntries | QDir::System);
    }
    indexation::Indexer indexer() const
    {
        return indexation::Indexer(path(), [this] { return clock; });
    }

    QTemporaryDir m_dir;
    QDateTime clock{QDate(2024, 10, 1), QTime(12, 30, 45, 123)};
};

} // namespace

class TestIndexation : public QObject
{
    Q_OBJECT

private slots:
    void roundsUpToTheRouble_data();
    void roundsUpToTheRouble();
    void readsThePercentage_data();
    void readsThePercentage();
    void readsTheDate_data();
    void readsTheDate();
    void applyRewritesBothFilesForTheReader();
    void applyKeepsThePreviousPairInTheArchive();
    void everyChangeCanBeUndoneByteForByte();
    void restoreReplacesMissingOrDamagedTables_data();
    void restoreReplacesMissingOrDamagedTables();
    void headingNamesTheSourceTable();
    void refusalsChangeNothing_data();
    void refusalsChangeNothing();
    void writeFailureLeavesBothFiles_data();
    void writeFailureLeavesBothFiles();
    void failedSecondReplacementRollsBackTheFirst_data();
    void failedSecondReplacementRollsBackTheFirst();
    void anyFileIsRefusedOrReadsBackAsIndexed();
    void shippedTablesAtSevenPointSix();
    void largestTablesAreIndexedAtOnce();
};

void TestIndexation::roundsUpToTheRouble_data()
{
    QTest::addColumn<double>("salary");
    QTest::addColumn<int>("percent");
    QTest::addColumn<qint64>("roubles");
    QTest::addColumn<QString>("shown"); // the salary as the preview shows it

    QTest::newRow("6659 at 7,6") << 6659.0 << 760 << qint64(7166) << u"6659"_s;
    QTest::newRow("exact 5000 at 7,6") << 5000.0 << 760 << qint64(5380) << u"5000"_s;
    // 100 * 1.07 is 107.00000000000001 in binary floating point.
    QTest::newRow("exact 100 at 7") << 100.0 << 700 << qint64(107) << u"100"_s;
    QTest::newRow("kopecks 26636.50 at 7,6") << 26636.5 << 760 << qint64(28661) << u"26636.50"_s;
    QTest::newRow("a hundredth of a percent") << 6659.0 << 1 << qint64(6660) << u"6659"_s;
    QTest::newRow("hundred percent doubles") << 6659.0 << 10000 << qint64(13318) << u"6659"_s;
    QTest::newRow("zero stays zero") << 0.0 << 760 << qint64(0) << u"0"_s;
    QTest::newRow("largest salary")
        << indexation::MaxSalary << 10000 << qint64(2'000'000'000) << u"1000000000"_s;
    // Decimals past the kopeck count as written: not rounded to 1000.00 first.
    QTest::newRow("thousandths 1000.004 at 10")
        << 1000.004 << 1000 << qint64(1101) << u"1000.004"_s;
    // 0.8 is 0.8000000000000000444 in binary; as written, 1.25 times it is 1.
    QTest::newRow("exact 0.8 at 25") << 0.8 << 2500 << qint64(1) << u"0.80"_s;
    QTest::newRow("a tiny fraction rounds up to a rouble")
        << 1e-27 << 760 << qint64(1) << QString(u"0." + QString(26, u'0') + u'1');
}

void TestIndexation::roundsUpToTheRouble()
{
    QFETCH(double, salary);
    QFETCH(int, percent);
    QFETCH(qint64, roubles);
    QFETCH(QString, shown);
    QCOMPARE(indexation::indexedRoubles(salary, percent), roubles);
    QCOMPARE(indexation::salaryText(salary), shown);
}

void TestIndexation::readsThePercentage_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("hundredths"); // 0: refused
    QTest::addColumn<QString>("shown");

    QTest::newRow("comma") << u"7,6"_s << 760 << u"7,6"_s;
    QTest::newRow("point") << u"7.6"_s << 760 << u"7,6"_s;
    QTest::newRow("blanks and percent sign") << u" 7,6 % "_s << 760 << u"7,6"_s;
    QTest::newRow("whole") << u"10"_s << 1000 << u"10"_s;
    QTest::newRow("two decimals") << u"7,05"_s << 705 << u"7,05"_s;
    QTest::newRow("smallest") << u"0,01"_s << 1 << u"0,01"_s;
    QTest::newRow("hundred") << u"100"_s << 10000 << u"100"_s;
    QTest::newRow("empty") << QString() << 0 << QString();
    QTest::newRow("not a number") << u"семь"_s << 0 << QString();
    QTest::newRow("zero") << u"0"_s << 0 << QString();
    QTest::newRow("zero with decimals") << u"0,00"_s << 0 << QString();
    QTest::newRow("negative") << u"-5"_s << 0 << QString();
    QTest::newRow("above hundred") << u"100,01"_s << 0 << QString();
    QTest::newRow("three decimals") << u"7,655"_s << 0 << QString();
    QTest::newRow("two separators") << u"7,6,1"_s << 0 << QString();
    QTest::newRow("exponent") << u"1e1"_s << 0 << QString();
    QTest::newRow("blank inside") << u"7 6"_s << 0 << QString();
    QTest::newRow("non-latin digits") << u"٧"_s << 0 << QString();
}

void TestIndexation::readsThePercentage()
{
    QFETCH(QString, text);
    QFETCH(int, hundredths);
    QFETCH(QString, shown);
    const std::optional<int> percent = indexation::parsePercent(text);
    QCOMPARE(percent.value_or(0), hundredths);
    if (percent)
        QCOMPARE(indexation::percentText(*percent), shown);
}

void TestIndexation::readsTheDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date"); // invalid: refused

    QTest::newRow("day.month.year") << u"01.10.2024"_s << QDate(2024, 10, 1);
    QTest::newRow("short day and month") << u" 1.10.2024 "_s << QDate(2024, 10, 1);
    QTest::newRow("leap day") << u"29.02.2024"_s << QDate(2024, 2, 29);
    QTest::newRow("no such day") << u"29.02.2023"_s << QDate();
    QTest::newRow("month 13") << u"01.13.2024"_s << QDate();
    QTest::newRow("iso order") << u"2024-10-01"_s << QDate();
    QTest::newRow("two-digit year") << u"1.10.24"_s << QDate();
    QTest::newRow("empty") << QString() << QDate();
    QTest::newRow("words") << u"первое октября"_s << QDate();
}

void TestIndexation::readsTheDate()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QCOMPARE(indexation::parseDate(text).value_or(QDate()), date);
}

void TestIndexation::applyRewritesBothFilesForTheReader()
{
    DataFolder data;
    const indexation::Outcome outcome = data.indexer().apply(u"7,6", u"01.10.2024");
    QVERIFY2(outcome.done, qPrintable(outcome.message.text));
    QCOMPARE(outcome.message.icon, Message::Icon::Information);

    // Names, numbers, end marker and the line after it stay; CR LF throughout.
    const QByteArray rank = readBytes(data.rank());
    QVERIFY(!rank.contains("\n\n") && rank.count('\n') == rank.count("\r\n"));
    const QStringList lines = paycalc::cp1251::decode(rank).split(u"\r\n"_s);
    QCOMPARE(lines.mid(1), (QStringList{u"1"_s, u"Рядовой (матрос)"_s, u"7166"_s, u"2"_s,
                                        u"Ефрейтор"_s, u"7881"_s, u"3"_s, u"Капитан"_s, u"28661"_s,
                                        u"конец"_s, QString(), u"после конца"_s, QString()}));
    QVERIFY(lines[0].contains(u"01.10.2024"_s));
    QVERIFY(lines[0].contains(u"7,6 %"_s));

    // The program's own reader sees the new salaries.
    QCOMPARE(salaryfile::readNames(data.rank()).names,
             (QStringList{u"Рядовой (матрос)"_s, u"Ефрейтор"_s, u"Капитан"_s}));
    QCOMPARE(salaryfile::lookupSalary(data.rank(), 0), std::optional<double>(7166));
    QCOMPARE(salaryfile::lookupSalary(data.position(), 0), std::optional<double>(14331));
    QCOMPARE(salaryfile::lookupSalary(data.position(), 1), std::optional<double>(5380));
    QVERIFY(salaryfile::readNames(data.position()).ok);
}

void TestIndexation::applyKeepsThePreviousPairInTheArchive()
{
    DataFolder data;
    QVERIFY(data.indexer().archivedPairs().isEmpty());
    QVERIFY(data.indexer().apply(u"7.6", u"01.10.2024").done);

    const QString stamp = u"2024-10-01_12-30-45-123"_s;
    QCOMPARE(QDir(data.archive()).entryList(QDir::Files, QDir::Name),
             (QStringList{u"Dolznost_"_s + stamp + u".Txt", u"Zvanie_"_s + stamp + u".Txt"}));
    QCOMPARE(readBytes(data.archive() + u"/Zvanie_" + stamp + u".Txt"), RankFile);
    QCOMPARE(readBytes(data.archive() + u"/Dolznost_" + stamp + u".Txt"), PositionFile);
    QVERIFY(QDir(data.path()).entryList({u"*.new"_s}).isEmpty());
}

void TestIndexation::everyChangeCanBeUndoneByteForByte()
{
    // A pair an earlier version kept when restoring, then two indexations; the
    // clock stands still, yet the archive names are distinct and in order.
    DataFolder data;
    const QByteArray legacyRank = QByteArray(RankFile).replace("6659", "6000");
    const QString legacy = u"2024-01-01_00-00-00-000_replaced"_s;
    QVERIFY(QDir().mkpath(data.archive()));
    QVERIFY(writeBytes(data.archive() + u"/Zvanie_" + legacy + u".Txt", legacyRank));
    QVERIFY(writeBytes(data.archive() + u"/Dolznost_" + legacy + u".Txt", PositionFile));
    const indexation::Indexer indexer = data.indexer();
    QVERIFY(indexer.apply(u"5", u"01.10.2023").done);
    const QByteArray first = readBytes(data.rank());
    QVERIFY(indexer.apply(u"7,6", u"01.10.2024").done);
    QCOMPARE(salaryfile::lookupSalary(data.rank(), 0), std::optional<double>(7524)); // 6992*1.076
    const QByteArray second = readBytes(data.rank());

    // Undo, then undo the undo; the pairs restored from stay.
    QVERIFY(indexer.restore(indexer.archivedPairs().constFirst().key).done);
    QCOMPARE(readBytes(data.rank()), first);
    QVERIFY(indexer.restore(indexer.archivedPairs().constFirst().key).done);
    QCOMPARE(readBytes(data.rank()), second);
    const QList<indexation::ArchivedPair> pairs = indexer.archivedPairs();
    QCOMPARE(pairs.size(), 5);
    QCOMPARE(pairs[4].key, legacy);
    QVERIFY(indexer.restore(legacy).done);
    QCOMPARE(readBytes(data.rank()), legacyRank);
    QVERIFY(indexer.restore(pairs[3].key).done);
    QVERIFY(data.unchanged());

    for (const QString& key : {u"2024-10-01_12-30-45-999"_s, u"../Zvanie"_s}) {
        QVERIFY(!indexer.restore(key).done);
        QVERIFY(data.unchanged());
    }
}

void TestIndexation::restoreReplacesMissingOrDamagedTables_data()
{
    // The files in force; Missing: no such file. `says`: why the pair they
    // make cannot be restored in turn; empty: there is nothing to archive.
    QTest::addColumn<QByteArray>("rank");
    QTest::addColumn<QByteArray>("position");
    QTest::addColumn<QString>("says");

    QTest::newRow("rank file missing")
        << Missing << PositionFile << u"в архиве нет файла Zvanie_2024-10-01_12-31-45-123.Txt"_s;
    QTest::newRow("both missing") << Missing << Missing << QString();
    QTest::newRow("binary rank file, empty position file")
        << QByteArray("\x00\xff\r\n\x98\n1\r", 8) << QByteArray()
        << u"файл Dolznost_2024-10-01_12-31-45-123.Txt не читается: в нём нет ни одной записи"_s;
}

void TestIndexation::restoreReplacesMissingOrDamagedTables()
{
    QFETCH(QByteArray, rank);
    QFETCH(QByteArray, position);
    QFETCH(QString, says);

    DataFolder data;
    const indexation::Indexer indexer = data.indexer();
    QVERIFY(indexer.apply(u"7,6", u"01.10.2024").done);
    const std::pair<QString, QByteArray> inForce[] = {{data.rank(), rank},
                                                      {data.position(), position}};
    for (const auto& [path, bytes] : inForce)
        QVERIFY(bytes == Missing ? QFile::remove(path) : writeBytes(path, bytes));
    data.clock = data.clock.addSecs(60);
    QVERIFY(indexer.restore(indexer.archivedPairs().constFirst().key).done);
    QVERIFY(data.unchanged());

    // What was there is the newest pair, byte for byte; listed, not restorable.
    const indexation::ArchivedPair replaced = indexer.archivedPairs().constFirst();
    QCOMPARE(replaced.changed,
             says.isEmpty() ? u"01.10.2024 12:30:45"_s : u"01.10.2024 12:31:45"_s);
    for (const auto& [path, bytes] : inForce) {
        const QString name = QFileInfo(path).baseName() + u'_' + replaced.key + u".Txt";
        if (!says.isEmpty())
            QCOMPARE(readBytes(data.archive() + u'/' + name), bytes == Missing ? ""_ba : bytes);
    }
    QVERIFY2(replaced.whyNot.contains(says), qPrintable(replaced.whyNot));
    QCOMPARE(indexer.restore(replaced.key).done, says.isEmpty());
    QVERIFY(data.unchanged());
}

void TestIndexation::headingNamesTheSourceTable()
{
    // A heading this program did not write: the table dates from the file's
    // last change; after that, from the heading's own date.
    DataFolder data;
    {
        QFile rank(data.rank());
        QVERIFY(rank.open(QIODevice::ReadWrite));
        QVERIFY(rank.setFileTime(QDateTime(QDate(2023, 3, 15), QTime(9, 0)),
                                 QFileDevice::FileModificationTime));
    }
    const auto heading = [&] {
        return paycalc::cp1251::decode(readBytes(data.rank())).section(u"\r\n"_s, 0, 0);
    };
    QVERIFY(data.indexer().apply(u"5", u"01.10.2023").done);
    QCOMPARE(heading(), u"Оклады по воинским званиям, руб. в месяц, с 01.10.2023: "
                        u"проиндексированы на 5 % (прежняя таблица от 15.03.2023)"_s);
    QVERIFY(data.indexer().apply(u"7,6", u"01.10.2024").done);
    QCOMPARE(heading(), u"Оклады по воинским званиям, руб. в месяц, с 01.10.2024: "
                        u"проиндексированы на 7,6 % (прежняя таблица от 01.10.2023)"_s);
}

void TestIndexation::refusalsChangeNothing_data()
{
    QTest::addColumn<QString>("percent");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QByteArray>("rank"); // the rank file's bytes; empty: missing
    QTest::addColumn<QString>("says");

    QTest::newRow("percent not a number")
        << u"abc"_s << u"01.10.2024"_s << RankFile << u"Процент индексации"_s;
    QTest::newRow("percent above 100")
        << u"101"_s << u"01.10.2024"_s << RankFile << u"Процент индексации"_s;
    QTest::newRow("date not a date")
        << u"7,6"_s << u"31.09.2024"_s << RankFile << u"Дата индексации"_s;
    QTest::newRow("missing file") << u"7,6"_s << u"01.10.2024"_s << QByteArray()
                                  << u"Zvanie.Txt не прочитан: его нет"_s;
    QTest::newRow("no end marker")
        << u"7,6"_s << u"01.10.2024"_s << QByteArray("H\r\n1\r\nA\r\n100\r\n")
        << u"нет строк конца списка"_s;
    QTest::newRow("no records") << u"7,6"_s << u"01.10.2024"_s << QByteArray("H\r\n\r\n\r\n")
                                << u"нет ни одной записи"_s;
    QTest::newRow("comma in a name")
        << u"7,6"_s << u"01.10.2024"_s << QByteArray("H\r\n1\r\nA, B\r\n100\r\n\r\n\r\n")
        << u"запись 1 не по формату"_s;
    QTest::newRow("heading that is a record number")
        << u"7,6"_s << u"01.10.2024"_s << QByteArray("1\r\n1\r\nA\r\n100\r\n\r\n\r\n")
        << u"запись 1 не по формату"_s;
    QTest::newRow("negative salary")
        << u"7,6"_s << u"01.10.2024"_s << QByteArray("H\r\n1\r\nA\r\n-100\r\n\r\n\r\n")
        << u"оклад записи 1"_s;
    QTest::newRow("salary beyond reason")
        << u"7,6"_s << u"01.10.2024"_s << QByteArray("H\r\n1\r\nA\r\n1e300\r\n\r\n\r\n")
        << u"оклад записи 1"_s;
    // 3.5 raised to 4 would stand before record 4's number line and be found
    // in its place: the written file is read back and refused.
    QTest::newRow("new salary read as a record number")
        << u"7,6"_s << u"01.10.2024"_s
        << QByteArray("H\r\n1\r\nA\r\n3.5\r\n2\r\nB\r\n700\r\n3\r\nC\r\n800\r\n"
                      "4\r\nD\r\n900\r\n\r\n\r\n")
        << u"читается не так, как записан"_s;
}

void TestIndexation::refusalsChangeNothing()
{
    QFETCH(QString, percent);
    QFETCH(QString, date);
    QFETCH(QByteArray, rank);
    QFETCH(QString, says);

    DataFolder data;
    if (rank.isEmpty())
        QVERIFY(QFile::remove(data.rank()));
    else
        QVERIFY(writeBytes(data.rank(), rank));
    const indexation::Outcome outcome = data.indexer().apply(percent, date);
    QVERIFY(!outcome.done);
    QVERIFY2(outcome.message.text.contains(says), qPrintable(outcome.message.text));
    QVERIFY(outcome.message.text.endsWith(u"Оклады не изменены."_s));
    QVERIFY(outcome.message.icon != Message::Icon::Information);
    QCOMPARE(readBytes(data.rank()), rank);
    QCOMPARE(readBytes(data.position()), PositionFile);
    QCOMPARE(data.leftovers(), QStringList());
}

void TestIndexation::writeFailureLeavesBothFiles_data()
{
    // Root writes through any permission, so each failure is a folder (or a
    // file) standing where something must be written.
    // The last row fills the "disk" at the position file's archive copy (the
    // position file is the longer one).
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("sizeLimit");
    QTest::addColumn<QStringList>("says");

    const QString notWritten = u"Не удалось записать новый файл окладов: "_s;
    QTest::newRow("rank temporary file")
        << u"Zvanie.Txt.new"_s << QString() << 0 << QStringList{notWritten, u"Zvanie.Txt.new"_s};
    QTest::newRow("position temporary file") << u"Dolznost.Txt.new"_s << QString() << 0
                                             << QStringList{notWritten, u"Dolznost.Txt.new"_s};
    QTest::newRow("archive is a file")
        << QString() << u"Archive"_s << 0 << QStringList{u"Не удалось создать папку"_s};
    QTest::newRow("disk full at the archive")
        << QString() << QString() << int(RankFile.size())
        << QStringList{u"Прежние оклады не сохранены в архив: "_s, u"Dolznost_"_s,
                       u"записан не полностью"_s};
}

void TestIndexation::writeFailureLeavesBothFiles()
{
    QFETCH(QString, folder);
    QFETCH(QString, file);
    QFETCH(int, sizeLimit);
    QFETCH(QStringList, says);

    DataFolder data;
    QVERIFY(PositionFile.size() > RankFile.size());
    const QDir dir(data.path());
    if (!folder.isEmpty())
        QVERIFY(dir.mkpath(folder));
    if (!file.isEmpty())
        QVERIFY(writeBytes(dir.filePath(file), "not a folder"));

    indexation::Outcome outcome;
    {
        std::optional<FileSizeLimit> limit;
        if (sizeLimit > 0)
            limit.emplace(rlim_t(sizeLimit));
        outcome = data.indexer().apply(u"7,6", u"01.10.2024");
    }
    QVERIFY(!outcome.done);
    QCOMPARE(outcome.message.icon, Message::Icon::Error);
    for (const QString& part : says)
        QVERIFY2(outcome.message.text.contains(part), qPrintable(outcome.message.text));
    QVERIFY2(outcome.message.text.contains(QDir::toNativeSeparators(data.path())),
             qPrintable(outcome.message.text));
    QVERIFY(data.unchanged());
    QVERIFY(data.indexer().archivedPairs().isEmpty());
    // Nothing written stays behind; what was in the way is left alone.
    for (const QString& name : QDir(data.path()).entryList(QDir::Files | QDir::NoDotAndDotDot))
        QVERIFY2(name == u"Zvanie.Txt" || name == u"Dolznost.Txt" || name == file,
                 qPrintable(name));
    if (QFileInfo(data.archive()).isDir()) {
        for (const QString& name : QDir(data.archive()).entryList(QDir::Files))
            QFAIL(qPrintable(u"left in the archive: " + name));
    }
}

void TestIndexation::failedSecondReplacementRollsBackTheFirst_data()
{
    QTest::addColumn<bool>("restoring"); // a restore over a missing rank file, or an indexation

    QTest::newRow("indexation") << false;
    QTest::newRow("restore over a missing rank file") << true;
}

void TestIndexation::failedSecondReplacementRollsBackTheFirst()
{
    QFETCH(bool, restoring);

    DataFolder data;
    indexation::Indexer indexer = data.indexer();
    QString key;
    if (restoring) {
        QVERIFY(indexer.apply(u"7,6", u"01.10.2024").done);
        key = indexer.archivedPairs().constFirst().key;
        QVERIFY(QFile::remove(data.rank()));
    }
    const QByteArray rank = readBytes(data.rank());
    const qsizetype archived = indexer.archivedPairs().size();
    bool ran = false;
    // Between the two renames the position file turns into a folder that is
    // not empty, so that renaming over it fails.
    indexer.setBetweenReplacements([&] {
        ran = QFile::remove(data.position()) && QDir(data.path()).mkpath(u"Dolznost.Txt/x"_s);
    });
    const indexation::Outcome outcome =
        restoring ? indexer.restore(key) : indexer.apply(u"7,6", u"01.10.2024");
    QVERIFY(ran);
    QVERIFY(!outcome.done);
    QCOMPARE(outcome.message.icon, Message::Icon::Error);
    QVERIFY2(outcome.message.text.contains(u"Dolznost.Txt"_s), qPrintable(outcome.message.text));
    QCOMPARE(QFileInfo::exists(data.rank()), !restoring);
    QCOMPARE(readBytes(data.rank()), rank);
    QCOMPARE(indexer.archivedPairs().size(), archived);
    QVERIFY(QDir(data.path()).entryList({u"*.new"_s}).isEmpty());
}

namespace {

// The rank file after an indexation at `percent`, as the program's reader
// sees it, against the salaries it read before.
void checkReadsBackAsIndexed(const QString& path, const QStringList& names,
                             const QList<double>& before, int percent)
{
    QCOMPARE(salaryfile::readNames(path).names, names);
    QVERIFY(salaryfile::readNames(path).ok);
    for (int index = 0; index < names.size(); ++index) {
        QCOMPARE(salaryfile::lookupSalary(path, index),
                 std::optional<double>(indexation::indexedRoubles(before[index], percent)));
    }
}

QList<double> salariesOf(const QString& path, int count)
{
    QList<double> salaries;
    for (int index = 0; index < count; ++index)
        salaries.append(salaryfile::lookupSalary(path, index).value_or(-1));
    return salaries;
}

} // namespace

void TestIndexation::anyFileIsRefusedOrReadsBackAsIndexed()
{
    // Salary files with random names, salaries and line ends, now and then a
    // wrong number line or end marker: each is either refused untouched or
    // reads back as indexed.
    const QList<QByteArray> names = {"A", "B, C", "\"Q\"", " ", "1", "2", "\xC8\xEC\xFF"};
    const QList<QByteArray> salaries = {"6659", "0.5", "-1", "&H10",   "1e3",   "3.5",
                                        "2",    "",    "x",  "100.01", "1e300", "5 200"};
    const QList<QByteArray> ends = {"\r\n", "\n", "\r"};
    QRandomGenerator random(20241001);
    const auto pick = [&random](const QList<QByteArray>& from) {
        return from[random.bounded(int(from.size()))];
    };
    int accepted = 0;
    for (int round = 0; round < 300; ++round) {
        QList<QByteArray> lines = {random.bounded(8) == 0 ? pick(names) : "H"};
        const int records = random.bounded(0, 6);
        for (int k = 1; k <= records; ++k) {
            lines << (random.bounded(10) == 0 ? pick(salaries) : QByteArray::number(k))
                  << pick(names) << pick(salaries);
        }
        lines << (random.bounded(5) == 0 ? pick(names) : "") << "";
        QByteArray rank;
        for (const QByteArray& line : lines)
            rank += line + pick(ends);

        DataFolder data;
        QVERIFY(writeBytes(data.rank(), rank));
        const QStringList read = salaryfile::readNames(data.rank()).names;
        const QList<double> before = salariesOf(data.rank(), int(read.size()));
        const int percent = random.bounded(1, 10001);

        const indexation::Outcome outcome =
            data.indexer().apply(indexation::percentText(percent), u"01.10.2024");
        if (!outcome.done) {
            QCOMPARE(readBytes(data.rank()), rank);
            QCOMPARE(data.leftovers(), QStringList());
            continue;
        }
        ++accepted;
        checkReadsBackAsIndexed(data.rank(), read, before, percent);
        if (QTest::currentTestFailed()) {
            qWarning() << "file:" << rank << "percent:" << percent;
            return;
        }
    }
    QVERIFY2(accepted > 50, qPrintable(QString::number(accepted)));
}

void TestIndexation::shippedTablesAtSevenPointSix()
{
    DataFolder data;
    for (const QString& name : {u"Zvanie.Txt"_s, u"Dolznost.Txt"_s}) {
        QFile::remove(data.m_dir.filePath(name));
        QVERIFY(QFile::copy(QStringLiteral(VOLDAR_SOURCE_DATA_DIR) + u'/' + name,
                            data.m_dir.filePath(name)));
    }
    const QStringList ranks = salaryfile::readNames(data.rank()).names;
    const QStringList grades = salaryfile::readNames(data.position()).names;
    QVERIFY(data.indexer().apply(u"7,6", u"01.10.2024").done);
    QCOMPARE(salaryfile::lookupSalary(data.rank(), 0), std::optional<double>(7166));
    QCOMPARE(salaryfile::lookupSalary(data.position(), 0), std::optional<double>(14331));
    QCOMPARE(salaryfile::readNames(data.rank()).names, ranks);
    QCOMPARE(salaryfile::readNames(data.position()).names, grades);
}

void TestIndexation::largestTablesAreIndexedAtOnce()
{
    // Two tables of the most records allowed; how fast is the benchmark's to say.
    DataFolder data;
    QStringList lines{u"Оклады"_s};
    for (int k = 1; k <= 5000; ++k)
        lines << QString::number(k) << u"Запись"_s << QString::number(20000 + k) + u".25";
    lines << QString() << QString();
    for (const QString& path : {data.rank(), data.position()})
        QVERIFY(writeBytes(path, paycalc::cp1251::encodeLines(lines)));
    QVERIFY(data.indexer().apply(u"7,6", u"01.10.2024").done);
    QCOMPARE(salaryfile::lookupSalary(data.position(), 4999), std::optional<double>(26901));
}

QTEST_GUILESS_MAIN(TestIndexation)
#include "tst_indexation.moc"
