#include "platform/boxes.h"
#include "platform/platform.h"
#include "platform/translations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

// Runs under the C locale: Qt's texts must be Russian whatever the system's.
class TestTranslations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(platform::useRussianTexts(), "qtbase_ru.qm is not installed"); }

    void boxesAndDialogsSpeakRussian_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<bool>("result"); // true: the first button is clicked, else the last

        const QStringList yesNo{u"Да"_s, u"Нет"_s};
        QTest::newRow("question, yes") << u"question"_s << yesNo << true;
        QTest::newRow("question, no") << u"question"_s << yesNo << false;
        QTest::newRow("open a file")
            << u"open"_s << QStringList{u"Открыть"_s, u"Отмена"_s} << false;
        QTest::newRow("save a file")
            << u"save"_s << QStringList{u"Сохранить"_s, u"Отмена"_s} << false;
        QTest::newRow("type a text") << u"text"_s << QStringList{u"OK"_s, u"Отмена"_s} << false;
    }
    void boxesAndDialogsSpeakRussian()
    {
        QFETCH(QString, dialog);
        QFETCH(QStringList, buttons);
        QFETCH(bool, result);
        const QString answer = result ? buttons.constFirst() : buttons.constLast();

        // Read while the modal dialog is open, then answered with `answer`.
        QStringList shown;
        QTimer look;
        connect(&look, &QTimer::timeout, this, [&] {
            auto* const open = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!open)
                return;
            look.stop();
            for (QAbstractButton* button : open->findChild<QDialogButtonBox*>()->buttons()) {
                shown << button->text().remove(u'&');
                if (shown.constLast() == answer)
                    button->click();
            }
            if (open->isVisible()) // no such answer: closed all the same
                open->reject();
        });
        look.start(10);

        QTemporaryDir folder;
        bool answered = !result;
        if (dialog == u"question")
            answered = platform::showBox(
                nullptr, {platform::Box::Kind::Question, u"Вопрос"_s, u"Продолжить?"_s});
        else if (dialog == u"open")
            answered =
                !platform::askOpenFileName(nullptr, u"Файл"_s, folder.path(), u"*.txt"_s).isEmpty();
        else if (dialog == u"save")
            answered = !platform::askSaveFileName(nullptr, u"Файл"_s, folder.filePath(u"a.csv"_s),
                                                  u"*.csv"_s)
                            .isEmpty();
        else
            answered = platform::askText(nullptr, u"Текст"_s, u"Ввод"_s, {}).has_value();
        QCOMPARE(shown, buttons);
        QCOMPARE(answered, result);
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
