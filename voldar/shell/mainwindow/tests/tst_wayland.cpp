// The main window on the window system the program chooses, in the Weston of
// weston_session.sh. EXPECTED_QT_PLATFORM: what the choice must come to; the
// session's QT_QPA_PLATFORM must be left as it was to the programs started.
#include "form1fixture.h"
#include "platform/windowsystem.h"
#include "windows/form6.h"

#include <optional>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>

class TestWayland : public QObject
{
    Q_OBJECT

public:
    explicit TestWayland(std::optional<QByteArray> session) : m_session(std::move(session)) {}

private slots:
    void runsOnTheChosenPlatform()
    {
        QCOMPARE(QGuiApplication::platformName(), qEnvironmentVariable("EXPECTED_QT_PLATFORM"));
        QCOMPARE(qEnvironmentVariableIsSet("QT_QPA_PLATFORM"), m_session.has_value());
        QCOMPARE(qgetenv("QT_QPA_PLATFORM"), m_session.value_or(QByteArray()));
    }

    void mainWindowOffersWhatThePlatformAllows()
    {
        QTemporaryDir dir;
        form1fixture::writeSalaryFiles(dir.path());
        form1fixture::Recorder record;
        Form1 form(record.setup(dir.path()));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(record.messages.isEmpty());

        const bool wayland = platform::isNativeWayland();
        QAction* const onTop = form.action(QStringLiteral("on_top"));
        QCOMPARE(onTop->isEnabled(), !wayland);
        QCOMPARE(onTop->toolTip() == QString::fromUtf16(platform::KeepOnTopUnavailable), wayland);
        QCOMPARE(form.menu(QStringLiteral("mnuFile"))->toolTipsVisible(), wayland);
        platform::setTopmost(&form, true);
        QCOMPARE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint), !wayland);
        QVERIFY(form.isVisible());

        // Layout changes are reported (XKB, the compositor), never polled, in
        // the main and the keyboard window; Weston tells no input language.
        QVERIFY(!form.timer(5)->isActive());
        Form6 keyboard;
        keyboard.show();
        QVERIFY(QTest::qWaitForWindowExposed(&keyboard));
        QVERIFY(!keyboard.findChild<QTimer*>(QStringLiteral("Timer"))->isActive());
        if (wayland)
            QCOMPARE(form.findChild<QLabel*>(QStringLiteral("Label47"))->text(),
                     QStringLiteral("???"));
    }

private:
    const std::optional<QByteArray> m_session;
};

// The application is built as the program builds it.
int main(int argc, char* argv[])
{
    std::optional<QByteArray> session;
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        session = qgetenv("QT_QPA_PLATFORM");
    platform::setProgramIdentity();
    platform::WindowSystemChoice windowSystem;
    QApplication app(argc, argv);
    windowSystem.restoreEnvironment();
    TestWayland test(session);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_wayland.moc"
