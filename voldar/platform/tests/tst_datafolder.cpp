#include "platform/platform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

class TestDataFolder : public QObject
{
    Q_OBJECT

private slots:
    void choosesTheFolderBesideTheProgramOrTheUsers_data()
    {
        QTest::addColumn<bool>("besideExists");
        QTest::addColumn<bool>("besideReadOnly");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("expected");

        QTest::newRow("build tree") << true << false << false << QStringLiteral("beside");
        QTest::newRow("unpacked copy beside an installation")
            << true << false << true << QStringLiteral("beside");
        QTest::newRow("installed package") << false << false << true << QStringLiteral("user");
        QTest::newRow("read-only copy of an installation")
            << true << true << true << QStringLiteral("user");
        QTest::newRow("nothing anywhere") << false << false << false << QStringLiteral("beside");
    }
    void choosesTheFolderBesideTheProgramOrTheUsers()
    {
        QFETCH(bool, besideExists);
        QFETCH(bool, besideReadOnly);
        QFETCH(bool, installed);
        QFETCH(QString, expected);
        if (besideReadOnly && geteuid() == 0)
            QSKIP("permissions do not stop root from writing");

        QTemporaryDir root;
        QDir dir(root.path());
        QVERIFY(dir.mkpath(QStringLiteral("bin")));
        const QString beside = dir.filePath(QStringLiteral("bin/Data"));
        if (besideExists)
            QVERIFY(dir.mkpath(QStringLiteral("bin/Data")));
        if (besideReadOnly)
            QVERIFY(QFile::setPermissions(beside, QFile::ReadOwner | QFile::ExeOwner));
        const QString installedData = dir.filePath(QStringLiteral("share/voldar/Data"));
        if (installed)
            QVERIFY(dir.mkpath(QStringLiteral("share/voldar/Data")));
        const QString user = dir.filePath(QStringLiteral("home/Data"));

        const QString chosen =
            platform::resolveDataFolder(dir.filePath(QStringLiteral("bin")), installedData, user);
        QCOMPARE(chosen, expected == u"beside" ? beside : user);

        if (besideReadOnly)
            QFile::setPermissions(beside, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

QTEST_GUILESS_MAIN(TestDataFolder)
#include "tst_datafolder.moc"
