#include "httptestserver.h"
#include "windows/updatecheck.h"

#include <optional>
#include <QNetworkProxy>
#include <QtTest>

using namespace shellwindows;
using Outcome = UpdateCheck::Outcome;

namespace {

// Records what a check reports.
struct Recorder
{
    explicit Recorder(UpdateCheck& check)
    {
        QObject::connect(&check, &UpdateCheck::stateChanged, &check,
                         [this](int state) { states.append(state); });
        QObject::connect(&check, &UpdateCheck::finished, &check,
                         [this](Outcome outcome, const QString& version) {
                             ++finishedCount;
                             result = outcome;
                             serverVersion = version;
                         });
    }

    QList<int> states;
    int finishedCount = 0;
    std::optional<Outcome> result;
    QString serverVersion;
};

const QString Local = QStringLiteral("3.0.0");

} // namespace

class TestUpdateCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void download_data();
    void download();
    void statesInOrder();
    void connectionRefused();
    void serverNeverAnswers();
    void cancelWhileReceiving();
    void endlessBodyIsCutShort();
    void destroyedWhileRunning();
};

void TestUpdateCheck::initTestCase()
{
    // The tests talk to 127.0.0.1 only; a proxy from the environment must not interfere.
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
}

void TestUpdateCheck::download_data()
{
    QTest::addColumn<QByteArray>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("announceLength");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QString>("serverVersion");

    const QByteArray ok("200 OK");
    const auto padded = [](const QByteArray& start, qsizetype size) -> QByteArray {
        return start + QByteArray(size - start.size(), 'x');
    };
    QTest::newRow("same version") << ok << QByteArray("3.0.0\r\n") << true << Outcome::UpToDate
                                  << Local;
    QTest::newRow("newer version")
        << ok << QByteArray("3.1.0\r\n") << true << Outcome::Different << QStringLiteral("3.1.0");
    QTest::newRow("shorter file") << ok << QByteArray("3.0") << true << Outcome::Different
                                  << QStringLiteral("3.0");
    QTest::newRow("empty file") << ok << QByteArray() << true << Outcome::Unreachable << QString();
    QTest::newRow("64 KiB exactly")
        << ok << padded("3.0.0", 64 * 1024) << false << Outcome::UpToDate << Local;
    QTest::newRow("over 64 KiB, length announced")
        << ok << padded("3.0.0", 64 * 1024 + 1) << true << Outcome::Unreachable << QString();
    QTest::newRow("over 64 KiB, length not announced")
        << ok << padded("3.0.0", 200 * 1024) << false << Outcome::Unreachable << QString();
    // Only the compared characters need to be text.
    QTest::newRow("NUL bytes after the version")
        << ok << QByteArray("3.0.0\0\0\0", 8) << true << Outcome::UpToDate << Local;
    QTest::newRow("not UTF-8 after the version")
        << ok << QByteArray("3.0.0 \xC0\xC1\xF5") << true << Outcome::UpToDate << Local;
    QTest::newRow("Windows-1251 note after the version")
        << ok << QByteArray("3.0.0\r\n\xCD\xEE\xE2\xE0\xFF \xE2\xE5\xF0\xF1\xE8\xFF\r\n") << true
        << Outcome::UpToDate << Local;
    QTest::newRow("newer version, Windows-1251 and NULs after it")
        << ok << QByteArray("3.1.0 \xCD\xEE\xE2\xE0\xFF\0\0", 13) << false << Outcome::Different
        << QStringLiteral("3.1.0");
    QTest::newRow("NUL in the version")
        << ok << QByteArray("3.0\0.0", 6) << true << Outcome::Unreachable << QString();
    QTest::newRow("Windows-1251 in the version")
        << ok << QByteArray("3.\xE0.0 \xCD\xEE\xE2\xE0\xFF") << true << Outcome::Unreachable
        << QString();
    QTest::newRow("not found page") << QByteArray("404 Not Found") << QByteArray("3.1.0") << true
                                    << Outcome::Unreachable << QString();
}

void TestUpdateCheck::download()
{
    QFETCH(QByteArray, status);
    QFETCH(QByteArray, body);
    QFETCH(bool, announceLength);
    QFETCH(Outcome, outcome);
    QFETCH(QString, serverVersion);

    HttpTestServer server([&](QTcpSocket* socket) {
        if (announceLength) {
            HttpTestServer::answer(socket, body, status);
            return;
        }
        // The end of the body is the end of the connection.
        socket->write("HTTP/1.1 " + status + "\r\nConnection: close\r\n\r\n" + body);
        socket->disconnectFromHost();
    });
    UpdateCheck check(server.url(), Local);
    Recorder recorder(check);

    check.start();
    QVERIFY(check.isRunning());
    QTRY_COMPARE(recorder.finishedCount, 1);
    QVERIFY(!check.isRunning());
    QCOMPARE(*recorder.result, outcome);
    QCOMPARE(recorder.serverVersion, serverVersion);
    QCOMPARE(server.requests(), 1);
}

void TestUpdateCheck::statesInOrder()
{
    HttpTestServer server(
        [](QTcpSocket* socket) { HttpTestServer::answer(socket, QByteArrayLiteral("3.0.0")); });
    UpdateCheck check(server.url(), Local);
    Recorder recorder(check);

    check.start();
    QTRY_COMPARE(recorder.finishedCount, 1);
    QCOMPARE(recorder.states,
             (QList<int>{Connecting, Connected, Requesting, ReceivingResponse, ResponseReceived}));
}

void TestUpdateCheck::connectionRefused()
{
    UpdateCheck check(HttpTestServer::refusedUrl(), Local);
    Recorder recorder(check);

    check.start();
    QTRY_COMPARE(recorder.finishedCount, 1);
    QCOMPARE(*recorder.result, Outcome::Unreachable);
    QVERIFY(recorder.serverVersion.isEmpty());
    QVERIFY(!recorder.states.contains(ResponseReceived));
}

void TestUpdateCheck::serverNeverAnswers()
{
    HttpTestServer server([](QTcpSocket*) {});
    UpdateCheck check(server.url(), Local);
    Recorder recorder(check);

    check.start();
    QTRY_COMPARE(server.requests(), 1);
    QTRY_VERIFY(recorder.states.contains(Requesting));
    QTest::qWait(200); // no time-out of our own: still waiting
    QVERIFY(check.isRunning());
    QCOMPARE(recorder.finishedCount, 0);

    const QPointer<QTcpSocket> socket = server.lastSocket();
    check.cancel();
    QVERIFY(!check.isRunning());
    QTRY_VERIFY(!socket || socket->state() != QAbstractSocket::ConnectedState);
    QTest::qWait(50);
    QCOMPARE(recorder.finishedCount, 0); // a cancelled check reports nothing
}

void TestUpdateCheck::cancelWhileReceiving()
{
    // Headers and the start of a body that never completes.
    HttpTestServer server([](QTcpSocket* socket) {
        socket->write("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n3.0.0");
    });
    UpdateCheck check(server.url(), Local);
    Recorder recorder(check);

    check.start();
    QTRY_VERIFY(recorder.states.contains(ReceivingResponse));
    check.cancel();
    QVERIFY(!check.isRunning());
    QTest::qWait(50);
    QCOMPARE(recorder.finishedCount, 0);

    // The same object can check again afterwards.
    HttpTestServer second(
        [](QTcpSocket* socket) { HttpTestServer::answer(socket, QByteArrayLiteral("3.0.0")); });
    UpdateCheck again(second.url(), Local);
    Recorder againRecorder(again);
    again.start();
    QTRY_COMPARE(againRecorder.finishedCount, 1);
    QCOMPARE(*againRecorder.result, Outcome::UpToDate);
}

void TestUpdateCheck::endlessBodyIsCutShort()
{
    // A hostile server that streams forever; the check must stop reading it.
    constexpr qint64 Limit = 256 * 1024 * 1024;
    qint64 written = 0;
    bool closedByClient = false;
    HttpTestServer server([&](QTcpSocket* socket) {
        socket->write("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n3.0.0");
        const auto feed = [&, socket] {
            while (socket->state() == QAbstractSocket::ConnectedState &&
                   socket->bytesToWrite() < 64 * 1024 && written < Limit)
                written += socket->write(QByteArray(16 * 1024, 'x'));
        };
        QObject::connect(socket, &QTcpSocket::bytesWritten, socket, feed);
        QObject::connect(socket, &QTcpSocket::disconnected, socket, [&] { closedByClient = true; });
        feed();
    });
    UpdateCheck check(server.url(), Local);
    Recorder recorder(check);

    check.start();
    QTRY_COMPARE(recorder.finishedCount, 1);
    QCOMPARE(*recorder.result, Outcome::Unreachable);
    QTRY_VERIFY(closedByClient);
    QVERIFY2(written < Limit, "the client read the endless body to the server's limit");
}

void TestUpdateCheck::destroyedWhileRunning()
{
    HttpTestServer server([](QTcpSocket*) {});
    auto check = std::make_unique<UpdateCheck>(server.url(), Local);
    Recorder recorder(*check);
    check->start();
    QTRY_COMPARE(server.requests(), 1);
    check.reset();
    QTest::qWait(50);
    QCOMPARE(recorder.finishedCount, 0);
}

QTEST_GUILESS_MAIN(TestUpdateCheck)
#include "tst_updatecheck.moc"
