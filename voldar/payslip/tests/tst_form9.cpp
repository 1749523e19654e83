#include "payslip/form9.h"
#include "payslip/payslipfile.h"
#include "platform/titles.h"
#include "testfolder.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;
using paycalc::Message;
using payslip::Form9;
using namespace payslip::test;

namespace {

payslip::PaySlipValues valuesStartingAt(int first)
{
    payslip::PaySlipValues values;
    for (int field = 0; field < payslip::PaySlipFieldCount; ++field)
        values[field] = QString::number(first + field) + u" руб.";
    return values;
}

void writeSlip(const QString& path, const QStringList& lines)
{
    QVERIFY(writeBytes(path, paycalc::cp1251::encodeLines(lines)));
}

// A temporary program folder and a viewer on it whose dialog answers `chosen`
// and whose boxes are recorded.
struct Viewer : ProgramFolder
{
    Viewer() : form(new Form9(data()))
    {
        form->setFileDialogHook([this](QWidget*, const Form9::FileRequest& request) {
            requests.push_back(request);
            return chosen;
        });
        form->setMessageHook([this](QWidget*, const Message& box) { boxes.push_back(box); });
    }
    ~Viewer() { delete form; }
    Viewer(const Viewer&) = delete;
    Viewer& operator=(const Viewer&) = delete;

    void open(const QString& path)
    {
        chosen = path;
        form->findChild<QAction*>(u"open"_s)->trigger();
    }
    // Writes a whole slip of that name in Lists, its fields from `first` on; opens it.
    void openNew(const QString& name, int first)
    {
        writeSlip(lists() + u'/' + name, payslip::paySlipLines(valuesStartingAt(first)));
        open(lists() + u'/' + name);
    }

    QPointer<Form9> form;
    QString chosen;
    std::vector<Form9::FileRequest> requests;
    std::vector<Message> boxes;
};

} // namespace

class TestForm9 : public QObject
{
    Q_OBJECT

private slots:
    void isAWhiteFormWithThreeMenuCommands();
    void openAsksForATextFileInLists();
    void openShowsTheSlipAndItsPeriod();
    void fileFromAnotherFolderIsTheOneShown();
    void emptyValueLinesKeepTheFormerTexts();
    void cancelOrEmptyFileChangesNothing_data();
    void cancelOrEmptyFileChangesNothing();
    void shortOrMissingFileFillsWhatItHasThenReports();
    void exitHidesAndKeepsTheTextsCloseDiscards();
    void printPrintsTheFormAndReportsFailure();
    void savePdfWritesThePrintedFormAsOnePage();
    void savePdfSuggestsTheDocumentsThenTheLastFolder();
    void savePdfCancelledWritesNothing();
    void savePdfFailureIsReported_data();
    void savePdfFailureIsReported();
};

void TestForm9::isAWhiteFormWithThreeMenuCommands()
{
    Viewer viewer;
    QCOMPARE(viewer.form->windowTitle(), QString::fromUtf16(titles::Form9));
    QCOMPARE(viewer.form->centralWidget()->palette().color(QPalette::Window), QColor(Qt::white));

    // The three commands of the viewer, then "Сохранить в PDF…" after them.
    const QList<QAction*> commands = viewer.form->menuBar()->actions();
    QCOMPARE(commands.size(), 4);
    QCOMPARE(commands[3]->objectName(), u"savePdf"_s);
    QCOMPARE(commands[3]->text(), u"Сохранить в PDF…"_s);
    const QStringList names = {u"open"_s, u"print"_s, u"Ex"_s};
    const QStringList texts = {u"Открыть"_s, u"Печать"_s, u"Выход"_s};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(commands[i]->objectName(), names[i]);
        QCOMPARE(commands[i]->text(), texts[i]);
        QCOMPARE(commands[i]->menu(), nullptr);
    }
    QCOMPARE(viewer.form->findChildren<QLineEdit*>().size(), 19);
    for (int field = 1; field <= 19; ++field)
        QCOMPARE(viewer.form->fieldText(field), QString());
    QCOMPARE(viewer.form->periodText(), QString());
}

void TestForm9::openAsksForATextFileInLists()
{
    Viewer viewer;
    viewer.open(QString());
    QCOMPARE(viewer.requests.size(), 1u);
    QCOMPARE(viewer.requests[0].folder, viewer.lists());
    QCOMPARE(viewer.requests[0].filter, u"Text Files (*.txt)"_s);
}

void TestForm9::openShowsTheSlipAndItsPeriod()
{
    Viewer viewer;
    Sheet sheet(viewer.data());
    QVERIFY(sheet.engine.setSelection(paycalc::List::Combo1, 2));
    QVERIFY(sheet.engine.setSelection(paycalc::List::Combo2, 1));
    payslip::savePaySlip(sheet.engine, viewer.data(), u"Март"_s, u"2008"_s);

    viewer.open(viewer.lists() + u"/Март 2008.txt");
    QVERIFY(viewer.boxes.empty());
    const payslip::PaySlipValues values = payslip::paySlipValues(sheet.engine);
    for (int field = 1; field <= 19; ++field) {
        if (!values[field - 1].isEmpty())
            QCOMPARE(viewer.form->fieldText(field), values[field - 1]);
    }
    QVERIFY(viewer.form->fieldText(1).endsWith(u" руб."_s));
    QCOMPARE(viewer.form->periodText(), u"Март 2008 г."_s);
}

void TestForm9::fileFromAnotherFolderIsTheOneShown()
{
    Viewer viewer;
    QTemporaryDir elsewhere;
    writeSlip(elsewhere.path() + u"/Май 2009.txt", payslip::paySlipLines(valuesStartingAt(500)));
    writeSlip(viewer.lists() + u"/Июнь 2009.txt", payslip::paySlipLines(valuesStartingAt(100)));
    writeSlip(elsewhere.path() + u"/Июнь 2009.txt", payslip::paySlipLines(valuesStartingAt(900)));

    viewer.open(elsewhere.path() + u"/Май 2009.txt");
    QVERIFY(viewer.boxes.empty());
    QCOMPARE(viewer.form->fieldText(1), u"500 руб."_s);
    QCOMPARE(viewer.form->periodText(), u"Май 2009 г."_s);

    // Not the slip of the same name in Data/Lists.
    viewer.open(elsewhere.path() + u"/Июнь 2009.txt");
    QCOMPARE(viewer.form->fieldText(19), u"918 руб."_s);
}

void TestForm9::emptyValueLinesKeepTheFormerTexts()
{
    Viewer viewer;
    viewer.openNew(u"Январь 2009.txt"_s, 100);
    payslip::PaySlipValues second = valuesStartingAt(200);
    second[10].clear(); // field 11, line 12
    second[17].clear(); // field 18, line 23
    writeSlip(viewer.lists() + u"/Февраль 2009.txt", payslip::paySlipLines(second));
    viewer.open(viewer.lists() + u"/Февраль 2009.txt");
    QVERIFY(viewer.boxes.empty());
    QCOMPARE(viewer.form->fieldText(10), u"209 руб."_s);
    QCOMPARE(viewer.form->fieldText(11), u"110 руб."_s);
    QCOMPARE(viewer.form->fieldText(12), u"211 руб."_s);
    QCOMPARE(viewer.form->fieldText(18), u"117 руб."_s);
    QCOMPARE(viewer.form->fieldText(19), u"218 руб."_s);
    QCOMPARE(viewer.form->periodText(), u"Февраль 2009 г."_s);
}

void TestForm9::cancelOrEmptyFileChangesNothing_data()
{
    QTest::addColumn<QString>("second"); // opened after March; empty: cancelled
    QTest::newRow("cancelled") << QString();
    QTest::newRow("empty file") << u"Пусто.txt"_s;
}

void TestForm9::cancelOrEmptyFileChangesNothing()
{
    QFETCH(QString, second);
    Viewer viewer;
    viewer.openNew(u"Март 2008.txt"_s, 100);
    QVERIFY(writeBytes(viewer.lists() + u"/Пусто.txt", QByteArray()));
    viewer.open(second.isEmpty() ? QString() : viewer.lists() + u'/' + second);
    QVERIFY(viewer.boxes.empty());
    QCOMPARE(viewer.form->fieldText(1), u"100 руб."_s);
    QCOMPARE(viewer.form->fieldText(5), u"104 руб."_s);
    QCOMPARE(viewer.form->periodText(), u"Март 2008 г."_s);
}

void TestForm9::shortOrMissingFileFillsWhatItHasThenReports()
{
    Viewer viewer;
    viewer.openNew(u"Март 2008.txt"_s, 100);
    writeSlip(viewer.lists() + u"/Апрель 2008.txt",
              payslip::paySlipLines(valuesStartingAt(300)).mid(0, 10));
    viewer.open(viewer.lists() + u"/Апрель 2008.txt");
    const Message shortFile{
        u"Ошибка при чтени файла: Апрель 2008.txt\rПопробуйте создать его заново."_s, u"Ошибка"_s,
        Message::Icon::Error};
    QCOMPARE(viewer.boxes.size(), 1u);
    QCOMPARE(viewer.boxes[0], shortFile);
    QCOMPARE(viewer.form->fieldText(9), u"308 руб."_s);
    QCOMPARE(viewer.form->fieldText(10), u"109 руб."_s);
    QCOMPARE(viewer.form->periodText(), u"Март 2008 г."_s);

    viewer.open(viewer.lists() + u"/Нет такого.txt");
    QCOMPARE(viewer.boxes.size(), 2u);
    QVERIFY(viewer.boxes[1].text.contains(u": Нет такого.txt\r"_s));
    QCOMPARE(viewer.form->fieldText(10), u"109 руб."_s);

    // A whole slip followed by more than a slip could hold is no slip.
    QVERIFY(writeBytes(viewer.lists() + u"/Июль 2008.txt", QByteArray(64 * 1024 + 1, ' ')));
    viewer.open(viewer.lists() + u"/Июль 2008.txt");
    QCOMPARE(viewer.boxes.back().text,
             u"Файл не прочитан: Июль 2008.txt\rФайл больше 64 КБ: это не расчетный листок"_s);
}

void TestForm9::exitHidesAndKeepsTheTextsCloseDiscards()
{
    Viewer viewer;
    viewer.form->show();
    viewer.openNew(u"Март 2008.txt"_s, 100);

    viewer.form->findChild<QAction*>(u"Ex"_s)->trigger();
    QVERIFY(!viewer.form->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(viewer.form);
    viewer.form->show();
    QCOMPARE(viewer.form->fieldText(1), u"100 руб."_s);

    viewer.form->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!viewer.form);
}

void TestForm9::printPrintsTheFormAndReportsFailure()
{
    Viewer viewer;
    std::vector<QWidget*> printed;
    payslip::PrintResult result{true, {}};
    viewer.form->setPrintHook([&](QWidget* widget) {
        printed.push_back(widget);
        return result;
    });
    QAction* print = viewer.form->findChild<QAction*>(u"print"_s);

    print->trigger();
    QCOMPARE(printed.size(), 1u);
    QCOMPARE(printed[0], viewer.form->centralWidget());
    QVERIFY(viewer.boxes.empty());

    result = {false, u"Принтер не установлен"_s};
    print->trigger();
    QCOMPARE(viewer.boxes.size(), 1u);
    QCOMPARE(viewer.boxes[0], Message({u"Документ не напечатан\rПринтер не установлен"_s,
                                       u"Ошибка"_s, Message::Icon::Error}));
}

namespace {

// Runs one of the poppler tools on a PDF and returns what it printed. A
// missing tool fails the test: the tests need poppler-utils.
QString popplerOutput(const QString& tool, const QStringList& arguments)
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty()) {
        QTest::qFail(qPrintable(tool + u" not found: install poppler-utils"), __FILE__, __LINE__);
        return {};
    }
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        QTest::qFail(qPrintable(tool + u" failed: " +
                                QString::fromLocal8Bit(process.readAllStandardError())),
                     __FILE__, __LINE__);
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

void TestForm9::savePdfWritesThePrintedFormAsOnePage()
{
    QTemporaryDir elsewhere;
    const QString pdf = elsewhere.filePath(u"листок.pdf"_s);
    QVERIFY(writeBytes(pdf, "an older file of that name"));
    Viewer viewer;
    viewer.form->show();
    viewer.openNew(u"Март 2008.txt"_s, 1200);
    viewer.form->setSaveDialogHook([&](QWidget*, const Form9::SaveRequest&) { return pdf; });
    viewer.form->findChild<QAction*>(u"savePdf"_s)->trigger();
    QCOMPARE(viewer.boxes, (std::vector<Message>{{u"Файл PDF сохранён\r"_s + pdf, u"Сохранение"_s,
                                                  Message::Icon::Information}}));

    const QString info = popplerOutput(u"pdfinfo"_s, {pdf});
    QVERIFY2(
        info.contains(QRegularExpression(u"^Pages:\\s+1$"_s, QRegularExpression::MultilineOption)),
        qPrintable(info));
    QVERIFY2(info.contains(u"(A4)"_s), qPrintable(info));
    const QString text = popplerOutput(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
    for (const QString& shown :
         {u"РАСЧЕТНЫЙ ЛИСТОК"_s, u"Март 2008 г."_s, u"1200 руб."_s, u"1218 руб."_s, u"К ВЫДАЧЕ"_s})
        QVERIFY2(text.contains(shown), qPrintable(shown + u" not in:\n" + text));
    QVERIFY(QDir(elsewhere.path()).entryList(QDir::Files) == QStringList{u"листок.pdf"_s});
}

// A PDF is proposed among the user's documents, then where the last one went,
// never in Lists, under the shown slip's name.
void TestForm9::savePdfSuggestsTheDocumentsThenTheLastFolder()
{
    Viewer viewer;
    QTemporaryDir elsewhere;
    writeSlip(elsewhere.filePath(u"Май 2009.txt"_s), payslip::paySlipLines(valuesStartingAt(5)));
    viewer.form->show();
    const QDir documents(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));

    // Nothing shown yet: a general name.
    QCOMPARE(viewer.form->pdfRequest().suggestedPath,
             documents.filePath(u"Расчетный листок.pdf"_s));
    QCOMPARE(viewer.form->pdfRequest().filter, u"PDF (*.pdf)"_s);

    viewer.open(elsewhere.filePath(u"Май 2009.txt"_s));
    QCOMPARE(viewer.form->pdfRequest().suggestedPath, documents.filePath(u"Май 2009.pdf"_s));

    QTemporaryDir chosen;
    viewer.form->setSaveDialogHook(
        [&](QWidget*, const Form9::SaveRequest&) { return chosen.filePath(u"листок.pdf"_s); });
    viewer.form->findChild<QAction*>(u"savePdf"_s)->trigger();
    QCOMPARE(viewer.boxes.size(), 1u);
    // A slip that could not be read leaves the period, and the name, as they were.
    viewer.open(viewer.lists() + u"/Нет такого.txt");
    QCOMPARE(viewer.form->pdfRequest().suggestedPath, chosen.filePath(u"Май 2009.pdf"_s));
}

void TestForm9::savePdfCancelledWritesNothing()
{
    Viewer viewer;
    int asked = 0;
    viewer.form->setSaveDialogHook([&](QWidget*, const Form9::SaveRequest&) {
        ++asked;
        return QString();
    });
    viewer.form->findChild<QAction*>(u"savePdf"_s)->trigger();
    QCOMPARE(asked, 1);
    QVERIFY(viewer.boxes.empty());
    QCOMPARE(QDir(viewer.lists()).entryList(QDir::Files), QStringList());
}

void TestForm9::savePdfFailureIsReported_data()
{
    // Root writes through any permission: each failure is a path that cannot
    // be a file, or a disk that fills up under an earlier PDF of that name.
    QTest::addColumn<QString>("blocker"); // made a folder, or a file for "/under"
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("diskSpace"); // bytes a file may have; 0: no limit

    QTest::newRow("a folder of that name") << u"dir.pdf/x"_s << u"dir.pdf"_s << 0;
    QTest::newRow("under a regular file") << u"file"_s << u"file/slip.pdf"_s << 0;
    QTest::newRow("disk fills up") << u"slip.pdf"_s << u"slip.pdf"_s << 2048;
}

void TestForm9::savePdfFailureIsReported()
{
    QFETCH(QString, blocker);
    QFETCH(QString, target);
    QFETCH(int, diskSpace);

    Viewer viewer;
    QTemporaryDir elsewhere;
    if (blocker.contains(u'/'))
        QVERIFY(QDir(elsewhere.path()).mkpath(blocker));
    else
        QVERIFY(writeBytes(elsewhere.filePath(blocker), "a file"));
    const QString path = elsewhere.filePath(target);
    const QStringList before = QDir(elsewhere.path()).entryList(QDir::AllEntries | QDir::Hidden);

    viewer.form->show();
    viewer.form->setSaveDialogHook([&](QWidget*, const Form9::SaveRequest&) { return path; });
    {
        const auto full = diskSpace > 0 ? std::make_unique<FileSizeLimit>(diskSpace) : nullptr;
        viewer.form->findChild<QAction*>(u"savePdf"_s)->trigger();
    }
    QCOMPARE(viewer.boxes.size(), 1u);
    QCOMPARE(viewer.boxes[0].title, u"Ошибка"_s);
    QCOMPARE(viewer.boxes[0].icon, Message::Icon::Error);
    QVERIFY2(viewer.boxes[0].text.startsWith(u"Файл PDF не сохранён\r"_s + path),
             qPrintable(viewer.boxes[0].text));
    // An earlier file of that name is as it was, and nothing is left beside it.
    QCOMPARE(readBytes(path), blocker == target ? "a file"_ba : QByteArray());
    QCOMPARE(QDir(elsewhere.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
}

QTEST_MAIN(TestForm9)
#include "tst_form9.moc"
