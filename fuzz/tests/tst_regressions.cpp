#include "fuzzentries.h"

#include <QDirIterator>
#include <QFile>
#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;

// Every file under fuzz/regressions/<target>/ is an input that once broke a
// reader; every file under fuzz/corpus/<target>/ is a seed. Each is fed to the
// target's entry function, which must neither crash nor find a broken promise.
class TstRegressions : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void replay_data();
    void replay();
    void everyFolderNamesATarget();

private:
    QStringList m_failures;
};

namespace {

const QString FuzzDir = QStringLiteral(VOLDAR_FUZZ_DIR);

QStringList storedFolders()
{
    QStringList folders;
    for (const QString& kind : {u"regressions"_s, u"corpus"_s}) {
        QDirIterator it(FuzzDir + u'/' + kind, QDir::Dirs | QDir::NoDotAndDotDot);
        while (it.hasNext())
            folders << it.next();
    }
    return folders;
}

} // namespace

void TstRegressions::initTestCase()
{
    QLocale::setDefault(QLocale::c());
    voldarfuzz::setFailureHandler([this](const QString& what) { m_failures << what; });
}

void TstRegressions::replay_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("path");
    for (const QString& folder : storedFolders()) {
        const QString target = QFileInfo(folder).fileName();
        QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (QFileInfo(path).fileName().startsWith(u'.'))
                continue; // README-like dot files and .gitkeep
            const QString row = QDir(FuzzDir).relativeFilePath(path);
            QTest::newRow(row.toUtf8().constData()) << target << path;
        }
    }
}

void TstRegressions::replay()
{
    QFETCH(QString, target);
    QFETCH(QString, path);
    const voldarfuzz::Entry entry = voldarfuzz::entryNamed(target.toStdString());
    QVERIFY2(entry, qPrintable(u"no fuzz target named "_s + target));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray input = file.readAll();

    m_failures.clear();
    entry(reinterpret_cast<const std::uint8_t*>(input.constData()), std::size_t(input.size()));
    QVERIFY2(m_failures.isEmpty(), qPrintable(m_failures.join(u"; ")));
}

void TstRegressions::everyFolderNamesATarget()
{
    for (const QString& folder : storedFolders()) {
        const QString name = QFileInfo(folder).fileName();
        QVERIFY2(voldarfuzz::entryNamed(name.toStdString()), qPrintable(folder));
    }
    for (const voldarfuzz::Target& target : voldarfuzz::targets()) {
        const QString name = QString::fromUtf8(target.name.data(), qsizetype(target.name.size()));
        QVERIFY2(QFileInfo(FuzzDir + u"/corpus/"_s + name).isDir(),
                 qPrintable(u"no seed corpus for "_s + name));
    }
}

QTEST_GUILESS_MAIN(TstRegressions)
#include "tst_regressions.moc"
