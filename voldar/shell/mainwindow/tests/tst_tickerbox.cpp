// The ticker box shows the tail of its text by moving the layout of the whole
// text: what it shows must be the text it was given, and must look as a box
// given that text afresh does.
#include "form1fixture.h"
#include "mainwindow/tickerbox.h"

#include <QImage>
#include <QtTest>

namespace {

const QString Invitation = QStringLiteral(
    "      <-- Заходите на сайт программы https://voldar.example.org : новые версии");

// A box of a fixed size that shows `text`, set in the given steps.
std::unique_ptr<TickerBox> boxShowing(const QStringList& steps)
{
    auto box = std::make_unique<TickerBox>();
    box->resize(300, box->sizeHint().height());
    for (const QString& step : steps)
        box->setText(step);
    return box;
}

// The dark pixels of a picture: the text drawn into it.
struct Ink
{
    int count = 0;
    int left = -1;
    int right = -1;
};

Ink inkOf(const QImage& image)
{
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) >= 128)
                continue;
            ++ink.count;
            ink.left = ink.left < 0 ? x : std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
        }
    }
    return ink;
}

// The text area of a box, without the frame, whose edge is dark in some styles.
QImage textArea(TickerBox& box)
{
    return box.grab().toImage().copy(box.rect().adjusted(3, 3, -3, -3));
}

} // namespace

class TestTickerBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void showsTheTextItWasGiven_data();
    void showsTheTextItWasGiven();
    void tailLooksLikeAFreshBox_data();
    void tailLooksLikeAFreshBox();
    void sameTextDoesNotRepaint();
    void newFontKeepsTheShownText();
    void tickRepaintsTheBoxAlone();
};

void TestTickerBox::initTestCase()
{
    QLocale::setDefault(QLocale::c());
}

void TestTickerBox::showsTheTextItWasGiven_data()
{
    QTest::addColumn<QStringList>("steps");
    const QString abc = QStringLiteral("abc");
    QTest::newRow("whole") << QStringList{abc};
    QTest::newRow("tails") << QStringList{abc, QStringLiteral("bc"), QStringLiteral("c")};
    QTest::newRow("down to nothing") << QStringList{abc, QStringLiteral("c"), QString()};
    QTest::newRow("starting over") << QStringList{abc, QStringLiteral("c"), abc};
    QTest::newRow("another text") << QStringList{abc, QStringLiteral("xyz")};
    QTest::newRow("longer than the one laid out") << QStringList{QStringLiteral("bc"), abc};
    QTest::newRow("a tail of the tail")
        << QStringList{abc, QStringLiteral("bc"), QStringLiteral("c"), QStringLiteral("bc")};
    QTest::newRow("ticker") << QStringList{Invitation, Invitation.mid(1), Invitation.mid(30)};
}

void TestTickerBox::showsTheTextItWasGiven()
{
    QFETCH(QStringList, steps);
    auto box = std::make_unique<TickerBox>();
    for (const QString& step : steps) {
        box->setText(step);
        QCOMPARE(box->text(), step);
        QCOMPARE(box->property("text").toString(), step);
    }
}

void TestTickerBox::tailLooksLikeAFreshBox_data()
{
    QTest::addColumn<int>("cut");
    for (const int cut : {1, 6, 7, 9, 20, 41, 60, static_cast<int>(Invitation.size()) - 3})
        QTest::addRow("%d characters cut", cut) << cut;
}

void TestTickerBox::tailLooksLikeAFreshBox()
{
    QFETCH(int, cut);
    const QString tail = Invitation.mid(cut);
    const auto moved = boxShowing({Invitation, Invitation.mid(1), tail});
    const auto fresh = boxShowing({tail});

    const Ink shown = inkOf(textArea(*moved));
    const Ink expected = inkOf(textArea(*fresh));
    QVERIFY(expected.count > 0);
    // Glyph positions may differ by a fraction of a pixel.
    QVERIFY2(std::abs(shown.left - expected.left) <= 1,
             qPrintable(QStringLiteral("%1 against %2").arg(shown.left).arg(expected.left)));
    QVERIFY2(std::abs(shown.right - expected.right) <= 1,
             qPrintable(QStringLiteral("%1 against %2").arg(shown.right).arg(expected.right)));
    QVERIFY2(std::abs(shown.count - expected.count) <= expected.count / 20,
             qPrintable(QStringLiteral("%1 against %2").arg(shown.count).arg(expected.count)));
}

// An idle ticker costs nothing: the same text again paints nothing.
void TestTickerBox::sameTextDoesNotRepaint()
{
    const auto box = boxShowing({Invitation});
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    form1fixture::PaintCounter counter;
    box->installEventFilter(&counter);

    box->setText(Invitation);
    QCoreApplication::processEvents();
    QCOMPARE(counter.paints, 0);

    // Painted in the tick itself, not at a later turn of the event loop.
    box->setText(Invitation.mid(1));
    QCOMPARE(counter.paints, 1);
}

void TestTickerBox::newFontKeepsTheShownText()
{
    const QString tail = Invitation.mid(9);
    const auto moved = boxShowing({Invitation, tail});
    QFont larger = moved->font();
    larger.setPointSizeF(larger.pointSizeF() * 1.5);
    moved->setFont(larger);
    QCOMPARE(moved->text(), tail);

    auto fresh = std::make_unique<TickerBox>();
    fresh->setFont(larger);
    fresh->resize(moved->size());
    fresh->setText(tail);
    const Ink shown = inkOf(textArea(*moved));
    const Ink expected = inkOf(textArea(*fresh));
    QVERIFY(std::abs(shown.left - expected.left) <= 1);
    QVERIFY(std::abs(shown.count - expected.count) <= expected.count / 20);
}

// A tick repaints the box alone: it covers every one of its pixels, the
// corners its frame leaves free in the colour of the window behind, so the
// window need not be painted again under it. Where the text has no ink (its
// leading blanks) the box shows its own base colour.
void TestTickerBox::tickRepaintsTheBoxAlone()
{
    QWidget window;
    QPalette green = window.palette();
    green.setColor(QPalette::Window, QColor(180, 236, 226));
    green.setColor(QPalette::Base, QColor(250, 240, 160));
    window.setPalette(green);
    window.setAutoFillBackground(true);
    auto* const box = new TickerBox(&window);
    box->setGeometry(10, 10, 300, box->sizeHint().height());
    window.resize(320, 60);
    box->setText(Invitation);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    form1fixture::PaintCounter behind;
    form1fixture::PaintCounter inFront;
    window.installEventFilter(&behind);
    box->installEventFilter(&inFront);
    box->setText(Invitation.mid(1));
    QTRY_COMPARE(inFront.paints, 1);
    QCOMPARE(behind.paints, 0);

    const QImage image = box->grab().toImage();
    QCOMPARE(image.pixelColor(0, 0), QColor(180, 236, 226));
    QCOMPARE(image.pixelColor(image.width() - 1, image.height() - 1), QColor(180, 236, 226));
    QCOMPARE(image.pixelColor(7, image.height() / 2), QColor(250, 240, 160));
}

QTEST_MAIN(TestTickerBox)
#include "tst_tickerbox.moc"
