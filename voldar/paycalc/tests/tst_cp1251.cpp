#include "paycalc/cp1251.h"

#include <iconv.h>
#include <QTest>

using namespace Qt::StringLiterals;
namespace cp1251 = paycalc::cp1251;

using Lines = QList<std::optional<QString>>;

class TestCp1251 : public QObject
{
    Q_OBJECT

private slots:
    void decodeAgreesWithIconv();
    void everyAssignedByteRoundTrips();
    void encodeReplacesWhatTheCodePageCannotHold_data();
    void encodeReplacesWhatTheCodePageCannotHold();
    void encodeLinesEndsEveryLineWithCrLf();
    void readLineSplitsAtEveryLineEnd_data();
    void readLineSplitsAtEveryLineEnd();
    void readFieldStopsAtCommaOrQuote_data();
    void readFieldStopsAtCommaOrQuote();
};

void TestCp1251::decodeAgreesWithIconv()
{
    iconv_t converter = iconv_open("UTF-8", "CP1251");
    QVERIFY(converter != iconv_t(-1));
    for (int byte = 0; byte < 256; ++byte) {
        char in[1] = {static_cast<char>(byte)};
        char out[8] = {};
        char* inPtr = in;
        char* outPtr = out;
        size_t inLeft = 1;
        size_t outLeft = sizeof out;
        const size_t result = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft);
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
        const QString ours = cp1251::decode(QByteArrayView(in, 1));
        QCOMPARE(ours.size(), 1);
        if (result == size_t(-1)) {
            // Unassigned in the code page (0x98): the replacement character.
            QCOMPARE(byte, 0x98);
            QCOMPARE(ours.at(0).unicode(), char16_t(0xFFFD));
            continue;
        }
        const QString theirs = QString::fromUtf8(out, outPtr - out);
        QVERIFY2(ours == theirs, qPrintable(u"byte 0x"_s + QString::number(byte, 16)));
    }
    iconv_close(converter);
}

void TestCp1251::everyAssignedByteRoundTrips()
{
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all.append(static_cast<char>(byte));
    QByteArray expected = all;
    expected[0x98] = '?';
    QCOMPARE(cp1251::encode(cp1251::decode(all)), expected);
}

void TestCp1251::encodeReplacesWhatTheCodePageCannotHold_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << u"Data 1.5"_s << QByteArray("Data 1.5");
    QTest::newRow("cyrillic") << u"Ёжик ёж"_s << QByteArray("\xA8\xE6\xE8\xEA \xB8\xE6");
    QTest::newRow("alphabet ends") << u"Аяа"_s << QByteArray("\xC0\xFF\xE0");
    QTest::newRow("trade mark and number") << u"™№"_s << QByteArray("\x99\xB9");
    QTest::newRow("outside the code page") << u"日本"_s << QByteArray("??");
    QTest::newRow("surrogate pair is one character") << u"a😀b"_s << QByteArray("a?b");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QByteArray("?");
}

void TestCp1251::encodeReplacesWhatTheCodePageCannotHold()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(cp1251::encode(text), bytes);
}

void TestCp1251::encodeLinesEndsEveryLineWithCrLf()
{
    QCOMPARE(cp1251::encodeLines({u"a"_s, QString(), u"б"_s}), QByteArray("a\r\n\r\n\xE1\r\n"));
    QCOMPARE(cp1251::encodeLines({}), QByteArray());
}

void TestCp1251::readLineSplitsAtEveryLineEnd_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << QByteArray() << QStringList();
    QTest::newRow("no terminator") << QByteArray("a\r\nb") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("crlf") << QByteArray("a\r\n\r\n") << QStringList{u"a"_s, QString()};
    QTest::newRow("mixed") << QByteArray("a\rb\nc\r\n") << QStringList{u"a"_s, u"b"_s, u"c"_s};
    QTest::newRow("lf cr is two ends")
        << QByteArray("a\n\rb") << QStringList{u"a"_s, QString(), u"b"_s};
    QTest::newRow("nothing trimmed") << QByteArray(" a \r\n") << QStringList{u" a "_s};
    QTest::newRow("nul kept") << QByteArray("a\0b", 3) << QStringList{u"a"_s + QChar(0) + u"b"};
}

void TestCp1251::readLineSplitsAtEveryLineEnd()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    cp1251::LineReader reader(bytes);
    for (const QString& line : lines) {
        const std::optional<QString> read = reader.readLine();
        QVERIFY(read);
        QCOMPARE(*read, line);
    }
    QVERIFY(reader.atEnd());
    QVERIFY(!reader.readLine());
    QVERIFY(!reader.readField());
}

void TestCp1251::readFieldStopsAtCommaOrQuote_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("nextLine");
    QTest::newRow("whole line") << QByteArray("name\r\n5000\r\n") << u"name"_s << u"5000"_s;
    QTest::newRow("comma leaves the rest")
        << QByteArray("\xCA\xE0\xEF\xE8\xF2\xE0\xED, 7000\r\n5000\r\n") << u"Капитан"_s
        << u" 7000"_s;
    QTest::newRow("leading blanks skipped") << QByteArray("  a b\r\nx") << u"a b"_s << u"x"_s;
    QTest::newRow("quoted comma") << QByteArray("\"a, b\"\r\nx") << u"a, b"_s << u"x"_s;
    QTest::newRow("text after quote dropped") << QByteArray("\"a\" b,c\r\nx") << u"a"_s << u"c"_s;
    QTest::newRow("unclosed quote ends at line end") << QByteArray("\"a\r\nx") << u"a"_s << u"x"_s;
    QTest::newRow("empty field") << QByteArray(",x\r\n") << QString() << u"x"_s;
}

void TestCp1251::readFieldStopsAtCommaOrQuote()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, field);
    QFETCH(QString, nextLine);
    cp1251::LineReader reader(bytes);
    QCOMPARE(reader.readField(), std::optional<QString>(field));
    QCOMPARE(reader.readLine(), std::optional<QString>(nextLine));
}

QTEST_GUILESS_MAIN(TestCp1251)
#include "tst_cp1251.moc"
