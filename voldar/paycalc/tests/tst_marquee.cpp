#include "paycalc/marquee.h"

#include <QTest>

using namespace Qt::StringLiterals;
using paycalc::Marquee;

class TestMarquee : public QObject
{
    Q_OBJECT

private slots:
    void movesLeftAndStartsOver()
    {
        Marquee marquee;
        marquee.setText(u"<--ab"_s, 2);
        QCOMPARE(marquee.text(), u"  <--ab"_s);
        const QStringList expected{u"  <--ab"_s, u" <--ab"_s, u"<--ab"_s, u"--ab"_s,
                                   u"-ab"_s,     u"ab"_s,     u"b"_s,     u"  <--ab"_s};
        for (const QString& shown : expected)
            QCOMPARE(marquee.tick(), shown);
        QCOMPARE(marquee.position(), 1);
    }

    void emptyTextStaysEmpty()
    {
        Marquee marquee;
        marquee.setText(QString(), -3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(marquee.tick(), QString());
        QCOMPARE(marquee.position(), 1);
    }

    void blanksFor_data()
    {
        QTest::addColumn<double>("box");
        QTest::addColumn<double>("blank");
        QTest::addColumn<int>("adjust");
        QTest::addColumn<int>("blanks");
        QTest::newRow("whole") << 400.0 << 4.0 << -10 << 90;
        QTest::newRow("rounded halves to even") << 400.4 << 7.5 << -10 << 40;
        QTest::newRow("narrow box") << 30.0 << 4.0 << -10 << -3;
        QTest::newRow("no blank width") << 300.0 << 0.2 << -10 << -10;
        QTest::newRow("nonsense width") << 1e300 << 4.0 << 0 << 0;
    }

    void blanksFor()
    {
        QFETCH(double, box);
        QFETCH(double, blank);
        QFETCH(int, adjust);
        QFETCH(int, blanks);
        QCOMPARE(Marquee::blanksFor(box, blank, adjust), blanks);
    }
};

QTEST_GUILESS_MAIN(TestMarquee)
#include "tst_marquee.moc"
