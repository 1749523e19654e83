#include "form1fixture.h"
#include "mainwindow/form1.h"
#include "mainwindow/trayicon.h"

#include <memory>
#include <QApplication>
#include <QMenu>
#include <QtTest>

class TestTrayIcon : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controlIsCreatedAtLoading();
    void failedLoadingMakesNoControl();
    void clicksPopUpTheirMenus_data();
    void clicksPopUpTheirMenus();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    form1fixture::Recorder m_record;
};

void TestTrayIcon::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    form1fixture::writeSalaryFiles(m_dir->path());
    m_record = {};
}

void TestTrayIcon::cleanup()
{
    m_dir.reset();
}

// The control library is registered beside the test in the build tree, so the
// control must be there (a window without it is failedLoadingMakesNoControl's).
void TestTrayIcon::controlIsCreatedAtLoading()
{
    Form1 form(m_record.setup(m_dir->path()));
    QWidget* control = form.trayIcon().control();
    QVERIFY2(control != nullptr, "the notiko control could not be created: its library and "
                                 "registration belong beside the test in the build tree");

    QCOMPARE(control->objectName(), QStringLiteral("Notiko1"));
    QCOMPARE(control->parentWidget(), &form);
    QVERIFY(control->isHidden());
    QCOMPARE(control->property("TextToolTip").toString(),
             QStringLiteral(" ~ Voldar ™   v.3.0  i ~"));
    QCOMPARE(control->property("ErrorMessage").toBool(), false);
    QVERIFY(m_record.messages.isEmpty());
}

void TestTrayIcon::failedLoadingMakesNoControl()
{
    Form1 form(m_record.setup(m_dir->filePath(QStringLiteral("nowhere"))));
    QCOMPARE(m_record.messages.size(), 1);
    QVERIFY(form.trayIcon().control() == nullptr);
    QVERIFY(form.findChild<QWidget*>(QStringLiteral("Notiko1")) == nullptr);
}

void TestTrayIcon::clicksPopUpTheirMenus_data()
{
    QTest::addColumn<QByteArray>("event");
    QTest::addColumn<QString>("menu");
    QTest::newRow("LeftClick") << QByteArray("LeftClick") << QStringLiteral("mnuHelp");
    QTest::newRow("RightClick") << QByteArray("RightClick") << QStringLiteral("mnuFile");
}

void TestTrayIcon::clicksPopUpTheirMenus()
{
    QFETCH(QByteArray, event);
    QFETCH(QString, menu);

    Form1 form(m_record.setup(m_dir->path()));
    form.show();
    QWidget* control = form.trayIcon().control();
    QVERIFY2(control != nullptr, "the notiko control could not be created: its library and "
                                 "registration belong beside the test in the build tree");

    // The pop-up runs its own event loop; it is closed once it is up.
    QString popped;
    QTimer closer;
    connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popped = popup->objectName();
            popup->close();
            closer.stop();
        }
    });
    closer.start(10);
    QTimer giveUp;
    giveUp.setSingleShot(true);
    connect(&giveUp, &QTimer::timeout, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
    giveUp.start(5000);

    QVERIFY(QMetaObject::invokeMethod(control, event.constData()));
    QCOMPARE(popped, menu);
}

QTEST_MAIN(TestTrayIcon)
#include "tst_trayicon.moc"
