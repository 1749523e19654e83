#include "enginefixture.h"

#include <QFile>
#include <QHash>
#include <QTest>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;
using namespace paycalc;

Q_DECLARE_METATYPE(paycalc::List)
Q_DECLARE_METATYPE(paycalc::Label)

// Every item of the choice lists, chosen at a non-zero salary, against the
// caption the user sees for it. The expected texts are worked out by hand from
// the pay tables (rate x salary, cut, not rounded, to two decimals), never
// taken from the engine's own tables, so that a wrong constant shows here.
namespace {

constexpr QStringView Six = u"      ";

// Rank 8000 and grade 12345.67: a percentage bonus is rate x 12345.67, the
// long-service bonus rate x 20345.67, and with nothing else chosen the month
// accrues 8000 + 2 x 12345.67 = 32691.34, taxed 4250, paid out 28441.34.
void chooseSalaries(EngineFixture& f)
{
    f.writeSalaryFile(u"Zvanie.Txt"_s, {{u"Майор"_s, u"8000"_s}});
    f.writeSalaryFile(u"Dolznost.Txt"_s, {{u"10 тарифный разряд"_s, u"12345.67"_s}});
    f.e().select(List::Combo1, 0);
    f.e().select(List::Combo2, 0);
}

// A caption: prefix, the number as written (leading blank included), " руб.".
QString rub(QStringView prefix, QStringView number)
{
    return prefix + number + u" руб.";
}

// The design of the main window's lists: prompt, tool tip and enabled state,
// read from the window's Designer file as plain XML.
struct ListDesign
{
    QString prompt;
    QString toolTip;
    bool enabled = true;
};

QHash<QString, ListDesign> readListDesigns(const QString& path)
{
    QHash<QString, ListDesign> designs;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return designs;
    QXmlStreamReader xml(&file);
    QString list;     // the combo box being read, empty outside one
    QString property; // the property being read
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"widget") {
            const bool combo = xml.attributes().value(QLatin1String("class")) == u"QComboBox";
            list = combo ? xml.attributes().value(QLatin1String("name")).toString() : QString();
            if (combo)
                designs.insert(list, {});
        } else if (xml.isEndElement() && xml.name() == u"widget") {
            list.clear();
        } else if (!list.isEmpty() && xml.isStartElement() && xml.name() == u"property") {
            property = xml.attributes().value(QLatin1String("name")).toString();
        } else if (!list.isEmpty() && xml.isStartElement() &&
                   (xml.name() == u"string" || xml.name() == u"bool")) {
            const QString value = xml.readElementText();
            ListDesign& design = designs[list];
            if (property == u"placeholderText")
                design.prompt = value;
            else if (property == u"toolTip")
                design.toolTip = value;
            else if (property == u"enabled")
                design.enabled = value == u"true";
        }
    }
    return xml.hasError() ? QHash<QString, ListDesign>{} : designs;
}

} // namespace

class TestTables : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void listsHaveTheirPromptAndItemCount_data();
    void listsHaveTheirPromptAndItemCount();
    void monthAndYearListsHoldTheirDesignItems();
    void percentageItemsShowTheirBonus_data();
    void percentageItemsShowTheirBonus();
    void flightClassRaisesOnlyTheIncentiveRow_data();
    void flightClassRaisesOnlyTheIncentiveRow();
    void foodRationMonths_data();
    void foodRationMonths();
    void sanatoriumChoices_data();
    void sanatoriumChoices();
    void incomeBracketsAndChildren_data();
    void incomeBracketsAndChildren();
};

void TestTables::listsHaveTheirPromptAndItemCount_data()
{
    QTest::addColumn<List>("list");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("items");

    const auto row = [](List list, const QString& prompt, const QString& toolTip, bool enabled,
                        int items) {
        QTest::newRow(qPrintable(paycalc::objectName(list)))
            << list << prompt << toolTip << enabled << items;
    };
    // Combo1 and Combo2 hold as many items as the salary files have records.
    row(List::Combo1, u"Выбери звание"_s, u"Выбери звание"_s, true, 4);
    row(List::Combo2, u"Выбери разряд"_s, u"Выбери разряд"_s, true, 3);
    row(List::Combo3, u"Календарная выслуга лет"_s, u"Календарная выслуга лет"_s, true, 9);
    row(List::Combo4, u"Выбрать нужное"_s, u"Выбрать нужное"_s, true, 18);
    row(List::Combo5, u"Выбрать нужное"_s, u"Выбрать нужное"_s, true, 7);
    row(List::Combo6, u"Выбрать нужное"_s, u"Выбрать нужное"_s, true, 5);
    row(List::Combo7, u"Стаж в шифров.органах"_s, u"Стаж в шифров.органах"_s, true, 7);
    row(List::Combo8, u"Выбрать нужное"_s, u"Выбрать нужное"_s, true, 14);
    row(List::Combo9, u"Выбрать нужное"_s, u"Выбрать нужное"_s, true, 6);
    row(List::Combo10, u" Выберите нужное"_s, u" Выберите нужное"_s, true, 14);
    row(List::Combo11, u"Стаж в ПЗГТ"_s, u"Стаж в ПЗГТ"_s, true, 4);
    row(List::Combo12, u" Выберите нужное"_s, u" Выберите нужное"_s, true, 11);
    row(List::Combo13, u"Доход за год"_s, u"Доход за год"_s, true, 3);
    row(List::Combo14, u"Дети"_s, u"Количество детей"_s, false, 6);
}

// The item texts themselves are checked row by row with what each item sets,
// below; this adds the count, so that no item goes unchecked, and the prompt
// and tool tip from the window's design.
void TestTables::listsHaveTheirPromptAndItemCount()
{
    QFETCH(List, list);
    QFETCH(QString, prompt);
    QFETCH(QString, toolTip);
    QFETCH(bool, enabled);
    QFETCH(int, items);

    EngineFixture f;
    QCOMPARE(f.e().itemCount(list), items);
    QCOMPARE(f.sink.items.value(list).size(), items);
    QCOMPARE(f.e().isListEnabled(list), enabled);

    const QHash<QString, ListDesign> designs =
        readListDesigns(QStringLiteral(VOLDAR_MAIN_WINDOW_UI));
    QVERIFY2(!designs.isEmpty(), "the main window's design file could not be read");
    QVERIFY(designs.contains(paycalc::objectName(list)));
    const ListDesign design = designs.value(paycalc::objectName(list));
    QCOMPARE(design.prompt, prompt);
    QCOMPARE(design.toolTip, toolTip);
    QCOMPARE(design.enabled, enabled);
}

// The month and year of the sheet: the pay slip is named after them.
void TestTables::monthAndYearListsHoldTheirDesignItems()
{
    QCOMPARE(PayEngine::fixedItems(List::Combo15, 2024),
             (QStringList{u"Январь"_s, u"Февраль"_s, u"Март"_s, u"Апрель"_s, u"Май"_s, u"Июнь"_s,
                          u"Июль"_s, u"Август"_s, u"Сентябрь"_s, u"Октябрь"_s, u"Ноябрь"_s,
                          u"Декабрь"_s}));
    // The years run on past 2020 so that later sheets can be dated.
    QCOMPARE(PayEngine::fixedItems(List::Combo16, 2024).mid(0, 16),
             (QStringList{u"2005"_s, u"2006"_s, u"2007"_s, u"2008"_s, u"2009"_s, u"2010"_s,
                          u"2011"_s, u"2012"_s, u"2013"_s, u"2014"_s, u"2015"_s, u"2016"_s,
                          u"2017"_s, u"2018"_s, u"2019"_s, u"2020"_s}));
}

void TestTables::percentageItemsShowTheirBonus_data()
{
    QTest::addColumn<List>("list");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("item");
    QTest::addColumn<Label>("label");
    QTest::addColumn<QString>("shown");

    int index = 0;
    List list = List::Combo3;
    Label label = Label::Label25;
    const auto table = [&](List l, Label shownIn) {
        list = l;
        label = shownIn;
        index = 0;
    };
    const auto row = [&](const QString& item, const QString& shown) {
        QTest::addRow("%s/%d %s", qPrintable(paycalc::objectName(list)), index, qPrintable(item))
            << list << index << item << label << shown;
        ++index;
    };

    // Long service: rate x (8000 + 12345.67).
    table(List::Combo3, Label::Label25);
    row(u"от 0,5 до 1 года"_s, u" 1017.28"_s); // 0.05
    row(u"от 1 до 2 лет"_s, u" 2034.56"_s);    // 0.10
    row(u"от 2 до 5 лет"_s, u" 5086.41"_s);    // 0.25
    row(u"от 5 до 10 лет"_s, u" 8138.26"_s);   // 0.40
    row(u"от 10 до 15 лет"_s, u" 9155.55"_s);  // 0.45
    row(u"от 15 до 20 лет"_s, u" 10172.83"_s); // 0.50
    row(u"от 20 до 22 лет"_s, u" 11190.11"_s); // 0.55
    row(u"от 22 до 25 лет"_s, u" 13224.68"_s); // 0.65
    row(u"от 25 и более"_s, u" 14241.96"_s);   // 0.70

    // The others: rate x 12345.67.
    table(List::Combo4, Label::Label26);
    row(u"Меня лишили 50%"_s, u" 6172.83"_s);
    row(u"Офицер 95%"_s, u" 11728.38"_s);
    row(u"Прапорщик 105%"_s, u" 12962.95"_s);
    row(u"Повышенная до 110%"_s, u" 13580.23"_s);
    row(u"Повышенная до 115%"_s, u" 14197.52"_s);
    row(u"Повышенная до 120%"_s, u" 14814.8"_s);
    row(u"Повышенная до 125%"_s, u" 15432.08"_s);
    row(u"Повышенная до 130%"_s, u" 16049.37"_s);
    row(u"Повышенная до 135%"_s, u" 16666.65"_s);
    row(u"Повышенная до 140%"_s, u" 17283.93"_s);
    row(u"Повышенная до 145%"_s, u" 17901.22"_s);
    row(u"Повышенная до 150%"_s, u" 18518.5"_s);
    row(u"Повышенная до 155%"_s, u" 19135.78"_s);
    row(u"В столицах 160%"_s, u" 19753.07"_s);
    row(u"Повышенная до 170%"_s, u" 20987.63"_s);
    row(u"Повышенная до 180%"_s, u" 22222.2"_s);
    row(u"Повышенная до 190%"_s, u" 23456.77"_s);
    row(u"Повышенная до 200%"_s, u" 24691.34"_s);

    table(List::Combo8, Label::Label29);
    row(u"нет"_s, u" 0"_s);
    row(u"5%-С"_s, u" 617.28"_s);
    row(u"10%-С"_s, u" 1234.56"_s);
    row(u"15%-С"_s, u" 1851.85"_s);
    row(u"30%-СС"_s, u" 3703.7"_s);
    row(u"35%-СС"_s, u" 4320.98"_s);
    row(u"40%-СС"_s, u" 4938.26"_s);
    row(u"45%-СС"_s, u" 5555.55"_s);
    row(u"50%-ОВ"_s, u" 6172.83"_s);
    row(u"55%-ОВ"_s, u" 6790.11"_s);
    row(u"60%-ОВ"_s, u" 7407.4"_s);
    row(u"65%-ОВ"_s, u" 8024.68"_s);
    row(u"70%-ОВ"_s, u" 8641.96"_s);
    row(u"75%-ОВ"_s, u" 9259.25"_s);

    table(List::Combo11, Label::Label45);
    row(u"нет"_s, u" 0"_s);
    row(u"от 1 до 5 лет "_s, u" 1234.56"_s);  // 0.10
    row(u"от 5 до 10 лет "_s, u" 1851.85"_s); // 0.15
    row(u"свыше 10 лет "_s, u" 2469.13"_s);   // 0.20

    table(List::Combo7, Label::Label28);
    row(u"нет"_s, u" 0"_s);
    row(u"до 3 (сети шифр.связи 1кл.)"_s, u" 1851.85"_s);     // 0.15
    row(u"от 3 до 6 (сети шифр.связи 1кл)"_s, u" 2469.13"_s); // 0.20
    row(u"свыше 6 (сети шифр.связи 1кл)"_s, u" 3703.7"_s);    // 0.30
    row(u"до 3 (сети шифр.связи 2кл.)"_s, u" 617.28"_s);      // 0.05
    row(u"от 3 до 6 (сети шифр.связи 2кл)"_s, u" 1234.56"_s); // 0.10
    row(u"свыше 6 (сети шифр.связи 2кл)"_s, u" 2469.13"_s);   // 0.20

    table(List::Combo9, Label::Label30);
    row(u"нет"_s, u" 0"_s);
    row(u"10%"_s, u" 1234.56"_s);
    row(u"15%-РВСН..."_s, u" 1851.85"_s);
    row(u"20%-прыжки"_s, u" 2469.13"_s);
    row(u"50%"_s, u" 6172.83"_s);
    row(u"100%-летчики"_s, u" 12345.67"_s);

    table(List::Combo6, Label::Label27);
    row(u"нет"_s, u" 0"_s);
    row(u"3 класс"_s, u" 0"_s);
    row(u"2 класс"_s, u" 617.28"_s); // 0.05
    row(u"1 класс"_s, u" 987.65"_s); // 0.08
    row(u"Мастер"_s, u" 1234.56"_s); // 0.10
}

void TestTables::percentageItemsShowTheirBonus()
{
    QFETCH(List, list);
    QFETCH(int, index);
    QFETCH(QString, item);
    QFETCH(Label, label);
    QFETCH(QString, shown);

    EngineFixture f;
    chooseSalaries(f);
    QCOMPARE(f.sink.items.value(list).value(index), item);
    f.e().select(list, index);
    QCOMPARE(f.caption(label), rub(Six, shown));
    // The periodic run shows the same.
    f.e().timerTick(Timer::Timer6);
    QCOMPARE(f.caption(label), rub(Six, shown));
}

void TestTables::flightClassRaisesOnlyTheIncentiveRow_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("incentive");
    QTest::addColumn<QString>("handOver");

    // The raised position salary, 12345.67 x the factor.
    QTest::newRow("нет") << 0 << u"нет"_s << u" 12345.67"_s << u"12345.67"_s;
    QTest::newRow("2 кл.летч.") << 1 << u"2 кл.летч."_s << u" 16666.65"_s << u"16666.6545"_s;
    QTest::newRow("1 кл.летч.") << 2 << u"1 кл.летч."_s << u" 17901.22"_s << u"17901.2215"_s;
    QTest::newRow("Летч.снайпер") << 3 << u"Летч.снайпер"_s << u" 19135.78"_s << u"19135.7885"_s;
    QTest::newRow("2 кл.борт.спец.")
        << 4 << u"2 кл.борт.спец."_s << u" 15432.08"_s << u"15432.0875"_s;
    QTest::newRow("1 кл.борт.спец.")
        << 5 << u"1 кл.борт.спец."_s << u" 16666.65"_s << u"16666.6545"_s;
    QTest::newRow("Мастер борт.спец.")
        << 6 << u"Мастер борт.спец."_s << u" 17901.22"_s << u"17901.2215"_s;
}

// The incentive row and every bonus work on the raised salary; the position
// salary row keeps the salary before the raise.
void TestTables::flightClassRaisesOnlyTheIncentiveRow()
{
    QFETCH(int, index);
    QFETCH(QString, item);
    QFETCH(QString, incentive);
    QFETCH(QString, handOver);

    EngineFixture f;
    chooseSalaries(f);
    QCOMPARE(f.sink.items.value(List::Combo5).value(index), item);
    f.e().select(List::Combo5, index);
    f.e().timerTick(Timer::Timer6);
    QCOMPARE(f.caption(Label::Label21), rub(Six, incentive));
    QCOMPARE(f.caption(Label::Label24), rub(Six, u" 12345.67"));
    QCOMPARE(f.caption(Label::Label63), handOver);
}

void TestTables::foodRationMonths_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("grandTotal");

    // The grand total is 28441.34 + the compensation, cut to seven characters.
    const auto row = [](int index, const QString& item, const QString& shown,
                        const QString& grandTotal) {
        QTest::newRow(qPrintable(item)) << index << item << shown << grandTotal;
    };
    row(0, u"январь"_s, u" 620"_s, u" 29061.3"_s);
    row(1, u"февраль"_s, u" 560"_s, u" 29001.3"_s);
    row(2, u"март"_s, u" 620"_s, u" 29061.3"_s);
    row(3, u"апрель"_s, u" 600"_s, u" 29041.3"_s);
    row(4, u"май"_s, u" 620"_s, u" 29061.3"_s);
    row(5, u"июнь"_s, u" 600"_s, u" 29041.3"_s);
    row(6, u"июль"_s, u" 620"_s, u" 29061.3"_s);
    row(7, u"август"_s, u" 620"_s, u" 29061.3"_s);
    row(8, u"сентябрь"_s, u" 600"_s, u" 29041.3"_s);
    row(9, u"октябрь"_s, u" 620"_s, u" 29061.3"_s);
    row(10, u"ноябрь"_s, u" 600"_s, u" 29041.3"_s);
    row(11, u"декабрь"_s, u" 620"_s, u" 29061.3"_s);
    row(12, u"в среднем за год"_s, u" 608.33"_s, u" 29049.6"_s);
    row(13, u"беру продуктами"_s, u" 0"_s, u" 28441.3"_s);
}

void TestTables::foodRationMonths()
{
    QFETCH(int, index);
    QFETCH(QString, item);
    QFETCH(QString, shown);
    QFETCH(QString, grandTotal);

    EngineFixture f;
    chooseSalaries(f);
    f.e().timerTick(Timer::Timer6);
    QCOMPARE(f.caption(Label::Label39), rub(Six, u" 28441.3"));
    QCOMPARE(f.sink.items.value(List::Combo10).value(index), item);
    f.e().select(List::Combo10, index);
    QCOMPARE(f.caption(Label::Label40), rub(Six, shown));
    QCOMPARE(f.caption(Label::Label41), rub(Six, grandTotal));
}

void TestTables::sanatoriumChoices_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("grandTotal");

    const auto row = [](int index, const QString& item, const QString& shown,
                        const QString& grandTotal) {
        QTest::newRow(qPrintable(item)) << index << item << shown << grandTotal;
    };
    row(0, u" Я не получаю "_s, u" 0"_s, u" 28441.3"_s);
    row(1, u" Только на себя"_s, u" 600"_s, u" 29041.3"_s);
    row(2, u" + Жена"_s, u" 900"_s, u" 29341.3"_s);
    row(3, u" + Жена и ребенок"_s, u" 1200"_s, u" 29641.3"_s);
    row(4, u" + Жена и 2 ребенка"_s, u" 1500"_s, u" 29941.3"_s);
    row(5, u" + Жена и 3 ребенка"_s, u" 1800"_s, u" 30241.3"_s);
    row(6, u" + Жена и 4 ребенка"_s, u" 2100"_s, u" 30541.3"_s);
    row(7, u" + ребенок"_s, u" 900"_s, u" 29341.3"_s);
    row(8, u" + 2 ребенка"_s, u" 1200"_s, u" 29641.3"_s);
    row(9, u" + 3 ребенка"_s, u" 1500"_s, u" 29941.3"_s);
    row(10, u" + 4 ребенка"_s, u" 1800"_s, u" 30241.3"_s);
}

void TestTables::sanatoriumChoices()
{
    QFETCH(int, index);
    QFETCH(QString, item);
    QFETCH(QString, shown);
    QFETCH(QString, grandTotal);

    EngineFixture f;
    chooseSalaries(f);
    f.e().timerTick(Timer::Timer6);
    QCOMPARE(f.sink.items.value(List::Combo12).value(index), item);
    f.e().select(List::Combo12, index);
    QCOMPARE(f.caption(Label::Label60), rub(Six, shown));
    QCOMPARE(f.caption(Label::Label41), rub(Six, grandTotal));
}

void TestTables::incomeBracketsAndChildren_data()
{
    QTest::addColumn<int>("bracket");
    QTest::addColumn<QString>("bracketItem");
    QTest::addColumn<int>("children");
    QTest::addColumn<QString>("childrenItem");
    QTest::addColumn<QString>("tax");

    // 13 % of 32691.34 less 400 for the serviceman (first bracket only) and
    // 600 a child, rounded to whole roubles.
    const QString low = u"До 20 т.р."_s;
    const QString middle = u"До 40 т.р."_s;
    const QStringList kids{u"Нет"_s,     u"1 ребенок"_s, u"2 детей"_s,
                           u"3 детей"_s, u"4 детей"_s,   u"5 детей"_s};
    const QStringList lowTaxes{u" 4198"_s, u" 4120"_s, u" 4042"_s,
                               u" 3964"_s, u" 3886"_s, u" 3808"_s};
    const QStringList middleTaxes{u" 4250"_s, u" 4172"_s, u" 4094"_s,
                                  u" 4016"_s, u" 3938"_s, u" 3860"_s};
    for (int n = 0; n < 6; ++n) {
        QTest::addRow("%s, %s", qPrintable(low), qPrintable(kids[n]))
            << 0 << low << n << kids[n] << lowTaxes[n];
        QTest::addRow("%s, %s", qPrintable(middle), qPrintable(kids[n]))
            << 1 << middle << n << kids[n] << middleTaxes[n];
    }
    QTest::newRow("Более 40 т.р.") << 2 << u"Более 40 т.р."_s << -1 << QString() << u" 4250"_s;
}

void TestTables::incomeBracketsAndChildren()
{
    QFETCH(int, bracket);
    QFETCH(QString, bracketItem);
    QFETCH(int, children);
    QFETCH(QString, childrenItem);
    QFETCH(QString, tax);

    EngineFixture f;
    chooseSalaries(f);
    QCOMPARE(f.sink.items.value(List::Combo13).value(bracket), bracketItem);
    f.e().select(List::Combo13, bracket);
    if (children >= 0) {
        QCOMPARE(f.sink.items.value(List::Combo14).value(children), childrenItem);
        f.e().select(List::Combo14, children);
    }
    // The choice computes the tax itself (the last bracket, a child count).
    QCOMPARE(f.caption(Label::Label35), rub(Six, tax));
    f.e().timerTick(Timer::Timer6);
    QCOMPARE(f.caption(Label::Label35), rub(Six, tax));
    QCOMPARE(f.caption(Label::Label36), rub(Six, tax));
}

QTEST_GUILESS_MAIN(TestTables)
#include "tst_tables.moc"
