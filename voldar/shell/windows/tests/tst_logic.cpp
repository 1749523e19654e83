#include "windows/keyboardinfo.h"
#include "windows/updatecheck.h"

#include <QtTest>

using namespace shellwindows;

class TestLogic : public QObject
{
    Q_OBJECT

private slots:
    void keyboardType_data();
    void keyboardType();
    void keyboardNumbers();
    void layoutWatch();
    void transferStates_data();
    void transferStates();
    void serverVersion_data();
    void serverVersion();
    void versions();
};

void TestLogic::keyboardType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text"); // empty: no text, the label keeps "???"

    QTest::newRow("0") << 0 << QString();
    QTest::newRow("1") << 1
                       << QStringLiteral(
                              "83 - клавишная клавиатура для PC или совместимых компьютеров");
    QTest::newRow("2") << 2 << QStringLiteral("102 - клавишная клавиатура Olivetti");
    QTest::newRow("3") << 3
                       << QStringLiteral(
                              "84 - клавишная клавиатура для AT или совместимых компьютеров");
    QTest::newRow("4") << 4 << QStringLiteral("Расширенная 101\\102 - клавишная клавиатура");
    QTest::newRow("5") << 5 << QStringLiteral("Клавиатура Nokia 1050");
    QTest::newRow("6") << 6 << QStringLiteral("Клавиатура Nokia 9140");
    QTest::newRow("7") << 7 << QStringLiteral("Японская клавиатура");
    QTest::newRow("8") << 8 << QString();
    QTest::newRow("-1") << -1 << QString();
}

void TestLogic::keyboardType()
{
    QFETCH(int, type);
    QFETCH(QString, text);
    QCOMPARE(keyboardTypeText(type).value_or(QString()), text);
}

void TestLogic::keyboardNumbers()
{
    QCOMPARE(keyboardSubtypeText(0), QStringLiteral("0"));
    QCOMPARE(functionKeysText(12), QStringLiteral("12 функциональных клавиш"));
    QCOMPARE(functionKeysText(0), QStringLiteral("0 функциональных клавиш"));
}

void TestLogic::layoutWatch()
{
    LayoutWatch watch;
    QCOMPARE(watch.read(0), std::nullopt); // nothing known: the line keeps "???"
    QCOMPARE(watch.poll(0), std::nullopt);
    QCOMPARE(watch.poll(RussianLayout), QStringLiteral("Русская"));
    QCOMPARE(watch.poll(RussianLayout), std::nullopt); // unchanged: nothing to do
    QCOMPARE(watch.poll(EnglishUsLayout), QStringLiteral("Английская"));
    // German: remembered, but the line keeps the previous language.
    QCOMPARE(watch.poll(0x04070407), std::nullopt);
    QCOMPARE(watch.last(), 0x04070407u);
    QCOMPARE(watch.poll(EnglishUsLayout), QStringLiteral("Английская"));
    // A fresh reading names the layout even when it did not change.
    QCOMPARE(watch.read(EnglishUsLayout), QStringLiteral("Английская"));
}

void TestLogic::transferStates_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("changes");
    QTest::addColumn<QString>("text");

    QTest::newRow("1") << 1 << false << QString();
    QTest::newRow("3") << 3 << true << QStringLiteral(" Подключение к серверу ...");
    QTest::newRow("4") << 4 << true << QStringLiteral(" Подключение прошло удачно! ");
    QTest::newRow("5") << 5 << true << QStringLiteral(" Отпарвление запроса ...");
    QTest::newRow("6") << 6 << false << QString();
    QTest::newRow("7") << 7 << true << QStringLiteral(" Получение информации с сервера ...");
    QTest::newRow("8") << 8 << true << QString();
    QTest::newRow("11") << 11 << false << QString();
    QTest::newRow("12") << 12 << false << QString();
}

void TestLogic::transferStates()
{
    QFETCH(int, state);
    QFETCH(bool, changes);
    QFETCH(QString, text);
    const std::optional<QString> status = transferStateText(state);
    QCOMPARE(status.has_value(), changes);
    if (changes)
        QCOMPARE(*status, text);
}

void TestLogic::serverVersion_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("version");

    QTest::newRow("exact") << QByteArray("3.0.0") << QStringLiteral("3.0.0");
    QTest::newRow("line break after") << QByteArray("3.0.0\r\n") << QStringLiteral("3.0.0");
    QTest::newRow("more after") << QByteArray("3.0.01 beta") << QStringLiteral("3.0.0");
    QTest::newRow("shorter") << QByteArray("3.1") << QStringLiteral("3.1");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF"
                                                   "3.0.0")
                                     << QStringLiteral("3.0.0");
    QTest::newRow("NUL after the version") << QByteArray("3.0.0\0\0", 7) << QStringLiteral("3.0.0");
    QTest::newRow("not UTF-8 after the version")
        << QByteArray("3.0.0\xFF\xFE") << QStringLiteral("3.0.0");
    QTest::newRow("NUL in the version") << QByteArray("3.0\0.0", 6) << QString();
    QTest::newRow("not UTF-8 in the version") << QByteArray("3.\xFF.0") << QString();
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0", 10) << QString();
}

void TestLogic::serverVersion()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, version);
    QCOMPARE(serverVersionFrom(body, 5), version);
}

void TestLogic::versions()
{
    QCOMPARE(versionText(3, 0, 0), QStringLiteral("3.0.0"));
    QCOMPARE(versionText(10, 2, 17), QStringLiteral("10.2.17"));
    QCOMPARE(localVersion(), QStringLiteral("3.0.0"));

    const UpdateCheck check(QUrl(), QStringLiteral("3.0.0"));
    QCOMPARE(check.judge(QStringLiteral("3.0.0")), UpdateCheck::Outcome::UpToDate);
    QCOMPARE(check.judge(QStringLiteral("3.0.1")), UpdateCheck::Outcome::Different);
    QCOMPARE(check.judge(QStringLiteral("2.9.9")), UpdateCheck::Outcome::Different);
    QCOMPARE(check.judge(QStringLiteral("3.0")), UpdateCheck::Outcome::Different);
    QCOMPARE(check.judge(QString()), UpdateCheck::Outcome::Unreachable);
}

QTEST_GUILESS_MAIN(TestLogic)
#include "tst_logic.moc"
