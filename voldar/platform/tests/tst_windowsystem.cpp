#include "platform/windowsystem.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

class TestWindowSystem : public QObject
{
    Q_OBJECT

private slots:
    void choosesThePlatform_data()
    {
        QTest::addColumn<QByteArray>("user");
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<QByteArray>("userWatch");
        QTest::addColumn<bool>("xAnswers");
        QTest::addColumn<QByteArray>("chosen");
        QTest::addColumn<QByteArray>("watch");
        const QByteArray none, x = ":0", wayland = "wayland-0", slow = "1000";
        QTest::newRow("XWayland") << none << x << wayland << none << true << "xcb"_ba << none;
        QTest::newRow("X gone") << none << x << wayland << none << false << "wayland"_ba << slow;
        QTest::newRow("user's") << "wayland-egl"_ba << x << wayland << none << true << none << slow;
        QTest::newRow("user's X") << "xcb"_ba << x << wayland << none << true << none << none;
        QTest::newRow("user's watch")
            << none << x << wayland << "250"_ba << false << "wayland"_ba << none;
        QTest::newRow("neither") << none << x << none << none << false << none << none;
    }
    void choosesThePlatform()
    {
        QFETCH(QByteArray, user);
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, wayland);
        QFETCH(QByteArray, userWatch);
        QFETCH(bool, xAnswers);
        const platform::WindowSystemEnvironment environment{user, display, wayland, userWatch};
        const QByteArray chosen = platform::chooseQtPlatform(environment, xAnswers);
        QTEST(chosen, "chosen");
        QTEST(platform::chooseFrameWatch(environment, chosen), "watch");
    }

    void noServerDoesNotAnswer()
    {
        int free = 900;
        while (QFileInfo::exists(u"/tmp/.X11-unix/X%1"_s.arg(free)))
            ++free;
        QVERIFY(!platform::xServerAnswers(":" + QByteArray::number(free)));
        QVERIFY(!platform::xServerAnswers({}));
    }

    // This test has another name than the program, as a renamed copy would.
    void identityKeepsTheProgramsFolders()
    {
        platform::setProgramIdentity();
        QCOMPARE(QGuiApplication::desktopFileName(), u"org.example.Voldar"_s);
        using Paths = QStandardPaths;
        QCOMPARE(Paths::writableLocation(Paths::AppDataLocation),
                 Paths::writableLocation(Paths::GenericDataLocation) + u"/voldar"_s);
        QCOMPARE(Paths::writableLocation(Paths::AppConfigLocation),
                 Paths::writableLocation(Paths::GenericConfigLocation) + u"/voldar"_s);
    }
};

QTEST_GUILESS_MAIN(TestWindowSystem)
#include "tst_windowsystem.moc"
