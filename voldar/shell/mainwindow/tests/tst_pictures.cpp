#include "form1fixture.h"
#include "mainwindow/form1.h"
#include "mainwindow/form10.h"
#include "mainwindow/trayicon.h"
#include "payslip/form3.h"
#include "windows/form2.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QtTest>

using namespace Qt::StringLiterals;

// Runs with QT_SCALE_FACTOR=2: every picture shown must have device pixels of
// its own, twice as many each way, not be a 100 % picture the painter enlarges.
namespace {

QString sharp(const QString& name, const QPixmap& pixmap, QSize size)
{
    if (pixmap.devicePixelRatio() == 2.0 && pixmap.size() == size * 2)
        return name;
    return u"%1 blurred: %2 x %3 at ratio %4"_s.arg(name)
        .arg(pixmap.width())
        .arg(pixmap.height())
        .arg(pixmap.devicePixelRatio());
}

// The label pictures and button icons `window` shows, by name, sorted; Qt's
// own ("qt_...") are the style's.
QStringList pictures(const QWidget& window)
{
    QStringList found;
    const auto shows = [&](const QWidget& widget) {
        return widget.isVisibleTo(&window) && !widget.objectName().startsWith(u"qt_");
    };
    for (const QLabel* label : window.findChildren<QLabel*>())
        if (const QPixmap pixmap = label->pixmap(); shows(*label) && !pixmap.isNull())
            found << sharp(label->objectName(), pixmap, pixmap.deviceIndependentSize().toSize());
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
        if (shows(*button) && !button->icon().isNull())
            found << sharp(button->objectName(), button->icon().pixmap(button->iconSize(), 2.0),
                           button->iconSize());
    found.sort();
    return found;
}

} // namespace

class TestPictures : public QObject
{
    Q_OBJECT

private slots:
    void everyPictureHasItsOwnDevicePixels()
    {
        QVERIFY2(qApp->devicePixelRatio() == 2.0, "run with QT_SCALE_FACTOR=2");
        QTemporaryDir dir;
        form1fixture::writeSalaryFiles(dir.path());
        form1fixture::Recorder record;

        const Form10 splash(record.setup(dir.path()));
        QCOMPARE(pictures(splash), QStringList{u"Picture1"_s});
        const Form2 about(nullptr, [](const QString&) {});
        QCOMPARE(pictures(about), QStringList{u"Picture1"_s});
        const payslip::Form3 printing;
        QCOMPARE(pictures(printing), QStringList{u"Picture1"_s});

        Form1 form(record.setup(dir.path()));
        QCOMPARE(pictures(form), (QStringList{u"Command1"_s, u"Command2"_s, u"Command3"_s,
                                              u"Command4"_s, u"Command5"_s, u"Command6"_s}));
        // The window system takes the window icon at whichever size it shows.
        for (const int size : {32, 64})
            QCOMPARE(sharp(u"icon"_s, form.windowIcon().pixmap(QSize(size, size), 2.0),
                           QSize(size, size)),
                     u"icon"_s);

        QWidget* const tray = form.trayIcon().control();
        QVERIFY2(tray, "the notiko control belongs beside the test in the build tree");
        QCOMPARE(sharp(u"tray"_s, tray->property("Icon").value<QIcon>().pixmap(QSize(16, 16), 2.0),
                       QSize(16, 16)),
                 u"tray"_s);

        // The control's own About window is modal: looked at while it is open.
        QStringList aboutTray;
        QTimer look;
        connect(&look, &QTimer::timeout, this, [&] {
            if (QWidget* const window = QApplication::activeModalWidget()) {
                aboutTray = pictures(*window);
                window->close();
            }
        });
        look.start(10);
        QMetaObject::invokeMethod(tray, "ShowAbout");
        QCOMPARE(aboutTray, QStringList{u"Image1"_s});
    }
};

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
