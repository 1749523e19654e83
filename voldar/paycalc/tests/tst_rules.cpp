#include "enginefixture.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace paycalc;

using SheetField = double PaySheet::*;
Q_DECLARE_METATYPE(SheetField)
Q_DECLARE_METATYPE(paycalc::List)
Q_DECLARE_METATYPE(paycalc::Mirror)

class TestRules : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void startUpStampsTitleMonthAndYear_data();
    void startUpStampsTitleMonthAndYear();
    void fillListsAddsEveryListInOrder();
    void fixedItemsAreExact();
    void missingDataFolderStopsLoading();
    void positionFileWithoutEndMarkerKeepsEarlierItems();
    void setSelectionRefusesIndexesOutsideTheList();
    void percentageListsSetTheirRates_data();
    void percentageListsSetTheirRates();
    void noSelectionKeepsTheRateButStillComputes();
    void noSalarySelectionKeepsTheSalaryWithoutMessage();
    void rankChoiceDropsTheFlightRaise();
    void flightAndClassListsExcludeEachOther();
    void foodRationAndSanatoriumShowTheirAmounts_data();
    void foodRationAndSanatoriumShowTheirAmounts();
    void grandTotalKeepsTheOtherCompensation();
    void incomeBracketThenChildren();
    void highestBracketComputesBeforeTheMessage();
    void childrenBeforeBracketAreCleared();
    void sameIndexRunsTheRuleAgain();
    void failedLookupKeepsTheSalary();
    void keyboardLayoutIsShownOnlyOnChange();
};

void TestRules::startUpStampsTitleMonthAndYear_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("dateText");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("years");
    QTest::newRow("2010") << QDate(2010, 3, 15) << u"15.03.2010"_s << 2 << 5 << 7;
    QTest::newRow("December 2026") << QDate(2026, 12, 6) << u"06.12.2026"_s << 11 << 21 << 23;
    QTest::newRow("before the first year") << QDate(2004, 1, 1) << u"01.01.2004"_s << 0 << -1 << 1;
}

void TestRules::startUpStampsTitleMonthAndYear()
{
    QFETCH(QDate, date);
    QFETCH(QString, dateText);
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(int, years);

    RecordingSink sink;
    PayEngine engine(sink, u"/nonexistent"_s);
    engine.beginLoad(date);
    QCOMPARE(sink.title, u"   ~ Voldar ™   v.3.0  i ~    "_s + dateText);
    QCOMPARE(engine.selectedIndex(List::Combo15), month);
    QCOMPARE(engine.selectedIndex(List::Combo16), year);
    QCOMPARE(engine.itemCount(List::Combo15), 12);
    QCOMPARE(engine.itemCount(List::Combo16), years);
    QStringList expected{u"title "_s + sink.title, u"index Combo15 "_s + QString::number(month)};
    if (year >= 0)
        expected << u"index Combo16 "_s + QString::number(year);
    QCOMPARE(sink.calls, expected);
    QCOMPARE(engine.sheet().RegionalMultiplier, 1.0f);
}

void TestRules::fillListsAddsEveryListInOrder()
{
    RecordingSink sink;
    EngineFixture f;
    PayEngine engine(sink, f.dir.path());
    engine.beginLoad(QDate(2024, 5, 17));
    sink.calls.clear();
    QVERIFY(engine.fillLists());
    QCOMPARE(sink.calls,
             (QStringList{u"items Combo1 4"_s, u"items Combo2 3"_s, u"items Combo3 9"_s,
                          u"items Combo4 18"_s, u"items Combo5 7"_s, u"items Combo6 5"_s,
                          u"items Combo7 7"_s, u"items Combo8 14"_s, u"items Combo9 6"_s,
                          u"items Combo13 3"_s, u"items Combo14 6"_s, u"items Combo10 14"_s,
                          u"items Combo11 4"_s, u"items Combo12 11"_s}));
    QCOMPARE(sink.items[List::Combo1],
             (QStringList{u"Рядовой"_s, u"Сержант"_s, u"Майор"_s, u"Генерал"_s}));
    QCOMPARE(engine.itemCount(List::Combo4), 18);
    for (int n = 1; n <= 16; ++n) {
        const auto list = static_cast<List>(n);
        QCOMPARE(engine.isListEnabled(list), list != List::Combo14);
        QCOMPARE(engine.selectedIndex(list), list == List::Combo15   ? 4
                                             : list == List::Combo16 ? 19
                                                                     : -1);
    }
}

void TestRules::fixedItemsAreExact()
{
    const QStringList complexity = PayEngine::fixedItems(List::Combo4, 2024);
    QCOMPARE(complexity.size(), 18);
    QCOMPARE(complexity.at(0), u"Меня лишили 50%"_s);
    QCOMPARE(complexity.at(3), u"Повышенная до 110%"_s);
    QCOMPARE(complexity.at(12), u"Повышенная до 155%"_s);
    QCOMPARE(complexity.at(13), u"В столицах 160%"_s);
    QCOMPARE(complexity.at(14), u"Повышенная до 170%"_s);
    QCOMPARE(complexity.at(17), u"Повышенная до 200%"_s);
    QCOMPARE(PayEngine::fixedItems(List::Combo11, 2024).at(1), u"от 1 до 5 лет "_s);
    QCOMPARE(PayEngine::fixedItems(List::Combo12, 2024).at(0), u" Я не получаю "_s);
    QCOMPARE(PayEngine::fixedItems(List::Combo12, 2024).at(1), u" Только на себя"_s);
    QCOMPARE(PayEngine::fixedItems(List::Combo3, 2024).at(0), u"от 0,5 до 1 года"_s);
    QCOMPARE(PayEngine::fixedItems(List::Combo7, 2024).at(1), u"до 3 (сети шифр.связи 1кл.)"_s);
    QCOMPARE(PayEngine::fixedItems(List::Combo10, 2024).at(12), u"в среднем за год"_s);
    QCOMPARE(PayEngine::fixedItems(List::Combo15, 2024).at(2), u"Март"_s);
    const QStringList years = PayEngine::fixedItems(List::Combo16, 2024);
    QCOMPARE(years.first(), u"2005"_s);
    QCOMPARE(years.last(), u"2025"_s);
    QVERIFY(PayEngine::fixedItems(List::Combo1, 2024).isEmpty());
}

void TestRules::missingDataFolderStopsLoading()
{
    RecordingSink sink;
    PayEngine engine(sink, u"/nonexistent/Data"_s);
    engine.beginLoad(QDate(2024, 5, 17));
    sink.calls.clear();
    QVERIFY(!engine.fillLists());
    QCOMPARE(sink.calls, QStringList{u"message  Не найдена папка Data "_s});
    QCOMPARE(sink.messages.value(0), dataFolderNotFound());
    QCOMPARE(dataFolderNotFound().title, u" Ошибка "_s);
    QCOMPARE(dataFolderNotFound().icon, Message::Icon::Error);
    QCOMPARE(engine.itemCount(List::Combo3), 0);
    QCOMPARE(engine.selectedIndex(List::Combo15), 4);
}

void TestRules::positionFileWithoutEndMarkerKeepsEarlierItems()
{
    EngineFixture f;
    f.writeBytes(u"Dolznost.Txt"_s, "H\r\n1\r\nA\r\n100\r\n2\r\nB\r\n200\r\n");
    RecordingSink sink;
    PayEngine engine(sink, f.dir.path());
    QVERIFY(!engine.fillLists());
    QCOMPARE(sink.calls, (QStringList{u"items Combo1 4"_s, u"items Combo2 2"_s,
                                      u"message  Не найдена папка Data "_s}));
    QCOMPARE(engine.itemCount(List::Combo2), 2);
}

void TestRules::setSelectionRefusesIndexesOutsideTheList()
{
    EngineFixture f;
    QVERIFY(!f.e().setSelection(List::Combo3, 9));
    QVERIFY(!f.e().setSelection(List::Combo3, -2));
    QVERIFY(f.sink.calls.isEmpty());
    QVERIFY(f.e().setSelection(List::Combo3, 8));
    QCOMPARE(f.sink.calls.value(0), u"index Combo3 8"_s);
    QCOMPARE(f.sheet().LongServiceRate, 0.70);
    QVERIFY(f.e().setSelection(List::Combo3, -1));
    QCOMPARE(f.e().mirror(Mirror::Txt3), u"-1"_s);
    QVERIFY(f.e().setSelection(List::Combo16, 0));
    QCOMPARE(f.e().selectedIndex(List::Combo16), 0);
}

void TestRules::percentageListsSetTheirRates_data()
{
    QTest::addColumn<List>("list");
    QTest::addColumn<int>("index");
    QTest::addColumn<SheetField>("field");
    QTest::addColumn<double>("rate");
    QTest::addColumn<Mirror>("mirror");

    QTest::newRow("service first")
        << List::Combo3 << 0 << &PaySheet::LongServiceRate << 0.05 << Mirror::Txt3;
    QTest::newRow("service 2-5") << List::Combo3 << 2 << &PaySheet::LongServiceRate << 0.25
                                 << Mirror::Txt3;
    QTest::newRow("service 22-25")
        << List::Combo3 << 7 << &PaySheet::LongServiceRate << 0.65 << Mirror::Txt3;
    QTest::newRow("complexity cut")
        << List::Combo4 << 0 << &PaySheet::ComplexityRate << 0.50 << Mirror::Txt4;
    QTest::newRow("complexity 110")
        << List::Combo4 << 3 << &PaySheet::ComplexityRate << 1.10 << Mirror::Txt4;
    QTest::newRow("complexity 155")
        << List::Combo4 << 12 << &PaySheet::ComplexityRate << 1.55 << Mirror::Txt4;
    QTest::newRow("complexity capitals")
        << List::Combo4 << 13 << &PaySheet::ComplexityRate << 1.60 << Mirror::Txt4;
    QTest::newRow("complexity 200")
        << List::Combo4 << 17 << &PaySheet::ComplexityRate << 2.0 << Mirror::Txt4;
    QTest::newRow("cipher 1st class")
        << List::Combo7 << 3 << &PaySheet::CipherRate << 0.30 << Mirror::Txt8;
    QTest::newRow("cipher 2nd class")
        << List::Combo7 << 4 << &PaySheet::CipherRate << 0.05 << Mirror::Txt8;
    QTest::newRow("secret 30") << List::Combo8 << 4 << &PaySheet::StateSecretRate << 0.30
                               << Mirror::Txt9;
    QTest::newRow("secret 75") << List::Combo8 << 13 << &PaySheet::StateSecretRate << 0.75
                               << Mirror::Txt9;
    QTest::newRow("special RVSN") << List::Combo9 << 2 << &PaySheet::SpecialConditionsRate << 0.15
                                  << Mirror::Txt10;
    QTest::newRow("special pilots")
        << List::Combo9 << 5 << &PaySheet::SpecialConditionsRate << 1.0 << Mirror::Txt10;
    QTest::newRow("secrecy unit") << List::Combo11 << 3 << &PaySheet::SecrecyUnitRate << 0.20
                                  << Mirror::Txt7;
}

void TestRules::percentageListsSetTheirRates()
{
    QFETCH(List, list);
    QFETCH(int, index);
    QFETCH(SheetField, field);
    QFETCH(double, rate);
    QFETCH(Mirror, mirror);

    EngineFixture f;
    f.e().select(list, index);
    QCOMPARE(f.sheet().*field, rate);
    QCOMPARE(f.e().mirror(mirror), u' ' + QString::number(index));
    QCOMPARE(listOf(mirror), list);
    // The mirror comes first, then the accrual computation's captions.
    QCOMPARE(f.sink.calls.value(0),
             paycalc::objectName(mirror) + u" = ' "_s + QString::number(index) + u'\'');
    QCOMPARE(f.sink.captionOrder().value(0), u"Label31"_s);
}

void TestRules::noSelectionKeepsTheRateButStillComputes()
{
    EngineFixture f;
    f.e().select(List::Combo8, 8);
    f.sink.calls.clear();
    f.e().select(List::Combo8, -1);
    QCOMPARE(f.sheet().StateSecretRate, 0.50);
    QCOMPARE(f.e().mirror(Mirror::Txt9), u"-1"_s);
    QCOMPARE(f.sink.calls.value(0), u"Txt9 = '-1'"_s);
    QVERIFY(f.sink.captionOrder().contains(u"Label29"_s));
}

// A saved "-1" on the rank or grade line clears the selection: the salary
// stays, nothing is looked up, and no "Data folder not found" box appears.
void TestRules::noSalarySelectionKeepsTheSalaryWithoutMessage()
{
    EngineFixture f;
    f.e().select(List::Combo1, 2); // 30000
    f.e().select(List::Combo2, 0); // 10000
    f.e().select(List::Combo5, 1); // flight raise 1.35
    f.sink.calls.clear();

    f.e().select(List::Combo1, -1);
    QCOMPARE(f.sheet().RankSalary, 30000.0);
    QCOMPARE(f.sheet().FlightRaiseFactor, 1.0);
    QCOMPARE(f.sheet().RaisedPositionSalary, 10000.0); // recomputed without the raise
    QCOMPARE(f.e().mirror(Mirror::Txt1), u"-1"_s);
    QVERIFY(f.sink.messages.isEmpty());

    QVERIFY(f.e().setSelection(List::Combo2, -1));
    QCOMPARE(f.sheet().PositionSalary, 10000.0);
    QVERIFY(f.sink.messages.isEmpty());
}

void TestRules::rankChoiceDropsTheFlightRaise()
{
    EngineFixture f;
    f.e().select(List::Combo2, 0); // 10000
    f.e().select(List::Combo3, 0);
    f.e().select(List::Combo5, 1); // 1.35
    QCOMPARE(f.sheet().RaisedPositionSalary, 13500.0);
    f.e().select(List::Combo1, 1); // rank 5000
    QCOMPARE(f.sheet().FlightRaiseFactor, 1.0);
    QCOMPARE(f.sheet().RaisedPositionSalary, 10000.0);
    QCOMPARE(f.sheet().LongServiceBonus, 750.0);
    QCOMPARE(f.e().selectedIndex(List::Combo5), 1);
    f.e().select(List::Combo5, 1);
    QCOMPARE(f.sheet().RaisedPositionSalary, 13500.0);
    QCOMPARE(f.sheet().LongServiceBonus, 925.0);
}

void TestRules::flightAndClassListsExcludeEachOther()
{
    EngineFixture f;
    f.e().select(List::Combo6, 4);
    QCOMPARE(f.sheet().ClassQualificationRate, 0.10);
    QCOMPARE(f.sheet().FlightRaiseFactor, 1.0);
    QVERIFY(!f.e().isListEnabled(List::Combo5));
    QVERIFY(f.sink.calls.contains(u"disable Combo5"_s));
    f.e().select(List::Combo6, 0);
    QVERIFY(f.e().isListEnabled(List::Combo5));
    QCOMPARE(f.sheet().ClassQualificationRate, 0.0);

    f.e().select(List::Combo6, 1); // "3 класс": no reward, still exclusive
    QCOMPARE(f.sheet().ClassQualificationRate, 0.0);
    QVERIFY(!f.e().isListEnabled(List::Combo5));
    f.e().select(List::Combo6, 0);

    f.e().select(List::Combo6, 3);
    f.e().select(List::Combo5, 2); // a flight class clears the reward
    QCOMPARE(f.sheet().FlightRaiseFactor, 1.45);
    QCOMPARE(f.sheet().ClassQualificationRate, 0.0);
    QVERIFY(!f.e().isListEnabled(List::Combo6));
    f.e().select(List::Combo5, 0);
    QCOMPARE(f.sheet().FlightRaiseFactor, 1.0);
    QVERIFY(f.e().isListEnabled(List::Combo6));

    f.e().select(List::Combo5, 6);
    f.e().select(List::Combo5, -1); // no selection changes nothing
    QCOMPARE(f.sheet().FlightRaiseFactor, 1.45);
    QVERIFY(!f.e().isListEnabled(List::Combo6));
    f.e().select(List::Combo6, -1); // but the class list always drops the raise
    QCOMPARE(f.sheet().FlightRaiseFactor, 1.0);
}

void TestRules::foodRationAndSanatoriumShowTheirAmounts_data()
{
    QTest::addColumn<List>("list");
    QTest::addColumn<int>("index");
    QTest::addColumn<SheetField>("field");
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("shown");

    const SheetField food = &PaySheet::FoodRationCompensation;
    const SheetField sanatorium = &PaySheet::SanatoriumCompensation;
    QTest::newRow("January") << List::Combo10 << 0 << food << 620.0 << u" 620"_s;
    QTest::newRow("February") << List::Combo10 << 1 << food << 560.0 << u" 560"_s;
    QTest::newRow("April") << List::Combo10 << 3 << food << 600.0 << u" 600"_s;
    QTest::newRow("December") << List::Combo10 << 11 << food << 620.0 << u" 620"_s;
    QTest::newRow("year average") << List::Combo10 << 12 << food << 608.33 << u" 608.33"_s;
    QTest::newRow("in kind") << List::Combo10 << 13 << food << 0.0 << u" 0"_s;
    QTest::newRow("not received") << List::Combo12 << 0 << sanatorium << 0.0 << u" 0"_s;
    QTest::newRow("self only") << List::Combo12 << 1 << sanatorium << 600.0 << u" 600"_s;
    QTest::newRow("wife and 4 children")
        << List::Combo12 << 6 << sanatorium << 2100.0 << u" 2100"_s;
    QTest::newRow("4 children") << List::Combo12 << 10 << sanatorium << 1800.0 << u" 1800"_s;
}

void TestRules::foodRationAndSanatoriumShowTheirAmounts()
{
    QFETCH(List, list);
    QFETCH(int, index);
    QFETCH(SheetField, field);
    QFETCH(double, amount);
    QFETCH(QString, shown);

    EngineFixture f;
    f.e().select(list, index);
    QCOMPARE(f.sheet().*field, amount);
    const Label label = list == List::Combo10 ? Label::Label40 : Label::Label60;
    QCOMPARE(f.caption(label), u"      "_s + shown + u" руб.");
    QCOMPARE(f.sheet().GrandTotal, amount);
    QCOMPARE(f.caption(Label::Label41), u"      "_s + shown + u" руб.");
    // Nothing is computed: only the two captions.
    QCOMPARE(f.sink.captionOrder(), (QStringList{paycalc::objectName(label), u"Label41"_s}));
}

void TestRules::grandTotalKeepsTheOtherCompensation()
{
    EngineFixture f;
    f.e().select(List::Combo12, 1);
    f.e().select(List::Combo10, 13);
    QCOMPARE(f.sheet().GrandTotal, 600.0);
    f.e().select(List::Combo10, 12);
    QCOMPARE(f.sheet().GrandTotal, 1208.33);
    QCOMPARE(f.caption(Label::Label41), u"       1208.33 руб."_s);
    f.e().select(List::Combo10, -1); // keeps the food ration
    QCOMPARE(f.sheet().FoodRationCompensation, 608.33);
}

void TestRules::incomeBracketThenChildren()
{
    EngineFixture f;
    f.e().select(List::Combo13, 0);
    QCOMPARE(f.sheet().SelfDeduction, 400.0);
    QCOMPARE(f.sink.calls,
             (QStringList{u"enable Combo14"_s, u"disable Combo13"_s, u"edit Combo14 ' Дети'"_s}));
    QCOMPARE(f.e().selectedIndex(List::Combo14), -1);

    f.sink.calls.clear();
    f.e().select(List::Combo14, 2);
    QCOMPARE(f.sheet().ChildDeduction, 1200.0);
    QCOMPARE(f.sink.captionOrder(),
             (QStringList{u"Label35"_s, u"Label36"_s, u"Label39"_s, u"Label41"_s}));
    QCOMPARE(f.sink.calls.mid(4), (QStringList{u"disable Combo14"_s, u"enable Combo13"_s}));

    f.e().select(List::Combo13, 1); // the bracket clears the children's deduction
    QCOMPARE(f.sheet().SelfDeduction, 1.0);
    QCOMPARE(f.sheet().ChildDeduction, 0.0);
    f.e().select(List::Combo13, -1);
    QCOMPARE(f.sheet().SelfDeduction, 1.0);
    QVERIFY(f.e().isListEnabled(List::Combo14));
}

void TestRules::highestBracketComputesBeforeTheMessage()
{
    EngineFixture f;
    f.e().select(List::Combo13, 0);
    f.e().select(List::Combo14, 1);
    f.sink.calls.clear();
    f.e().select(List::Combo13, 2);
    QCOMPARE(f.sheet().SelfDeduction, 0.0);
    QCOMPARE(f.sheet().ChildDeduction, 0.0);
    const QString message = u"message Вычеты на военнослужащего и  детей не предоставляются"_s;
    QCOMPARE(f.sink.calls.mid(4), (QStringList{message, u"disable Combo14"_s, u"enable Combo13"_s,
                                               u"edit Combo14 ' Дети'"_s}));
    QCOMPARE(f.sink.calls.first(), u"Label35 =        0 руб."_s);
    QCOMPARE(f.sink.messages.value(0).title, u"Информация"_s);
    QCOMPARE(f.sink.messages.value(0).icon, Message::Icon::Information);
    QVERIFY(!f.e().isListEnabled(List::Combo14));
    QVERIFY(f.e().isListEnabled(List::Combo13));
}

void TestRules::childrenBeforeBracketAreCleared()
{
    EngineFixture f;
    f.e().select(List::Combo14, 3);
    QCOMPARE(f.sheet().ChildDeduction, 0.0); // no bracket: SelfDeduction 0 clears it
}

void TestRules::sameIndexRunsTheRuleAgain()
{
    EngineFixture f;
    f.e().select(List::Combo1, 2);
    QCOMPARE(f.sheet().RankSalary, 30000.0);
    const QStringList first = f.sink.calls;
    f.sink.calls.clear();
    f.e().select(List::Combo1, 2);
    QCOMPARE(f.sink.calls, first);
    // The file is read again on every choice.
    f.writeSalaryFile(u"Zvanie.Txt"_s, {{u"A"_s, u"1"_s}, {u"B"_s, u"2"_s}, {u"C"_s, u"31000"_s}});
    f.e().select(List::Combo1, 2);
    QCOMPARE(f.sheet().RankSalary, 31000.0);
}

void TestRules::failedLookupKeepsTheSalary()
{
    EngineFixture f;
    f.e().select(List::Combo2, 0);
    f.e().select(List::Combo5, 1);
    QVERIFY(QFile::remove(f.dir.filePath(u"Dolznost.Txt"_s)));
    f.sink.calls.clear();
    f.e().select(List::Combo2, 2);
    QCOMPARE(f.sink.calls, (QStringList{u"Txt2 = ' 2'"_s, u"message  Не найдена папка Data "_s}));
    QCOMPARE(f.sheet().PositionSalary, 10000.0);
    QCOMPARE(f.sheet().FlightRaiseFactor, 1.0);        // set before the file was opened
    QCOMPARE(f.sheet().RaisedPositionSalary, 13500.0); // no recomputation

    f.sink.calls.clear();
    f.e().select(List::Combo1, 9); // a record the file does not have
    QCOMPARE(f.sink.messages.size(), 2);
    QCOMPARE(f.sheet().RankSalary, 0.0);
}

void TestRules::keyboardLayoutIsShownOnlyOnChange()
{
    EngineFixture f;
    f.e().showKeyboardLayout(0x04090409);
    f.e().showKeyboardLayout(0x04090409);
    f.e().showKeyboardLayout(0x12345678); // unknown: caption stays
    f.e().showKeyboardLayout(0x04190419);
    f.e().showKeyboardLayout(0x04090409);
    QCOMPARE(f.sink.calls, (QStringList{u"Label47 = Английская"_s, u"Label47 = Русская"_s,
                                        u"Label47 = Английская"_s}));
}

QTEST_GUILESS_MAIN(TestRules)
#include "tst_rules.moc"
