// The keyboard indicator of the main window (Label47) and the keyboard window
// (Form6) against a real X server of the test's own: where the server reports
// layout changes they follow the reports with their timers stopped, and they
// poll when told not to rely on them.
#include "form1fixture.h"
#include "mainwindow/form1.h"
#include "paycalc/payengine.h"
#include "windows/form6.h"

#include <QApplication>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace {

const QString English = QStringLiteral("Английская");
const QString Russian = QStringLiteral("Русская");

QString runSetxkbmap(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("setxkbmap"), arguments);
    if (!process.waitForFinished(10000))
        return QStringLiteral("setxkbmap did not run: ") + process.errorString();
    return process.exitCode() == 0 ? QString()
                                   : QString::fromLocal8Bit(process.readAllStandardError());
}

// Switches the keyboard to another layout group, as a layout switcher does.
void lockGroup(int group)
{
    Display* const display = qApp->nativeInterface<QNativeInterface::QX11Application>()->display();
    XkbLockGroup(display, XkbUseCoreKbd, static_cast<unsigned int>(group));
    XSync(display, False);
}

QString labelText(const QWidget& window, const char* name)
{
    const auto* label = window.findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<no %1>").arg(QLatin1String(name));
}

} // namespace

class TestKeyboardIndicator : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void indicatorFollowsNotifications();
    void indicatorPollsWithoutNotifications();
    void changeWhileAMessageIsOpenIsNotLost();
    void keyboardWindowFollowsNotifications();

private:
    std::unique_ptr<Form1> open(platform::KeyboardLayoutSource::Changes changes);

    std::unique_ptr<QTemporaryDir> m_dir;
    QList<paycalc::Message> m_messages;
    std::function<void()> m_onMessage;
};

void TestKeyboardIndicator::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    form1fixture::writeSalaryFiles(m_dir->path());
    m_messages.clear();
    m_onMessage = {};
    const QString error = runSetxkbmap({QStringLiteral("-model"), QStringLiteral("pc105"),
                                        QStringLiteral("-layout"), QStringLiteral("us,ru")});
    QVERIFY2(error.isEmpty(), qPrintable(error));
    lockGroup(0);
}

void TestKeyboardIndicator::cleanup()
{
    m_dir.reset();
}

std::unique_ptr<Form1> TestKeyboardIndicator::open(platform::KeyboardLayoutSource::Changes changes)
{
    Form1::Setup setup;
    setup.dataFolder = m_dir->path();
    setup.showMessage = [this](const paycalc::Message& message) {
        m_messages << message;
        if (m_onMessage)
            m_onMessage();
    };
    setup.keyboardChanges = changes;
    auto form = std::make_unique<Form1>(std::move(setup));
    form->show();
    return form;
}

void TestKeyboardIndicator::indicatorFollowsNotifications()
{
    const auto form = open(platform::KeyboardLayoutSource::Changes::Notified);
    QTimer* const timer5 = form->timer(5);
    QCOMPARE(timer5->interval(), 10);
    // Loading shows the layout of the moment; nothing polls after that. (The
    // report of the test's own setxkbmap may still be on its way.)
    QTRY_COMPARE(labelText(*form, "Label47"), English);
    QVERIFY(!timer5->isActive());

    for (const auto& [group, name] : {std::pair{1, Russian}, std::pair{0, English}}) {
        lockGroup(group);
        QTRY_COMPARE(labelText(*form, "Label47"), name);
        QVERIFY(!timer5->isActive());
    }

    // A new layout list with the same group active is a change as well.
    QVERIFY(runSetxkbmap({QStringLiteral("-layout"), QStringLiteral("ru,us")}).isEmpty());
    QTRY_COMPARE(labelText(*form, "Label47"), Russian);
    QVERIFY(!timer5->isActive());
}

void TestKeyboardIndicator::indicatorPollsWithoutNotifications()
{
    const auto form = open(platform::KeyboardLayoutSource::Changes::Polled);
    QTimer* const timer5 = form->timer(5);
    QVERIFY(timer5->isActive());
    QCOMPARE(timer5->interval(), 10);
    QCOMPARE(labelText(*form, "Label47"), QStringLiteral("???")); // until the first tick

    form1fixture::fire(timer5);
    QTRY_COMPARE(labelText(*form, "Label47"), English);
    lockGroup(1);
    QTRY_COMPARE(labelText(*form, "Label47"), Russian);
    QVERIFY(timer5->isActive());
}

// The handler skips its work while a message box is open (the engine is still
// inside the call that showed it); a change reported meanwhile must still
// reach the label once the box is closed.
void TestKeyboardIndicator::changeWhileAMessageIsOpenIsNotLost()
{
    const auto form = open(platform::KeyboardLayoutSource::Changes::Notified);
    QTRY_COMPARE(labelText(*form, "Label47"), English);
    bool reported = false;
    m_onMessage = [&] {
        lockGroup(1);
        // The report arrives while the box is open: the window polls instead.
        reported = QTest::qWaitFor([&] { return form->timer(5)->isActive(); });
    };
    QVERIFY(QFile::remove(m_dir->path() + QStringLiteral("/Zvanie.Txt")));
    form->engine().setSelection(paycalc::List::Combo1, 0);

    QCOMPARE(m_messages.size(), 1);
    QVERIFY(reported);
    QTRY_COMPARE(labelText(*form, "Label47"), Russian);
    QTRY_VERIFY(!form->timer(5)->isActive());
}

void TestKeyboardIndicator::keyboardWindowFollowsNotifications()
{
    Form6 window;
    window.show();
    // Painting reads the layout too: let the first paints pass, so that only
    // the report can bring the change.
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(100);
    auto* const timer = window.findChild<QTimer*>(QStringLiteral("Timer"));
    QVERIFY(timer != nullptr);
    QTRY_COMPARE(labelText(window, "lblKLayout"), English);
    QCOMPARE(labelText(window, "lblKType"),
             QStringLiteral("Расширенная 101\\102 - клавишная клавиатура"));
    QVERIFY(!timer->isActive());

    lockGroup(1);
    QTRY_COMPARE(labelText(window, "lblKLayout"), Russian);
    QVERIFY(!timer->isActive());
}

// The test brings its own X server: changing the keyboard layout must not
// disturb other tests running at the same time.
int main(int argc, char* argv[])
{
    QProcess xvfb;
    xvfb.start(QStringLiteral("Xvfb"),
               {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                QStringLiteral("tcp")});
    if (!xvfb.waitForStarted(5000)) {
        qCritical("Xvfb did not start: %s", qPrintable(xvfb.errorString()));
        return 2;
    }
    QByteArray display;
    while (!display.endsWith('\n') && xvfb.waitForReadyRead(10000))
        display += xvfb.readAllStandardOutput();
    if (display.trimmed().isEmpty()) {
        qCritical("Xvfb did not report its display");
        return 2;
    }
    qputenv("DISPLAY", ":" + display.trimmed());
    qputenv("QT_QPA_PLATFORM", "xcb");

    int result = 0;
    {
        QApplication app(argc, argv);
        TestKeyboardIndicator test;
        result = QTest::qExec(&test, argc, argv);
    }
    xvfb.terminate();
    xvfb.waitForFinished(5000);
    return result;
}

#include "tst_keyboardindicator.moc"
