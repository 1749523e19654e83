#include "paycalc/salaryfile.h"

#include "common.h"
#include "fuzzentries.h"
#include "paycalc/numbers.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>

namespace voldarfuzz {

using detail::shown;

namespace {

// Filling a list, read straight off the lines: groups of three lines, the third
// is a name, an empty third line is the end marker; a group cut short by the
// end of the file is a failure.
paycalc::salaryfile::FillResult expectedNames(const QStringList& lines)
{
    paycalc::salaryfile::FillResult result;
    qsizetype next = 0;
    while (next < lines.size()) {
        if (next + 3 > lines.size())
            return result;
        const QString& third = lines[next + 2];
        next += 3;
        if (third.isEmpty())
            break;
        result.names << third;
    }
    result.ok = true;
    return result;
}

// The salary lookup, read straight off the lines, for files whose name lines
// hold no comma or quote (those read one field of a line, not the whole line).
// The first line equal to the key is the record's number; the line after its
// name is the salary. Nothing when the lines run out first.
std::optional<std::optional<double>> expectedSalary(const QStringList& lines, int index)
{
    const QString key = QString::number(qint64(index) + 1);
    const qsizetype numberLine = lines.indexOf(key);
    if (numberLine < 0 || numberLine + 1 >= lines.size())
        return std::optional<double>();
    const QString& name = lines[numberLine + 1];
    if (name.contains(u',') || name.contains(u'"'))
        return std::nullopt; // not modelled here
    // A name line of blanks only that ends the file gives no field at all.
    if (numberLine + 2 >= lines.size())
        return std::optional<double>();
    return std::optional<double>(paycalc::leadingNumber(lines[numberLine + 2]));
}

QString describe(const std::optional<double>& salary)
{
    return salary ? QString::number(*salary, 'g', 17) : QStringLiteral("nothing");
}

} // namespace

int salaryFile(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = detail::bytesOf(data, size);
    const QString path = detail::writeScratchFile(QStringLiteral("Zvanie.Txt"), bytes);
    const QStringList lines = detail::splitLines(bytes);

    const paycalc::salaryfile::FillResult names = paycalc::salaryfile::readNames(path);
    const paycalc::salaryfile::FillResult expected = expectedNames(lines);
    FUZZ_EXPECT(
        names.ok == expected.ok,
        QStringLiteral("readNames: ok is %1, the lines say %2").arg(names.ok).arg(expected.ok));
    FUZZ_EXPECT(names.names == expected.names,
                QStringLiteral("readNames: %1 names, the lines give %2")
                    .arg(names.names.size())
                    .arg(expected.names.size()));
    for (const QString& name : names.names) {
        FUZZ_EXPECT(!name.isEmpty(), QStringLiteral("readNames: an empty name"));
        FUZZ_EXPECT(!name.contains(u'\r') && !name.contains(u'\n'),
                    QStringLiteral("readNames: a line end inside the name ") + shown(name));
    }

    // The first two items, the last, one past the last and the largest index a
    // list can have. (Each lookup reads the whole file again, so a few only.)
    const int count = int(std::min<qsizetype>(names.names.size(), INT_MAX - 1));
    std::vector<int> indexes = {0, 1, std::max(count - 1, 0), count, INT_MAX};
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    for (const int index : indexes) {
        const std::optional<double> salary = paycalc::salaryfile::lookupSalary(path, index);
        if (salary)
            FUZZ_EXPECT(std::isfinite(*salary),
                        QStringLiteral("lookupSalary(%1): not a finite number").arg(index));
        const std::optional<std::optional<double>> model = expectedSalary(lines, index);
        if (model)
            FUZZ_EXPECT(salary == *model,
                        QStringLiteral("lookupSalary(%1) gives %2, the lines say %3")
                            .arg(index)
                            .arg(describe(salary), describe(*model)));
    }
    FUZZ_EXPECT(!paycalc::salaryfile::lookupSalary(path, -1),
                QStringLiteral("lookupSalary(-1) found a salary"));

    // The one-pass readings of the bytes read what the file readers read: the
    // names, and the salary of every record and the one past the last (a few
    // dozen at most, as each file lookup reads the whole file again).
    const paycalc::salaryfile::FillResult inBytes = paycalc::salaryfile::namesIn(bytes);
    FUZZ_EXPECT(inBytes.ok == names.ok && inBytes.names == names.names,
                QStringLiteral("namesIn differs from readNames"));
    const int checked = std::min(count + 1, 64);
    const QList<std::optional<double>> salaries = paycalc::salaryfile::salariesIn(bytes, checked);
    FUZZ_EXPECT(salaries.size() == checked,
                QStringLiteral("salariesIn: %1 salaries for %2").arg(salaries.size()).arg(checked));
    for (int index = 0; index < std::min<int>(checked, int(salaries.size())); ++index) {
        const std::optional<double> salary = paycalc::salaryfile::lookupSalary(path, index);
        FUZZ_EXPECT(salaries[index] == salary,
                    QStringLiteral("salariesIn(%1) gives %2, lookupSalary %3")
                        .arg(index)
                        .arg(describe(salaries[index]), describe(salary)));
    }
    return 0;
}

} // namespace voldarfuzz
