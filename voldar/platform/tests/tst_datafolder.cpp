#include "paycalc/cp1251.h"
#include "platform/platform.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray sha256(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// Salary files of one release, as an installation ships them.
const QByteArray OldRanks = "Ranks 2023\r\n1\r\nRank\r\n100\r\n\r\n\r\n";
const QByteArray OldGrades = "Grades 2023\r\n1\r\nGrade\r\n200\r\n\r\n\r\n";
const QByteArray NewRanks = "Ranks 2024\r\n1\r\nRank\r\n110\r\n\r\n\r\n";
const QByteArray NewGrades = "Grades 2024\r\n1\r\nGrade\r\n220\r\n\r\n\r\n";
const QByteArray UsersRanks = "My ranks\r\n1\r\nRank\r\n150\r\n\r\n\r\n";

} // namespace

class TestDataFolder : public QObject
{
    Q_OBJECT

private slots:
    void choosesTheFolderBesideTheProgramOrTheUsers_data()
    {
        QTest::addColumn<QString>("beside"); // what "Data" beside the program is
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("expected");

        QTest::newRow("build tree") << u"folder"_s << false << u"beside"_s;
        QTest::newRow("unpacked copy beside an installation") << u"folder"_s << true << u"beside"_s;
        QTest::newRow("installed package") << u"none"_s << true << u"user"_s;
        // Root writes into a read-only folder all the same, so for root the
        // folder beside the program still serves.
        QTest::newRow("read-only copy of an installation")
            << u"read-only folder"_s << true << (geteuid() == 0 ? u"beside"_s : u"user"_s);
        QTest::newRow("a file named Data beside an installation") << u"file"_s << true << u"user"_s;
        QTest::newRow("nothing anywhere") << u"none"_s << false << u"beside"_s;
    }
    void choosesTheFolderBesideTheProgramOrTheUsers()
    {
        QFETCH(QString, beside);
        QFETCH(bool, installed);
        QFETCH(QString, expected);

        QTemporaryDir root;
        QDir dir(root.path());
        QVERIFY(dir.mkpath(QStringLiteral("bin")));
        const QString besidePath = dir.filePath(QStringLiteral("bin/Data"));
        if (beside.endsWith(u"folder"))
            QVERIFY(dir.mkpath(QStringLiteral("bin/Data")));
        if (beside == u"read-only folder")
            QVERIFY(QFile::setPermissions(besidePath, QFile::ReadOwner | QFile::ExeOwner));
        if (beside == u"file")
            QVERIFY(writeBytes(besidePath, "not a folder"));
        const QString installedData = dir.filePath(QStringLiteral("share/voldar/Data"));
        if (installed)
            QVERIFY(dir.mkpath(QStringLiteral("share/voldar/Data")));
        const QString user = dir.filePath(QStringLiteral("home/Data"));

        const QString chosen =
            platform::resolveDataFolder(dir.filePath(QStringLiteral("bin")), installedData, user);
        QCOMPARE(chosen, expected == u"beside" ? besidePath : user);

        if (beside == u"read-only folder")
            QFile::setPermissions(besidePath,
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void firstStartCopiesTheInstalledFiles()
    {
        QTemporaryDir root;
        const QString installed = root.filePath(QStringLiteral("share"));
        const QString user = root.filePath(QStringLiteral("home/voldar/Data"));
        QVERIFY(QDir().mkpath(installed + u"/Lists"));
        QVERIFY(writeBytes(installed + u"/Zvanie.Txt", OldRanks));
        QVERIFY(writeBytes(installed + u"/Dolznost.Txt", OldGrades));

        QVERIFY(platform::prepareDataFolder(installed, user));

        QVERIFY(QFileInfo(user + u"/Lists").isDir());
        QCOMPARE(readBytes(user + u"/Zvanie.Txt"), OldRanks);
        QCOMPARE(readBytes(user + u"/Dolznost.Txt"), OldGrades);
        // The record: Windows-1251 lines with CR LF, by file name.
        QCOMPARE(readBytes(user + u'/' + QString::fromUtf16(platform::CopiesRecord)),
                 sha256(OldGrades) + " Dolznost.Txt\r\n" + sha256(OldRanks) + " Zvanie.Txt\r\n");
    }

    // What the user did between the first start and a package upgrade that
    // ships new salary files decides what the upgrade may replace.
    void upgradeReplacesOnlyUntouchedCopies_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<QByteArray>("ranks");  // Zvanie.Txt after the upgrade
        QTest::addColumn<QByteArray>("grades"); // Dolznost.Txt, which the user never touches

        QTest::newRow("untouched copies") << u"nothing"_s << NewRanks << NewGrades;
        QTest::newRow("ranks changed by the user") << u"edit"_s << UsersRanks << NewGrades;
        QTest::newRow("ranks changed and changed back") << u"edit back"_s << NewRanks << NewGrades;
        QTest::newRow("ranks deleted by the user") << u"delete"_s << NewRanks << NewGrades;
        QTest::newRow("ranks already the new ones") << u"copy new"_s << NewRanks << NewGrades;
        // Copies made before copies were recorded may be the user's: kept.
        QTest::newRow("folder of an older version") << u"no record"_s << OldRanks << OldGrades;
        QTest::newRow("damaged record") << u"damage record"_s << OldRanks << OldGrades;
    }
    void upgradeReplacesOnlyUntouchedCopies()
    {
        QFETCH(QString, meanwhile);
        QFETCH(QByteArray, ranks);
        QFETCH(QByteArray, grades);

        QTemporaryDir root;
        const QString installed = root.filePath(QStringLiteral("share"));
        const QString user = root.filePath(QStringLiteral("Data"));
        const QString userRanks = user + u"/Zvanie.Txt";
        const QString record = user + u'/' + QString::fromUtf16(platform::CopiesRecord);
        QVERIFY(QDir().mkpath(installed));
        QVERIFY(writeBytes(installed + u"/Zvanie.Txt", OldRanks));
        QVERIFY(writeBytes(installed + u"/Dolznost.Txt", OldGrades));
        QVERIFY(platform::prepareDataFolder(installed, user));
        QVERIFY(writeBytes(user + u"/Lists/Март 2024.txt", "slip"));

        if (meanwhile == u"edit" || meanwhile == u"edit back")
            QVERIFY(writeBytes(userRanks, UsersRanks));
        if (meanwhile == u"edit back")
            QVERIFY(writeBytes(userRanks, OldRanks));
        if (meanwhile == u"delete")
            QVERIFY(QFile::remove(userRanks));
        if (meanwhile == u"copy new")
            QVERIFY(writeBytes(userRanks, NewRanks));
        if (meanwhile == u"no record")
            QVERIFY(QFile::remove(record));
        if (meanwhile == u"damage record")
            QVERIFY(writeBytes(record, "\x01\xFF garbage\r\n" + QByteArray(64, 'g') +
                                           " Zvanie.Txt\r\nno blank\r\n"));

        // The upgrade also ships a file the first start did not know.
        QVERIFY(writeBytes(installed + u"/Zvanie.Txt", NewRanks));
        QVERIFY(writeBytes(installed + u"/Dolznost.Txt", NewGrades));
        QVERIFY(writeBytes(installed + u"/Pravila.Txt", "Rules 2025\r\n"));
        QVERIFY(platform::prepareDataFolder(installed, user));

        QCOMPARE(readBytes(userRanks), ranks);
        QCOMPARE(readBytes(user + u"/Dolznost.Txt"), grades);
        QCOMPARE(readBytes(user + u"/Pravila.Txt"), QByteArray("Rules 2025\r\n"));
        QCOMPARE(readBytes(user + u"/Lists/Март 2024.txt"), QByteArray("slip"));

        // A later upgrade treats the files the same way: a kept file stays kept,
        // a replaced or new one is again the installation's.
        const QByteArray nextRanks = "Ranks 2025\r\n\r\n\r\n";
        QVERIFY(writeBytes(installed + u"/Zvanie.Txt", nextRanks));
        QVERIFY(writeBytes(installed + u"/Pravila.Txt", "Rules 2026\r\n"));
        QVERIFY(platform::prepareDataFolder(installed, user));
        QCOMPARE(readBytes(userRanks), ranks == NewRanks ? nextRanks : ranks);
        QCOMPARE(readBytes(user + u"/Pravila.Txt"), QByteArray("Rules 2026\r\n"));
    }

    // A failure names the folder or file and the reason, in Russian, and keeps
    // nothing else from being brought in.
    void failureSaysWhatAndWhy_data()
    {
        QTest::addColumn<QString>("inTheWay"); // what stands where something must go
        QTest::addColumn<QString>("problem");  // with <root> for the temporary folder

        QTest::newRow("a file where a folder goes")
            << u"home"_s
            << u"Не удалось создать папку «<root>/home»: на этом месте файл, а не папка."_s;
        QTest::newRow("a folder where the record goes")
            << u"home/Data/.installed-copies/"_s
            << u"Не удалось записать файл «<root>/home/Data/.installed-copies»: "
               u"на этом месте папка, а не файл."_s;
    }
    void failureSaysWhatAndWhy()
    {
        QFETCH(QString, inTheWay);
        QFETCH(QString, problem);

        QTemporaryDir root;
        QDir dir(root.path());
        const QString installed = dir.filePath(u"share"_s);
        const QString user = dir.filePath(u"home/Data"_s);
        QVERIFY(dir.mkpath(u"share"_s));
        QVERIFY(writeBytes(installed + u"/Zvanie.Txt", OldRanks));
        if (inTheWay.endsWith(u'/'))
            QVERIFY(dir.mkpath(inTheWay));
        else
            QVERIFY(writeBytes(dir.filePath(inTheWay), "in the way"));

        QString said;
        QVERIFY(!platform::prepareDataFolder(installed, user, &said));
        QCOMPARE(said, QString(problem).replace(u"<root>"_s, root.path()));
        if (QFileInfo(user).isDir()) {
            QCOMPARE(readBytes(user + u"/Zvanie.Txt"), OldRanks);
            // No half-written file left behind.
            QCOMPARE(QDir(user).entryList(QDir::Files | QDir::Hidden),
                     QStringList{u"Zvanie.Txt"_s});
        }
    }

    void recordReadsOnlyWellFormedLines()
    {
        const QByteArray sum(64, 'a');
        const QMap<QString, QByteArray> copies = platform::parseCopiesRecord(
            sum + " Zvanie.Txt\r\n" + sum + paycalc::cp1251::encode(u" Имя с пробелом.txt\n") +
            sum.toUpper() + " Upper.Txt\r\n" + sum.left(63) + " Short.Txt\r\n" + sum + " \r\n" +
            sum + "\r\n\r\n");
        QCOMPARE(copies.keys(), (QStringList{u"Zvanie.Txt"_s, u"Имя с пробелом.txt"_s}));
        QCOMPARE(platform::parseCopiesRecord(platform::writeCopiesRecord(copies)), copies);
    }
};

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
