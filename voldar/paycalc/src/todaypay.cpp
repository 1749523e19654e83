#include "paycalc/todaypay.h"

#include "paycalc/cp1251.h"
#include "paycalc/rulesfile.h"
#include "paycalc/salaryfile.h"

#include <algorithm>
#include <cmath>
#include <QDir>
#include <QFile>
#include <vector>

namespace paycalc::todaypay {

using rulesfile::Rule;
using rulesfile::RuleValue;

namespace {

// Numbers are hundredths throughout: roubles in kopecks, percentages in
// hundredths of a percent, the coefficient in hundredths.
constexpr qint64 Hundred = 100;
constexpr qint64 MaxSalary = 10'000'000 * Hundred;
constexpr qint64 MaxIncome = 1'000'000'000'000 * Hundred;
// Real salary files are a few kilobytes with a few dozen entries; the bounds
// keep a stray file from costing minutes (each salary lookup rereads it).
constexpr qint64 MaxSalaryFileSize = 256 * 1024;
constexpr qsizetype MaxSalaryEntries = 300;
constexpr qsizetype MaxBoxText = 64;
constexpr qsizetype MaxChoicesSize = 64 * 1024;

std::size_t at(Input input)
{
    return static_cast<std::size_t>(input);
}

std::size_t at(Amount amount)
{
    return static_cast<std::size_t>(amount);
}

const QStringList& qualificationItems()
{
    static const QStringList items = {QStringLiteral("нет"), QStringLiteral("3 класс"),
                                      QStringLiteral("2 класс"), QStringLiteral("1 класс"),
                                      QStringLiteral("мастер")};
    return items;
}

// What a box accepts. `maxRule` takes the upper bound from the rules file.
struct BoxRange
{
    int decimals = 2;
    qint64 min = 0;
    qint64 max = MaxIncome;
    std::optional<Rule> maxRule = std::nullopt;
    bool minIncluded = true;
    qint64 whenEmpty = 0;
};

BoxRange boxRange(Input input)
{
    switch (input) {
    case Input::ManualPositionSalary:
        return {2, 0, MaxSalary, std::nullopt, false};
    case Input::ServiceYears:
        return {0, 0, 60 * Hundred};
    case Input::StateSecret:
        return {2, 0, 0, Rule::StateSecret};
    case Input::SpecialConditions:
        return {2, 0, 0, Rule::SpecialConditions};
    case Input::Risk:
        return {2, 0, 0, Rule::Risk};
    case Input::Achievements:
        return {2, 0, 0, Rule::Achievements};
    case Input::Premium:
        return {2, 0, 0, Rule::Premium};
    case Input::RegionalCoefficient:
        return {2, Hundred, 0, Rule::RegionalCoefficient, true, Hundred};
    case Input::NorthernPercent:
        return {2, 0, 0, Rule::NorthernPercent};
    case Input::Children:
        return {0, 0, 20 * Hundred};
    default:
        return {};
    }
}

bool isGroupBlank(QChar c)
{
    return c == u' ' || c == u'\u00A0' || c == u'\u202F' || c == u'\u2009';
}

// The number typed into a box: blanks may split the whole part into groups
// of three digits; a point or a comma starts the decimals.
std::optional<qint64> typedNumber(QStringView text, int decimals)
{
    qsizetype point = text.indexOf(u'.');
    if (point < 0)
        point = text.indexOf(u',');
    const QStringView whole = point < 0 ? text : text.first(point);
    QString digits;
    qsizetype group = 0;
    bool grouped = false;
    for (const QChar c : whole) {
        if (isGroupBlank(c)) {
            if (group == 0 || group > 3 || (grouped && group != 3))
                return std::nullopt;
            grouped = true;
            group = 0;
            continue;
        }
        digits += c;
        ++group;
    }
    if (grouped && group != 3)
        return std::nullopt;
    if (point >= 0)
        digits += text.sliced(point);
    return rulesfile::parseNumber(digits, decimals);
}

qint64 upperBound(const BoxRange& range, const std::optional<rulesfile::Rules>& rules)
{
    if (!range.maxRule)
        return range.max;
    return rules ? (*rules)[*range.maxRule].values.first() : MaxIncome;
}

struct BoxReading
{
    bool accepted = true;
    std::optional<qint64> value; // hundredths; nullopt when empty or refused
};

BoxReading readBox(const QString& text, const BoxRange& range,
                   const std::optional<rulesfile::Rules>& rules)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    if (trimmed.size() > MaxBoxText)
        return {false, std::nullopt};
    const std::optional<qint64> number = typedNumber(trimmed, range.decimals);
    const bool inRange = number &&
                         (range.minIncluded ? *number >= range.min : *number > range.min) &&
                         *number <= upperBound(range, rules);
    return inRange ? BoxReading{true, number} : BoxReading{false, std::nullopt};
}

// A share of `kopecks` at `percent` hundredths of a percent, rounded to the
// kopeck with halves up (every amount here is non-negative).
qint64 percentOf(qint64 kopecks, qint64 percent)
{
    return (kopecks * percent + 5000) / 10000;
}

// `kopecks` times `hundredths` / 100, to the kopeck, halves up.
qint64 timesHundredths(qint64 kopecks, qint64 hundredths)
{
    return (kopecks * hundredths + 50) / 100;
}

// The value of the last step a scale has reached at `where`; 0 below the first.
qint64 stepValue(const RuleValue& scale, qint64 where)
{
    qint64 value = 0;
    for (qsizetype i = 0; i < scale.steps.size() && scale.steps[i] <= where; ++i)
        value = scale.values[i];
    return value;
}

// The year's tax on a base of `kopecks` in millionths of a rouble (kopecks
// times hundredths of a percent), so that nothing is rounded yet.
qint64 scaleTax(const RuleValue& scale, qint64 kopecks)
{
    qint64 tax = 0;
    for (qsizetype i = 0; i < scale.steps.size() && kopecks > scale.steps[i]; ++i) {
        const qint64 top =
            i + 1 < scale.steps.size() ? std::min(kopecks, scale.steps[i + 1]) : kopecks;
        tax += (top - scale.steps[i]) * scale.values[i];
    }
    return tax;
}

// The tax in whole roubles (as kopecks): a remainder of `roundingKopecks` or
// more goes up to the next rouble, less is dropped.
qint64 wholeRoubles(qint64 millionths, qint64 roundingKopecks)
{
    constexpr qint64 Rouble = 1'000'000;
    constexpr qint64 Kopeck = Rouble / 100;
    const qint64 roubles =
        millionths / Rouble + (millionths % Rouble >= roundingKopecks * Kopeck ? 1 : 0);
    return roubles * Hundred;
}

qint64 childDeduction(const RuleValue& rule, qint64 children)
{
    qint64 sum = 0;
    for (qint64 k = 0; k < children; ++k)
        sum += rule.values[std::min<qsizetype>(k, rule.values.size() - 1)];
    return sum;
}

struct SalaryTable
{
    QString heading;
    QStringList names;
    QList<qint64> kopecks;
    bool ok = false;
};

QString heading(const QByteArray& bytes)
{
    cp1251::LineReader reader(bytes);
    return reader.readLine().value_or(QString()).trimmed();
}

QString salaryProblem(const QString& path, qsizetype index, const QString& name,
                      const QString& what)
{
    return QStringLiteral("Файл %1, запись %2 («%3»): %4.")
        .arg(path)
        .arg(index + 1)
        .arg(name, what);
}

// Reads a salary file once and gives what the main sheet's reader gives;
// `problem` gets the first thing wrong.
SalaryTable readSalaries(const QString& path, QString& problem)
{
    SalaryTable table;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("Не удалось открыть файл окладов %1.").arg(path);
        return table;
    }
    const QByteArray bytes = file.read(MaxSalaryFileSize + 1);
    if (bytes.size() > MaxSalaryFileSize) {
        problem = QStringLiteral("Файл %1 больше 256 КБ: это не файл окладов.").arg(path);
        return table;
    }
    table.heading = heading(bytes);
    salaryfile::FillResult filled = salaryfile::namesIn(bytes);
    if (!filled.ok || filled.names.size() > MaxSalaryEntries) {
        problem = filled.ok ? QStringLiteral("В файле %1 больше %2 записей: это не файл окладов.")
                                  .arg(path)
                                  .arg(MaxSalaryEntries)
                            : QStringLiteral("Файл %1 кончается раньше признака конца списка "
                                             "(пустой строки после последнего оклада).")
                                  .arg(path);
        return table;
    }
    // Every record's salary as the main sheet's lookup reads it, in one pass.
    const QList<std::optional<double>> salaries =
        salaryfile::salariesIn(bytes, int(filled.names.size()));
    for (qsizetype i = 0; i < filled.names.size(); ++i) {
        const std::optional<double>& salary = salaries[i];
        const QString& name = filled.names[i];
        if (!salary) {
            problem = salaryProblem(path, i, name, QStringLiteral("оклад не найден"));
            return table;
        }
        if (!std::isfinite(*salary) || *salary < 0 || *salary * Hundred > MaxSalary) {
            problem = salaryProblem(path, i, name,
                                    QStringLiteral("оклад должен быть от 0 до 10 000 000 руб."));
            return table;
        }
        table.kopecks.append(std::llround(*salary * Hundred));
    }
    table.names = std::move(filled.names);
    table.ok = true;
    return table;
}

// The name of each input in the saved choices, in Input order.
constexpr std::array<const char*, InputCount> ChoiceKeys = {
    "rank",          "grade",       "manualPositionSalary", "serviceYears",
    "qualification", "stateSecret", "specialConditions",    "risk",
    "achievements",  "premium",     "regionalCoefficient",  "northernPercent",
    "materialAid",   "children",    "incomeSoFar"};

std::optional<Input> inputNamed(QByteArrayView key)
{
    for (int i = 0; i < InputCount; ++i)
        if (key == ChoiceKeys[static_cast<std::size_t>(i)])
            return static_cast<Input>(i);
    return std::nullopt;
}

QString unconfirmedMark(bool unconfirmed)
{
    return unconfirmed ? QStringLiteral(" (не подтверждено)") : QString();
}

} // namespace

struct TodayPay::State
{
    std::optional<rulesfile::Rules> rules;
    SalaryTable ranks;
    SalaryTable grades;
    QString problem; // the first thing that keeps the sheet from computing
};

InputKind kindOf(Input input)
{
    switch (input) {
    case Input::Rank:
    case Input::Grade:
    case Input::Qualification:
        return InputKind::List;
    case Input::MaterialAid:
        return InputKind::CheckBox;
    default:
        return InputKind::Box;
    }
}

QString caption(Input input)
{
    static const std::array<QString, InputCount> captions = {
        QStringLiteral("Воинское звание"),
        QStringLiteral("Тарифный разряд"),
        QStringLiteral("Оклад по должности вручную, руб."),
        QStringLiteral("Выслуга, полных лет"),
        QStringLiteral("Классная квалификация"),
        QStringLiteral("Гостайна, % оклада по должности"),
        QStringLiteral("Особые условия службы, % оклада по должности"),
        QStringLiteral("Риск для жизни и здоровья, % оклада по должности"),
        QStringLiteral("Особые достижения, % оклада по должности"),
        QStringLiteral("Премия, % оклада денежного содержания"),
        QStringLiteral("Районный коэффициент"),
        QStringLiteral("Процентная надбавка за службу в районах, %"),
        QStringLiteral("Материальная помощь в этом месяце"),
        QStringLiteral("Детей"),
        QStringLiteral("Доход с начала года до этого месяца, руб."),
    };
    return captions[at(input)];
}

QString caption(Amount amount)
{
    static const std::array<QString, AmountCount> captions = {
        QStringLiteral("Оклад по воинскому званию"),
        QStringLiteral("Оклад по воинской должности"),
        QStringLiteral("Оклад денежного содержания"),
        QStringLiteral("Надбавка за выслугу лет"),
        QStringLiteral("Надбавка за классную квалификацию"),
        QStringLiteral("Надбавка за работу со сведениями, составляющими гостайну"),
        QStringLiteral("Надбавка за особые условия службы"),
        QStringLiteral("Надбавка за риск для жизни и здоровья"),
        QStringLiteral("Надбавка за особые достижения"),
        QStringLiteral("Премия"),
        QStringLiteral("Начисления по районному коэффициенту"),
        QStringLiteral("Процентная надбавка за службу в районах"),
        QStringLiteral("Материальная помощь"),
        QStringLiteral("Начислено"),
        QStringLiteral("Вычеты на детей"),
        QStringLiteral("НДФЛ"),
        QStringLiteral("К выдаче"),
    };
    return captions[at(amount)];
}

QString accessibleName(Amount amount)
{
    return caption(amount) + QStringLiteral(", сумма");
}

QString startText(Input input)
{
    switch (input) {
    case Input::Premium:
        return QStringLiteral("25");
    case Input::RegionalCoefficient:
        return QStringLiteral("1");
    case Input::NorthernPercent:
        return QStringLiteral("0");
    default:
        return {};
    }
}

QString amountText(double roubles)
{
    const qint64 kopecks = std::isfinite(roubles) ? std::llround(roubles * 100) : 0;
    return rulesfile::numberText(kopecks, 2) + QStringLiteral(" руб.");
}

TodayPay::TodayPay(QString dataFolder) : m_dataFolder(std::move(dataFolder))
{
    m_indexes.fill(-1);
    m_indexes[at(Input::Qualification)] = 0;
    for (int i = 0; i < InputCount; ++i)
        m_texts[static_cast<std::size_t>(i)] = startText(static_cast<Input>(i));
    reload();
}

void TodayPay::reload()
{
    auto state = std::make_shared<State>();
    const QDir folder(m_dataFolder);
    rulesfile::ReadResult rules =
        rulesfile::read(folder.filePath(QString::fromUtf16(rulesfile::FileName)));
    state->rules = std::move(rules.rules);
    state->problem = rules.problem;
    QString rankProblem;
    QString gradeProblem;
    state->ranks =
        readSalaries(folder.filePath(QString::fromUtf16(salaryfile::RankSalaryFile)), rankProblem);
    state->grades = readSalaries(
        folder.filePath(QString::fromUtf16(salaryfile::PositionSalaryFile)), gradeProblem);
    for (const QString& problem : {rankProblem, gradeProblem})
        if (state->problem.isEmpty())
            state->problem = problem;
    m_state = std::move(state);

    // A list read anew keeps its choice while the choice is still in it.
    const std::array<std::pair<Input, const SalaryTable*>, 2> lists = {
        {{Input::Rank, &m_state->ranks}, {Input::Grade, &m_state->grades}}};
    for (const auto& [input, table] : lists)
        if (table->ok && m_indexes[at(input)] >= table->names.size())
            m_indexes[at(input)] = -1;
    recompute();
}

bool TodayPay::canCompute() const
{
    return m_state->problem.isEmpty();
}

QString TodayPay::problem() const
{
    return m_state->problem;
}

QStringList TodayPay::items(Input input) const
{
    switch (input) {
    case Input::Rank:
        return m_state->ranks.names;
    case Input::Grade:
        return m_state->grades.names;
    case Input::Qualification:
        return qualificationItems();
    default:
        return {};
    }
}

void TodayPay::setIndex(Input input, int index)
{
    if (kindOf(input) != InputKind::List)
        return;
    m_indexes[at(input)] = index >= 0 && index < items(input).size() ? index : -1;
    recompute();
}

void TodayPay::setText(Input input, const QString& text)
{
    if (kindOf(input) != InputKind::Box)
        return;
    m_texts[at(input)] = text;
    recompute();
}

void TodayPay::setChecked(Input input, bool checked)
{
    if (kindOf(input) != InputKind::CheckBox)
        return;
    m_materialAid = checked;
    recompute();
}

int TodayPay::index(Input input) const
{
    return kindOf(input) == InputKind::List ? m_indexes[at(input)] : -1;
}

QString TodayPay::text(Input input) const
{
    return kindOf(input) == InputKind::Box ? m_texts[at(input)] : QString();
}

bool TodayPay::isChecked(Input input) const
{
    return kindOf(input) == InputKind::CheckBox && m_materialAid;
}

bool TodayPay::isAccepted(Input input) const
{
    return kindOf(input) != InputKind::Box ||
           readBox(m_texts[at(input)], boxRange(input), m_state->rules).accepted;
}

std::optional<qint64> TodayPay::boxValue(Input input) const
{
    return readBox(m_texts[at(input)], boxRange(input), m_state->rules).value;
}

QString TodayPay::toolTip(Input input) const
{
    const std::optional<rulesfile::Rules>& rules = m_state->rules;
    switch (input) {
    case Input::Rank:
        return QStringLiteral("Воинские звания из файла Zvanie.Txt");
    case Input::Grade:
        return QStringLiteral("Тарифные разряды из файла Dolznost.Txt");
    case Input::Qualification: {
        if (!rules)
            return QStringLiteral("Проценты задаёт файл правил");
        QStringList percents;
        for (const qint64 percent : (*rules)[Rule::Qualification].values)
            percents << rulesfile::numberText(percent);
        return QStringLiteral("Надбавка %1 % оклада по воинской должности")
                   .arg(percents.join(QStringLiteral(", "))) +
               unconfirmedMark((*rules)[Rule::Qualification].unconfirmed);
    }
    case Input::MaterialAid:
        if (!rules)
            return QStringLiteral("Размер задаёт файл правил");
        return QStringLiteral("Окладов денежного содержания: %1")
                   .arg(rulesfile::numberText((*rules)[Rule::MaterialAid].values.first())) +
               unconfirmedMark((*rules)[Rule::MaterialAid].unconfirmed);
    default:
        break;
    }
    const BoxRange range = boxRange(input);
    QString tip = range.decimals == 0 ? QStringLiteral("Целое число") : QStringLiteral("Число");
    tip += range.minIncluded ? QStringLiteral(" от %1").arg(rulesfile::numberText(range.min))
                             : QStringLiteral(" больше %1,").arg(rulesfile::numberText(range.min));
    if (range.maxRule && !rules)
        return tip + QStringLiteral("; предел задаёт файл правил");
    tip += QStringLiteral(" до ") + rulesfile::numberText(upperBound(range, rules));
    if (input == Input::ManualPositionSalary)
        tip += QStringLiteral("; пусто — оклад по тарифному разряду");
    return tip + unconfirmedMark(range.maxRule && (*rules)[*range.maxRule].unconfirmed);
}

double TodayPay::amount(Amount which) const
{
    return double(m_kopecks[at(which)]) / Hundred;
}

QString TodayPay::text(Amount which) const
{
    return canCompute() ? amountText(amount(which)) : QStringLiteral("—");
}

QString TodayPay::toolTip(Amount which) const
{
    static const std::array<QString, AmountCount> descriptions = {
        QStringLiteral("Оклад выбранного воинского звания из файла Zvanie.Txt"),
        QStringLiteral(
            "Оклад выбранного тарифного разряда из файла Dolznost.Txt или введённый вручную"),
        QStringLiteral("Оклад по воинскому званию и оклад по воинской должности"),
        QStringLiteral("Процент оклада денежного содержания по полным годам выслуги"),
        QStringLiteral("Процент оклада по воинской должности по классной квалификации"),
        QStringLiteral("Процент оклада по воинской должности"),
        QStringLiteral("Процент оклада по воинской должности"),
        QStringLiteral("Процент оклада по воинской должности"),
        QStringLiteral("Процент оклада по воинской должности"),
        QStringLiteral("Процент оклада денежного содержания за месяц"),
        QStringLiteral("Оклад денежного содержания, надбавки и премия, умноженные на "
                       "(коэффициент − 1)"),
        QStringLiteral("Процент от оклада денежного содержания, надбавок и премии"),
        QStringLiteral("Оклады денежного содержания по файлу правил; районный коэффициент и "
                       "процентная надбавка к ней не применяются"),
        QStringLiteral("Оклады, надбавки, премия, районные начисления и материальная помощь, "
                       "каждая сумма округлена до копейки"),
        QStringLiteral("Вычеты на детей, пока доход с начала года вместе с этим месяцем не "
                       "больше предела"),
        QStringLiteral("Налог с начала года по шкале в полных рублях за вычетом налога прежних "
                       "месяцев; часть материальной помощи не облагается"),
        QStringLiteral("Начислено минус НДФЛ"),
    };
    static const std::array<std::vector<Rule>, AmountCount> sources = {{
        {},
        {},
        {Rule::BaseSalary},
        {Rule::LongService},
        {Rule::Qualification},
        {Rule::StateSecret},
        {Rule::SpecialConditions},
        {Rule::Risk},
        {Rule::Achievements},
        {Rule::Premium},
        {Rule::RegionalCoefficient},
        {Rule::NorthernPercent},
        {Rule::MaterialAid},
        {},
        {Rule::ChildDeduction, Rule::ChildDeductionLimit},
        {Rule::TaxScale, Rule::TaxRounding, Rule::TaxFreeAid},
        {},
    }};
    QString tip = descriptions[at(which)];
    if (!m_state->rules)
        return tip;
    QStringList named;
    for (const Rule rule : sources[at(which)])
        named << (*m_state->rules)[rule].source;
    return named.isEmpty()
               ? tip
               : tip + QStringLiteral(". Источник: ") + named.join(QStringLiteral("; "));
}

QString TodayPay::footerText() const
{
    QStringList lines;
    if (!m_state->ranks.heading.isEmpty())
        lines << QStringLiteral("Zvanie.Txt: ") + m_state->ranks.heading;
    if (!m_state->grades.heading.isEmpty())
        lines << QStringLiteral("Dolznost.Txt: ") + m_state->grades.heading;
    if (m_state->rules)
        lines << QStringLiteral("Правила: ") + m_state->rules->edition;
    lines << QStringLiteral("Новые оклады вносит «Дополнительно → Индексация окладов».");
    // One line under the sheet; the label wraps it where the window is narrow.
    return lines.join(QStringLiteral("; "));
}

void TodayPay::recompute()
{
    m_kopecks.fill(0);
    if (!canCompute())
        return;
    const rulesfile::Rules& rules = *m_state->rules;
    const auto value = [this](Input input) {
        return boxValue(input).value_or(boxRange(input).whenEmpty);
    };
    const auto listed = [](const SalaryTable& table, int index) {
        return index >= 0 && index < table.kopecks.size() ? table.kopecks[index] : 0;
    };
    const auto put = [this](Amount amount, qint64 kopecks) { m_kopecks[at(amount)] = kopecks; };

    const qint64 rank = listed(m_state->ranks, m_indexes[at(Input::Rank)]);
    const qint64 position = boxValue(Input::ManualPositionSalary)
                                .value_or(listed(m_state->grades, m_indexes[at(Input::Grade)]));
    const qint64 base = rank + position;
    const int qualification = m_indexes[at(Input::Qualification)];
    const std::array<std::pair<Amount, qint64>, 7> allowances = {{
        {Amount::LongService,
         percentOf(base, stepValue(rules[Rule::LongService], value(Input::ServiceYears)))},
        {Amount::Qualification,
         qualification > 0
             ? percentOf(position, rules[Rule::Qualification].values[qualification - 1])
             : 0},
        {Amount::StateSecret, percentOf(position, value(Input::StateSecret))},
        {Amount::SpecialConditions, percentOf(position, value(Input::SpecialConditions))},
        {Amount::Risk, percentOf(position, value(Input::Risk))},
        {Amount::Achievements, percentOf(position, value(Input::Achievements))},
        {Amount::Premium, percentOf(base, value(Input::Premium))},
    }};
    // The regional coefficient and the northern percentage apply to the base
    // salary with its monthly allowances and premium, not to material aid.
    qint64 monthly = base;
    for (const auto& [amount, kopecks] : allowances) {
        put(amount, kopecks);
        monthly += kopecks;
    }
    const qint64 regional = timesHundredths(monthly, value(Input::RegionalCoefficient) - Hundred);
    const qint64 northern = percentOf(monthly, value(Input::NorthernPercent));
    const qint64 aid =
        m_materialAid ? timesHundredths(base, rules[Rule::MaterialAid].values.first()) : 0;
    const qint64 accrued = monthly + regional + northern + aid;

    const qint64 taxable = accrued - std::min(aid, rules[Rule::TaxFreeAid].values.first());
    const qint64 incomeSoFar = value(Input::IncomeSoFar);
    const qint64 deduction =
        incomeSoFar + taxable <= rules[Rule::ChildDeductionLimit].values.first()
            ? childDeduction(rules[Rule::ChildDeduction], value(Input::Children) / Hundred)
            : 0;
    // Tax is reckoned from the year's start and the tax of the earlier
    // months, itself in whole roubles, is set off against it.
    const RuleValue& scale = rules[Rule::TaxScale];
    const qint64 rounding = rules[Rule::TaxRounding].values.first() / Hundred;
    const qint64 taxBase = std::max<qint64>(0, taxable - deduction);
    const qint64 tax = wholeRoubles(scaleTax(scale, incomeSoFar + taxBase), rounding) -
                       wholeRoubles(scaleTax(scale, incomeSoFar), rounding);

    put(Amount::RankSalary, rank);
    put(Amount::PositionSalary, position);
    put(Amount::BaseSalary, base);
    put(Amount::Regional, regional);
    put(Amount::Northern, northern);
    put(Amount::MaterialAid, aid);
    put(Amount::Accrued, accrued);
    put(Amount::ChildDeduction, deduction);
    put(Amount::IncomeTax, tax);
    put(Amount::NetPay, accrued - tax);
}

QByteArray TodayPay::choices() const
{
    QByteArray bytes;
    for (int i = 0; i < InputCount; ++i) {
        const Input input = static_cast<Input>(i);
        QByteArray value;
        switch (kindOf(input)) {
        case InputKind::List:
            value = QByteArray::number(index(input));
            break;
        case InputKind::Box:
            // One line per input: a line end typed into a box cannot break it.
            value = text(input).toUtf8().replace('\n', ' ').replace('\r', ' ');
            break;
        case InputKind::CheckBox:
            value = isChecked(input) ? "1" : "0";
            break;
        }
        bytes += QByteArray(ChoiceKeys[static_cast<std::size_t>(i)]) + '=' + value + '\n';
    }
    return bytes;
}

void TodayPay::restoreChoices(const QByteArray& bytes)
{
    if (bytes.size() > MaxChoicesSize)
        return;
    for (const QByteArray& line : bytes.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        const std::optional<Input> named =
            equals < 0 ? std::nullopt : inputNamed(QByteArrayView(line).first(equals));
        if (!named)
            continue;
        const Input input = *named;
        const QString value = QString::fromUtf8(line.sliced(equals + 1)).remove(u'\r');
        bool ok = false;
        const int number = value.toInt(&ok);
        if (kindOf(input) == InputKind::List && ok && number >= -1 && number < items(input).size())
            m_indexes[at(input)] = number;
        else if (kindOf(input) == InputKind::Box && value.size() <= MaxBoxText)
            m_texts[at(input)] = value;
        else if (kindOf(input) == InputKind::CheckBox && ok && (number == 0 || number == 1))
            m_materialAid = number == 1;
    }
    recompute();
}

} // namespace paycalc::todaypay
