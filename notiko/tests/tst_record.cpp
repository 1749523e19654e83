// The notification record: its layout, its bytes, the tip field, and how a
// callback's coordinate turns back into a message number.
#include <cstddef>
#include <notiko/notifyicondata.h>
#include <QByteArray>
#include <QTest>

using namespace notiko;

class TestRecord : public QObject
{
    Q_OBJECT

private slots:
    void layout()
    {
        QCOMPARE(sizeof(NotifyIconData), std::size_t(88));
        QCOMPARE(offsetof(NotifyIconData, cbSize), std::size_t(0));
        QCOMPARE(offsetof(NotifyIconData, hWnd), std::size_t(4));
        QCOMPARE(offsetof(NotifyIconData, uID), std::size_t(8));
        QCOMPARE(offsetof(NotifyIconData, uFlags), std::size_t(12));
        QCOMPARE(offsetof(NotifyIconData, uCallbackMessage), std::size_t(16));
        QCOMPARE(offsetof(NotifyIconData, hIcon), std::size_t(20));
        QCOMPARE(offsetof(NotifyIconData, szTip), std::size_t(24));
        QCOMPARE(NotifyIconData().cbSize, 88u);
    }

    void bytesAreLittleEndianFieldsThenTip()
    {
        NotifyIconData record;
        record.hWnd = 0x01020304;
        record.uID = 1;
        record.uFlags = NifMessage | NifIcon | NifTip;
        record.uCallbackMessage = MouseMove;
        record.hIcon = 0xA0B0C0D0;
        buildTip(record, QStringLiteral("ab"));

        const QByteArray bytes = record.toBytes();
        QCOMPARE(bytes.size(), 88);
        QCOMPARE(bytes.left(24), QByteArray::fromHex("58000000"
                                                     "04030201"
                                                     "01000000"
                                                     "07000000"
                                                     "00020000"
                                                     "d0c0b0a0"));
        QCOMPARE(bytes.mid(24, 3), QByteArray("ab\0", 3));
        QCOMPARE(bytes.mid(27), QByteArray(61, ' '));
    }

    void tip_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<QByteArray>("expected");
        const auto text = [](int n) { return QByteArray(n, 'x'); };
        QTest::newRow("empty") << 0 << QByteArray(1, '\0') + QByteArray(63, ' ');
        QTest::newRow("62: NUL and one blank") << 62 << text(62) + QByteArray(1, '\0') + " ";
        QTest::newRow("63: NUL fills the field") << 63 << text(63) + QByteArray(1, '\0');
        QTest::newRow("64: no NUL") << 64 << text(64);
        QTest::newRow("100: cut at 64") << 100 << text(64);
    }

    void tip()
    {
        QFETCH(int, length);
        QFETCH(QByteArray, expected);
        NotifyIconData record;
        buildTip(record, QString(length, QLatin1Char('x')));
        QCOMPARE(QByteArray(record.szTip, TipLength), expected);
        QCOMPARE(tipText(record), QString(qMin(length, TipLength), QLatin1Char('x')));
    }

    void tipIsWindows1251()
    {
        NotifyIconData record;
        const QString text = QStringLiteral(" ~ Voldar ™   v.3.0  i ~ Ёё Помощь €");
        buildTip(record, text);
        const QByteArray bytes(record.szTip, text.size());
        QCOMPARE(bytes,
                 QByteArray(" ~ Voldar \x99   v.3.0  i ~ \xA8\xB8 \xCF\xEE\xEC\xEE\xF9\xFC \x88"));
        QCOMPARE(tipText(record), text);
    }

    void charactersOutsideTheCodePageBecomeQuestionMarks()
    {
        NotifyIconData record;
        buildTip(record, QStringLiteral("a中b😀c"));
        QCOMPARE(QByteArray(record.szTip, 6), QByteArray("a?b?c\0", 6));
    }

    void messageFromTwips_data()
    {
        QTest::addColumn<double>("xTwips");
        QTest::addColumn<double>("twipsPerPixel");
        QTest::addColumn<int>("message");
        QTest::newRow("15 twips/pixel: left press") << 7695.0 << 15.0 << 513;
        QTest::newRow("mouse move") << 7680.0 << 15.0 << 512;
        QTest::newRow("12 twips/pixel") << 6216.0 << 12.0 << 518;
        QTest::newRow("half goes down to even") << 7687.5 << 15.0 << 512;
        QTest::newRow("half goes up to even") << 7702.5 << 15.0 << 514;
        QTest::newRow("below half") << 7702.0 << 15.0 << 513;
    }

    void messageFromTwips()
    {
        QFETCH(double, xTwips);
        QFETCH(double, twipsPerPixel);
        QFETCH(int, message);
        QCOMPARE(notiko::messageFromTwips(xTwips, twipsPerPixel), message);
    }
};

QTEST_GUILESS_MAIN(TestRecord)
#include "tst_record.moc"
