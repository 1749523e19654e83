// The desktop services against a real X server of the test's own: keyboard
// layout and type from XKB, opening addresses through xdg-open, topmost.
#include "platform/platform.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace {

QString runSetxkbmap(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("setxkbmap"), arguments);
    if (!process.waitForFinished(10000))
        return QStringLiteral("setxkbmap did not finish");
    return process.exitCode() == 0 ? QString()
                                   : QString::fromLocal8Bit(process.readAllStandardError());
}

Display* x11Display()
{
    return qApp->nativeInterface<QNativeInterface::QX11Application>()->display();
}

} // namespace

class TestDesktop : public QObject
{
    Q_OBJECT

public:
    explicit TestDesktop(QString recordFile) : m_recordFile(std::move(recordFile)) {}

private slots:
    void keyboardLayoutFollowsTheActiveGroup_data()
    {
        // The function, and a source bound to the keyboard before the changes.
        QTest::addColumn<bool>("bound");
        QTest::newRow("keyboardLayout()") << false;
        QTest::newRow("KeyboardLayoutSource") << true;
    }

    void keyboardLayoutFollowsTheActiveGroup()
    {
        QFETCH(bool, bound);
        const platform::KeyboardLayoutSource source;
        const auto keyboardLayout = [&] {
            return bound ? source.current() : platform::keyboardLayout();
        };

        const QString error = runSetxkbmap({QStringLiteral("-model"), QStringLiteral("pc105"),
                                            QStringLiteral("-layout"), QStringLiteral("us,ru")});
        QVERIFY2(error.isEmpty(), qPrintable(error));

        // The layout is re-read when the server reports the change, which
        // arrives through the event loop.
        XkbLockGroup(x11Display(), XkbUseCoreKbd, 1);
        XSync(x11Display(), False);
        QTRY_COMPARE(keyboardLayout(), 0x04190419u);

        XkbLockGroup(x11Display(), XkbUseCoreKbd, 0);
        XSync(x11Display(), False);
        QTRY_COMPARE(keyboardLayout(), 0x04090409u);

        // Nothing changes: the answer stays the same without asking the server.
        QCOMPARE(keyboardLayout(), 0x04090409u);

        // A new layout list with the same group active is noticed as well.
        QVERIFY(runSetxkbmap({QStringLiteral("-layout"), QStringLiteral("ru,us")}).isEmpty());
        QTRY_COMPARE(keyboardLayout(), 0x04190419u);
    }

    // The source calls back once per change of the layout, soon after the
    // server reports it; a source made to be polled never calls back.
    void layoutSourceReportsChanges()
    {
        QVERIFY(runSetxkbmap({QStringLiteral("-model"), QStringLiteral("pc105"),
                              QStringLiteral("-layout"), QStringLiteral("us,ru")})
                    .isEmpty());
        XkbLockGroup(x11Display(), XkbUseCoreKbd, 0);
        XSync(x11Display(), False);
        const platform::KeyboardLayoutSource source;
        QTRY_COMPARE(source.current(), 0x04090409u);
        QTest::qWait(100); // the reports of the set-up above pass first

        QObject context;
        QList<std::uint32_t> reported;
        QVERIFY(source.notifies());
        QVERIFY(source.onChange(&context, [&] { reported << source.current(); }));
        const platform::KeyboardLayoutSource polled(
            platform::KeyboardLayoutSource::Changes::Polled);
        QVERIFY(!polled.notifies());
        int polledCalls = 0;
        QVERIFY(!polled.onChange(&context, [&] { ++polledCalls; }));

        XkbLockGroup(x11Display(), XkbUseCoreKbd, 1);
        XSync(x11Display(), False);
        QTRY_COMPARE(reported, QList<std::uint32_t>{0x04190419u});
        // The same group again is no change.
        XkbLockGroup(x11Display(), XkbUseCoreKbd, 1);
        XSync(x11Display(), False);
        XkbLockGroup(x11Display(), XkbUseCoreKbd, 0);
        XSync(x11Display(), False);
        QTRY_COMPARE(reported, (QList<std::uint32_t>{0x04190419u, 0x04090409u}));
        QCOMPARE(polledCalls, 0);
        // The polled source still reads the current layout.
        QCOMPARE(polled.current(), 0x04090409u);
    }

    void keyboardTypeComesFromTheModel()
    {
        QVERIFY(runSetxkbmap({QStringLiteral("-model"), QStringLiteral("pc105"),
                              QStringLiteral("-layout"), QStringLiteral("us")})
                    .isEmpty());
        QCOMPARE(platform::keyboardType(0), 4);
        QCOMPARE(platform::keyboardType(1), 0);
        QCOMPARE(platform::keyboardType(2), 12);
    }

    void openDocumentHandsTheAddressToTheDesktop_data()
    {
        QTest::addColumn<QString>("address");
        QTest::newRow("web page") << QStringLiteral("https://voldar.example.org");
        QTest::newRow("mail") << QStringLiteral("mailto:author@voldar.example.org");
    }
    void openDocumentHandsTheAddressToTheDesktop()
    {
        QFETCH(QString, address);
        QFile::remove(m_recordFile);
        platform::openDocument(address);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_recordFile), 10000);
        QFile record(m_recordFile);
        QVERIFY(record.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(record.readAll()).trimmed(), address);
    }

    void topmostTogglesAndKeepsPlace()
    {
        QWidget window;
        window.setGeometry(100, 120, 300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect before = window.geometry();

        platform::setTopmost(&window, true);
        QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(window.isVisible());
        QCOMPARE(window.geometry().size(), before.size());

        platform::setTopmost(&window, false);
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(window.isVisible());
    }

private:
    QString m_recordFile;
};

// The test brings its own X server and a fake xdg-open first on PATH that
// records the address it was asked to open.
int main(int argc, char* argv[])
{
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return 2;

    int display = 31;
    while (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(display)))
        ++display;
    QProcess xvfb;
    xvfb.start(QStringLiteral("Xvfb"),
               {QStringLiteral(":%1").arg(display), QStringLiteral("-screen"), QStringLiteral("0"),
                QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (!xvfb.waitForStarted(5000))
        return 2;
    const QByteArray displayName = ":" + QByteArray::number(display);
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)))
            break;
        QTest::qSleep(50);
    }

    const QString recordFile = scratch.filePath(QStringLiteral("opened.txt"));
    const QString fake = scratch.filePath(QStringLiteral("xdg-open"));
    QFile script(fake);
    if (!script.open(QIODevice::WriteOnly))
        return 2;
    script.write("#!/bin/sh\nprintf '%s\\n' \"$1\" > '" + recordFile.toUtf8() + ".tmp'\nmv '" +
                 recordFile.toUtf8() + ".tmp' '" + recordFile.toUtf8() + "'\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    qputenv("DISPLAY", displayName);
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("PATH", scratch.path().toUtf8() + ":" + qgetenv("PATH"));
    qunsetenv("BROWSER");
    qunsetenv("DEFAULT_BROWSER");
    qunsetenv("XDG_CURRENT_DESKTOP");
    qunsetenv("DESKTOP_SESSION");
    qunsetenv("KDE_FULL_SESSION");
    qunsetenv("GNOME_DESKTOP_SESSION_ID");

    int result = 0;
    {
        QApplication app(argc, argv);
        TestDesktop test(recordFile);
        result = QTest::qExec(&test, argc, argv);
    }
    xvfb.terminate();
    xvfb.waitForFinished(5000);
    return result;
}

#include "tst_desktop.moc"
