#include "paycalc/payengine.h"
#include "recordingsink.h"

#include <QDate>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace paycalc;

// The salary files shipped in Data/, loaded through the engine as the main
// window loads them.
class TestDataFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void listsHoldEveryRankAndGrade();
    void salariesAreLookedUp_data();
    void salariesAreLookedUp();
    void filesAreWindows1251WithCrLf();

private:
    RecordingSink m_sink;
    std::unique_ptr<PayEngine> m_engine;
};

void TestDataFiles::initTestCase()
{
    m_engine = std::make_unique<PayEngine>(m_sink, QStringLiteral(VOLDAR_SOURCE_DATA_DIR));
    m_engine->beginLoad(QDate(2024, 5, 17));
    QVERIFY(m_engine->fillLists());
    QVERIFY(m_sink.messages.isEmpty());
}

void TestDataFiles::listsHoldEveryRankAndGrade()
{
    const QStringList ranks = m_sink.items.value(List::Combo1);
    QCOMPARE(ranks.size(), 20);
    QCOMPARE(ranks.first(), u"Рядовой (матрос)"_s);
    QCOMPARE(ranks.at(9), u"Лейтенант"_s);
    QCOMPARE(ranks.last(), u"Маршал Российской Федерации"_s);
    const QStringList grades = m_sink.items.value(List::Combo2);
    QCOMPARE(grades.size(), 50);
    QCOMPARE(grades.first(), u"1 тарифный разряд"_s);
    QCOMPARE(grades.last(), u"50 тарифный разряд"_s);
    for (const QString& name : ranks + grades)
        QVERIFY2(!name.contains(u',') && !name.isEmpty(), qPrintable(name));
}

void TestDataFiles::salariesAreLookedUp_data()
{
    QTest::addColumn<bool>("rank");
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("salary");
    QTest::newRow("private") << true << 0 << 6659.0;
    QTest::newRow("lieutenant") << true << 9 << 13318.0;
    QTest::newRow("colonel") << true << 14 << 17312.0;
    QTest::newRow("marshal") << true << 19 << 53260.0;
    QTest::newRow("grade 1") << false << 0 << 13318.0;
    QTest::newRow("grade 10") << false << 9 << 26636.0;
}

void TestDataFiles::salariesAreLookedUp()
{
    QFETCH(bool, rank);
    QFETCH(int, index);
    QFETCH(double, salary);
    QVERIFY(m_engine->setSelection(rank ? List::Combo1 : List::Combo2, index));
    QCOMPARE(rank ? m_engine->sheet().RankSalary : m_engine->sheet().PositionSalary, salary);
    QVERIFY(m_sink.messages.isEmpty());
}

void TestDataFiles::filesAreWindows1251WithCrLf()
{
    double previous = 0;
    for (int index = 0; index < 50; ++index) {
        QVERIFY(m_engine->setSelection(List::Combo2, index));
        const double salary = m_engine->sheet().PositionSalary;
        QVERIFY2(salary > previous, qPrintable(QString::number(index)));
        previous = salary;
    }
    for (const char* name : {"/Zvanie.Txt", "/Dolznost.Txt"}) {
        QFile file(QStringLiteral(VOLDAR_SOURCE_DATA_DIR) + QString::fromLatin1(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.endsWith("\r\n\r\n\r\n"));
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        QVERIFY(!bytes.contains("\xD0\xA0")); // no UTF-8 Cyrillic
    }
}

QTEST_GUILESS_MAIN(TestDataFiles)
#include "tst_datafiles.moc"
