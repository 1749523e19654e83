// The control's About window: its contents and its mail link.
#include "frmabout.h"

#include <notiko/notiko.h>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QUrl>

using namespace Qt::StringLiterals;

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void contents()
    {
        frmAbout about;
        QCOMPARE(about.windowTitle(), u"About me:"_s);
        QVERIFY(about.isModal());
        for (const char* name : {"Image1", "Label2", "LblMail", "Frame1", "Text1"})
            QVERIFY2(about.findChild<QWidget*>(QString::fromLatin1(name)), name);
        QVERIFY(!about.findChild<QLabel*>(u"Image1"_s)->pixmap().isNull());
        QVERIFY(about.findChild<QLabel*>(u"LblMail"_s)->text().contains(u'@'));
        const QString example = about.findChild<QPlainTextEdit*>(u"Text1"_s)->toPlainText();
        for (const char* name : {"LBUTTONDBLCLK", "LBUTTONDOWN", "LBUTTONUP", "RBUTTONDBLCLK",
                                 "RBUTTONDOWN", "RBUTTONUP"})
            QVERIFY2(example.contains(u'"' + QString::fromLatin1(name) + u'"'), name);
        QVERIFY(example.contains(u"// Левая Кнопка Нажата"_s));
    }

    void mailLinkLightsUpAndOpensMail()
    {
        frmAbout about;
        QList<QUrl> opened;
        about.setUrlOpener([&opened](const QUrl& url) { opened << url; });
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        auto* mail = about.findChild<QLabel*>(u"LblMail"_s);
        const auto color = [mail] { return mail->palette().color(QPalette::WindowText); };
        QCOMPARE(color(), QColor(Qt::black));

        QTest::mouseMove(mail, QPoint(2, 2));
        QTRY_COMPARE(color(), QColor(0, 0, 255));
        QTest::mouseMove(&about, QPoint(1, 1));
        QTRY_COMPARE(color(), QColor(Qt::black));

        QTest::mouseClick(mail, Qt::LeftButton);
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened[0].scheme(), u"mailto"_s);
        QCOMPARE(u"mailto:"_s + mail->text(), opened[0].toString());
    }

    void showAboutIsModal()
    {
        Notiko control;
        bool seen = false;
        QTimer::singleShot(0, this, [&seen] {
            auto* about = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            seen = about && about->objectName() == u"frmAbout"_s;
            if (about)
                about->close();
        });
        control.ShowAbout();
        QVERIFY(seen);
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
