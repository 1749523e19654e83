// Starts the real program on the X display of the test run, with its own copy of
// the program folder and salary files, and watches its windows with xdotool.
#include "paycalc/cp1251.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString MainTitlePattern = QStringLiteral("v\\.3\\.0");

// Runs xdotool and returns its output lines.
QStringList xdotool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForFinished(5000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput())
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The visible windows of one process whose title matches.
QStringList visibleWindows(qint64 pid, const QString& namePattern)
{
    return xdotool({QStringLiteral("search"), QStringLiteral("--all"),
                    QStringLiteral("--onlyvisible"), QStringLiteral("--pid"), QString::number(pid),
                    QStringLiteral("--name"), namePattern});
}

bool writeSalaryFile(const QString& path, const QString& name, int salary)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(
               paycalc::cp1251::encodeLines({QStringLiteral("heading"), QStringLiteral("1"), name,
                                             QString::number(salary), QString(), QString()})) > 0;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void mainWindowFollowsTheSplashAndExitEndsTheProgram();
    void cleanup();

private:
    QTemporaryDir m_folder;
    QProcess m_program;
};

void TestStartup::initTestCase()
{
    QVERIFY2(!qEnvironmentVariableIsEmpty("DISPLAY"),
             "no X display: this test needs one (scripts/test starts Xvfb and sets DISPLAY)");
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty(),
             "xdotool is not installed");
    QVERIFY(m_folder.isValid());

    // A program folder of our own: the program finds Data beside itself.
    const QString program = m_folder.filePath(QStringLiteral("voldar"));
    QVERIFY(QFile::copy(QStringLiteral(VOLDAR_PROGRAM), program));
    QVERIFY(QDir(m_folder.path()).mkpath(QStringLiteral("Data/Lists")));
    QVERIFY(writeSalaryFile(m_folder.filePath(QStringLiteral("Data/Zvanie.Txt")),
                            QStringLiteral("Рядовой"), 10000));
    QVERIFY(writeSalaryFile(m_folder.filePath(QStringLiteral("Data/Dolznost.Txt")),
                            QStringLiteral("1 тарифный разряд"), 20000));
}

void TestStartup::mainWindowFollowsTheSplashAndExitEndsTheProgram()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    // A sanitizer build must not fail on leaks inside system libraries: the
    // project's suppressions apply unless the caller chose its own.
    if (!environment.contains(QStringLiteral("LSAN_OPTIONS")))
        environment.insert(QStringLiteral("LSAN_OPTIONS"),
                           QStringLiteral("suppressions=" LSAN_SUPPRESSIONS));
    m_program.setProcessEnvironment(environment);
    m_program.setProcessChannelMode(QProcess::ForwardedChannels);
    QElapsedTimer clock;
    clock.start();
    m_program.start(m_folder.filePath(QStringLiteral("voldar")), {});
    QVERIFY(m_program.waitForStarted());
    const qint64 pid = m_program.processId();

    // The splash comes first, alone (it stays five seconds once shown, so a
    // slow start on a busy machine is waited for generously).
    QTRY_VERIFY_WITH_TIMEOUT(!visibleWindows(pid, QStringLiteral("Voldar")).isEmpty(), 15000);
    QVERIFY(visibleWindows(pid, MainTitlePattern).isEmpty());

    // Five seconds later the main window is shown and the splash is gone.
    QTRY_VERIFY_WITH_TIMEOUT(!visibleWindows(pid, MainTitlePattern).isEmpty(), 15000);
    QVERIFY2(clock.elapsed() >= 4500, "the splash stayed less than five seconds");
    const QStringList windows = visibleWindows(pid, MainTitlePattern);
    QCOMPARE(windows.size(), 1);
    QCOMPARE(visibleWindows(pid, QStringLiteral("Voldar")), windows);

    const QStringList title = xdotool({QStringLiteral("getwindowname"), windows.first()});
    QCOMPARE(title.size(), 1);
    static const QRegularExpression expected(
        QStringLiteral("^   ~ Voldar ™   v\\.3\\.0  i ~    \\d\\d\\.\\d\\d\\.\\d{4}$"));
    QVERIFY2(expected.match(title.first()).hasMatch(), qUtf8Printable(title.first()));

    // "Выход" (Shift+F4) ends the program at once.
    // Typed as a user would: Qt ignores key events sent to a window directly.
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), windows.first()});
    xdotool({QStringLiteral("key"), QStringLiteral("shift+F4")});
    QVERIFY(m_program.waitForFinished(5000));
    QCOMPARE(m_program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_program.exitCode(), 0);
}

void TestStartup::cleanup()
{
    if (m_program.state() != QProcess::NotRunning) {
        m_program.kill();
        m_program.waitForFinished(3000);
    }
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
