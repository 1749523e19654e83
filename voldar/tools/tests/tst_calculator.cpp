#include "recordingdialogs.h"
#include "tools/calculator.h"
#include "tools/form4.h"
#include "tools/handover.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

// Takes any result still waiting so that each test starts from none.
void drainHandOver()
{
    tools::handover::takeCalculatorResult();
}

} // namespace

class TestCalculator : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void init();
    void cleanup();

    void buttonSequences_data();
    void buttonSequences();
    void keyboardSequences_data();
    void keyboardSequences();
    void divisionByZeroAndOverflow_data();
    void divisionByZeroAndOverflow();
    void keysThatChangeNothing();
    void clearForgetsEverything();
    void tickerMovesAndKeepsFocus();
    void activationEmptiesDisplayKeepsOperation();
    void ownBoxDoesNotCountAsActivation();
    void stateOutlivesWindow();
    void transferHandsOverOnce();
    void handOverKeepsTarget();

private:
    QLineEdit* display() const { return m_form->findChild<QLineEdit*>(QStringLiteral("Display")); }
    QLineEdit* indicator() const
    {
        return m_form->findChild<QLineEdit*>(QStringLiteral("Indicator"));
    }
    void press(const QString& keys);
    void type(const QString& keys);

    tools::Calculator m_calculator;
    RecordingDialogs m_dialogs;
    QPointer<tools::Form4> m_form;
};

void TestCalculator::init()
{
    m_calculator = tools::Calculator();
    m_dialogs = RecordingDialogs();
    m_form = new tools::Form4(m_calculator, nullptr, &m_dialogs);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    drainHandOver();
}

void TestCalculator::cleanup()
{
    delete m_form;
}

// Clicks the keypad: digits, "." point, "+-*/" operations, "=" equals, "C" CE.
void TestCalculator::press(const QString& keys)
{
    for (const QChar key : keys) {
        QString name;
        switch (key.unicode()) {
        case u'.':
            name = QStringLiteral("PointButton");
            break;
        case u'=':
            name = QStringLiteral("EqualsButton");
            break;
        case u'+':
            name = QStringLiteral("AddButton");
            break;
        case u'-':
            name = QStringLiteral("SubtractButton");
            break;
        case u'*':
            name = QStringLiteral("MultiplyButton");
            break;
        case u'/':
            name = QStringLiteral("DivideButton");
            break;
        case u'C':
            name = QStringLiteral("ClearButton");
            break;
        default:
            name = u"Digit" + QString(key);
            break;
        }
        auto* button = m_form->findChild<QPushButton*>(name);
        QVERIFY2(button != nullptr, qPrintable(name));
        QTest::mouseClick(button, Qt::LeftButton);
    }
}

// Types into the display; "=" stands for the Enter key.
void TestCalculator::type(const QString& keys)
{
    for (const QChar key : keys) {
        if (key == u'=')
            QTest::keyClick(display(), Qt::Key_Return);
        else
            QTest::keyClick(display(), key.toLatin1());
    }
}

void TestCalculator::buttonSequences_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");

    QTest::newRow("second point ends the operand")
        << QStringLiteral("1..5+1=") << QStringLiteral(" 2");
    QTest::newRow("no chaining") << QStringLiteral("2+3*4=") << QStringLiteral(" 12");
    QTest::newRow("equals repeats") << QStringLiteral("10-3=") << QStringLiteral(" 7");
    QTest::newRow("equals twice") << QStringLiteral("10-3==") << QStringLiteral(" 3");
    QTest::newRow("equals three times") << QStringLiteral("10-3===") << QStringLiteral(" 7");
    QTest::newRow("equals with nothing pending") << QStringLiteral("42=") << QStringLiteral("42");
    QTest::newRow("digit appends to result") << QStringLiteral("3+4=1") << QStringLiteral(" 71");
    QTest::newRow("negative result") << QStringLiteral("3-5=") << QStringLiteral("-2");
    QTest::newRow("fraction") << QStringLiteral("1/4=") << QStringLiteral(" .25");
    QTest::newRow("empty operand is 0") << QStringLiteral("+5=") << QStringLiteral(" 5");
}

void TestCalculator::buttonSequences()
{
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    press(keys);
    QCOMPARE(display()->text(), shown);
    QVERIFY(m_dialogs.messages.isEmpty());
    // The buttons leave the indicator alone.
    QCOMPARE(indicator()->text(), QString());
}

void TestCalculator::keyboardSequences_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("indicated");

    QTest::newRow("sum") << QStringLiteral("12+30=") << QStringLiteral(" 42")
                         << QStringLiteral("Равно");
    QTest::newRow("product") << QStringLiteral("6*7") << QStringLiteral("7") << QStringLiteral("");
    QTest::newRow("multiply indicated")
        << QStringLiteral("6*") << QString() << QStringLiteral("Умножение");
    QTest::newRow("add indicated")
        << QStringLiteral("6+") << QString() << QStringLiteral("Сложение");
    QTest::newRow("subtract indicated")
        << QStringLiteral("6-") << QString() << QStringLiteral("Вычетание");
    QTest::newRow("divide indicated")
        << QStringLiteral("6/") << QString() << QStringLiteral("Деление");
    QTest::newRow("comma is a point")
        << QStringLiteral("1,5") << QStringLiteral("1.5") << QStringLiteral("");
    QTest::newRow("comma indicated")
        << QStringLiteral("1,") << QStringLiteral("1.") << QStringLiteral("Точка");
    QTest::newRow("halves") << QStringLiteral("1.5*3=") << QStringLiteral(" 4.5")
                            << QStringLiteral("Равно");
}

void TestCalculator::keyboardSequences()
{
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    QFETCH(QString, indicated);
    type(keys);
    QCOMPARE(display()->text(), shown);
    QCOMPARE(indicator()->text(), indicated);
}

void TestCalculator::divisionByZeroAndOverflow_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("second");

    QTest::newRow("7 / 0") << QStringLiteral("7") << QStringLiteral("/") << QStringLiteral("0");
    QTest::newRow("0 / 0") << QStringLiteral("0") << QStringLiteral("/") << QStringLiteral("0");
    QTest::newRow("product overflows")
        << QStringLiteral("1e308") << QStringLiteral("*") << QStringLiteral("10");
    QTest::newRow("sum overflows")
        << QStringLiteral("1.7e308") << QStringLiteral("+") << QStringLiteral("1.7e308");
    QTest::newRow("difference overflows")
        << QStringLiteral("-1.7e308") << QStringLiteral("-") << QStringLiteral("1.7e308");
}

void TestCalculator::divisionByZeroAndOverflow()
{
    QFETCH(QString, first);
    QFETCH(QString, operation);
    QFETCH(QString, second);
    display()->setText(first);
    press(operation);
    display()->setText(second);
    press(QStringLiteral("="));
    QCOMPARE(m_dialogs.messages.size(), 1);
    QCOMPARE(m_dialogs.messages[0].title, QStringLiteral(" Ошибка ! "));
    QCOMPARE(m_dialogs.messages[0].text, QStringLiteral(" Деление на ноль невозможно ! "));
    QCOMPARE(m_dialogs.messages[0].icon, paycalc::Message::Icon::Error);
    QCOMPARE(display()->text(), second);
}

void TestCalculator::keysThatChangeNothing()
{
    type(QStringLiteral("12"));
    indicator()->setText(QStringLiteral("Сложение"));
    QTest::keyClick(display(), 'a');
    QCOMPARE(display()->text(), QStringLiteral("12"));
    QCOMPARE(indicator()->text(), QString());
    indicator()->setText(QStringLiteral("Сложение"));
    QTest::keyClick(display(), Qt::Key_Backspace);
    QCOMPARE(display()->text(), QStringLiteral("12"));
    QCOMPARE(indicator()->text(), QString());
    // Keys without a character edit as in any text field.
    QTest::keyClick(display(), Qt::Key_Left);
    QTest::keyClick(display(), Qt::Key_Delete);
    QCOMPARE(display()->text(), QStringLiteral("1"));
    QTest::keyClick(display(), Qt::Key_Home);
    type(QStringLiteral("9"));
    QCOMPARE(display()->text(), QStringLiteral("91"));
    // The point always goes to the end, the caret after it.
    QTest::keyClick(display(), Qt::Key_Home);
    type(QStringLiteral("."));
    QCOMPARE(display()->text(), QStringLiteral("91."));
    QCOMPARE(display()->cursorPosition(), 3);
}

void TestCalculator::clearForgetsEverything()
{
    press(QStringLiteral("5+2"));
    press(QStringLiteral("C"));
    QCOMPARE(display()->text(), QString());
    QCOMPARE(m_calculator.pendingOperation(), tools::Calculator::Operation::None);
    QCOMPARE(m_calculator.operand(tools::Calculator::Operation::Add), QString());
    press(QStringLiteral("3="));
    QCOMPARE(display()->text(), QStringLiteral("3"));
}

void TestCalculator::tickerMovesAndKeepsFocus()
{
    auto* ticker = m_form->findChild<QLineEdit*>(QStringLiteral("Ticker"));
    auto* timer = m_form->findChild<QTimer*>(QStringLiteral("Timer"));
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 200);
    const QString text = m_calculator.ticker().text();
    QVERIFY(text.endsWith(tools::Calculator::tickerInvitation()));
    // At least the 40 extra blanks stand in front of the invitation.
    QVERIFY(text.startsWith(QString(41, u' ')));

    QMetaObject::invokeMethod(timer, "timeout");
    QCOMPARE(ticker->text(), text);
    QMetaObject::invokeMethod(timer, "timeout");
    QCOMPARE(ticker->text(), text.mid(1));

    m_form->findChild<QLineEdit*>(QStringLiteral("Indicator"))->setFocus();
    QMetaObject::invokeMethod(timer, "timeout");
    QVERIFY(display()->hasFocus());
}

void TestCalculator::activationEmptiesDisplayKeepsOperation()
{
    press(QStringLiteral("8*"));
    type(QStringLiteral("5"));
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    QCOMPARE(display()->text(), QString());
    press(QStringLiteral("3="));
    QCOMPARE(display()->text(), QStringLiteral(" 24"));
}

// A real box in front of the calculator: closing it returns to the window
// without emptying the display.
class WindowedDialogs : public RecordingDialogs
{
public:
    void showMessage(QWidget* parent, const paycalc::Message& message) override
    {
        RecordingDialogs::showMessage(parent, message);
        QDialog box(parent);
        box.show();
        QTRY_COMPARE(QGuiApplication::focusWindow(), box.windowHandle());
        box.close();
    }
};

void TestCalculator::ownBoxDoesNotCountAsActivation()
{
    delete m_form;
    WindowedDialogs dialogs;
    m_form = new tools::Form4(m_calculator, nullptr, &dialogs);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    press(QStringLiteral("7/0="));
    QCOMPARE(dialogs.messages.size(), 1);
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    QCOMPARE(display()->text(), QStringLiteral("0"));
    delete m_form;
}

void TestCalculator::stateOutlivesWindow()
{
    press(QStringLiteral("9-"));
    auto* timer = m_form->findChild<QTimer*>(QStringLiteral("Timer"));
    for (int i = 0; i < 5; ++i)
        QMetaObject::invokeMethod(timer, "timeout");
    const int position = m_calculator.ticker().position();

    QSignalSpy closed(m_form.data(), &tools::Form4::closed);
    m_form->close();
    QCOMPARE(closed.size(), 1);
    QTRY_VERIFY(m_form.isNull());

    m_form = new tools::Form4(m_calculator, nullptr, &m_dialogs);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    QCOMPARE(m_calculator.ticker().position(), position);
    press(QStringLiteral("4="));
    QCOMPARE(display()->text(), QStringLiteral(" 5"));
}

void TestCalculator::transferHandsOverOnce()
{
    tools::handover::setTransferTarget(QString::fromUtf16(tools::handover::TargetText1));
    press(QStringLiteral("3+4="));
    QSignalSpy transferred(m_form.data(), &tools::Form4::transferred);
    QTest::mouseClick(m_form->findChild<QPushButton*>(QStringLiteral("TransferButton")),
                      Qt::LeftButton);
    QCOMPARE(transferred.size(), 1);
    QVERIFY(!m_form->isVisible());
    QVERIFY(!m_form->findChild<QTimer*>(QStringLiteral("Timer"))->isActive());
    QCOMPARE(display()->text(), QStringLiteral(" 7"));

    // The main window's first activation takes the value with its blank;
    // later activations find nothing, so later typing in the field stays.
    QCOMPARE(tools::handover::takeCalculatorResult(), std::optional<QString>(QStringLiteral(" 7")));
    QCOMPARE(tools::handover::takeCalculatorResult(), std::nullopt);
    QCOMPARE(tools::handover::calculatorResult(), QStringLiteral(" 7"));

    // Shown again: the ticker runs, the display starts empty, a new transfer
    // is taken once again, also when it is empty.
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    QTRY_VERIFY(m_form->findChild<QTimer*>(QStringLiteral("Timer"))->isActive());
    QCOMPARE(display()->text(), QString());
    QTest::mouseClick(m_form->findChild<QPushButton*>(QStringLiteral("TransferButton")),
                      Qt::LeftButton);
    QCOMPARE(tools::handover::takeCalculatorResult(), std::optional<QString>(QString()));
    QCOMPARE(tools::handover::takeCalculatorResult(), std::nullopt);
}

void TestCalculator::handOverKeepsTarget()
{
    tools::handover::setTransferTarget(QString::fromUtf16(tools::handover::TargetText5));
    tools::handover::setCalculatorResult(QStringLiteral("12"));
    QCOMPARE(tools::handover::transferTarget(), QStringLiteral("Text5.text"));
    QCOMPARE(tools::handover::takeCalculatorResult(), std::optional<QString>(QStringLiteral("12")));
    QCOMPARE(tools::handover::transferTarget(), QStringLiteral("Text5.text"));
}

QTEST_MAIN(TestCalculator)
#include "tst_calculator.moc"
