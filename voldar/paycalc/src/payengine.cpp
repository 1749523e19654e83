#include "paycalc/payengine.h"

#include "paycalc/numbers.h"
#include "paycalc/salaryfile.h"
#include "textbuffer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <QDir>

using namespace Qt::StringLiterals;

namespace paycalc {

namespace {

using detail::TextBuffer;

constexpr QStringView Blanks3 = u"   ";
constexpr QStringView Blanks4 = u"    ";
constexpr QStringView Blanks6 = u"      ";

constexpr QStringView DesignTitle = u"   ~ Voldar ™   v.3.0  i ~";
constexpr int FirstYear = 2005;

constexpr std::uint32_t EnglishLayout = 0x04090409;
constexpr std::uint32_t RussianLayout = 0x04190419;

// Rates and amounts by list index; an index outside a table leaves the value.
constexpr double LongServiceRates[] = {0.05, 0.10, 0.25, 0.40, 0.45, 0.50, 0.55, 0.65, 0.70};
constexpr double ComplexityRates[] = {0.50, 0.95, 1.05, 1.10, 1.15, 1.20, 1.25, 1.30, 1.35,
                                      1.40, 1.45, 1.50, 1.55, 1.60, 1.70, 1.80, 1.90, 2};
constexpr double CipherRates[] = {0, 0.15, 0.20, 0.30, 0.05, 0.10, 0.20};
constexpr double StateSecretRates[] = {0,    0.05, 0.10, 0.15, 0.30, 0.35, 0.40,
                                       0.45, 0.50, 0.55, 0.60, 0.65, 0.70, 0.75};
constexpr double SpecialConditionsRates[] = {0, 0.10, 0.15, 0.20, 0.50, 1};
constexpr double SecrecyUnitRates[] = {0, 0.10, 0.15, 0.20};
constexpr double FlightRaiseFactors[] = {1, 1.35, 1.45, 1.55, 1.25, 1.35, 1.45};
constexpr double ClassQualificationRates[] = {0, 0, 0.05, 0.08, 0.10};
// 20 roubles a day; February always counts 28 days.
constexpr double FoodRationAmounts[] = {620, 560, 620, 600, 620, 600,    620,
                                        620, 600, 620, 600, 620, 608.33, 0};
constexpr double SanatoriumFamilyParts[] = {-600, 0,   300, 600, 900, 1200,
                                            1500, 300, 600, 900, 1200};
constexpr double ChildDeductions[] = {0, 600, 1200, 1800, 2400, 3000};

template <std::size_t N> bool pick(const double (&table)[N], int index, double& target)
{
    if (index < 0 || static_cast<std::size_t>(index) >= N)
        return false;
    target = table[index];
    return true;
}

int number(auto control)
{
    return static_cast<int>(control);
}

QString twoDigits(int value)
{
    return QString::number(value).rightJustified(2, u'0');
}

} // namespace

PayEngine::PayEngine(FormSink& sink, QString dataFolder)
    : m_sink(sink), m_dataFolder(std::move(dataFolder))
{
    m_lists[number(List::Combo14)].enabled = false;
    m_switches[number(Switch::Check4)] = true;
    m_switches[number(Switch::Option1)] = true;
    for (const Label label : Labels)
        m_captions[number(label)] = designCaption(label);
}

// --- captions before any computation --------------------------------------------

QString PayEngine::designCaption(Label label)
{
    // Each amount label starts with what its own computation writes for an
    // empty sheet, so the first run changes no text and a pay slip saved
    // before it holds the zeros on screen.
    switch (label) {
    case Label::Label23:
        return Blanks3 + captionNumber(0) + u" руб.";
    case Label::Label52:
    case Label::Label56:
    case Label::Label57:
    case Label::Label58:
    case Label::Label59:
    case Label::Label61:
        return Blanks4 + captionNumber(0) + u" руб.";
    case Label::Label65:
        return Blanks3 + boxNormalForm(0) + u" руб.";
    case Label::Label47:
        return u"???"_s;
    case Label::Label62:
        return u"zvanie"_s;
    case Label::Label63:
        return u"tr"_s;
    case Label::Label64:
        return u"vjsl"_s;
    default:
        return Blanks6 + captionNumber(0) + u" руб.";
    }
}

void PayEngine::showAllCaptions()
{
    for (const Label label : Labels)
        m_sink.setCaption(label, m_captions[number(label)]);
}

// --- start-up ----------------------------------------------------------------

QString PayEngine::windowTitle(const QDate& startDate)
{
    // dd.mm.yyyy whatever the user's locale.
    return DesignTitle + Blanks4 + twoDigits(startDate.day()) + u'.' +
           twoDigits(startDate.month()) + u'.' +
           QString::number(startDate.year()).rightJustified(4, u'0');
}

void PayEngine::beginLoad(const QDate& startDate)
{
    m_startDate = startDate;
    m_sink.setTitle(windowTitle(startDate));

    // The month and year lists carry their items from the window's design
    // (fixedItems); only their selections are set here, and they have no rule.
    const int year = startDate.year();
    m_lists[number(List::Combo15)].count = 12;
    m_lists[number(List::Combo16)].count = static_cast<int>(fixedItems(List::Combo16, year).size());
    m_lists[number(List::Combo15)].index = startDate.month() - 1;
    m_sink.setListIndex(List::Combo15, startDate.month() - 1);
    if (year >= FirstYear) {
        m_lists[number(List::Combo16)].index = year - FirstYear;
        m_sink.setListIndex(List::Combo16, year - FirstYear);
    }

    m_sheet.RegionalMultiplier = 1.0f;
}

bool PayEngine::fillLists()
{
    const auto fillFromFile = [this](List list, const char16_t* fileName) {
        const salaryfile::FillResult result =
            salaryfile::readNames(QDir(m_dataFolder).filePath(QString::fromUtf16(fileName)));
        // Names read before a failure stay in the list.
        addItems(list, result.names);
        if (!result.ok)
            m_sink.showMessage(dataFolderNotFound());
        return result.ok;
    };
    if (!fillFromFile(List::Combo1, salaryfile::RankSalaryFile))
        return false;
    if (!fillFromFile(List::Combo2, salaryfile::PositionSalaryFile))
        return false;

    for (const List list :
         {List::Combo3, List::Combo4, List::Combo5, List::Combo6, List::Combo7, List::Combo8,
          List::Combo9, List::Combo13, List::Combo14, List::Combo10, List::Combo11, List::Combo12})
        addItems(list, fixedItems(list, m_startDate.year()));
    return true;
}

bool PayEngine::reloadSalaryLists()
{
    struct Table
    {
        List list;
        QString path;
        double& salary;
        salaryfile::FillResult names;
        std::optional<double> chosen;
    };
    const QDir data(m_dataFolder);
    std::array<Table, 2> tables{{
        {List::Combo1,
         data.filePath(QString::fromUtf16(salaryfile::RankSalaryFile)),
         m_sheet.RankSalary,
         {},
         {}},
        {List::Combo2,
         data.filePath(QString::fromUtf16(salaryfile::PositionSalaryFile)),
         m_sheet.PositionSalary,
         {},
         {}},
    }};
    // Everything is read before anything changes, so that a file that cannot
    // be read leaves the sheet as it was.
    for (Table& table : tables) {
        table.names = salaryfile::readNames(table.path);
        const int index = selectedIndex(table.list);
        if (table.names.ok && index >= 0 && index < table.names.names.size())
            table.chosen = salaryfile::lookupSalary(table.path, index);
        if (!table.names.ok || (index >= 0 && index < table.names.names.size() && !table.chosen)) {
            m_sink.showMessage(dataFolderNotFound());
            return false;
        }
    }
    for (Table& table : tables) {
        const int index = selectedIndex(table.list);
        m_sink.clearListItems(table.list);
        m_lists[number(table.list)].count = 0;
        addItems(table.list, table.names.names);
        if (table.chosen) {
            m_sink.setListIndex(table.list, index);
            table.salary = *table.chosen;
        } else if (index >= 0) {
            // The record chosen is no longer in the table.
            m_lists[number(table.list)].index = -1;
            m_sink.setListIndex(table.list, -1);
            writeMirror(table.list, -1);
            table.salary = 0;
        }
    }
    ModulRaschet();
    return true;
}

void PayEngine::addItems(List list, const QStringList& items)
{
    if (items.isEmpty())
        return;
    m_lists[number(list)].count += static_cast<int>(items.size());
    m_sink.addListItems(list, items);
}

QStringList PayEngine::fixedItems(List list, int currentYear)
{
    switch (list) {
    case List::Combo3:
        return {u"от 0,5 до 1 года"_s, u"от 1 до 2 лет"_s,   u"от 2 до 5 лет"_s,
                u"от 5 до 10 лет"_s,   u"от 10 до 15 лет"_s, u"от 15 до 20 лет"_s,
                u"от 20 до 22 лет"_s,  u"от 22 до 25 лет"_s, u"от 25 и более"_s};
    case List::Combo4: {
        QStringList items{u"Меня лишили 50%"_s, u"Офицер 95%"_s, u"Прапорщик 105%"_s};
        for (int percent = 110; percent <= 155; percent += 5)
            items.append(u"Повышенная до "_s + QString::number(percent) + u'%');
        items.append(u"В столицах 160%"_s);
        for (int percent = 170; percent <= 200; percent += 10)
            items.append(u"Повышенная до "_s + QString::number(percent) + u'%');
        return items;
    }
    case List::Combo5:
        return {u"нет"_s,
                u"2 кл.летч."_s,
                u"1 кл.летч."_s,
                u"Летч.снайпер"_s,
                u"2 кл.борт.спец."_s,
                u"1 кл.борт.спец."_s,
                u"Мастер борт.спец."_s};
    case List::Combo6:
        return {u"нет"_s, u"3 класс"_s, u"2 класс"_s, u"1 класс"_s, u"Мастер"_s};
    case List::Combo7:
        return {u"нет"_s,
                u"до 3 (сети шифр.связи 1кл.)"_s,
                u"от 3 до 6 (сети шифр.связи 1кл)"_s,
                u"свыше 6 (сети шифр.связи 1кл)"_s,
                u"до 3 (сети шифр.связи 2кл.)"_s,
                u"от 3 до 6 (сети шифр.связи 2кл)"_s,
                u"свыше 6 (сети шифр.связи 2кл)"_s};
    case List::Combo8:
        return {u"нет"_s,    u"5%-С"_s,   u"10%-С"_s,  u"15%-С"_s,  u"30%-СС"_s,
                u"35%-СС"_s, u"40%-СС"_s, u"45%-СС"_s, u"50%-ОВ"_s, u"55%-ОВ"_s,
                u"60%-ОВ"_s, u"65%-ОВ"_s, u"70%-ОВ"_s, u"75%-ОВ"_s};
    case List::Combo9:
        return {u"нет"_s, u"10%"_s, u"15%-РВСН..."_s, u"20%-прыжки"_s, u"50%"_s, u"100%-летчики"_s};
    case List::Combo10:
        return {u"январь"_s,
                u"февраль"_s,
                u"март"_s,
                u"апрель"_s,
                u"май"_s,
                u"июнь"_s,
                u"июль"_s,
                u"август"_s,
                u"сентябрь"_s,
                u"октябрь"_s,
                u"ноябрь"_s,
                u"декабрь"_s,
                u"в среднем за год"_s,
                u"беру продуктами"_s};
    case List::Combo11:
        return {u"нет"_s, u"от 1 до 5 лет "_s, u"от 5 до 10 лет "_s, u"свыше 10 лет "_s};
    case List::Combo12:
        return {u" Я не получаю "_s,      u" Только на себя"_s,     u" + Жена"_s,
                u" + Жена и ребенок"_s,   u" + Жена и 2 ребенка"_s, u" + Жена и 3 ребенка"_s,
                u" + Жена и 4 ребенка"_s, u" + ребенок"_s,          u" + 2 ребенка"_s,
                u" + 3 ребенка"_s,        u" + 4 ребенка"_s};
    case List::Combo13:
        return {u"До 20 т.р."_s, u"До 40 т.р."_s, u"Более 40 т.р."_s};
    case List::Combo14:
        return {u"Нет"_s, u"1 ребенок"_s, u"2 детей"_s, u"3 детей"_s, u"4 детей"_s, u"5 детей"_s};
    case List::Combo15:
        return {u"Январь"_s, u"Февраль"_s, u"Март"_s,     u"Апрель"_s,  u"Май"_s,    u"Июнь"_s,
                u"Июль"_s,   u"Август"_s,  u"Сентябрь"_s, u"Октябрь"_s, u"Ноябрь"_s, u"Декабрь"_s};
    case List::Combo16: {
        QStringList years;
        for (int year = FirstYear; year <= currentYear + 1; ++year)
            years.append(QString::number(year));
        return years;
    }
    case List::Combo1:
    case List::Combo2:
        break;
    }
    return {};
}

// --- list rules ----------------------------------------------------------------

bool PayEngine::setSelection(List list, int index)
{
    if (index != -1 && (index < 0 || index >= itemCount(list)))
        return false;
    m_lists[number(list)].index = index;
    m_sink.setListIndex(list, index);
    select(list, index);
    return true;
}

void PayEngine::select(List list, int index)
{
    m_lists[number(list)].index = index;
    switch (list) {
    case List::Combo1:
    case List::Combo2:
        salaryRule(list, index);
        break;
    case List::Combo3:
        rateRule(list, LongServiceRates, index, m_sheet.LongServiceRate);
        break;
    case List::Combo4:
        rateRule(list, ComplexityRates, index, m_sheet.ComplexityRate);
        break;
    case List::Combo5:
        flightClassRule(index);
        break;
    case List::Combo6:
        classQualificationRule(index);
        break;
    case List::Combo7:
        rateRule(list, CipherRates, index, m_sheet.CipherRate);
        break;
    case List::Combo8:
        rateRule(list, StateSecretRates, index, m_sheet.StateSecretRate);
        break;
    case List::Combo9:
        rateRule(list, SpecialConditionsRates, index, m_sheet.SpecialConditionsRate);
        break;
    case List::Combo11:
        rateRule(list, SecrecyUnitRates, index, m_sheet.SecrecyUnitRate);
        break;
    case List::Combo10:
        foodRationRule(index);
        break;
    case List::Combo12:
        sanatoriumRule(index);
        break;
    case List::Combo13:
        incomeBracketRule(index);
        break;
    case List::Combo14:
        childrenRule(index);
        break;
    case List::Combo15:
    case List::Combo16:
        break; // read only when a pay slip is made
    }
}

void PayEngine::salaryRule(List list, int index)
{
    writeMirror(list, index);
    // The flight raise is dropped until a flight class is chosen again.
    m_sheet.FlightRaiseFactor = 1;
    // No selection (a saved "-1") keeps the salary, as the other lists keep
    // their rate: there is no record to look up, and reporting a missing Data
    // folder would send the user looking for a fault that is not there.
    if (index < 0) {
        ModulRaschet();
        return;
    }
    const bool rank = list == List::Combo1;
    const QString path = QDir(m_dataFolder)
                             .filePath(QString::fromUtf16(rank ? salaryfile::RankSalaryFile
                                                               : salaryfile::PositionSalaryFile));
    const std::optional<double> salary = salaryfile::lookupSalary(path, index);
    if (!salary) {
        m_sink.showMessage(dataFolderNotFound());
        return;
    }
    (rank ? m_sheet.RankSalary : m_sheet.PositionSalary) = *salary;
    ModulRaschet();
}

template <std::size_t N>
void PayEngine::rateRule(List list, const double (&rates)[N], int index, double& rate)
{
    writeMirror(list, index);
    pick(rates, index, rate);
    ModulRaschet();
}

void PayEngine::flightClassRule(int index)
{
    writeMirror(List::Combo5, index);
    if (pick(FlightRaiseFactors, index, m_sheet.FlightRaiseFactor)) {
        if (index == 0) {
            changeListEnabled(List::Combo6, true);
        } else {
            changeListEnabled(List::Combo6, false);
            m_sheet.ClassQualificationRate = 0;
        }
    }
    ModulRaschet();
}

void PayEngine::classQualificationRule(int index)
{
    writeMirror(List::Combo6, index);
    if (pick(ClassQualificationRates, index, m_sheet.ClassQualificationRate))
        changeListEnabled(List::Combo5, index == 0);
    m_sheet.FlightRaiseFactor = 1;
    ModulRaschet();
}

void PayEngine::foodRationRule(int index)
{
    pick(FoodRationAmounts, index, m_sheet.FoodRationCompensation);
    writeFormatted(Label::Label40, CaptionForm::Plain, m_sheet.FoodRationCompensation, Blanks6);
    updateGrandTotal();
}

void PayEngine::sanatoriumRule(int index)
{
    pick(SanatoriumFamilyParts, index, m_sheet.SanatoriumFamilyPart);
    m_sheet.SanatoriumCompensation = 600 + m_sheet.SanatoriumFamilyPart;
    writeFormatted(Label::Label60, CaptionForm::Plain, m_sheet.SanatoriumCompensation, Blanks6);
    updateGrandTotal();
}

void PayEngine::incomeBracketRule(int index)
{
    m_sheet.ChildDeduction = 0;
    switch (index) {
    case 0:
        m_sheet.SelfDeduction = 400;
        break;
    case 1:
        m_sheet.SelfDeduction = 1; // children's deduction only
        break;
    case 2:
        m_sheet.SelfDeduction = 0;
        ModulUder();
        m_sink.showMessage({u"Вычеты на военнослужащего и  детей не предоставляются"_s,
                            u"Информация"_s, Message::Icon::Information});
        changeListEnabled(List::Combo14, false);
        changeListEnabled(List::Combo13, true);
        clearChildrenList();
        return;
    default:
        break;
    }
    // The number of children is chosen next; the tax follows at the next
    // periodic run.
    changeListEnabled(List::Combo14, true);
    changeListEnabled(List::Combo13, false);
    clearChildrenList();
}

void PayEngine::clearChildrenList()
{
    m_lists[number(List::Combo14)].index = -1;
    m_sink.setListEditText(List::Combo14, u" Дети"_s);
}

void PayEngine::childrenRule(int index)
{
    pick(ChildDeductions, index, m_sheet.ChildDeduction);
    ModulUder();
    changeListEnabled(List::Combo14, false);
    changeListEnabled(List::Combo13, true);
}

// --- other window events -------------------------------------------------------

void PayEngine::setSwitch(Switch control, bool on)
{
    m_switches[number(control)] = on;
    // The premium's two option buttons are one group.
    if (on && control == Switch::Option1)
        m_switches[number(Switch::Option2)] = false;
    if (on && control == Switch::Option2)
        m_switches[number(Switch::Option1)] = false;
}

void PayEngine::boxChanged(Box box, const QString& text)
{
    m_boxes[number(box)] = text;
    switch (box) {
    case Box::Text5:
        startTimer(Timer::Timer1);
        writeCaption(Label::Label23, u"   Подождите..."_s);
        break;
    case Box::Text4:
    case Box::Text2:
        startTimer(Timer::Timer2);
        writeCaption(Label::Label23, u"   Подождите..."_s);
        break;
    case Box::Text1:
        startTimer(Timer::Timer3);
        writeCaption(Label::Label36, u" Подождите..."_s);
        break;
    case Box::Text3:
        break; // read directly by every periodic run
    }
}

void PayEngine::timerTick(Timer timer)
{
    switch (timer) {
    case Timer::Timer1:
        otherAllowancesRefresh();
        break;
    case Timer::Timer2:
        regionalRefresh();
        break;
    case Timer::Timer3:
        otherDeductionsRefresh();
        break;
    case Timer::Timer6:
        CalcAdditionalAccruals();
        break;
    default:
        break; // the window's own timers
    }
}

void PayEngine::showKeyboardLayout(std::uint32_t layout)
{
    if (layout == m_lastLayout)
        return;
    m_lastLayout = layout;
    if (layout == EnglishLayout)
        writeCaption(Label::Label47, u"Английская"_s);
    else if (layout == RussianLayout)
        writeCaption(Label::Label47, u"Русская"_s);
}

void PayEngine::setListEnabled(List list, bool enabled)
{
    changeListEnabled(list, enabled);
}

void PayEngine::reset()
{
    PaySheet& s = m_sheet;
    for (double* value : {&s.RankSalary,
                          &s.PositionSalary,
                          &s.RaisedPositionSalary,
                          &s.FlightRaiseFactor,
                          &s.LongServiceRate,
                          &s.LongServiceBonus,
                          &s.ComplexityRate,
                          &s.ComplexityBonus,
                          &s.StateSecretRate,
                          &s.StateSecretBonus,
                          &s.CipherRate,
                          &s.CipherBonus,
                          &s.SpecialConditionsRate,
                          &s.SpecialConditionsBonus,
                          &s.ClassQualificationRate,
                          &s.ClassQualificationBonus,
                          &s.OtherAllowances,
                          &s.TotalAccrued,
                          &s.SelfDeduction,
                          &s.ChildDeduction,
                          &s.IncomeTax,
                          &s.TotalWithheld,
                          &s.OtherDeductions,
                          &s.NetPay,
                          &s.FoodRationCompensation,
                          &s.GrandTotal})
        *value = 0;
    ModulUder();
    ModulRaschet();
    // The other deductions and the food ration are zero now as well: their
    // amounts say so, as the other allowances' amount does after ModulRaschet,
    // so that the sheet and a pay slip saved from it add up.
    writeCaption(Label::Label65, Blanks3 + boxNormalForm(s.OtherDeductions) + u" руб.");
    writeFormatted(Label::Label40, CaptionForm::Plain, s.FoodRationCompensation, Blanks6);
    // The grand total shows 0 until the next periodic run forms it again.
    s.GrandTotal = 0;
    writeCaption(Label::Label41, u"       0 руб."_s);
}

// --- delayed refreshes -----------------------------------------------------------

void PayEngine::otherAllowancesRefresh()
{
    m_sheet.OtherAllowances = std::max(0.0, leadingNumber(m_boxes[number(Box::Text5)]));
    writeBox(Box::Text5, boxNormalForm(m_sheet.OtherAllowances));
    ModulRaschet();
    stopTimer(Timer::Timer1);
}

void PayEngine::regionalRefresh()
{
    const double percent = leadingNumber(m_boxes[number(Box::Text4)]);
    m_sheet.RegionalPercent = percent <= 0 ? 0 : std::min(percent, 300.0);
    m_sheet.RegionalMultiplier = static_cast<float>(1 + m_sheet.RegionalPercent / 100);
    writeBox(Box::Text4, boxNormalForm(m_sheet.RegionalPercent));
    otherAllowancesRefresh();
    writeSalaryCaptions(Blanks6);
    stopTimer(Timer::Timer1);
    stopTimer(Timer::Timer2);
}

void PayEngine::otherDeductionsRefresh()
{
    m_sheet.OtherDeductions = std::max(0.0, leadingNumber(m_boxes[number(Box::Text1)]));
    writeBox(Box::Text1, boxNormalForm(m_sheet.OtherDeductions));
    writeCaption(Label::Label65, Blanks3 + m_boxes[number(Box::Text1)] + u" руб.");
    ModulUder();
    stopTimer(Timer::Timer3);
}

// --- computations -------------------------------------------------------------------

void PayEngine::CalcAdditionalAccruals()
{
    PaySheet& s = m_sheet;
    const double ods = s.RankSalary + s.RaisedPositionSalary;
    const bool quarterly = isOn(Switch::Option1);
    const bool monthly = isOn(Switch::Option2);

    // A remaining percent outside 0..100 counts as nothing left.
    const auto remainingPercent = [this](Box box) {
        const double percent = leadingNumber(m_boxes[number(box)]);
        return percent < 0 || percent > 100 ? 0.0 : percent;
    };

    if (!isOn(Switch::Check6)) {
        s.Premium = 0;
    } else if (isOn(Switch::Check1)) {
        s.PremiumRemainingPercent = remainingPercent(Box::Text2);
        if (quarterly)
            s.Premium = s.PremiumRemainingPercent / 100 * 0.75 * ods;
        else if (monthly)
            s.Premium = (s.PremiumRemainingPercent / 100 * 0.75 * ods) / 3;
    } else {
        s.PremiumRemainingPercent = 1;
        if (quarterly)
            s.Premium = 0.75 * ods;
        else if (monthly)
            s.Premium = 0.75 * ods / 3;
    }

    if (!isOn(Switch::Check5)) {
        s.AnnualReward = 0;
    } else if (!isOn(Switch::Check2)) {
        s.AnnualRewardRemainingPercent = 1;
        s.AnnualReward = 3 * ods;
    } else {
        s.AnnualRewardRemainingPercent = remainingPercent(Box::Text3);
        s.AnnualReward = s.AnnualRewardRemainingPercent / 100 * 3 * ods;
    }

    if (!isOn(Switch::Check3)) {
        s.MaterialAid = 0;
        s.MaterialAidTaxFree = 0;
    } else {
        s.MaterialAid = 2 * ods;
        s.MaterialAidTaxFree = s.MaterialAid < 4000 ? s.MaterialAid : 4000;
    }

    ModulRaschet();
    ModulUder();
}

void PayEngine::ModulRaschet()
{
    PaySheet& s = m_sheet;
    const double factor = s.RegionalMultiplier; // single precision, as shown
    const bool regionalOnOther = isOn(Switch::Check4);

    s.RaisedPositionSalary = s.PositionSalary * s.FlightRaiseFactor;
    s.ComplexityBonus = s.ComplexityRate * s.RaisedPositionSalary;
    s.LongServiceBonus = s.LongServiceRate * (s.RankSalary + s.RaisedPositionSalary);
    s.ClassQualificationBonus = s.ClassQualificationRate * s.RaisedPositionSalary;
    s.CipherBonus = s.CipherRate * s.RaisedPositionSalary;
    s.SecrecyUnitBonus = s.SecrecyUnitRate * s.RaisedPositionSalary;
    s.StateSecretBonus = s.StateSecretRate * s.RaisedPositionSalary;
    s.SpecialConditionsBonus = s.SpecialConditionsRate * s.RaisedPositionSalary;

    const double monthly = s.RankSalary + 2 * s.RaisedPositionSalary + s.LongServiceBonus +
                           s.ComplexityBonus + s.StateSecretBonus + s.CipherBonus +
                           s.SecrecyUnitBonus + s.SpecialConditionsBonus +
                           s.ClassQualificationBonus + s.Premium + s.AnnualReward + s.MaterialAid;
    // The total uses the exact factor, the captions the single-precision one.
    const double regional = s.RegionalPercent / 100 + 1;

    writeFormatted(Label::Label31, CaptionForm::Fixed6,
                   regionalOnOther ? factor * s.OtherAllowances : s.OtherAllowances, Blanks6);

    s.TotalAccrued = regionalOnOther ? regional * (monthly + s.OtherAllowances)
                                     : s.OtherAllowances + regional * monthly;

    if (s.MaterialAid <= 4000)
        s.MaterialAidNet = s.MaterialAid;
    else
        s.MaterialAidNet = factor * s.MaterialAid - 0.13 * (factor * s.MaterialAid - 4000);

    writeSalaryCaptions(Blanks3);
    writeFormatted(Label::Label52, CaptionForm::Amount, factor * s.Premium, Blanks4);
    writeFormatted(Label::Label56, CaptionForm::Amount, factor * (s.Premium - 0.13 * s.Premium),
                   Blanks4);
    writeFormatted(Label::Label58, CaptionForm::Amount, factor * s.AnnualReward, Blanks4);
    writeFormatted(Label::Label57, CaptionForm::Amount,
                   factor * (s.AnnualReward - 0.13 * s.AnnualReward), Blanks4);
    writeFormatted(Label::Label59, CaptionForm::Amount, factor * s.MaterialAid, Blanks4);
    writeFormatted(Label::Label61, CaptionForm::Amount, s.MaterialAidNet, Blanks4);
}

void PayEngine::writeSalaryCaptions(QStringView totalPrefix)
{
    const PaySheet& s = m_sheet;
    const double factor = s.RegionalMultiplier;
    writeFormatted(Label::Label21, CaptionForm::Amount, factor * s.RaisedPositionSalary, Blanks6);
    writeFormatted(Label::Label23, CaptionForm::Amount, s.TotalAccrued, totalPrefix);
    writeFormatted(Label::Label24, CaptionForm::Amount, factor * s.PositionSalary, Blanks6);
    writeFormatted(Label::Label25, CaptionForm::Amount, factor * s.LongServiceBonus, Blanks6);
    writeFormatted(Label::Label22, CaptionForm::Amount, factor * s.RankSalary, Blanks6);
    writeFormatted(Label::Label26, CaptionForm::Amount, factor * s.ComplexityBonus, Blanks6);
    writeFormatted(Label::Label27, CaptionForm::Amount, factor * s.ClassQualificationBonus,
                   Blanks6);
    writeFormatted(Label::Label28, CaptionForm::Amount, factor * s.CipherBonus, Blanks6);
    writeFormatted(Label::Label29, CaptionForm::Amount, factor * s.StateSecretBonus, Blanks6);
    writeFormatted(Label::Label30, CaptionForm::Amount, factor * s.SpecialConditionsBonus, Blanks6);
    writeFormatted(Label::Label45, CaptionForm::Amount, factor * s.SecrecyUnitBonus, Blanks6);
}

void PayEngine::ModulUder()
{
    PaySheet& s = m_sheet;
    double marker = 0;
    if (s.SelfDeduction < 1)
        s.ChildDeduction = 0;
    if (s.SelfDeduction == 1)
        marker = 1;
    const double base =
        s.TotalAccrued - s.SelfDeduction - s.ChildDeduction + marker - s.MaterialAidTaxFree;
    // Deductions larger than the accruals leave nothing to tax, never a refund.
    s.IncomeTaxExact = 0.13 * std::max(0.0, base);
    s.IncomeTax = roundHalfEven(s.IncomeTaxExact);
    s.TotalWithheld = s.OtherDeductions + s.IncomeTax;

    writeFormatted(Label::Label35, CaptionForm::Whole6, s.IncomeTax, Blanks6);
    writeFormatted(Label::Label36, CaptionForm::Whole6, s.TotalWithheld, Blanks6);
}

void PayEngine::updateNetPay()
{
    m_sheet.NetPay = m_sheet.TotalAccrued - m_sheet.TotalWithheld;
    writeFormatted(Label::Label39, CaptionForm::Fixed7, m_sheet.NetPay, Blanks6);
    // The grand total follows every new net pay, not only the compensation
    // choices.
    updateGrandTotal();
}

void PayEngine::updateGrandTotal()
{
    m_sheet.GrandTotal =
        m_sheet.NetPay + m_sheet.FoodRationCompensation + m_sheet.SanatoriumCompensation;
    writeFormatted(Label::Label41, CaptionForm::Fixed7, m_sheet.GrandTotal, Blanks6);
}

// --- writing to the window -------------------------------------------------------------

void PayEngine::writeFormatted(Label label, CaptionForm form, double amount, QStringView prefix)
{
    CaptionKey& key = m_captionKeys[number(label)];
    const CaptionKey wanted{std::bit_cast<std::uint64_t>(amount), prefix.data(), prefix.size(),
                            form, true};
    // Five times a second the amounts are mostly unchanged: the text formed
    // from the same input is reused instead of formed again.
    if (key != wanted) {
        TextBuffer text;
        switch (form) {
        case CaptionForm::Amount:
            detail::amountCaptionInto(text, amount, prefix);
            break;
        case CaptionForm::Fixed6:
            detail::fixedCaptionInto(text, amount, 6, prefix);
            break;
        case CaptionForm::Fixed7:
            detail::fixedCaptionInto(text, amount, 7, prefix);
            break;
        case CaptionForm::Whole6:
            detail::wholeCaptionInto(text, amount, 6, prefix);
            break;
        case CaptionForm::Plain:
            detail::plainCaptionInto(text, amount, prefix);
            break;
        case CaptionForm::HandOver: {
            // The exact amount with a point, whatever the user's locale.
            detail::AsciiBuffer digits;
            detail::amountTextInto(digits, amount);
            text.append(digits);
            break;
        }
        }
        QString& stored = m_captions[number(label)];
        if (stored != text.view())
            stored = text.toString();
        key = wanted;
    }
    captionWritten(label);
}

void PayEngine::writeCaption(Label label, const QString& text)
{
    m_captions[number(label)] = text;
    m_captionKeys[number(label)].valid = false;
    captionWritten(label);
}

void PayEngine::captionWritten(Label label)
{
    m_sink.setCaption(label, m_captions[number(label)]);
    switch (label) {
    case Label::Label36:
        updateNetPay();
        break;
    case Label::Label22:
        writeFormatted(Label::Label62, CaptionForm::HandOver, m_sheet.RankSalary);
        break;
    case Label::Label24:
        writeFormatted(Label::Label63, CaptionForm::HandOver, m_sheet.RaisedPositionSalary);
        break;
    case Label::Label25:
        writeFormatted(Label::Label64, CaptionForm::HandOver, m_sheet.LongServiceBonus);
        break;
    default:
        break;
    }
}

void PayEngine::writeBox(Box box, const QString& text)
{
    if (m_boxes[number(box)] == text)
        return;
    m_sink.setBoxText(box, text);
    // A rewrite that changes the text is a change of the box like typing.
    boxChanged(box, text);
}

void PayEngine::writeMirror(List list, int index)
{
    if (!hasMirror(list))
        return;
    const Mirror mirror = mirrorOf(list);
    QString text = index >= 0 ? u' ' + QString::number(index) : QString::number(index);
    m_mirrors[number(mirror)] = text;
    m_sink.setMirror(mirror, text);
}

void PayEngine::changeListEnabled(List list, bool enabled)
{
    m_lists[number(list)].enabled = enabled;
    m_sink.setListEnabled(list, enabled);
}

void PayEngine::startTimer(Timer timer)
{
    bool& running = m_timers[number(timer)];
    if (running)
        return; // a running timer keeps running
    running = true;
    m_sink.setTimerRunning(timer, true);
}

void PayEngine::stopTimer(Timer timer)
{
    bool& running = m_timers[number(timer)];
    if (!running)
        return;
    running = false;
    m_sink.setTimerRunning(timer, false);
}

// --- state -----------------------------------------------------------------------------------

QString PayEngine::caption(Label label) const
{
    return m_captions[number(label)];
}

QString PayEngine::mirror(Mirror mirror) const
{
    return m_mirrors[number(mirror)];
}

QString PayEngine::boxText(Box box) const
{
    return m_boxes[number(box)];
}

bool PayEngine::isOn(Switch control) const
{
    return m_switches[number(control)];
}

int PayEngine::selectedIndex(List list) const
{
    return m_lists[number(list)].index;
}

int PayEngine::itemCount(List list) const
{
    return m_lists[number(list)].count;
}

bool PayEngine::isListEnabled(List list) const
{
    return m_lists[number(list)].enabled;
}

bool PayEngine::isTimerRunning(Timer timer) const
{
    return m_timers[number(timer)];
}

} // namespace paycalc
