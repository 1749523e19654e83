#include "platform/addresses.h"
#include "platform/titles.h"
#include "platform/twips.h"
#include "windows/form2.h"

#include <QLabel>
#include <QPointer>
#include <QtTest>

class TestForm2 : public QObject
{
    Q_OBJECT

private slots:
    void texts();
    void fixedSize();
    void clicks_data();
    void clicks();
    void closingDeletes();
};

void TestForm2::texts()
{
    Form2 window(nullptr, [](const QString&) {});
    QCOMPARE(window.windowTitle(), QString::fromUtf16(titles::Form2));
    const auto text = [&](const char* name) {
        return window.findChild<QLabel*>(QLatin1String(name))->text();
    };
    QCOMPARE(text("Label1"), QStringLiteral("   Voldar ™   v.3.0  i  "));
    QCOMPARE(text("Label2"), QStringLiteral("  Авторские права :"));
    QCOMPARE(text("Label4"), QStringLiteral("Помощь на сайте :"));
    QCOMPARE(text("Label5"), QString::fromUtf16(addresses::Site));
    QVERIFY(text("Label3").startsWith(QString::fromUtf16(addresses::DeveloperName)));
    QVERIFY(!text("Label6").isEmpty());
    QVERIFY(!window.findChild<QLabel*>(QStringLiteral("Picture1"))->pixmap().isNull());
    QVERIFY(window.findChild<QWidget*>(QStringLiteral("Line1")));
    QVERIFY(window.findChild<QWidget*>(QStringLiteral("Line2")));
}

void TestForm2::fixedSize()
{
    Form2 window(nullptr, [](const QString&) {});
    const QSize design(platform::twipsToPixels(5010, window.logicalDpiX()),
                       platform::twipsToPixels(4500, window.logicalDpiY()));
    QCOMPARE(window.designSize(), design);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.size(), design);

    // Dragging the border: the window keeps its size.
    window.resize(design.width() + 120, design.height() - 80);
    QCOMPARE(window.size(), design);
    window.setGeometry(window.x(), window.y(), 50, 50);
    QCOMPARE(window.size(), design);

    // Centred on the screen it opened on (within the frame's few pixels).
    const QPoint offCentre = window.geometry().center() - window.screen()->geometry().center();
    QVERIFY2(offCentre.manhattanLength() <= 8,
             qPrintable(QStringLiteral("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
}

void TestForm2::clicks_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("address"); // empty: the control opens nothing

    const QString site = QString::fromUtf16(addresses::Site);
    QTest::newRow("Picture1") << QStringLiteral("Picture1") << site;
    QTest::newRow("Label1") << QStringLiteral("Label1") << site;
    QTest::newRow("Label2") << QStringLiteral("Label2") << QString();
    QTest::newRow("Label3") << QStringLiteral("Label3")
                            << QString::fromUtf16(addresses::DeveloperPage);
    QTest::newRow("Label4") << QStringLiteral("Label4") << QString();
    QTest::newRow("Label5") << QStringLiteral("Label5") << site;
    QTest::newRow("Label6") << QStringLiteral("Label6") << QString();
}

void TestForm2::clicks()
{
    QFETCH(QString, control);
    QFETCH(QString, address);

    QStringList opened;
    Form2 window(nullptr, [&](const QString& page) { opened.append(page); });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QWidget* const target = window.findChild<QWidget*>(control);
    QVERIFY(target);

    QTest::mouseClick(target, Qt::LeftButton);
    QCOMPARE(opened, address.isEmpty() ? QStringList() : QStringList{address});

    // The right button opens nothing.
    QTest::mouseClick(target, Qt::RightButton);
    QCOMPARE(opened.size(), address.isEmpty() ? 0 : 1);
}

void TestForm2::closingDeletes()
{
    QPointer<Form2> window = new Form2(nullptr, [](const QString&) {});
    window->show();
    window->close();
    QTRY_VERIFY(window.isNull());
}

QTEST_MAIN(TestForm2)
#include "tst_form2.moc"
