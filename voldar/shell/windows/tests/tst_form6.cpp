#include "platform/titles.h"
#include "windows/form6.h"

#include <cstdint>
#include <QLabel>
#include <QPointer>
#include <QtTest>

namespace {

// A keyboard whose answers the test sets.
struct FakeKeyboard
{
    int type = 4;
    int subtype = 0;
    int functionKeys = 12;
    std::uint32_t layout = shellwindows::RussianLayout;

    shellwindows::KeyboardQueries queries()
    {
        return {[this](int which) {
                    return which == 0 ? type : which == 1 ? subtype : functionKeys;
                },
                [this] { return layout; }};
    }
};

QString text(const QWidget& window, const char* label)
{
    return window.findChild<QLabel*>(QLatin1String(label))->text();
}

} // namespace

class TestForm6 : public QObject
{
    Q_OBJECT

private slots:
    void captions();
    void values_data();
    void values();
    void layoutFollows();
    void mouseMoveAndPaint();
    void reportsReplaceTheTimer_data();
    void reportsReplaceTheTimer();
};

void TestForm6::captions()
{
    FakeKeyboard keyboard;
    Form6 window(nullptr, keyboard.queries());
    QCOMPARE(window.windowTitle(), QString::fromUtf16(titles::Form6));
    QCOMPARE(window.findChild<QWidget*>(QStringLiteral("frmInfo"))->property("title").toString(),
             QStringLiteral("Инфомация о клавиатуре:"));
    QCOMPARE(text(window, "lblInfo_0"), QStringLiteral("Тип клавиатуры:"));
    QCOMPARE(text(window, "lblInfo_1"), QStringLiteral("Подтип:"));
    QCOMPARE(text(window, "lblInfo_2"), QStringLiteral("Функциональные клавиши:"));
    QCOMPARE(text(window, "lblInfo_3"), QStringLiteral("Раскладка клавиатуры:"));
    const auto* const timer = window.findChild<QTimer*>(QStringLiteral("Timer"));
    QVERIFY(timer && timer->isActive());
    QCOMPARE(timer->interval(), 10);
}

void TestForm6::values_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<std::uint32_t>("layout");
    QTest::addColumn<QString>("typeText");
    QTest::addColumn<QString>("layoutText");

    QTest::newRow("enhanced, Russian")
        << 4 << shellwindows::RussianLayout
        << QStringLiteral("Расширенная 101\\102 - клавишная клавиатура")
        << QStringLiteral("Русская");
    QTest::newRow("Japanese, English")
        << 7 << shellwindows::EnglishUsLayout << QStringLiteral("Японская клавиатура")
        << QStringLiteral("Английская");
    QTest::newRow("unknown") << 0 << std::uint32_t{0} << QStringLiteral("???")
                             << QStringLiteral("???");
    QTest::newRow("German layout")
        << 9 << std::uint32_t{0x04070407} << QStringLiteral("???") << QStringLiteral("???");
}

void TestForm6::values()
{
    QFETCH(int, type);
    QFETCH(std::uint32_t, layout);
    QFETCH(QString, typeText);
    QFETCH(QString, layoutText);

    FakeKeyboard keyboard{type, 3, 12, layout};
    Form6 window(nullptr, keyboard.queries());
    QCOMPARE(text(window, "lblKType"), typeText);
    QCOMPARE(text(window, "lblKSubType"), QStringLiteral("3"));
    QCOMPARE(text(window, "lblFkeys"), QStringLiteral("12 функциональных клавиш"));
    QCOMPARE(text(window, "lblKLayout"), layoutText);
}

void TestForm6::layoutFollows()
{
    FakeKeyboard keyboard;
    Form6 window(nullptr, keyboard.queries());
    auto* const timer = window.findChild<QTimer*>(QStringLiteral("Timer"));
    QCOMPARE(text(window, "lblKLayout"), QStringLiteral("Русская"));

    keyboard.layout = shellwindows::EnglishUsLayout;
    QMetaObject::invokeMethod(timer, "timeout");
    QCOMPARE(text(window, "lblKLayout"), QStringLiteral("Английская"));

    // Another language: the line keeps showing the previous one.
    keyboard.layout = 0x04070407;
    QMetaObject::invokeMethod(timer, "timeout");
    QCOMPARE(text(window, "lblKLayout"), QStringLiteral("Английская"));

    keyboard.layout = shellwindows::RussianLayout;
    QMetaObject::invokeMethod(timer, "timeout");
    QCOMPARE(text(window, "lblKLayout"), QStringLiteral("Русская"));

    // The running timer picks a change up by itself.
    keyboard.layout = shellwindows::EnglishUsLayout;
    QTRY_COMPARE(text(window, "lblKLayout"), QStringLiteral("Английская"));
}

void TestForm6::mouseMoveAndPaint()
{
    FakeKeyboard keyboard;
    Form6 window(nullptr, keyboard.queries());
    window.findChild<QTimer*>(QStringLiteral("Timer"))->stop();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    keyboard.layout = shellwindows::EnglishUsLayout;
    QTest::mouseMove(window.findChild<QWidget*>(QStringLiteral("lblKType")));
    QTRY_COMPARE(text(window, "lblKLayout"), QStringLiteral("Английская"));

    keyboard.layout = shellwindows::RussianLayout;
    window.repaint();
    QCOMPARE(text(window, "lblKLayout"), QStringLiteral("Русская"));
}

// Where the keyboard reports its changes the window follows the reports and its
// timer stays stopped; where it does not (or there is no way to ask), it polls.
void TestForm6::reportsReplaceTheTimer_data()
{
    QTest::addColumn<bool>("hasFollow");
    QTest::addColumn<bool>("reports");
    QTest::newRow("reported") << true << true;
    QTest::newRow("not reported") << true << false;
    QTest::newRow("no follow") << false << false;
}

void TestForm6::reportsReplaceTheTimer()
{
    QFETCH(bool, hasFollow);
    QFETCH(bool, reports);

    FakeKeyboard keyboard;
    shellwindows::KeyboardQueries queries = keyboard.queries();
    std::function<void()> changed;
    if (hasFollow)
        queries.follow = [&](QObject*, std::function<void()> callback) {
            changed = std::move(callback);
            return reports;
        };
    Form6 window(nullptr, queries);
    auto* const timer = window.findChild<QTimer*>(QStringLiteral("Timer"));
    QCOMPARE(timer->isActive(), !reports);
    QCOMPARE(text(window, "lblKLayout"), QStringLiteral("Русская"));
    if (!reports)
        return;

    keyboard.layout = shellwindows::EnglishUsLayout;
    changed();
    QCOMPARE(text(window, "lblKLayout"), QStringLiteral("Английская"));
    keyboard.layout = 0x04070407; // another language: the line stays
    changed();
    QCOMPARE(text(window, "lblKLayout"), QStringLiteral("Английская"));
    QVERIFY(!timer->isActive());
}

QTEST_MAIN(TestForm6)
#include "tst_form6.moc"
