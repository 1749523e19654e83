#include "paycalc/controls.h"

namespace paycalc {

namespace {

QString numbered(QStringView stem, int number)
{
    return stem + QString::number(number);
}

} // namespace

QString objectName(List list)
{
    return numbered(u"Combo", static_cast<int>(list));
}

QString objectName(Box box)
{
    return numbered(u"Text", static_cast<int>(box));
}

QString objectName(Switch control)
{
    switch (control) {
    case Switch::Option1:
        return QStringLiteral("Option1");
    case Switch::Option2:
        return QStringLiteral("Option2");
    default:
        return numbered(u"Check", static_cast<int>(control));
    }
}

QString objectName(Label label)
{
    return numbered(u"Label", static_cast<int>(label));
}

QString objectName(Mirror mirror)
{
    return numbered(u"Txt", static_cast<int>(mirror));
}

QString objectName(Timer timer)
{
    return numbered(u"Timer", static_cast<int>(timer));
}

bool hasMirror(List list)
{
    switch (list) {
    case List::Combo1:
    case List::Combo2:
    case List::Combo3:
    case List::Combo4:
    case List::Combo5:
    case List::Combo6:
    case List::Combo7:
    case List::Combo8:
    case List::Combo9:
    case List::Combo11:
        return true;
    default:
        return false;
    }
}

Mirror mirrorOf(List list)
{
    // The mirrors follow the lists' top-to-bottom order in the window, which
    // puts the secrecy-unit list (Combo11) before the cipher list.
    switch (list) {
    case List::Combo7:
        return Mirror::Txt8;
    case List::Combo8:
        return Mirror::Txt9;
    case List::Combo9:
        return Mirror::Txt10;
    case List::Combo11:
        return Mirror::Txt7;
    default:
        return static_cast<Mirror>(static_cast<int>(list));
    }
}

List listOf(Mirror mirror)
{
    switch (mirror) {
    case Mirror::Txt7:
        return List::Combo11;
    case Mirror::Txt8:
        return List::Combo7;
    case Mirror::Txt9:
        return List::Combo8;
    case Mirror::Txt10:
        return List::Combo9;
    default:
        return static_cast<List>(static_cast<int>(mirror));
    }
}

namespace {

// Row captions as the sheet shows them beside the controls. The secrecy-unit
// row is written with a Cyrillic "с" here (the sheet's caption has a Latin
// one), so that a speech synthesiser reads the word.
constexpr AccessibleName AccessibleNames[] = {
    {u"Combo15", u"Месяц расчетного листка"},
    {u"Combo16", u"Год расчетного листка"},
    {u"Command5", u"Прокрутить лист вверх"},
    {u"Command6", u"Прокрутить лист вниз"},
    {u"Combo1", u"Оклад по ВОИНСКОМУ ЗВАНИЮ"},
    {u"Label22", u"Оклад по ВОИНСКОМУ ЗВАНИЮ, сумма"},
    {u"Combo2", u"Оклад по ВОИНСКОЙ ДОЛЖНОСТИ"},
    {u"Label24", u"Оклад по ВОИНСКОЙ ДОЛЖНОСТИ, сумма"},
    {u"Combo5", u"Повышение оклада по воинской должности для военнослужащих на летных "
                u"должностях имеющих классную квалификацию"},
    {u"Combo3", u"Процентная надбавка за выслугу лет"},
    {u"Command4", u"Расчет выслуги"},
    {u"Label25", u"Процентная надбавка за выслугу лет, сумма"},
    {u"Combo4", u"Надбавка за сложность, напряженность и специальный режим службы"},
    {u"Label26", u"Надбавка за сложность, напряженность и специальный режим службы, сумма"},
    {u"Combo8", u"Надбавка за работу со сведениями составляющими государственную тайну"},
    {u"Label29", u"Надбавка за работу со сведениями составляющими государственную тайну, сумма"},
    {u"Combo11", u"Надбавка за стаж в подразделениях по защите гос. тайны"},
    {u"Label45", u"Надбавка за стаж в подразделениях по защите гос. тайны, сумма"},
    {u"Combo7", u"Надбавка за работу с шифрами"},
    {u"Label28", u"Надбавка за работу с шифрами, сумма"},
    {u"Combo9", u"Надбавка за особые условия службы"},
    {u"Label30", u"Надбавка за особые условия службы, сумма"},
    {u"Combo6", u"Денежное вознаграждение за классную квалификацию (кроме \"летчиков\")"},
    {u"Label27", u"Денежное вознаграждение за классную квалификацию (кроме \"летчиков\"), сумма"},
    {u"Label21", u"Ежемесячное денежное поощрение, сумма"},
    {u"Text4", u"Процентная надбавка за службу в ОМ и РК (вводим % от 0 до 300)"},
    {u"Text5", u"Прочие надбавки и выплаты (введите сумму в рублях)"},
    {u"Command2", u"Калькулятор: прочие надбавки и выплаты"},
    {u"Label31", u"Прочие надбавки и выплаты, сумма"},
    {u"Check4", u"Начислять РК, ОМ на прочие"},
    {u"Check6", u"Начислить Премию"},
    {u"Option1", u"Премия ежеквартальная"},
    {u"Option2", u"Премия ежемесячная"},
    {u"Label52", u"Премия, сумма"},
    {u"Label56", u"Премия с учетом налога, сумма"},
    {u"Check1", u"Если лишили премии"},
    {u"Text2", u"Если лишили то введите процент оставшийся от премии"},
    {u"Check5", u"Начислить Е.Д.В. (тринадцатую)"},
    {u"Label58", u"Е.Д.В., сумма"},
    {u"Label57", u"Е.Д.В. с учетом налога, сумма"},
    {u"Check2", u"Если лишили Е.Д.В."},
    {u"Text3", u"Если лишили то введите процент оставшийся от Е.Д.В."},
    {u"Check3", u"Начислить Материальную помощь"},
    {u"Label59", u"Материальная помощь, сумма"},
    {u"Label61", u"Материальная помощь с учетом налога, сумма"},
    {u"Label23", u"НАЧИСЛЕНО, сумма"},
    {u"Combo13", u"Подоходный налог - 13%, доход за год"},
    {u"Label35", u"Подоходный налог - 13%, сумма"},
    {u"Combo14", u"Подоходный налог - 13%, количество детей"},
    {u"Text1", u"Другие удержания (введите сумму в рублях)"},
    {u"Command3", u"Калькулятор: другие удержания"},
    {u"Label65", u"Другие удержания, сумма"},
    {u"Label36", u"УДЕРЖАНО, сумма"},
    {u"Label39", u"ИТОГО, сумма"},
    {u"Combo10", u"Компенсация месячной стоимости прод пайка"},
    {u"Label40", u"Компенсация месячной стоимости прод пайка, сумма"},
    {u"Combo12", u"Денежная компенсация на санаторно-курортное лечение"},
    {u"Label60", u"Денежная компенсация на санаторно-курортное лечение, сумма"},
    {u"Label41", u"ВСЕГО НА РУКИ, сумма"},
    {u"Command1", u"Сайт программы"},
    {u"Label47", u"Раскладка клавиатуры"},
};

} // namespace

std::span<const AccessibleName> accessibleNames()
{
    return AccessibleNames;
}

} // namespace paycalc
