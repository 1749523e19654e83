// The component server seen from a host that knows only the programmatic
// identifier: registration, creation through the lookup, late-bound calls and
// events connected by name. This test does not link the control library.
#include <cstdint>
#include <notiko/propertybag.h>
#include <notiko/registry.h>
#include <notikohost/notikohost.h>
#include <QFile>
#include <QIcon>
#include <QLibrary>
#include <QPixmap>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

const QString progId = u"NotikoLib.Notiko"_s;

using Entry = std::int32_t (*)();
using GetClassObject = std::int32_t (*)(const char*, QObject**);

} // namespace

class TestComponent : public QObject
{
    Q_OBJECT

public slots:
    void onLeftClick() { ++leftClicks; }
    void onMouseMsg(int& msg) { messages << msg; }

private:
    int leftClicks = 0;
    QList<int> messages;
    QLibrary library{QString::fromUtf8(NOTIKO_LIBRARY_FILE)};

    template <typename F> F entry(const char* name)
    {
        auto f = reinterpret_cast<F>(library.resolve(name));
        if (!f)
            qFatal("%s is not exported: %s", name, qPrintable(library.errorString()));
        return f;
    }

private slots:
    void initTestCase()
    {
        // The user's registry goes to a scratch location while testing.
        QStandardPaths::setTestModeEnabled(true);
        QFile::remove(notiko::registry::userFile());
    }

    void cleanupTestCase() { QFile::remove(notiko::registry::userFile()); }

    void buildTreeRegistrationIsFoundWithoutAStep()
    {
        QWidget parent;
        QWidget* control = notiko::host::createControl(progId, &parent);
        QVERIFY(control);
        QCOMPARE(control->parent(), &parent);
        QCOMPARE(control->metaObject()->className(), "Notiko");
    }

    void registerCreateUseUnregister()
    {
        const QStringList userOnly{notiko::registry::userFile()};
        QVERIFY(!notiko::host::createControl(progId, nullptr, userOnly));

        QCOMPARE(entry<Entry>("DllRegisterServer")(), 0);
        QCOMPARE(QFileInfo(notiko::registry::find(userOnly, progId)).canonicalFilePath(),
                 QFileInfo(library.fileName()).canonicalFilePath());

        QWidget parent;
        QWidget* control = notiko::host::createControl(progId, &parent, userOnly);
        QVERIFY(control);
        QCOMPARE(entry<Entry>("DllCanUnloadNow")(), 1);

        // Properties the way the main window keeps them, names in lower case.
        QPixmap icon(16, 16);
        icon.fill(Qt::darkBlue);
        notiko::MemoryPropertyBag bag;
        bag.setValue(u"texttooltip"_s, u" ~ Voldar ™   v.3.0  i ~"_s);
        bag.setValue(u"icon"_s, QIcon(icon));
        bag.setValue(u"errormessage"_s, false);
        QVERIFY(notiko::host::readProperties(control, bag));
        QCOMPARE(control->property("TextToolTip").toString(), u" ~ Voldar ™   v.3.0  i ~"_s);
        QCOMPARE(control->property("ErrorMessage").toBool(), false);
        QCOMPARE(control->size(), QSize(20, 20));

        QVERIFY(connect(control, SIGNAL(LeftClick()), this, SLOT(onLeftClick())));
        QVERIFY(connect(control, SIGNAL(MouseMsg(int&)), this, SLOT(onMouseMsg(int&))));
        QVERIFY(!connect(control, SIGNAL(MiddleClick()), this, SLOT(onLeftClick())));

        int created = -1;
        QVERIFY(QMetaObject::invokeMethod(control, "Create", Q_RETURN_ARG(int, created)));
        QCOMPARE(created, 1);
        QVERIFY(QMetaObject::invokeMethod(control, "LeftClick"));
        int msg = 513;
        QVERIFY(QMetaObject::invokeMethod(control, "MouseMsg", Q_ARG(int&, msg)));
        QCOMPARE(leftClicks, 1);
        QCOMPARE(messages, QList<int>{513});

        QCOMPARE(notiko::host::description(control, "Create"),
                 u"Forces a complete create of a NotikoLib."_s);
        QCOMPARE(notiko::host::description(control, "ErrorMessage"),
                 u"Returns/sets a error message on/off"_s);
        QCOMPARE(notiko::host::description(control, "Nothing"), QString());

        notiko::MemoryPropertyBag saved;
        QVERIFY(notiko::host::writeProperties(control, saved));
        QCOMPARE(saved.keys(), (QStringList{u"TextToolTip"_s, u"Icon"_s, u"ErrorMessage"_s}));

        delete control;
        QCOMPARE(entry<Entry>("DllCanUnloadNow")(), 0);

        QCOMPARE(entry<Entry>("DllUnregisterServer")(), 0);
        QVERIFY(notiko::registry::find(userOnly, progId).isEmpty());
        QVERIFY(!notiko::host::createControl(progId, nullptr, userOnly));
        // Unregistering what is not registered has nothing left to do.
        QCOMPARE(entry<Entry>("DllUnregisterServer")(), 0);
    }

    void classObject()
    {
        const auto get = entry<GetClassObject>("DllGetClassObject");
        QObject* factory = nullptr;
        QCOMPARE(get("NotikoLib.Notiko", &factory), 0);
        QVERIFY(factory);
        QWidget* control = nullptr;
        QVERIFY(QMetaObject::invokeMethod(
            factory, "CreateInstance", Q_RETURN_ARG(QWidget*, control), Q_ARG(QWidget*, nullptr)));
        QVERIFY(control);
        delete control;

        QCOMPARE(get("NotikoLib.Other", &factory), std::int32_t(0x80040111));
        QVERIFY(!factory);
        QCOMPARE(get("NotikoLib.Notiko", nullptr), std::int32_t(0x80004003));
    }

    void preloadThenCreate()
    {
        QVERIFY(notiko::host::preloadControl(progId));
        QWidget parent;
        QVERIFY(notiko::host::createControl(progId, &parent));
    }

    void lookupFailsCleanly()
    {
        QVERIFY(!notiko::host::preloadControl(u"NotikoLib.Unknown"_s));
        QVERIFY(!notiko::host::createControl(u"NotikoLib.Unknown"_s, nullptr));
        const QString bogus = QDir::temp().filePath(u"notiko_tst_bogus.ini"_s);
        QVERIFY(notiko::registry::add(bogus, progId, u"/nonexistent/libnothing.so"_s, {}, {}));
        QVERIFY(!notiko::host::preloadControl(progId, {bogus}));
        QVERIFY(!notiko::host::createControl(progId, nullptr, {bogus}));
        QFile::remove(bogus);
    }
};

QTEST_MAIN(TestComponent)
#include "tst_component.moc"
