#include "form1fixture.h"
#include "mainwindow/form1.h"
#include "paycalc/cp1251.h"

#include <memory>
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using form1fixture::fire;
using namespace Qt::StringLiterals;

namespace {

// Each value line of a pay slip and the number of the amount label it holds.
constexpr std::pair<int, int> ValueLines[] = {{2, 22},  {3, 24},  {4, 25},  {5, 21},  {6, 26},
                                              {7, 27},  {8, 45},  {9, 28},  {10, 29}, {11, 30},
                                              {12, 31}, {14, 52}, {15, 58}, {16, 59}, {18, 23},
                                              {20, 35}, {21, 65}, {23, 36}, {25, 39}};

enum class Moment
{
    StartUp,
    AfterChanges,
    WhileBoxesWait,
    AfterReset,
    AfterLoading,
};

} // namespace

class TestPaySlipSaved : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void valueLinesHoldTheLabelsOnScreen_data();
    void valueLinesHoldTheLabelsOnScreen();

private:
    template <class T> T* child(const char* name) const
    {
        return m_form->findChild<T*>(QString::fromLatin1(name));
    }
    void makeChanges();

    QTemporaryDir m_dir;
    form1fixture::Recorder m_record;
    std::unique_ptr<Form1> m_form;
};

// Salaries, rates, every additional accrual, the three boxes settled, the tax
// lists and the food ration.
void TestPaySlipSaved::makeChanges()
{
    for (const auto& [list, index] : {std::pair("Combo1", 1),
                                      {"Combo2", 0},
                                      {"Combo3", 4},
                                      {"Combo4", 1},
                                      {"Combo8", 2},
                                      {"Combo11", 1},
                                      {"Combo6", 3},
                                      {"Combo13", 0},
                                      {"Combo14", 2},
                                      {"Combo10", 0}}) {
        child<QComboBox>(list)->setCurrentIndex(index);
        emit child<QComboBox>(list)->activated(index);
    }
    for (const char* check : {"Check6", "Check5", "Check3"})
        child<QAbstractButton>(check)->setChecked(true);
    for (const auto& [box, text, timer] :
         {std::tuple("Text4", "15", 2), {"Text5", "1000.5", 1}, {"Text1", "250", 3}}) {
        child<QLineEdit>(box)->setText(QString::fromLatin1(text));
        fire(m_form->timer(timer));
    }
    fire(m_form->timer(6));
}

void TestPaySlipSaved::valueLinesHoldTheLabelsOnScreen_data()
{
    QTest::addColumn<Moment>("moment");
    QTest::newRow("right after start-up") << Moment::StartUp;
    QTest::newRow("after a sequence of changes") << Moment::AfterChanges;
    QTest::newRow("while boxes wait to be read") << Moment::WhileBoxesWait;
    QTest::newRow("after Обнулить") << Moment::AfterReset;
    QTest::newRow("after loading a saved calculation") << Moment::AfterLoading;
}

// Every value line is the text of its amount label on screen at the moment of
// saving, less its leading blanks; as no label of the sheet is empty, no
// value line is.
void TestPaySlipSaved::valueLinesHoldTheLabelsOnScreen()
{
    QFETCH(Moment, moment);
    form1fixture::writeSalaryFiles(m_dir.path());
    m_form = std::make_unique<Form1>(m_record.setup(m_dir.path()));
    m_record.messages.clear();

    if (moment != Moment::StartUp && moment != Moment::AfterLoading)
        makeChanges();
    if (moment == Moment::WhileBoxesWait) {
        child<QLineEdit>("Text5")->setText(QStringLiteral("2000"));
        child<QLineEdit>("Text1")->setText(QStringLiteral("300"));
    } else if (moment == Moment::AfterReset) {
        m_form->action(QStringLiteral("mnuNew"))->trigger();
    } else if (moment == Moment::AfterLoading) {
        form1fixture::writeFile(m_dir.filePath(QStringLiteral("Save_log.txt")),
                                u"1|0|5|2|1||3|2|4|2"_s.split(u'|'));
        m_form->action(QStringLiteral("mnuLoad"))->trigger();
    }
    m_form->action(QStringLiteral("rlist_save"))->trigger();
    QCOMPARE(m_record.messages.size(), 1);
    QCOMPARE(m_record.messages[0].text, QStringLiteral("Данные сохранены"));

    QFile file(m_dir.filePath(QStringLiteral("Lists/Март 2010.txt")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    paycalc::cp1251::LineReader reader(file.readAll());
    QStringList lines;
    while (const std::optional<QString> line = reader.readLine())
        lines << *line;
    QCOMPARE(lines.size(), 25);
    for (const auto& [line, label] : ValueLines) {
        QString shown = m_form->findChild<QLabel*>(QStringLiteral("Label%1").arg(label))->text();
        QVERIFY2(!shown.trimmed().isEmpty(), qPrintable(QString::number(label)));
        while (shown.startsWith(u' '))
            shown.remove(0, 1);
        QCOMPARE(lines[line - 1], shown);
    }
}

QTEST_MAIN(TestPaySlipSaved)
#include "tst_payslipsaved.moc"
