#include "platform/twips.h"

#include <QtTest>
#include <QWidget>

using namespace platform;

// Twips and pixels: the design sizes of the windows and the moving texts.
class TestTwips : public QObject
{
    Q_OBJECT

private slots:
    void toPixels_data();
    void toPixels();
    void centred();
    void widgetScale();
};

void TestTwips::toPixels_data()
{
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<double>("exact");

    QTest::newRow("About width") << 5010 << 96 << 334 << 334.0;
    QTest::newRow("About height") << 4500 << 96 << 300 << 300.0;
    QTest::newRow("144 dpi") << 4500 << 144 << 450 << 450.0;
    QTest::newRow("one pixel") << 15 << 96 << 1 << 1.0;
    QTest::newRow("half rounds up") << 105 << 96 << 7 << 7.0;
    QTest::newRow("scroll step") << 100 << 96 << 7 << 100.0 * 96 / 1440;
}

void TestTwips::toPixels()
{
    QFETCH(int, twips);
    QFETCH(int, dpi);
    QFETCH(int, pixels);
    QFETCH(double, exact);
    QCOMPARE(twipsToPixels(twips, dpi), pixels);
    QCOMPARE(twipsToPixelsExact(twips, dpi), exact);
}

void TestTwips::centred()
{
    QCOMPARE(centredOrigin(QRect(0, 0, 1280, 1024), QSize(334, 300)), QPoint(473, 362));
    QCOMPARE(centredOrigin(QRect(1280, 0, 1920, 1080), QSize(400, 300)), QPoint(2040, 390));
}

void TestTwips::widgetScale()
{
    QWidget window;
    const double perPixel = twipsPerPixel(&window);
    QCOMPARE(perPixel, 1440.0 / window.logicalDpiX());

    // A box exactly as wide as forty blanks holds forty of them.
    QWidget box(&window);
    const double blank = QFontMetricsF(window.font()).horizontalAdvance(u' ');
    box.resize(qRound(blank * 40), 10);
    QVERIFY(qAbs(blanksAcross(&box, 0) - box.width() / blank) <= 1);
    QCOMPARE(blanksAcross(&box, 5) - blanksAcross(&box, 0), 5);
}

QTEST_MAIN(TestTwips)
#include "tst_twips.moc"
