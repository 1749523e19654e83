// The desktop's notification area: which operations it accepts and refuses.
#include "fakearea.h"

#include <notiko/notificationarea.h>
#include <notiko/notiko.h>
#include <QImage>
#include <QTest>

using namespace notiko;
using namespace Qt::StringLiterals;

// One step: an operation on the record, with an icon, a bitmap, no picture or a
// handle nobody has, and the answer expected.
struct Step
{
    NotifyMessage message;
    char picture; // 'i' icon, 'b' bitmap, '0' none, 'x' unknown handle
    int answer;
};
Q_DECLARE_METATYPE(QList<Step>)

class TestDesktopArea : public QObject
{
    Q_OBJECT

private slots:
    void answers_data()
    {
        using enum NotifyMessage;
        QTest::addColumn<QList<Step>>("steps");
        QTest::newRow("add, modify, delete")
            << QList<Step>{{Add, 'i', 1}, {Modify, 'i', 1}, {Delete, 'i', 1}};
        QTest::newRow("add twice") << QList<Step>{{Add, 'i', 1}, {Add, 'i', 0}};
        QTest::newRow("modify before add") << QList<Step>{{Modify, 'i', 0}};
        QTest::newRow("delete before add") << QList<Step>{{Delete, 'i', 0}};
        QTest::newRow("delete twice")
            << QList<Step>{{Add, 'i', 1}, {Delete, 'i', 1}, {Delete, 'i', 0}};
        QTest::newRow("add again after delete")
            << QList<Step>{{Add, 'i', 1}, {Delete, 'i', 1}, {Add, 'i', 1}};
        QTest::newRow("bitmap is not an icon")
            << QList<Step>{{Add, 'b', 0}, {Add, 'i', 1}, {Modify, 'b', 0}};
        QTest::newRow("unknown handle") << QList<Step>{{Add, 'x', 0}};
        QTest::newRow("no picture is a blank icon") << QList<Step>{{Add, '0', 1}, {Modify, '0', 1}};
    }

    void answers()
    {
        QFETCH(QList<Step>, steps);
        FakeArea unused;
        Notiko control(&unused, nullptr);
        QImage bitmapImage(16, 16, QImage::Format_RGB32);
        bitmapImage.fill(Qt::green);
        const Picture bitmap = Picture::fromImage(bitmapImage);
        const Picture icon = control.Icon();

        const auto area = createDesktopNotificationArea();
        NotifyIconData record = control.notifyIconData();
        for (const Step& step : steps) {
            switch (step.picture) {
            case 'i':
                record.hIcon = icon.handle();
                break;
            case 'b':
                record.hIcon = bitmap.handle();
                break;
            case '0':
                record.hIcon = 0;
                break;
            default:
                record.hIcon = 0xFFFFFFF0u;
                break;
            }
            QCOMPARE(area->notifyIcon(step.message, record), step.answer);
        }
    }

    void iconsAreToldApartByWindowAndId()
    {
        FakeArea unused;
        Notiko first(&unused, nullptr);
        Notiko second(&unused, nullptr);
        const auto area = createDesktopNotificationArea();
        QCOMPARE(area->notifyIcon(NotifyMessage::Add, first.notifyIconData()), 1);
        QCOMPARE(area->notifyIcon(NotifyMessage::Add, second.notifyIconData()), 1);
        NotifyIconData otherId = first.notifyIconData();
        otherId.uID = 2;
        QCOMPARE(area->notifyIcon(NotifyMessage::Delete, otherId), 0);
        QCOMPARE(area->notifyIcon(NotifyMessage::Add, otherId), 1);
    }

    void recordForAWindowThatIsGone()
    {
        NotifyIconData record;
        {
            FakeArea unused;
            Notiko control(&unused, nullptr);
            record = control.notifyIconData();
        }
        record.hIcon = 0;
        QCOMPARE(createDesktopNotificationArea()->notifyIcon(NotifyMessage::Add, record), 0);
        QVERIFY(!postCallback(record, LeftButtonDown));
    }

    void controlOverTheDesktopArea()
    {
        Notiko control;
        QStringList boxes;
        control.setMessageBoxHook([&](QWidget*, const QString& text) { boxes << text; });
        control.setErrorMessage(false);
        QCOMPARE(control.Create(), 1);
        QCOMPARE(control.Create(), 0);
        control.setIcon(Picture::fromImage(QImage(8, 8, QImage::Format_RGB32)));
        QCOMPARE(control.Modify(), 0);
        QVERIFY(boxes.isEmpty());
        QCOMPARE(control.Destroy(), 1);
        QCOMPARE(control.Destroy(), 0);
        QCOMPARE(boxes, QStringList{u"Incorrect Notiko.Metods sequence or Notiko.Icon not ICON"_s});
    }
};

QTEST_MAIN(TestDesktopArea)
#include "tst_desktoparea.moc"
