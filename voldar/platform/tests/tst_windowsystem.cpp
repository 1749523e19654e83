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
        QTest::addColumn<bool>("xAnswers");
        QTest::addColumn<QByteArray>("chosen");
        const QByteArray none, x = ":0", wayland = "wayland-0";
        QTest::newRow("XWayland") << none << x << wayland << true << "xcb"_ba;
        QTest::newRow("X gone") << none << x << wayland << false << "wayland"_ba;
        QTest::newRow("user's") << "wayland"_ba << x << wayland << true << none;
        QTest::newRow("neither") << none << x << none << false << none;
    }
    void choosesThePlatform()
    {
        QFETCH(QByteArray, user);
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, wayland);
        QFETCH(bool, xAnswers);
        QTEST(platform::chooseQtPlatform({user, display, wayland}, xAnswers), "chosen");
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
