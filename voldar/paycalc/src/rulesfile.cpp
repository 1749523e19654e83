#include "paycalc/rulesfile.h"

#include "paycalc/cp1251.h"

#include <QDate>
#include <QFile>
#include <QRegularExpression>

namespace paycalc::rulesfile {

namespace {

enum class Shape
{
    None,  // only a source
    One,   // one value
    Four,  // four values
    List,  // one value or more
    Scale, // steps "from:value"
};

// What a rule may hold. Bounds are in hundredths; they keep every amount the
// sheet computes far inside 64-bit integers and catch slips of the pen.
struct RuleForm
{
    const char16_t* name;
    Shape shape;
    qint64 minValue;
    qint64 maxValue;
    bool wholeValues = false;
    qint64 maxStep = 0; // scales only
    bool wholeSteps = false;
    bool stepsFromZero = false;
};

constexpr qint64 Unit = 100;    // 1 (a year, a coefficient, a base salary) in hundredths
constexpr qint64 Percent = 100; // 1 % in hundredths
constexpr qint64 Rouble = 100;  // 1 rouble in kopecks
constexpr qint64 MaxRoubles = 1'000'000'000'000 * Rouble;
constexpr int MaxValues = 20;

constexpr std::array<RuleForm, RuleCount> RuleForms = {{
    {u"оклад денежного содержания", Shape::None, 0, 0},
    {u"выслуга лет, % оклада денежного содержания", Shape::Scale, 0, 1000 * Percent, false,
     100 * Unit, true},
    {u"классная квалификация, % оклада по воинской должности", Shape::Four, 0, 1000 * Percent},
    {u"гостайна, наибольший % оклада по воинской должности", Shape::One, 0, 1000 * Percent},
    {u"особые условия службы, наибольший % оклада по воинской должности", Shape::One, 0,
     1000 * Percent},
    {u"риск для жизни и здоровья, наибольший % оклада по воинской должности", Shape::One, 0,
     1000 * Percent},
    {u"особые достижения, наибольший % оклада по воинской должности", Shape::One, 0,
     1000 * Percent},
    {u"премия, наибольший % оклада денежного содержания в месяц", Shape::One, 0, 1000 * Percent},
    {u"районный коэффициент, наибольший", Shape::One, Unit, 10 * Unit},
    {u"процентная надбавка за службу в районах, наибольший %", Shape::One, 0, 1000 * Percent},
    {u"материальная помощь, окладов денежного содержания", Shape::One, 0, 12 * Unit},
    {u"материальная помощь без НДФЛ, руб. в год", Shape::One, 0, MaxRoubles},
    {u"вычеты на детей, руб. в месяц", Shape::List, 0, MaxRoubles},
    {u"вычеты на детей, пока доход с начала года не больше, руб.", Shape::One, 0, MaxRoubles},
    {u"шкала НДФЛ, руб. базы с начала года : %", Shape::Scale, 0, 100 * Percent, false, MaxRoubles,
     false, true},
    {u"округление НДФЛ вверх от, копеек", Shape::One, Unit, 99 * Unit, true},
}};

const RuleForm& formOf(int index)
{
    return RuleForms[static_cast<std::size_t>(index)];
}

int ruleIndex(QStringView name)
{
    for (int i = 0; i < RuleCount; ++i)
        if (name == QStringView(formOf(i).name))
            return i;
    return -1;
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A heading names its edition by a real date written ДД.ММ.ГГГГ.
bool hasEditionDate(const QString& heading)
{
    static const QRegularExpression date(
        QStringLiteral("(?<!\\d)(\\d\\d)\\.(\\d\\d)\\.(\\d{4})(?!\\d)"));
    QRegularExpressionMatchIterator it = date.globalMatch(heading);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        if (QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt()).isValid())
            return true;
    }
    return false;
}

QString quoted(QStringView text)
{
    return u'«' + text.toString() + u'»';
}

// One value token checked against the rule; the error, or nothing.
std::optional<QString> readValue(QStringView token, qint64 min, qint64 max, bool whole, qint64& out)
{
    if (token.startsWith(u'-'))
        return QStringLiteral("отрицательное значение %1 не допускается").arg(quoted(token));
    const std::optional<qint64> value = parseNumber(token, 2);
    if (!value)
        return QStringLiteral("%1 — не число (пишут, например, 2400000 или 12.5)")
            .arg(quoted(token));
    if (whole && *value % 100 != 0)
        return QStringLiteral("%1 должно быть целым").arg(quoted(token));
    if (*value < min || *value > max)
        return QStringLiteral("значение %1 вне пределов от %2 до %3")
            .arg(quoted(token), numberText(min), numberText(max));
    out = *value;
    return std::nullopt;
}

std::optional<QString> readScale(const QList<QStringView>& tokens, const RuleForm& form,
                                 RuleValue& rule)
{
    for (const QStringView token : tokens) {
        const qsizetype colon = token.indexOf(u':');
        if (colon < 0)
            return QStringLiteral("ступень %1 пишется «от:значение»").arg(quoted(token));
        qint64 step = 0;
        qint64 value = 0;
        if (auto error = readValue(token.first(colon), 0, form.maxStep, form.wholeSteps, step))
            return error;
        if (auto error = readValue(token.sliced(colon + 1), form.minValue, form.maxValue,
                                   form.wholeValues, value))
            return error;
        if (!rule.steps.isEmpty() && step <= rule.steps.last())
            return QStringLiteral("ступени должны идти по возрастанию, а %1 не больше предыдущей")
                .arg(quoted(token));
        rule.steps.append(step);
        rule.values.append(value);
    }
    if (form.stepsFromZero && rule.steps.first() != 0)
        return QStringLiteral("первая ступень должна начинаться с 0");
    return std::nullopt;
}

std::optional<QString> checkCount(const RuleForm& form, qsizetype count)
{
    switch (form.shape) {
    case Shape::None:
        if (count != 0)
            return QStringLiteral("у этого правила нет значений, только источник");
        break;
    case Shape::One:
        if (count != 1)
            return QStringLiteral("нужно одно значение");
        break;
    case Shape::Four:
        if (count != 4)
            return QStringLiteral("нужно четыре значения");
        break;
    case Shape::List:
    case Shape::Scale:
        if (count < 1 || count > MaxValues)
            return QStringLiteral("нужно от 1 до %1 значений").arg(MaxValues);
        break;
    }
    return std::nullopt;
}

std::optional<QString> readValues(QStringView text, const RuleForm& form, RuleValue& rule)
{
    const QList<QStringView> tokens = text.split(u' ', Qt::SkipEmptyParts);
    if (auto error = checkCount(form, tokens.size()))
        return error;
    if (form.shape == Shape::Scale)
        return readScale(tokens, form, rule);
    for (const QStringView token : tokens) {
        qint64 value = 0;
        if (auto error = readValue(token, form.minValue, form.maxValue, form.wholeValues, value))
            return error;
        rule.values.append(value);
    }
    return std::nullopt;
}

// Reads one rule line into `rules`; `seenAt` holds the line of each rule read.
std::optional<QString> readRule(const QString& line, int lineNumber, Rules& rules,
                                std::array<int, RuleCount>& seenAt)
{
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return QStringLiteral("нет знака «=» между названием правила и значениями");
    const QString name = line.first(equals).simplified();
    const int index = ruleIndex(name);
    if (index < 0)
        return QStringLiteral("неизвестное правило %1").arg(quoted(name));
    int& seen = seenAt[static_cast<std::size_t>(index)];
    if (seen != 0)
        return QStringLiteral("правило %1 уже задано в строке %2").arg(quoted(name)).arg(seen);
    const qsizetype semicolon = line.indexOf(u';', equals + 1);
    const QString source = semicolon < 0 ? QString() : line.sliced(semicolon + 1).trimmed();
    if (source.isEmpty())
        return QStringLiteral("после значений нужны «;» и источник: акт, статья, часть или пункт");

    RuleValue rule;
    const QString values = line.sliced(equals + 1, semicolon - equals - 1).replace(u'\t', u' ');
    if (auto error = readValues(values, formOf(index), rule))
        return QStringLiteral("правило %1: %2").arg(quoted(name), *error);
    rule.source = source;
    rule.unconfirmed = source.contains(u"не подтверждено", Qt::CaseInsensitive);
    rules.rules[static_cast<std::size_t>(index)] = std::move(rule);
    seen = lineNumber;
    return std::nullopt;
}

ReadResult failure(const QString& text)
{
    return {std::nullopt, text};
}

} // namespace

QString ruleName(Rule rule)
{
    return QString::fromUtf16(formOf(static_cast<int>(rule)).name);
}

std::optional<qint64> parseNumber(QStringView text, int decimals)
{
    const qsizetype point = text.indexOf(u'.') >= 0 ? text.indexOf(u'.') : text.indexOf(u',');
    const QStringView whole = point < 0 ? text : text.first(point);
    const QStringView fraction = point < 0 ? QStringView() : text.sliced(point + 1);
    if (whole.isEmpty() ||
        (point >= 0 && (fraction.isEmpty() || fraction.size() > std::min(decimals, 2))))
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : whole) {
        if (!isDigit(c))
            return std::nullopt;
        value = value > Huge / 10 ? Huge : std::min(value * 10 + (c.unicode() - u'0'), Huge);
    }
    qint64 hundredths = 0;
    for (qsizetype i = 0; i < 2; ++i) {
        if (i < fraction.size() && !isDigit(fraction[i]))
            return std::nullopt;
        hundredths = hundredths * 10 + (i < fraction.size() ? fraction[i].unicode() - u'0' : 0);
    }
    return value > Huge / 100 ? Huge : value * 100 + hundredths;
}

ReadResult parse(QByteArrayView bytes, const QString& label)
{
    const auto problemAt = [&label](int line, const QString& what) {
        return failure(QStringLiteral("Файл %1, строка %2: %3.").arg(label).arg(line).arg(what));
    };
    cp1251::LineReader reader{bytes.toByteArray()};
    const std::optional<QString> heading = reader.readLine();
    if (!heading || !hasEditionDate(*heading))
        return problemAt(1,
                         QStringLiteral("первая строка — заголовок с датой редакции ДД.ММ.ГГГГ"));

    Rules rules;
    rules.edition = heading->trimmed();
    std::array<int, RuleCount> seenAt{};
    int lineNumber = 1;
    while (const std::optional<QString> line = reader.readLine()) {
        ++lineNumber;
        const QString text = line->trimmed();
        if (text.isEmpty() || text.startsWith(u'#'))
            continue;
        if (auto error = readRule(text, lineNumber, rules, seenAt))
            return problemAt(lineNumber, *error);
    }
    for (int i = 0; i < RuleCount; ++i)
        if (seenAt[static_cast<std::size_t>(i)] == 0)
            return failure(QStringLiteral("Файл %1: нет правила %2.")
                               .arg(label, quoted(QStringView(formOf(i).name))));
    return {std::move(rules), QString()};
}

ReadResult read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(QStringLiteral("Не удалось открыть файл правил %1.").arg(path));
    // One byte past the cap tells an oversized file (or an endless device)
    // without trusting its reported size.
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return failure(QStringLiteral("Не удалось прочитать файл правил %1.").arg(path));
    if (bytes.size() > MaxFileSize)
        return failure(QStringLiteral("Файл %1 больше %2 КБ: это не файл правил.")
                           .arg(path)
                           .arg(MaxFileSize / 1024));
    return parse(bytes, path);
}

QString numberText(qint64 hundredths, int decimals)
{
    const bool negative = hundredths < 0;
    const quint64 magnitude = negative ? 0 - quint64(hundredths) : quint64(hundredths);
    const QString digits = QString::number(magnitude / 100);
    QString text;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += u' ';
        text += digits[i];
    }
    const quint64 fraction = magnitude % 100;
    if (decimals >= 2)
        text += u',' + QString::number(fraction).rightJustified(2, u'0');
    else if (fraction % 10 != 0)
        text += u',' + QString::number(fraction).rightJustified(2, u'0');
    else if (fraction != 0)
        text += u',' + QString::number(fraction / 10);
    return negative ? u'-' + text : text;
}

} // namespace paycalc::rulesfile
