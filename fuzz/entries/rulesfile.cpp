#include "paycalc/rulesfile.h"

#include "common.h"
#include "fuzzentries.h"
#include "paycalc/cp1251.h"
#include "paycalc/todaypay.h"

#include <algorithm>
#include <cmath>
#include <QDate>
#include <QDir>
#include <QRegularExpression>
#include <QSet>

namespace voldarfuzz {

namespace rulesfile = paycalc::rulesfile;
namespace todaypay = paycalc::todaypay;
using rulesfile::Rule;
using todaypay::Amount;
using todaypay::Input;

namespace {

const QString Label = QStringLiteral("Pravila.Txt");

// A Data folder with two small valid salary files; the input becomes its
// rules file.
QString dataFolder()
{
    static const QString folder = [] {
        const QString name = QStringLiteral("rules-data");
        QDir(detail::scratchFolder()).mkpath(name);
        detail::writeScratchFile(name + QStringLiteral("/Zvanie.Txt"),
                                 "Ranks\r\n1\r\nRank\r\n30000\r\n\r\n\r\n");
        detail::writeScratchFile(name + QStringLiteral("/Dolznost.Txt"),
                                 "Grades\r\n1\r\nGrade\r\n26636.50\r\n\r\n\r\n");
        return QDir(detail::scratchFolder()).filePath(name);
    }();
    return folder;
}

// A heading names its edition by a real date ДД.ММ.ГГГГ standing alone.
bool headingHasDate(const QString& heading)
{
    static const QRegularExpression date(
        QStringLiteral("(?<!\\d)(\\d\\d)\\.(\\d\\d)\\.(\\d{4})(?!\\d)"));
    for (auto it = date.globalMatch(heading); it.hasNext();) {
        const auto m = it.next();
        if (QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt()).isValid())
            return true;
    }
    return false;
}

// The rule lines read straight off the file: each name before its '=' must be
// a known rule and appear once, and the source follows the first ';'.
void checkAgainstLines(const QStringList& lines, const rulesfile::Rules& rules)
{
    QSet<QString> names;
    for (int i = 0; i < rulesfile::RuleCount; ++i)
        names << rulesfile::ruleName(static_cast<Rule>(i));
    QSet<QString> seen;
    for (qsizetype n = 1; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QString name = line.section(u'=', 0, 0).simplified();
        FUZZ_EXPECT(
            names.contains(name) && !seen.contains(name),
            QStringLiteral("accepted line %1 names %2").arg(n + 1).arg(detail::shown(name)));
        seen << name;
    }
    FUZZ_EXPECT(seen.size() == rulesfile::RuleCount,
                QStringLiteral("accepted with %1 rules").arg(seen.size()));
    FUZZ_EXPECT(headingHasDate(lines.value(0)) && rules.edition == lines.value(0).trimmed(),
                QStringLiteral("edition %1").arg(detail::shown(rules.edition)));
}

// What every accepted rule promises about its values.
void checkRule(Rule rule, const rulesfile::RuleValue& value)
{
    const QString name = rulesfile::ruleName(rule);
    const qsizetype count = value.values.size();
    FUZZ_EXPECT(!value.source.isEmpty() &&
                    value.unconfirmed ==
                        value.source.contains(u"не подтверждено", Qt::CaseInsensitive),
                QStringLiteral("source of %1").arg(name));
    for (const qint64 v : value.values)
        FUZZ_EXPECT(v >= 0, QStringLiteral("negative value in %1").arg(name));
    const bool scale = rule == Rule::LongService || rule == Rule::TaxScale;
    FUZZ_EXPECT(scale ? value.steps.size() == count : value.steps.isEmpty(),
                QStringLiteral("steps of %1").arg(name));
    for (qsizetype i = 1; i < value.steps.size(); ++i)
        FUZZ_EXPECT(value.steps[i - 1] < value.steps[i],
                    QStringLiteral("scale %1 not rising").arg(name));
    qsizetype expected = 1;
    if (rule == Rule::BaseSalary)
        expected = 0;
    else if (rule == Rule::Qualification)
        expected = 4;
    else if (scale || rule == Rule::ChildDeduction)
        expected = std::clamp<qsizetype>(count, 1, 20);
    FUZZ_EXPECT(count == expected, QStringLiteral("%1 values in %2").arg(count).arg(name));
    if (rule == Rule::TaxScale)
        FUZZ_EXPECT(value.steps.value(0, -1) == 0, QStringLiteral("tax scale not from 0"));
}

// The same lines with every line end (CR LF, CR or LF) written as LF.
QByteArray withLineFeeds(const QByteArray& bytes)
{
    QByteArray out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        out += bytes[i] == '\r' ? '\n' : bytes[i];
    }
    return out;
}

qint64 kopecks(const todaypay::TodayPay& sheet, Amount amount)
{
    return std::llround(sheet.amount(amount) * 100);
}

// The sheet on the accepted rules with every input at its largest: amounts
// stay finite and add up.
void checkSheet(const rulesfile::Rules& rules)
{
    todaypay::TodayPay sheet(dataFolder());
    FUZZ_EXPECT(sheet.canCompute(),
                QStringLiteral("sheet refuses accepted rules: ") + sheet.problem());
    const auto largest = [&rules](Rule rule) {
        return rulesfile::numberText(rules[rule].values.first());
    };
    sheet.setIndex(Input::Rank, 0);
    sheet.setText(Input::ManualPositionSalary, QStringLiteral("10 000 000"));
    sheet.setText(Input::ServiceYears, QStringLiteral("60"));
    sheet.setIndex(Input::Qualification, 4);
    for (const auto& [input, rule] : {std::pair{Input::StateSecret, Rule::StateSecret},
                                      {Input::SpecialConditions, Rule::SpecialConditions},
                                      {Input::Risk, Rule::Risk},
                                      {Input::Achievements, Rule::Achievements},
                                      {Input::Premium, Rule::Premium},
                                      {Input::RegionalCoefficient, Rule::RegionalCoefficient},
                                      {Input::NorthernPercent, Rule::NorthernPercent}}) {
        sheet.setText(input, largest(rule));
        FUZZ_EXPECT(sheet.isAccepted(input), QStringLiteral("the rule's own limit refused"));
    }
    sheet.setChecked(Input::MaterialAid, true);
    sheet.setText(Input::Children, QStringLiteral("20"));
    sheet.setText(Input::IncomeSoFar, QStringLiteral("1 000 000 000 000"));

    qint64 rows = 0;
    for (int i = 0; i < todaypay::AmountCount; ++i) {
        const Amount amount = static_cast<Amount>(i);
        FUZZ_EXPECT(std::isfinite(sheet.amount(amount)) &&
                        (amount == Amount::NetPay || sheet.amount(amount) >= 0),
                    QStringLiteral("amount %1 is %2").arg(i).arg(sheet.amount(amount)));
        if (amount != Amount::BaseSalary && i < int(Amount::Accrued))
            rows += kopecks(sheet, amount);
    }
    FUZZ_EXPECT(rows == kopecks(sheet, Amount::Accrued), QStringLiteral("accrued is not its rows"));
    FUZZ_EXPECT(kopecks(sheet, Amount::NetPay) ==
                    kopecks(sheet, Amount::Accrued) - kopecks(sheet, Amount::IncomeTax),
                QStringLiteral("net pay is not accrued less tax"));
}

} // namespace

int rulesFile(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = detail::bytesOf(data, size);
    const QStringList lines = detail::splitLines(bytes);
    const rulesfile::ReadResult result = rulesfile::parse(bytes, Label);
    FUZZ_EXPECT(result.rules.has_value() == result.problem.isEmpty(),
                QStringLiteral("rules and a problem: ") + result.problem);

    // Line ends do not matter: LF alone reads the same, problems included.
    const rulesfile::ReadResult lf = rulesfile::parse(withLineFeeds(bytes), Label);
    FUZZ_EXPECT(lf.problem == result.problem,
                QStringLiteral("LF reads differently: ") + lf.problem);

    if (!headingHasDate(lines.value(0)))
        FUZZ_EXPECT(result.problem.startsWith(QStringLiteral("Файл ") + Label +
                                              QStringLiteral(", строка 1:")),
                    QStringLiteral("a heading without a date passed: ") + result.problem);
    static const QRegularExpression lineNumber(
        QStringLiteral("^Файл Pravila\\.Txt, строка (\\d+):"));
    const auto named = lineNumber.match(result.problem);
    if (named.hasMatch())
        FUZZ_EXPECT(named.captured(1).toLongLong() <= std::max<qsizetype>(lines.size(), 1),
                    QStringLiteral("problem past the last line: ") + result.problem);

    const QString folder = dataFolder();
    detail::writeScratchFile(QStringLiteral("rules-data/Pravila.Txt"), bytes);
    if (!result.rules) {
        FUZZ_EXPECT(!todaypay::TodayPay(folder).canCompute(),
                    QStringLiteral("sheet computes from a wrong file"));
        return 0;
    }
    checkAgainstLines(lines, *result.rules);
    for (int i = 0; i < rulesfile::RuleCount; ++i)
        checkRule(static_cast<Rule>(i), (*result.rules)[static_cast<Rule>(i)]);
    checkSheet(*result.rules);
    return 0;
}

} // namespace voldarfuzz
