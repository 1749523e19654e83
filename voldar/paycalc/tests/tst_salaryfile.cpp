#include "paycalc/cp1251.h"
#include "paycalc/salaryfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
namespace salaryfile = paycalc::salaryfile;

class TestSalaryFile : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void readNamesFollowsTheGroupsOfThree_data();
    void readNamesFollowsTheGroupsOfThree();
    void readNamesFailsWithoutAFile();
    void readNamesRefusesAHugeFile();
    void readNamesSurvivesBinaryBytes();
    void lookupReadsTheRecordsSalary_data();
    void lookupReadsTheRecordsSalary();
    void lookupFailsWithoutAFile();
    void lookupReadsTheFileAfreshEveryTime();

private:
    QString write(const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(u"Zvanie.Txt"_s);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return {};
        file.write(bytes);
        return path;
    }

    QTemporaryDir m_dir;
};

// Heading, three records, end marker.
static QByteArray standardFile()
{
    return paycalc::cp1251::encodeLines({u"Оклады по званиям"_s, u"1"_s, u"Рядовой"_s, u"6659"_s,
                                         u"2"_s, u"Ефрейтор"_s, u"7324"_s, u"3"_s, u"Сержант"_s,
                                         u"8657"_s, QString(), QString()});
}

void TestSalaryFile::readNamesFollowsTheGroupsOfThree_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("ok");

    const QStringList three{u"Рядовой"_s, u"Ефрейтор"_s, u"Сержант"_s};
    QTest::newRow("standard") << standardFile() << three << true;
    QTest::newRow("lines after the end marker are not read")
        << standardFile() + "4\r\nLater\r\n1\r\n\r\n\r\n"
        << three << true;
    QTest::newRow("linux line ends")
        << QByteArray(standardFile()).replace("\r\n", "\n") << three << true;
    QTest::newRow("end marker right after the heading")
        << QByteArray("Heading\r\n\r\n\r\n") << QStringList() << true;
    QTest::newRow("empty file") << QByteArray() << QStringList() << true;
    QTest::newRow("no end marker: names stay, failure")
        << QByteArray(standardFile()).chopped(4) << three << false;
    QTest::newRow("end marker cut short")
        << QByteArray(standardFile()).chopped(2) << three << false;
    QTest::newRow("ends after a name")
        << QByteArray("H\r\n1\r\nA\r\n") << QStringList{u"A"_s} << true;
    QTest::newRow("a megabyte line")
        << QByteArray("H\r\n1\r\n") + QByteArray(1 << 20, 'x') + "\r\n5\r\n\r\n\r\n"
        << QStringList{QString(1 << 20, u'x')} << true;
}

void TestSalaryFile::readNamesFollowsTheGroupsOfThree()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, names);
    QFETCH(bool, ok);
    const salaryfile::FillResult result = salaryfile::readNames(write(bytes));
    QCOMPARE(result.names, names);
    QCOMPARE(result.ok, ok);
    const salaryfile::FillResult inBytes = salaryfile::namesIn(bytes);
    QCOMPARE(inBytes.names, names);
    QCOMPARE(inBytes.ok, ok);
}

void TestSalaryFile::readNamesFailsWithoutAFile()
{
    const salaryfile::FillResult missing = salaryfile::readNames(m_dir.filePath(u"none.txt"_s));
    QVERIFY(!missing.ok);
    QVERIFY(missing.names.isEmpty());

    // A folder where the file should be.
    QVERIFY(QDir(m_dir.path()).mkpath(u"Dolznost.Txt"_s));
    QVERIFY(!salaryfile::readNames(m_dir.filePath(u"Dolznost.Txt"_s)).ok);
    QVERIFY(!salaryfile::lookupSalary(m_dir.filePath(u"Dolznost.Txt"_s), 0));
}

void TestSalaryFile::readNamesRefusesAHugeFile()
{
    QByteArray bytes = standardFile();
    bytes += QByteArray(16 * 1024 * 1024, '\n');
    const QString path = write(bytes);
    QVERIFY(!salaryfile::readNames(path).ok);
    QVERIFY(!salaryfile::lookupSalary(path, 0));
}

void TestSalaryFile::readNamesSurvivesBinaryBytes()
{
    QByteArray bytes;
    for (int i = 0; i < 4096; ++i)
        bytes.append(static_cast<char>((i * 7919) % 256));
    const QString path = write(bytes);
    salaryfile::readNames(path);
    for (int index = 0; index < 5; ++index)
        salaryfile::lookupSalary(path, index);
}

void TestSalaryFile::lookupReadsTheRecordsSalary_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("found");
    QTest::addColumn<double>("salary");

    QTest::newRow("first") << standardFile() << 0 << true << 6659.0;
    QTest::newRow("last") << standardFile() << 2 << true << 8657.0;
    QTest::newRow("beyond the last") << standardFile() << 3 << false << 0.0;
    QTest::newRow("no selection") << standardFile() << -1 << false << 0.0;
    QTest::newRow("largest index") << standardFile() << 2147483647 << false << 0.0;
    QTest::newRow("empty file") << QByteArray() << 0 << false << 0.0;
    QTest::newRow("number read by the leading-number rule")
        << QByteArray("H\r\n1\r\nA\r\n5 200 rub\r\n2\r\nB\r\n5200,50\r\n\r\n\r\n") << 1 << true
        << 5200.0;
    QTest::newRow("salary with decimals")
        << QByteArray("H\r\n1\r\nA\r\n12345.67\r\n\r\n\r\n") << 0 << true << 12345.67;
    QTest::newRow("salary that is not a number")
        << QByteArray("H\r\n1\r\nA\r\nabc\r\n\r\n\r\n") << 0 << true << 0.0;
    QTest::newRow("heading 1 matches first")
        << QByteArray("1\r\n1\r\nA\r\n5000\r\n\r\n\r\n") << 0 << true << 0.0;
    QTest::newRow("comma in a name gives the rest of its line")
        << QByteArray("H\r\n1\r\nA, B\r\n5000\r\n\r\n\r\n") << 0 << true << 0.0;
    QTest::newRow("quoted name keeps its comma")
        << QByteArray("H\r\n1\r\n\"A, B\"\r\n5000\r\n\r\n\r\n") << 0 << true << 5000.0;
    QTest::newRow("key on the last line")
        << QByteArray("H\r\n1\r\nA\r\n100\r\n2") << 1 << false << 0.0;
    QTest::newRow("key without a salary line") << QByteArray("H\r\n1\r\nA") << 0 << false << 0.0;
    QTest::newRow("number lines compared exactly")
        << QByteArray("H\r\n 1\r\n01\r\nA\r\n1\r\nB\r\n700\r\n") << 0 << true << 700.0;
    QTest::newRow("salary line read as the next record's number")
        << QByteArray("H\r\n1\r\nA\r\n2\r\n2\r\nB\r\n700\r\n\r\n\r\n") << 1 << true << 0.0;
    QTest::newRow("mixed line ends") << QByteArray("H\r1\nA\r\n7\r2\nB\r5\r\n") << 1 << true << 5.0;
}

void TestSalaryFile::lookupReadsTheRecordsSalary()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, index);
    QFETCH(bool, found);
    QFETCH(double, salary);
    const std::optional<double> read = salaryfile::lookupSalary(write(bytes), index);
    QCOMPARE(read.has_value(), found);
    if (found)
        QCOMPARE(*read, salary);
    // The one-pass lookup of every record reads the same.
    if (index >= 0 && index < 100) {
        const QList<std::optional<double>> all = salaryfile::salariesIn(bytes, index + 1);
        QCOMPARE(all.size(), index + 1);
        QCOMPARE(all[index], read);
    }
}

void TestSalaryFile::lookupFailsWithoutAFile()
{
    QVERIFY(!salaryfile::lookupSalary(m_dir.filePath(u"missing/Zvanie.Txt"_s), 0));
}

void TestSalaryFile::lookupReadsTheFileAfreshEveryTime()
{
    const QString path = write(standardFile());
    QCOMPARE(salaryfile::lookupSalary(path, 1), std::optional<double>(7324));
    QCOMPARE(salaryfile::lookupSalary(path, 1), std::optional<double>(7324));
    write(QByteArray(standardFile()).replace("7324", "8000"));
    QCOMPARE(salaryfile::lookupSalary(path, 1), std::optional<double>(8000));
}

QTEST_GUILESS_MAIN(TestSalaryFile)
#include "tst_salaryfile.moc"
