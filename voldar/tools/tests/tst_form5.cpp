#include "recordingdialogs.h"
#include "tools/form5.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>

using namespace Qt::StringLiterals;

class TestForm5 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void init();
    void cleanup();

    void opensReady();
    void enterChain();
    void enterInLastBoxWhileComputed();
    void focusSelectsAll();
    void validationRewrites_data();
    void validationRewrites();
    void yearLimitFollowsCalendar();
    void computeFillsRows_data();
    void computeFillsRows();
    void buttonsEnableAndTotals();
    void clearButtons();
    void marqueeScrolls();
    void unexpectedFailureReported();

private:
    QLineEdit* box(int number) const
    {
        return m_form->findChild<QLineEdit*>(u"Text" + QString::number(number));
    }
    QPushButton* button(int number) const
    {
        return m_form->findChild<QPushButton*>(u"Command" + QString::number(number));
    }
    QStringList row(int first) const
    {
        return {box(first)->text(), box(first + 1)->text(), box(first + 2)->text()};
    }
    void enterDates(const QStringList& dates);

    RecordingDialogs m_dialogs;
    QPointer<tools::Form5> m_form;
};

void TestForm5::init()
{
    m_dialogs = RecordingDialogs();
    m_form = new tools::Form5(nullptr, &m_dialogs);
    m_form->setToday([] { return QDate(2024, 6, 1); });
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
}

void TestForm5::cleanup()
{
    delete m_form;
}

void TestForm5::enterDates(const QStringList& dates)
{
    for (int i = 0; i < dates.size(); ++i)
        box(i + 1)->setText(dates[i]);
}

void TestForm5::opensReady()
{
    QCOMPARE(m_form->size(), QSize(371, 585));
    QCOMPARE(m_form->windowTitle(), QStringLiteral("  ~ Voldar ™  Выслуга ~"));
    QVERIFY(box(1)->hasFocus());
    QVERIFY(button(1)->isEnabled());
    QVERIFY(button(3)->isEnabled());
    QVERIFY(m_form->findChild<QRadioButton*>(QStringLiteral("opt1"))->isChecked());
    QVERIFY(!button(4)->toolTip().isEmpty());
    for (int i = 1; i <= 30; ++i)
        QVERIFY2(box(i) != nullptr && box(i)->text().isEmpty(), qPrintable(QString::number(i)));
}

void TestForm5::enterChain()
{
    enterDates({QStringLiteral("2000"), QStringLiteral("1"), QStringLiteral("1"),
                QStringLiteral("2001"), QStringLiteral("1"), QStringLiteral("1")});
    box(1)->setFocus();
    for (int next = 2; next <= 6; ++next) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), box(next));
    }
    QTest::keyClick(box(6), Qt::Key_Enter);
    QCOMPARE(QApplication::focusWidget(), button(1));
    // Enter on "Считать" runs it.
    QTest::keyClick(button(1), Qt::Key_Return);
    QCOMPARE(row(7),
             (QStringList{QStringLiteral(" 1"), QStringLiteral(" 0"), QStringLiteral(" 0")}));
    QVERIFY(m_dialogs.messages.isEmpty());
}

void TestForm5::enterInLastBoxWhileComputed()
{
    enterDates({QStringLiteral("2000"), QStringLiteral("1"), QStringLiteral("1"),
                QStringLiteral("2001"), QStringLiteral("1"), QStringLiteral("1")});
    button(1)->click();
    QVERIFY(!button(1)->isEnabled());
    box(6)->setFocus();
    QTest::keyClick(box(6), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), box(6));
    QVERIFY(m_dialogs.messages.isEmpty());
}

void TestForm5::focusSelectsAll()
{
    box(2)->setText(QStringLiteral("12"));
    box(3)->setText(QStringLiteral("31"));
    box(2)->setFocus(Qt::TabFocusReason);
    QCOMPARE(box(2)->selectedText(), QStringLiteral("12"));
    // Entered through the Enter chain, too: typing replaces the text.
    QTest::keyClick(box(2), Qt::Key_Return);
    QCOMPARE(box(3)->selectedText(), QStringLiteral("31"));
    QTest::keyClicks(box(3), QStringLiteral("5"));
    QCOMPARE(box(3)->text(), QStringLiteral("5"));
    // Tabbing back in selects again.
    QTest::keyClick(box(3), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), box(2));
    QCOMPARE(box(2)->selectedText(), QStringLiteral("12"));
}

void TestForm5::validationRewrites_data()
{
    QTest::addColumn<QStringList>("dates");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("firstLine");

    QTest::newRow("all empty") << QStringList{u""_s, u""_s, u""_s, u""_s, u""_s, u""_s}
                               << QStringList{u" 1901"_s, u""_s, u""_s, u""_s, u""_s, u""_s}
                               << QStringLiteral(" Да здравствуют долгожители!!!");
    QTest::newRow("end month 0") << QStringList{u"  2000x"_s, u"5"_s, u"1"_s,
                                                u"2001"_s,    u"0"_s, u"1"_s}
                                 << QStringList{u"2000"_s, u"5"_s,  u"1"_s,
                                                u"2001"_s, u" 1"_s, u"1"_s}
                                 << QStringLiteral(" Введите месяц с 1 по 12 ");
    QTest::newRow("end day 32") << QStringList{u"1999abc"_s, u"07x"_s, u" 1"_s,
                                               u"2001"_s,    u"1"_s,   u"32"_s}
                                << QStringList{u"1999"_s, u"7"_s, u"1"_s,
                                               u"2001"_s, u"1"_s, u" 31"_s}
                                << QStringLiteral(" Введите день с 1 по 31 ");
}

void TestForm5::validationRewrites()
{
    QFETCH(QStringList, dates);
    QFETCH(QStringList, after);
    QFETCH(QString, firstLine);
    enterDates(dates);
    button(1)->click();
    QCOMPARE(m_dialogs.messages.size(), 1);
    QVERIFY(m_dialogs.messages[0].text.startsWith(firstLine + u"\r\r"));
    QCOMPARE(m_dialogs.messages[0].title, QStringLiteral(" Ошибочка вышла!!! "));
    for (int i = 0; i < 6; ++i)
        QCOMPARE(box(i + 1)->text(), after[i]);
    // Nothing computed; "Считать" stays available.
    QVERIFY(button(1)->isEnabled());
    QCOMPARE(box(7)->text(), QString());
}

void TestForm5::yearLimitFollowsCalendar()
{
    enterDates({QStringLiteral("2000"), QStringLiteral("1"), QStringLiteral("1"),
                QStringLiteral("2038"), QStringLiteral("1"), QStringLiteral("1")});
    button(1)->click();
    QVERIFY(m_dialogs.messages.isEmpty());
    QCOMPARE(row(10),
             (QStringList{QStringLiteral(" 38"), QStringLiteral(" 0"), QStringLiteral(" 0")}));

    box(4)->setText(QStringLiteral("2039"));
    button(1)->click();
    QCOMPARE(m_dialogs.messages.size(), 1);
    QVERIFY(m_dialogs.messages[0].text.startsWith(u" Поделитесь машиной времени!!!"));
    QCOMPARE(box(4)->text(), QStringLiteral(" 2024"));
}

void TestForm5::computeFillsRows_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("rowBox");

    QTest::newRow("год за год") << QStringLiteral("opt1") << 19;
    QTest::newRow("год за 1.5") << QStringLiteral("opt2") << 13;
    QTest::newRow("год за 2") << QStringLiteral("opt3") << 16;
    QTest::newRow("год за 3") << QStringLiteral("opt4") << 22;
}

void TestForm5::computeFillsRows()
{
    QFETCH(QString, option);
    QFETCH(int, rowBox);
    m_form->findChild<QRadioButton*>(option)->setChecked(true);
    enterDates({QStringLiteral("1999"), QStringLiteral("10"), QStringLiteral("1"),
                QStringLiteral("2001"), QStringLiteral("1"), QStringLiteral("1")});
    button(1)->click();
    QCOMPARE(row(10),
             (QStringList{QStringLiteral(" 1"), QStringLiteral(" 3"), QStringLiteral(" 0")}));
    QCOMPARE(row(rowBox), row(7));
    const QStringList zero{QStringLiteral(" 0"), QStringLiteral(" 0"), QStringLiteral(" 0")};
    for (int other : {13, 16, 19, 22}) {
        if (other != rowBox)
            QCOMPARE(row(other), zero);
    }
    if (option == u"opt2")
        QCOMPARE(row(7),
                 (QStringList{QStringLiteral(" 1"), QStringLiteral(" 10"), QStringLiteral(" 15")}));
    if (option == u"opt4")
        QCOMPARE(row(7),
                 (QStringList{QStringLiteral(" 3"), QStringLiteral(" 9"), QStringLiteral(" 0")}));
    QVERIFY(box(1)->hasFocus());
}

void TestForm5::buttonsEnableAndTotals()
{
    enterDates({QStringLiteral("2000"), QStringLiteral("1"), QStringLiteral("11"),
                QStringLiteral("2000"), QStringLiteral("12"), QStringLiteral("1")});
    button(1)->click(); // 0 years, 10 months, 20 days
    QVERIFY(!button(1)->isEnabled());
    QVERIFY(button(3)->isEnabled());
    button(3)->click();
    QVERIFY(!button(3)->isEnabled());
    QCOMPARE(row(28),
             (QStringList{QStringLiteral(" 0"), QStringLiteral(" 10"), QStringLiteral(" 20")}));
    QCOMPARE(row(25), row(28));

    // Any change of a date box allows the next period.
    box(3)->setText(QStringLiteral("1"));
    box(4)->setText(QStringLiteral("2001"));
    box(5)->setText(QStringLiteral("2"));
    box(6)->setText(QStringLiteral("16"));
    QVERIFY(button(1)->isEnabled());
    m_form->findChild<QRadioButton*>(QStringLiteral("opt3"))->setChecked(true);
    button(1)->click(); // 1 year 1 month 15 days, at 2: 2 years 3 months 0 days
    QCOMPARE(row(7),
             (QStringList{QStringLiteral(" 2"), QStringLiteral(" 3"), QStringLiteral(" 0")}));
    button(3)->click();
    QCOMPARE(row(28),
             (QStringList{QStringLiteral(" 3"), QStringLiteral(" 1"), QStringLiteral(" 20")}));
    QCOMPARE(row(25),
             (QStringList{QStringLiteral(" 2"), QStringLiteral(" 0"), QStringLiteral(" 5")}));
}

void TestForm5::clearButtons()
{
    enterDates({QStringLiteral("2000"), QStringLiteral("1"), QStringLiteral("1"),
                QStringLiteral("2001"), QStringLiteral("1"), QStringLiteral("1")});
    button(1)->click();
    button(3)->click();
    QVERIFY(!button(3)->isEnabled());

    button(2)->click(); // "Обнулить": the period only
    QVERIFY(button(1)->isEnabled());
    for (int first = 7; first <= 22; first += 3)
        QCOMPARE(row(first),
                 (QStringList{QStringLiteral(" 0"), QStringLiteral(" 0"), QStringLiteral(" 0")}));
    QCOMPARE(row(28),
             (QStringList{QStringLiteral(" 1"), QStringLiteral(" 0"), QStringLiteral(" 0")}));
    QCOMPARE(box(1)->text(), QStringLiteral("2000"));
    // Text9 did not change (" 0" before and after), so "Плюсовать" stays off.
    QVERIFY(!button(3)->isEnabled());

    button(5)->click(); // "Обнулить всего"
    QVERIFY(button(3)->isEnabled());
    QCOMPARE(row(25),
             (QStringList{QStringLiteral(" 0"), QStringLiteral(" 0"), QStringLiteral(" 0")}));
    QCOMPARE(row(28), row(25));
}

void TestForm5::marqueeScrolls()
{
    auto* timer = m_form->findChild<QTimer*>(QStringLiteral("Timer"));
    auto* line = m_form->findChild<QLineEdit*>(QStringLiteral("txtRun"));
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 150);
    QMetaObject::invokeMethod(timer, "timeout");
    const QString full = line->text();
    QVERIFY(full.startsWith(u"  "));
    QVERIFY(full.endsWith(tools::Form5::marqueeInvitation()));
    QMetaObject::invokeMethod(timer, "timeout");
    QCOMPARE(line->text(), full.mid(1));
    for (qsizetype i = 2; i < full.size(); ++i)
        QMetaObject::invokeMethod(timer, "timeout");
    QCOMPARE(line->text(), full.right(1));
    QMetaObject::invokeMethod(timer, "timeout");
    QCOMPARE(line->text(), full);
}

// A handler that fails unexpectedly reports it and leaves the window usable.
class FailingDialogs : public RecordingDialogs
{
public:
    void showMessage(QWidget* parent, const paycalc::Message& message) override
    {
        RecordingDialogs::showMessage(parent, message);
        if (messages.size() == 1)
            throw std::runtime_error("message box failed");
    }
};

void TestForm5::unexpectedFailureReported()
{
    FailingDialogs dialogs;
    tools::Form5 form(nullptr, &dialogs);
    form.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    QCOMPARE(dialogs.messages.size(), 2);
    QCOMPARE(dialogs.messages[1].title, QStringLiteral(" Ошибка "));
    QCOMPARE(dialogs.messages[1].icon, paycalc::Message::Icon::Error);
    QCOMPARE(dialogs.messages[1].text,
             QStringLiteral(" Произошла внутреняя ошибка \r Перезапустите программу либо введите "
                            "свои данные в поля! "));
    // The replacement was not written: the handler stopped where it failed.
    QCOMPARE(form.findChild<QLineEdit*>(QStringLiteral("Text1"))->text(), QString());
}

QTEST_MAIN(TestForm5)
#include "tst_form5.moc"
