#include "tools/pension.h"

#include "paycalc/numbers.h"

namespace tools {

namespace {

struct Rules
{
    double minimumYears;
    double maximumYears;
    double percentPerYear;
};

constexpr double BasePercent = 50;
constexpr double PercentCap = 85;
constexpr double FixedSupplement = 240;
constexpr double LegalSupplement = 1560;

Rules rulesFor(PensionKind kind)
{
    return kind == PensionKind::Service ? Rules{20, 55, 3} : Rules{25, 65, 1};
}

paycalc::Message refusal(const QString& text)
{
    return {text, QStringLiteral("Внимание !"), paycalc::Message::Icon::Error};
}

} // namespace

std::optional<paycalc::Message> missingSalaries(const PensionInputs& inputs)
{
    if (inputs.raisedPositionSalary != 0 && inputs.rankSalary != 0 && inputs.longServiceBonus != 0)
        return std::nullopt;
    return paycalc::Message{
        QStringLiteral("Необходимо выбрать в основном окне программы :\r"
                       "  оклад по воискому званию\r"
                       "  оклад по воинской должности (при необходимости класс у летчиков) \r"
                       "  и процентную надбавку за выслугу лет "),
        QStringLiteral("Внимание!"), paycalc::Message::Icon::None};
}

QString yearsPrompt(PensionKind kind)
{
    return kind == PensionKind::Service
               ? QStringLiteral(
                     "Введите выслугу лет в ВС \rс округлением до целого года свыше 20 лет")
               : QStringLiteral("Введите общий трудовой стаж \r"
                                "с округлением до целого года , свыше 25 лет");
}

QString yearsTitle()
{
    return QStringLiteral("Расчет пенсии");
}

double pensionPercentage(PensionKind kind, double years)
{
    const Rules rules = rulesFor(kind);
    const double percent = BasePercent + rules.percentPerYear * (years - rules.minimumYears);
    return percent > PercentCap ? PercentCap : percent;
}

double pensionAmount(PensionKind kind, const PensionInputs& inputs, double years)
{
    const double salaries =
        inputs.raisedPositionSalary + inputs.rankSalary + inputs.longServiceBonus;
    return pensionPercentage(kind, years) / 100 * salaries + FixedSupplement +
           (inputs.legalSupplement ? LegalSupplement : 0) + inputs.otherAllowances;
}

QString pensionText(double pension)
{
    return paycalc::captionNumber(paycalc::leadingNumber(paycalc::amountText(pension).left(7)));
}

paycalc::Message pensionMessage(PensionKind kind, const PensionInputs& inputs, double years)
{
    const Rules rules = rulesFor(kind);
    const bool service = kind == PensionKind::Service;
    if (years < rules.minimumYears) {
        return refusal(
            service ? QStringLiteral("Пенсия назначается по достижению 20 лет выслуги в ВС !")
                    : QStringLiteral("Пенсия назначается по достижению 25 лет общего "
                                     "трудового стажа \r(в т.ч. 12,5 и более лет "
                                     "гражданской и 12,5 и более военной)"));
    }
    if (years > rules.maximumYears)
        return refusal(QStringLiteral("В нашей стране столько не живут !"));

    const QString yearsText = paycalc::captionNumber(years);
    const QString amount = pensionText(pensionAmount(kind, inputs, years));
    QString text;
    if (pensionPercentage(kind, years) == PercentCap) {
        if (service)
            text = u"При выслуге " + yearsText + u" (32 года и более )";
        else
            text = u"При общем трудовом стаже " + yearsText + u" (60 лет и более )";
        text += u"\r\rВаша пенсия с учетом надбавки в 240 руб. максимальна и составляет :" +
                amount + u" руб.";
    } else {
        if (service)
            text = u"При выслуге лет равной " + yearsText;
        else
            text = u"При общем трудовом стаже " + yearsText;
        text += u"\r\rВаша пенсия с учетом надбавки в 240 руб. составит :" + amount + u" руб.";
    }
    return {text, QStringLiteral("Пенсия"), paycalc::Message::Icon::Information};
}

} // namespace tools
