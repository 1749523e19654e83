#include "httptestserver.h"
#include "platform/addresses.h"
#include "platform/titles.h"
#include "windows/form7.h"

#include <QLabel>
#include <QNetworkProxy>
#include <QPushButton>
#include <QtTest>

using platform::Box;

namespace {

const QString UpdateTitle = QString::fromUtf16(titles::Form7);
const Box UpToDateBox{Box::Kind::Information, UpdateTitle,
                      QStringLiteral("У Вас самая новая версия !")};
const Box NewVersionBox{Box::Kind::Question, QStringLiteral("Voldar"),
                        QStringLiteral("На сервере есть новая версия !\r\rПосетить сервер для "
                                       "получения новой версии ?")};
const Box UnreachableBox{Box::Kind::Error, UpdateTitle,
                         QStringLiteral(" Сервер недоступен !\r\r Проверьте подключение к "
                                        "Internet !")};

// The window under test with its boxes and opened pages recorded.
struct Harness
{
    explicit Harness(const QUrl& versionFile, bool answer = false)
        : window(new Form7(
              nullptr, versionFile,
              [this, answer](QWidget*, const Box& box) {
                  boxes.append(box);
                  return answer;
              },
              [this](const QString& page) { opened.append(page); }))
    {
        window->show();
    }
    ~Harness() { delete window.data(); }

    QString text(const char* name) const
    {
        return window->findChild<QLabel*>(QLatin1String(name))->text();
    }
    QPushButton* button(const char* name) const
    {
        return window->findChild<QPushButton*>(QLatin1String(name));
    }
    QColor statusColour() const
    {
        return window->findChild<QLabel*>(QStringLiteral("Label3"))
            ->palette()
            .color(QPalette::WindowText);
    }
    void click(const char* name) const { QTest::mouseClick(button(name), Qt::LeftButton); }

    QList<Box> boxes;
    QStringList opened;
    QPointer<Form7> window;
};

HttpTestServer answering(const QByteArray& body)
{
    return HttpTestServer([body](QTcpSocket* socket) { HttpTestServer::answer(socket, body); });
}

} // namespace

namespace QTest {
template <> char* toString(const Box& box)
{
    return QTest::toString(
        QStringLiteral("%1 | %2 | %3").arg(static_cast<int>(box.kind)).arg(box.title, box.text));
}
} // namespace QTest

class TestForm7 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void layout();
    void upToDate();
    void upToDateWhateverFollowsTheVersion_data();
    void upToDateWhateverFollowsTheVersion();
    void newVersion_data();
    void newVersion();
    void unreachable_data();
    void unreachable();
    void cancel();
    void exitWhileRunning();
    void askToCheck_data();
    void askToCheck();
};

void TestForm7::initTestCase()
{
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
}

void TestForm7::layout()
{
    Harness form(HttpTestServer::refusedUrl());
    QCOMPARE(form.window->windowTitle(), UpdateTitle);
    QCOMPARE(form.text("Version"), QStringLiteral("3.0.0"));
    QCOMPARE(form.text("Label1"), QStringLiteral(" Версия вашей программы :"));
    QCOMPARE(form.text("Label4"), QStringLiteral("Версия на сервере :"));
    QCOMPARE(form.text("Label2"), QStringLiteral(" Операция :"));
    QVERIFY(form.text("Label5").isEmpty());
    QVERIFY(form.text("Label3").isEmpty());
    QVERIFY(!form.text("Label6").isEmpty());
    QCOMPARE(form.window->findChild<QWidget*>(QStringLiteral("Frame2"))->property("title"),
             QStringLiteral(" Друзья ! "));
    QCOMPARE(form.window->findChild<QWidget*>(QStringLiteral("Frame1"))->property("title"),
             QStringLiteral(" Версии "));
    QCOMPARE(form.button("Command1")->text(), QStringLiteral("Старт"));
    QCOMPARE(form.button("Command2")->text(), QStringLiteral("Выход"));
    QVERIFY(!form.button("Command1")->isFlat());
}

void TestForm7::upToDate()
{
    HttpTestServer server = answering("3.0.0\r\n");
    Harness form(server.url());

    form.click("Command1");
    QCOMPARE(form.button("Command1")->text(), QStringLiteral("Отмена"));
    QCOMPARE(form.text("Label3"), QStringLiteral("Подождите пожалуйста ..."));
    QCOMPARE(form.statusColour(), QColor(Qt::blue));

    QTRY_COMPARE(form.boxes.size(), 1);
    QCOMPARE(form.boxes.first(), UpToDateBox);
    QCOMPARE(form.text("Label5"), QStringLiteral("3.0.0"));
    QVERIFY(form.text("Label3").isEmpty());
    QCOMPARE(form.button("Command1")->text(), QStringLiteral("Старт"));
    QVERIFY(form.opened.isEmpty());

    // The window can check again.
    form.click("Command1");
    QTRY_COMPARE(form.boxes.size(), 2);
    QCOMPARE(server.requests(), 2);
}

// Only the characters compared with the local version need to be text.
void TestForm7::upToDateWhateverFollowsTheVersion_data()
{
    QTest::addColumn<QByteArray>("body");

    QTest::newRow("Windows-1251 note") << QByteArray("3.0.0\r\n\xCD\xEE\xE2\xE0\xFF \xE2\xE5\xF0"
                                                     "\xF1\xE8\xFF \xE2\xFB\xF8\xEB\xE0!\r\n");
    QTest::newRow("NUL bytes") << QByteArray("3.0.0\0\0\0\0", 9);
    QTest::newRow("Windows-1251 and NUL bytes") << QByteArray("3.0.0 \xEE\xEA\0\xFF\0", 11);
}

void TestForm7::upToDateWhateverFollowsTheVersion()
{
    QFETCH(QByteArray, body);

    HttpTestServer server = answering(body);
    Harness form(server.url());
    form.click("Command1");
    QTRY_COMPARE(form.boxes.size(), 1);
    QCOMPARE(form.boxes.first(), UpToDateBox);
    QCOMPARE(form.text("Label5"), QStringLiteral("3.0.0"));
    QCOMPARE(form.button("Command1")->text(), QStringLiteral("Старт"));
    QVERIFY(form.opened.isEmpty());
}

void TestForm7::newVersion_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("visit");
    QTest::addColumn<QString>("serverVersion");

    QTest::newRow("newer, visit") << QByteArray("3.1.0\r\n") << true << QStringLiteral("3.1.0");
    QTest::newRow("newer, stay") << QByteArray("3.1.0\r\n") << false << QStringLiteral("3.1.0");
    QTest::newRow("shorter file") << QByteArray("3.1") << true << QStringLiteral("3.1");
}

void TestForm7::newVersion()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, visit);
    QFETCH(QString, serverVersion);

    HttpTestServer server = answering(body);
    Harness form(server.url(), visit);
    form.click("Command1");
    QTRY_COMPARE(form.boxes.size(), 1);
    QCOMPARE(form.boxes.first(), NewVersionBox);
    QCOMPARE(form.text("Label5"), serverVersion);
    QCOMPARE(form.button("Command1")->text(), QStringLiteral("Старт"));
    QCOMPARE(form.opened,
             visit ? QStringList{QString::fromUtf16(addresses::DownloadPage)} : QStringList());
}

void TestForm7::unreachable_data()
{
    QTest::addColumn<bool>("refused"); // nothing listens at the address
    QTest::addColumn<QByteArray>("body");

    QTest::newRow("connection refused") << true << QByteArray();
    QTest::newRow("empty file") << false << QByteArray();
    QTest::newRow("over 64 KiB") << false
                                 << QByteArray(QByteArray("3.0.0") + QByteArray(70 * 1024, ' '));
    QTest::newRow("not text") << false << QByteArray("3.0\0.0\0\0", 8);
}

void TestForm7::unreachable()
{
    QFETCH(bool, refused);
    QFETCH(QByteArray, body);

    HttpTestServer server = answering(body);
    Harness form(refused ? HttpTestServer::refusedUrl() : server.url());
    form.click("Command1");
    QTRY_COMPARE(form.boxes.size(), 1);
    QCOMPARE(form.boxes.first(), UnreachableBox);
    QVERIFY(form.text("Label5").isEmpty());
    QCOMPARE(form.text("Label3"), QStringLiteral("Ошибка"));
    QCOMPARE(form.statusColour(), QColor(Qt::red));
    QCOMPARE(form.button("Command1")->text(), QStringLiteral("Старт"));
    QVERIFY(form.button("Command1")->isEnabled());
    QVERIFY(form.opened.isEmpty());
}

void TestForm7::cancel()
{
    // A server that takes the request and sends only the start of the answer.
    HttpTestServer server([](QTcpSocket* socket) {
        socket->write("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n3.0");
    });
    Harness form(server.url());

    form.click("Command1");
    QTRY_COMPARE(form.text("Label3"), QStringLiteral(" Получение информации с сервера ..."));
    QVERIFY(form.window->isEnabled()); // the window stays usable while it waits

    form.click("Command1");
    QCOMPARE(form.text("Label3"), QStringLiteral(" Отмена "));
    QCOMPARE(form.statusColour(), QColor(Qt::blue));
    QVERIFY(!form.button("Command1")->isEnabled());
    QVERIFY(form.button("Command2")->isEnabled());

    QTest::qWait(100);
    QVERIFY(form.boxes.isEmpty());
    QCOMPARE(form.text("Label3"), QStringLiteral(" Отмена "));
    QVERIFY(!form.button("Command1")->isEnabled());
}

void TestForm7::exitWhileRunning()
{
    HttpTestServer server([](QTcpSocket*) {}); // takes the request, never answers
    Harness form(server.url());
    form.click("Command1");
    QTRY_COMPARE(form.text("Label3"), QStringLiteral(" Отпарвление запроса ..."));

    form.click("Command2");
    QTRY_VERIFY(form.window.isNull());
    QTest::qWait(50);
    QVERIFY(form.boxes.isEmpty());
}

void TestForm7::askToCheck_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TestForm7::askToCheck()
{
    QFETCH(bool, answer);
    QList<Box> asked;
    const bool result = shellwindows::askToCheckForUpdates(nullptr, [&](QWidget*, const Box& box) {
        asked.append(box);
        return answer;
    });
    QCOMPARE(result, answer);
    QCOMPARE(asked, (QList<Box>{{Box::Kind::Question, QStringLiteral("  ~ Voldar ™ обновление ~ "),
                                 QStringLiteral("Вы хотите проверить обновление на сервере ?")}}));
}

QTEST_MAIN(TestForm7)
#include "tst_form7.moc"
