#include "recordingdialogs.h"
#include "tools/form8.h"
#include "tools/pension.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using tools::PensionKind;

Q_DECLARE_METATYPE(tools::PensionKind)

namespace {

const QString ResultTitle = QStringLiteral("Пенсия");
const QString NotLiving = QStringLiteral("В нашей стране столько не живут !");
const QString ServiceMinimum =
    QStringLiteral("Пенсия назначается по достижению 20 лет выслуги в ВС !");
const QString WorkMinimum = QStringLiteral("Пенсия назначается по достижению 25 лет общего "
                                           "трудового стажа \r(в т.ч. 12,5 и более лет "
                                           "гражданской и 12,5 и более военной)");

tools::PensionInputs salaries(bool supplement = false, double other = 0)
{
    return {10000, 15000, 5000, other, supplement};
}

} // namespace

class TestPension : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void percentage_data();
    void percentage();
    void messages_data();
    void messages();
    void cutAmount_data();
    void cutAmount();
    void missingSalary();
    void windowReadsLabelsAndAsks();
    void windowRefusesWithoutSalaries();
    void windowCancelledBox();
    void windowSupplementAddsExactly1560();
    void windowStaysOnTop();
};

void TestPension::percentage_data()
{
    QTest::addColumn<PensionKind>("kind");
    QTest::addColumn<double>("years");
    QTest::addColumn<double>("percent");

    QTest::newRow("service 20") << PensionKind::Service << 20.0 << 50.0;
    QTest::newRow("service 25") << PensionKind::Service << 25.0 << 65.0;
    QTest::newRow("service 31") << PensionKind::Service << 31.0 << 83.0;
    QTest::newRow("service 32 capped") << PensionKind::Service << 32.0 << 85.0;
    QTest::newRow("service 31.7 capped") << PensionKind::Service << 31.7 << 85.0;
    QTest::newRow("work 25") << PensionKind::WorkExperience << 25.0 << 50.0;
    QTest::newRow("work 40") << PensionKind::WorkExperience << 40.0 << 65.0;
    QTest::newRow("work 60") << PensionKind::WorkExperience << 60.0 << 85.0;
}

void TestPension::percentage()
{
    QFETCH(PensionKind, kind);
    QFETCH(double, years);
    QFETCH(double, percent);
    QCOMPARE(tools::pensionPercentage(kind, years), percent);
}

void TestPension::messages_data()
{
    QTest::addColumn<PensionKind>("kind");
    QTest::addColumn<double>("years");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");

    QTest::newRow("service 25") << PensionKind::Service << 25.0 << ResultTitle
                                << QStringLiteral(
                                       "При выслуге лет равной  25\r\rВаша пенсия с "
                                       "учетом надбавки в 240 руб. составит : 19740 руб.");
    QTest::newRow("service 32 maximal")
        << PensionKind::Service << 32.0 << ResultTitle
        << QStringLiteral("При выслуге  32 (32 года и более )\r\rВаша пенсия с учетом надбавки в "
                          "240 руб. максимальна и составляет : 25740 руб.");
    QTest::newRow("service 31.7 maximal wording")
        << PensionKind::Service << 31.7 << ResultTitle
        << QStringLiteral("При выслуге  31.7 (32 года и более )\r\rВаша пенсия с учетом надбавки в "
                          "240 руб. максимальна и составляет : 25740 руб.");
    QTest::newRow("work 40") << PensionKind::WorkExperience << 40.0 << ResultTitle
                             << QStringLiteral("При общем трудовом стаже  40\r\rВаша пенсия с "
                                               "учетом надбавки в 240 руб. составит : 19740 руб.");
    QTest::newRow("work 60 maximal")
        << PensionKind::WorkExperience << 60.0 << ResultTitle
        << QStringLiteral("При общем трудовом стаже  60 (60 лет и более )\r\rВаша пенсия с учетом "
                          "надбавки в 240 руб. максимальна и составляет : 25740 руб.");
    QTest::newRow("service 19.9") << PensionKind::Service << 19.9 << QStringLiteral("Внимание !")
                                  << ServiceMinimum;
    QTest::newRow("work 24") << PensionKind::WorkExperience << 24.0 << QStringLiteral("Внимание !")
                             << WorkMinimum;
    QTest::newRow("service 56") << PensionKind::Service << 56.0 << QStringLiteral("Внимание !")
                                << NotLiving;
    QTest::newRow("service 55 accepted")
        << PensionKind::Service << 55.0 << ResultTitle
        << QStringLiteral("При выслуге  55 (32 года и более )\r\rВаша пенсия с учетом надбавки в "
                          "240 руб. максимальна и составляет : 25740 руб.");
    QTest::newRow("work 66") << PensionKind::WorkExperience << 66.0 << QStringLiteral("Внимание !")
                             << NotLiving;
}

void TestPension::messages()
{
    QFETCH(PensionKind, kind);
    QFETCH(double, years);
    QFETCH(QString, title);
    QFETCH(QString, text);
    const paycalc::Message message = tools::pensionMessage(kind, salaries(), years);
    QCOMPARE(message.title, title);
    QCOMPARE(message.text, text);
    QCOMPARE(message.icon, title == ResultTitle ? paycalc::Message::Icon::Information
                                                : paycalc::Message::Icon::Error);
}

void TestPension::cutAmount_data()
{
    QTest::addColumn<double>("pension");
    QTest::addColumn<QString>("shown");
    QTest::newRow("decimals cut") << 12345.678 << QStringLiteral(" 12345.6");
    QTest::newRow("small") << 9876.54321 << QStringLiteral(" 9876.54");
    QTest::newRow("six digits") << 123456.78 << QStringLiteral(" 123456");
    QTest::newRow("whole") << 19740.0 << QStringLiteral(" 19740");
}

void TestPension::cutAmount()
{
    QFETCH(double, pension);
    QFETCH(QString, shown);
    QCOMPARE(tools::pensionText(pension), shown);
}

void TestPension::missingSalary()
{
    QVERIFY(!tools::missingSalaries(salaries()).has_value());
    for (int zero = 0; zero < 3; ++zero) {
        tools::PensionInputs inputs = salaries();
        (zero == 0   ? inputs.rankSalary
         : zero == 1 ? inputs.raisedPositionSalary
                     : inputs.longServiceBonus) = 0;
        const auto refusal = tools::missingSalaries(inputs);
        QVERIFY(refusal.has_value());
        QCOMPARE(refusal->title, QStringLiteral("Внимание!"));
        QCOMPARE(refusal->icon, paycalc::Message::Icon::None);
        QCOMPARE(refusal->text,
                 QStringLiteral("Необходимо выбрать в основном окне программы :\r  оклад по "
                                "воискому званию\r  оклад по воинской должности (при "
                                "необходимости класс у летчиков) \r  и процентную надбавку за "
                                "выслугу лет "));
    }
}

void TestPension::windowReadsLabelsAndAsks()
{
    RecordingDialogs dialogs;
    dialogs.answers = {QStringLiteral("25 лет")};
    int reads = 0;
    tools::Form8 form(
        [&reads] {
            ++reads;
            return std::array<QString, 3>{QStringLiteral("10000"), QStringLiteral("15000"),
                                          QStringLiteral("5000")};
        },
        nullptr, &dialogs);
    form.findChild<QLineEdit*>(QStringLiteral("OtherAllowancesText"))
        ->setText(QStringLiteral("100.5"));
    form.findChild<QPushButton*>(QStringLiteral("Command1"))->click();

    QCOMPARE(reads, 1);
    QCOMPARE(dialogs.questions.size(), 1);
    QCOMPARE(dialogs.questions[0].title, QStringLiteral("Расчет пенсии"));
    QCOMPARE(
        dialogs.questions[0].prompt,
        QStringLiteral("Введите выслугу лет в ВС \rс округлением до целого года свыше 20 лет"));
    QCOMPARE(dialogs.questions[0].initial, QString());
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.messages[0].text.endsWith(u"составит : 19840.5 руб."));

    // Labels written with a comma are read up to the comma.
    dialogs.answers = {QStringLiteral("40")};
    tools::Form8 commas(
        [] {
            return std::array<QString, 3>{QStringLiteral("10000,99"), QStringLiteral("15000"),
                                          QStringLiteral("5000")};
        },
        nullptr, &dialogs);
    commas.findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    QCOMPARE(dialogs.questions.last().prompt,
             QStringLiteral("Введите общий трудовой стаж \rс округлением до целого года , свыше "
                            "25 лет"));
    QVERIFY(dialogs.messages.last().text.endsWith(u"составит : 19740 руб."));
}

void TestPension::windowRefusesWithoutSalaries()
{
    RecordingDialogs dialogs;
    tools::Form8 form(
        [] {
            return std::array<QString, 3>{QStringLiteral("0"), QStringLiteral("15000"),
                                          QStringLiteral("5000")};
        },
        nullptr, &dialogs);
    for (const char* button : {"Command1", "Command2"})
        form.findChild<QPushButton*>(QString::fromLatin1(button))->click();
    QCOMPARE(dialogs.questions.size(), 0);
    QCOMPARE(dialogs.messages.size(), 2);
    QVERIFY(dialogs.messages[0].text.startsWith(u"Необходимо выбрать"));
    QVERIFY(dialogs.messages[1].text.startsWith(u"Необходимо выбрать"));
}

void TestPension::windowCancelledBox()
{
    RecordingDialogs dialogs;
    dialogs.answers = {std::nullopt};
    tools::Form8 form(
        [] {
            return std::array<QString, 3>{QStringLiteral("10000"), QStringLiteral("15000"),
                                          QStringLiteral("5000")};
        },
        nullptr, &dialogs);
    form.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].text, ServiceMinimum);
}

void TestPension::windowSupplementAddsExactly1560()
{
    RecordingDialogs dialogs;
    const auto labels = [] {
        return std::array<QString, 3>{QStringLiteral("12345.67"), QStringLiteral("15432.1"),
                                      QStringLiteral("4321.09")};
    };
    tools::Form8 form(labels, nullptr, &dialogs);
    dialogs.answers = {QStringLiteral("23"), QStringLiteral("23")};
    auto* button = form.findChild<QPushButton*>(QStringLiteral("Command1"));
    button->click();
    form.findChild<QCheckBox*>(QStringLiteral("LegalSupplementCheck"))->setChecked(true);
    button->click();
    QCOMPARE(dialogs.messages.size(), 2);
    const auto amountOf = [](const QString& text) {
        const qsizetype colon = text.lastIndexOf(u':');
        return text.mid(colon + 1).chopped(5).toDouble();
    };
    QCOMPARE(amountOf(dialogs.messages[1].text) - amountOf(dialogs.messages[0].text), 1560.0);
    QCOMPARE(tools::pensionAmount(PensionKind::Service, salaries(true), 23) -
                 tools::pensionAmount(PensionKind::Service, salaries(false), 23),
             1560.0);
}

void TestPension::windowStaysOnTop()
{
    tools::Form8 form([] { return std::array<QString, 3>{}; });
    QVERIFY(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(form.windowTitle(), QStringLiteral(" ~ Voldar ™   Пенсия  ~"));
}

QTEST_MAIN(TestPension)
#include "tst_pension.moc"
