#include "platform/platform.h"
#include "x11keyboard.h"

#include <QTest>

using namespace platform::x11;

class TestX11Keyboard : public QObject
{
    Q_OBJECT

private slots:
    void parsesRulesNames_data()
    {
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QString>("model");
        QTest::addColumn<QStringList>("layouts");

        using namespace Qt::StringLiterals;
        QTest::newRow("two layouts") << "evdev\0pc105\0us,ru\0,\0grp:alt_shift_toggle\0"_ba
                                     << u"pc105"_s << QStringList{u"us"_s, u"ru"_s};
        QTest::newRow("one layout")
            << "evdev\0pc104\0us\0\0\0"_ba << u"pc104"_s << QStringList{u"us"_s};
        QTest::newRow("rules only") << "evdev"_ba << QString() << QStringList{};
        QTest::newRow("empty") << QByteArray() << QString() << QStringList{};
    }
    void parsesRulesNames()
    {
        QFETCH(QByteArray, property);
        const RulesNames names = parseRulesNames(property);
        QTEST(names.model, "model");
        QTEST(names.layouts, "layouts");
    }

    void mapsLayoutsToWindowsForm_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<quint32>("windowsForm");
        QTest::newRow("English (US)") << QStringLiteral("us") << quint32{0x04090409};
        QTest::newRow("Russian") << QStringLiteral("ru") << quint32{0x04190419};
        QTest::newRow("English (UK)") << QStringLiteral("gb") << quint32{0x08090809};
        QTest::newRow("Ukrainian") << QStringLiteral("ua") << quint32{0x04220422};
        QTest::newRow("unknown") << QStringLiteral("xx") << quint32{0};
    }
    void mapsLayoutsToWindowsForm()
    {
        QFETCH(QString, layout);
        QTEST(windowsLayout(languageOf(layout)), "windowsForm");
    }

    void reportsKeyboardType_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("subtype");
        QTest::addColumn<int>("functionKeys");
        QTest::newRow("pc101") << QStringLiteral("pc101") << 4 << 0 << 12;
        QTest::newRow("pc105") << QStringLiteral("pc105") << 4 << 0 << 12;
        QTest::newRow("jp106") << QStringLiteral("jp106") << 7 << 0 << 12;
        QTest::newRow("unknown") << QStringLiteral("macintosh") << 0 << 0 << 0;
        QTest::newRow("none") << QString() << 0 << 0 << 0;
    }
    void reportsKeyboardType()
    {
        QFETCH(QString, model);
        QTEST(keyboardTypeOf(model, 0), "type");
        QTEST(keyboardTypeOf(model, 1), "subtype");
        QTEST(keyboardTypeOf(model, 2), "functionKeys");
    }

    // Without an X display (offscreen, no application) nothing is reported.
    void reportsNothingWithoutDisplay()
    {
        QVERIFY(!hasDisplay());
        QCOMPARE(currentGroup(), 0);
        QVERIFY(currentRulesNames().layouts.isEmpty());
        QCOMPARE(platform::keyboardLayout(), 0u);
        const platform::KeyboardLayoutSource source;
        QCOMPARE(source.current(), 0u);
        // Nothing reports changes: the caller has to poll.
        QVERIFY(!source.notifies());
        QObject context;
        QVERIFY(!source.onChange(&context, [] {}));
        QCOMPARE(platform::keyboardType(0), 0);
    }
};

QTEST_GUILESS_MAIN(TestX11Keyboard)
#include "tst_x11keyboard.moc"
