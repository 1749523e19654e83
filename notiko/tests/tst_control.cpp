// The control over a stand-in notification area: its record, its three
// operations with their results and messages, the events raised for mouse
// notifications, and its persisted properties.
#include "fakearea.h"

#include <notiko/notiko.h>
#include <QEventLoop>
#include <QImage>
#include <QMetaClassInfo>
#include <QMetaEnum>
#include <QMetaMethod>
#include <QPainter>
#include <QTest>

using namespace notiko;
using namespace Qt::StringLiterals;

namespace {

QIcon makeIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::red);
    return QIcon(pixmap);
}

// A property bag that also logs which names were asked for.
class LoggingBag final : public PropertyBag
{
public:
    QStringList keys() const override { return inner.keys(); }
    QVariant value(const QString& key) const override
    {
        reads.append(key);
        return inner.value(key);
    }
    void setValue(const QString& key, const QVariant& value) override
    {
        inner.setValue(key, value);
    }
    void remove(const QString& key) override { inner.remove(key); }

    MemoryPropertyBag inner;
    mutable QStringList reads;
};

} // namespace

class TestControl : public QObject
{
    Q_OBJECT

public:
    // Everything the control raised, in order.
    QStringList events;
    std::function<void()> onLeftClick;

private:
    void listen(Notiko& control)
    {
        events.clear();
        connect(&control, &Notiko::LeftClick, this, [this] {
            events << QStringLiteral("LeftClick");
            if (onLeftClick)
                onLeftClick();
        });
        connect(&control, &Notiko::RightClick, this,
                [this] { events << QStringLiteral("RightClick"); });
        connect(&control, &Notiko::LeftDblClick, this,
                [this] { events << QStringLiteral("LeftDblClick"); });
        connect(&control, &Notiko::RightDblClick, this,
                [this] { events << QStringLiteral("RightDblClick"); });
        connect(&control, &Notiko::MouseMsg, this, [this](int& msg) {
            events << QStringLiteral("MouseMsg %1").arg(msg);
            msg = 0; // the control must not care
        });
    }

    static void notify(const Notiko& control, const QList<int>& messages)
    {
        for (const int m : messages)
            QVERIFY(postCallback(control.notifyIconData(), std::uint32_t(m)));
        QCoreApplication::sendPostedEvents();
    }

private slots:
    void init()
    {
        onLeftClick = nullptr;
        events.clear();
    }

    void recordAtCreation()
    {
        FakeArea area;
        Notiko control(&area, nullptr);
        const NotifyIconData& r = control.notifyIconData();
        QCOMPARE(r.cbSize, 88u);
        QVERIFY(r.hWnd != 0);
        QCOMPARE(r.uID, 1u);
        QCOMPARE(r.uFlags, 7u);
        QCOMPARE(r.uCallbackMessage, 512u);
        QCOMPARE(control.Icon().type(), Picture::Type::Icon);
        QCOMPARE(control.Icon().size(), QSize(32, 32));
        QCOMPARE(r.hIcon, control.Icon().handle());
        QCOMPARE(tipText(r), QStringLiteral("NotikoLib"));
        QVERIFY(area.calls.isEmpty()); // nothing shown yet
    }

    void operations_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("errorMessage");
        QTest::addColumn<int>("message");
        QTest::addColumn<QString>("shown");

        const QString notiko =
            QStringLiteral("Incorrect Notiko.Metods sequence or Notiko.Icon not ICON");
        const QString otiko =
            QStringLiteral("Incorrect Otiko.Metods sequence or Otiko.Icon not ICON");
        QTest::newRow("Create ok") << u"Create"_s << 1 << true << 0 << QString();
        QTest::newRow("Create fails") << u"Create"_s << 0 << true << 0 << notiko;
        QTest::newRow("Create fails quietly") << u"Create"_s << 0 << false << 0 << QString();
        QTest::newRow("Modify ok") << u"Modify"_s << 1 << true << 1 << QString();
        QTest::newRow("Modify fails") << u"Modify"_s << 0 << true << 1 << otiko;
        QTest::newRow("Modify fails quietly") << u"Modify"_s << 0 << false << 1 << QString();
        QTest::newRow("Destroy ok") << u"Destroy"_s << 1 << true << 2 << QString();
        QTest::newRow("Destroy fails") << u"Destroy"_s << 0 << true << 2 << notiko;
        QTest::newRow("Destroy fails, flag off") << u"Destroy"_s << 0 << false << 2 << notiko;
    }

    void operations()
    {
        QFETCH(QString, method);
        QFETCH(int, answer);
        QFETCH(bool, errorMessage);
        QFETCH(int, message);
        QFETCH(QString, shown);

        FakeArea area;
        area.answer = answer;
        Notiko control(&area, nullptr);
        QStringList boxes;
        control.setMessageBoxHook([&](QWidget*, const QString& text) { boxes << text; });
        control.setErrorMessage(errorMessage);

        int result = -1;
        QVERIFY(QMetaObject::invokeMethod(&control, method.toLatin1().constData(),
                                          Q_RETURN_ARG(int, result)));
        QCOMPARE(result, answer);
        QCOMPARE(area.calls.size(), 1);
        QCOMPARE(int(area.calls[0].message), message);
        QCOMPARE(boxes, shown.isEmpty() ? QStringList() : QStringList{shown});
    }

    void tipIsBuiltOnlyForCreateAndModify()
    {
        FakeArea area;
        Notiko control(&area, nullptr);
        control.setTextToolTip(QStringLiteral("первый"));
        control.Create();
        control.setTextToolTip(QStringLiteral("второй"));
        QCOMPARE(tipText(control.notifyIconData()), QStringLiteral("первый"));
        control.Destroy();
        QCOMPARE(tipText(area.calls.last().record), QStringLiteral("первый"));
        control.Modify();
        QCOMPARE(tipText(area.calls.last().record), QStringLiteral("второй"));
        QCOMPARE(control.TextToolTip(), QStringLiteral("второй"));
    }

    void newPictureGoesIntoRecordAndResizesControl()
    {
        FakeArea area;
        Notiko control(&area, nullptr);
        control.Create();
        const std::uint32_t before = area.calls.last().record.hIcon;
        control.setIcon(Picture::fromIcon(makeIcon(16)));
        QCOMPARE(area.calls.size(), 1); // the icon shown waits for Modify
        QVERIFY(control.notifyIconData().hIcon != before);
        // 16 pixels plus 60 twips at 15 twips per pixel.
        QCOMPARE(control.size(), QSize(20, 20));
        control.Modify();
        QCOMPARE(area.calls.last().record.hIcon, control.Icon().handle());
        QCOMPARE(control.ChangedProperties(), QStringList{QStringLiteral("Icon")});
    }

    void destructionDeletesTheIconSilently()
    {
        FakeArea area;
        area.answer = 0;
        QStringList boxes;
        {
            Notiko control(&area, nullptr);
            control.setMessageBoxHook([&](QWidget*, const QString& text) { boxes << text; });
        }
        QCOMPARE(area.calls.size(), 1);
        QCOMPARE(area.calls[0].message, NotifyMessage::Delete);
        QVERIFY(boxes.isEmpty());
    }

    void clickEvents_data()
    {
        QTest::addColumn<QList<int>>("messages");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("move") << QList<int>{512} << QStringList{u"MouseMsg 512"_s};
        QTest::newRow("left click")
            << QList<int>{513, 514}
            << QStringList{u"LeftClick"_s, u"MouseMsg 513"_s, u"MouseMsg 514"_s};
        QTest::newRow("left double click")
            << QList<int>{513, 514, 515, 514}
            << QStringList{u"LeftClick"_s,    u"MouseMsg 513"_s, u"MouseMsg 514"_s,
                           u"LeftDblClick"_s, u"MouseMsg 515"_s, u"MouseMsg 514"_s};
        QTest::newRow("right double click")
            << QList<int>{516, 517, 518, 517}
            << QStringList{u"RightClick"_s,    u"MouseMsg 516"_s, u"MouseMsg 517"_s,
                           u"RightDblClick"_s, u"MouseMsg 518"_s, u"MouseMsg 517"_s};
        QTest::newRow("unknown numbers")
            << QList<int>{0, 519} << QStringList{u"MouseMsg 0"_s, u"MouseMsg 519"_s};
    }

    void clickEvents()
    {
        QFETCH(QList<int>, messages);
        QFETCH(QStringList, expected);
        FakeArea area;
        Notiko control(&area, nullptr);
        listen(control);
        notify(control, messages);
        QCOMPARE(events, expected);
    }

    void noClickEventWhileHandlerRuns()
    {
        FakeArea area;
        Notiko control(&area, nullptr);
        listen(control);
        // The host's LeftClick handler runs the event loop (as a popup menu
        // does) while a right press arrives.
        onLeftClick = [&control] { onLeftClickOnce(control); };
        notify(control, {513});
        QCOMPARE(events, (QStringList{u"LeftClick"_s, u"MouseMsg 516"_s, u"MouseMsg 513"_s}));

        onLeftClick = nullptr;
        events.clear();
        notify(control, {516});
        QCOMPARE(events, (QStringList{u"RightClick"_s, u"MouseMsg 516"_s}));
    }

    void controlDeletedByItsHandler()
    {
        FakeArea area;
        auto* control = new Notiko(&area, nullptr);
        connect(control, &Notiko::RightClick, this, [control] { delete control; });
        QPointer<Notiko> watch(control);
        QVERIFY(postCallback(control->notifyIconData(), 516));
        QCoreApplication::sendPostedEvents();
        QVERIFY(watch.isNull());
    }

    void propertiesRead_data()
    {
        QTest::addColumn<QVariantMap>("stored");
        QTest::addColumn<QString>("toolTip");
        QTest::addColumn<int>("iconSize");
        QTest::addColumn<bool>("errorMessage");

        QTest::newRow("nothing stored") << QVariantMap{} << u"NotikoLib"_s << 0 << true;
        QTest::newRow("main window, lower case")
            << QVariantMap{{u"texttooltip"_s, u" ~ Voldar ™   v.3.0  i ~"_s},
                           {u"icon"_s, makeIcon(16)},
                           {u"errormessage"_s, false},
                           {u"_extentx"_s, 529},
                           {u"_extenty"_s, 529}}
            << u" ~ Voldar ™   v.3.0  i ~"_s << 16 << false;
        QTest::newRow("mixed case, text flag")
            << QVariantMap{{u"TEXTTOOLTIP"_s, QString()}, {u"ErrorMessage"_s, u"0"_s}} << u""_s << 0
            << false;
    }

    void propertiesRead()
    {
        QFETCH(QVariantMap, stored);
        QFETCH(QString, toolTip);
        QFETCH(int, iconSize);
        QFETCH(bool, errorMessage);

        FakeArea area;
        Notiko control(&area, nullptr);
        control.setErrorMessage(!errorMessage);
        LoggingBag bag;
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            bag.inner.setValue(it.key(), it.value());

        control.ReadProperties(&bag);
        QCOMPARE(control.TextToolTip(), toolTip);
        QCOMPARE(control.ErrorMessage(), errorMessage);
        QCOMPARE(control.Icon().size().width(), iconSize > 0 ? iconSize : -1);
        QCOMPARE(control.notifyIconData().hIcon, control.Icon().handle());
        QCOMPARE(control.Icon().handle() == 0, iconSize == 0);
        QVERIFY(control.ChangedProperties().isEmpty());
    }

    void propertiesAreReadInOrder()
    {
        FakeArea area;
        Notiko control(&area, nullptr);
        LoggingBag bag;
        bag.inner.setValue(QStringLiteral("errormessage"), false);
        bag.inner.setValue(QStringLiteral("icon"), makeIcon(16));
        bag.inner.setValue(QStringLiteral("texttooltip"), QStringLiteral("x"));
        control.ReadProperties(&bag);
        QCOMPARE(bag.reads, (QStringList{u"texttooltip"_s, u"icon"_s, u"errormessage"_s}));
    }

    void propertiesWritten_data()
    {
        QTest::addColumn<QString>("toolTip");
        QTest::addColumn<bool>("withIcon");
        QTest::addColumn<bool>("errorMessage");
        QTest::addColumn<QStringList>("written");
        QTest::newRow("all defaults") << u"NotikoLib"_s << false << true << QStringList{};
        QTest::newRow("main window") << u" ~ Voldar ™   v.3.0  i ~"_s << true << false
                                     << QStringList{u"TextToolTip"_s, u"Icon"_s, u"ErrorMessage"_s};
        QTest::newRow("empty tip") << u""_s << false << true << QStringList{u"TextToolTip"_s};
    }

    void propertiesWritten()
    {
        QFETCH(QString, toolTip);
        QFETCH(bool, withIcon);
        QFETCH(bool, errorMessage);
        QFETCH(QStringList, written);

        FakeArea area;
        Notiko control(&area, nullptr);
        control.setTextToolTip(toolTip);
        control.setIcon(withIcon ? Picture::fromIcon(makeIcon(16)) : Picture());
        control.setErrorMessage(errorMessage);
        MemoryPropertyBag bag;
        control.WriteProperties(&bag);
        QCOMPARE(bag.keys(), written);

        Notiko restored(&area, nullptr);
        restored.ReadProperties(&bag);
        QCOMPARE(restored.TextToolTip(), toolTip);
        QCOMPARE(restored.Icon().type(), withIcon ? Picture::Type::Icon : Picture::Type::None);
        QCOMPARE(restored.ErrorMessage(), errorMessage);
    }

    void writingADefaultDropsAnOlderValue()
    {
        FakeArea area;
        Notiko control(&area, nullptr);
        MemoryPropertyBag bag;
        control.ReadProperties(&bag); // no picture from now on
        bag.setValue(QStringLiteral("errormessage"), false);
        bag.setValue(QStringLiteral("texttooltip"), QStringLiteral("old"));
        control.setTextToolTip(QStringLiteral("new"));
        control.WriteProperties(&bag);
        QCOMPARE(bag.keys(), QStringList{QStringLiteral("texttooltip")});
        QCOMPARE(bag.value(QStringLiteral("texttooltip")).toString(), QStringLiteral("new"));
    }

    void iconPropertyAcceptsPlainQtPictures()
    {
        FakeArea area;
        Notiko control(&area, nullptr);
        QVERIFY(control.setProperty("Icon", QVariant::fromValue(makeIcon(16))));
        QCOMPARE(control.Icon().type(), Picture::Type::Icon);
        QImage bitmap(8, 8, QImage::Format_RGB32);
        bitmap.fill(Qt::blue);
        QVERIFY(control.setProperty("Icon", bitmap));
        QCOMPARE(control.Icon().type(), Picture::Type::Bitmap);
        QCOMPARE(control.size(), QSize(12, 12));
    }

    void typeInformation()
    {
        const QMetaObject& meta = Notiko::staticMetaObject;
        const auto info = [&meta](const char* name) {
            return QString::fromUtf8(meta.classInfo(meta.indexOfClassInfo(name)).value());
        };
        QCOMPARE(info("ProgID"), QStringLiteral("NotikoLib.Notiko"));
        QCOMPARE(info("Description:TextToolTip"),
                 QStringLiteral(
                     "Returns/sets the text displayed when the mouse is paused over the control."));
        QCOMPARE(
            info("Description:Icon"),
            QStringLiteral("Returns/sets a graphic to be displayed in a control.(NB! - ICON!)"));
        QCOMPARE(info("Description:MouseMsg"), QStringLiteral("Returns Mouse Messages."));

        QStringList signalNames;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
            if (meta.method(i).methodType() == QMetaMethod::Signal)
                signalNames << QString::fromLatin1(meta.method(i).methodSignature());
        }
        QCOMPARE(signalNames, (QStringList{u"LeftClick()"_s, u"RightClick()"_s, u"MouseMsg(int&)"_s,
                                           u"LeftDblClick()"_s, u"RightDblClick()"_s}));

        const QMetaEnum msg = QMetaEnum::fromType<Notiko::Msg>();
        QStringList members;
        for (int i = 0; i < msg.keyCount(); ++i)
            members
                << QStringLiteral("%1=%2").arg(QString::fromLatin1(msg.key(i))).arg(msg.value(i));
        QCOMPARE(members, (QStringList{u"WM_MOUSEMOVE=512"_s, u"WM_LBUTTONDBLCLK=515"_s,
                                       u"WM_LBUTTONDOWN=513"_s, u"WM_LBUTTONUP=514"_s,
                                       u"WM_RBUTTONDBLCLK=518"_s, u"WM_RBUTTONDOWN=516"_s,
                                       u"WM_RBUTTONUP=517"_s}));
    }

private:
    static void onLeftClickOnce(Notiko& control)
    {
        QVERIFY(postCallback(control.notifyIconData(), 516));
        QEventLoop loop;
        loop.processEvents();
    }
};

QTEST_MAIN(TestControl)
#include "tst_control.moc"
