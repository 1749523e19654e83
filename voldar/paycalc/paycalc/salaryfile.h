#pragma once

#include <optional>
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The rank and position salary files: Windows-1251, CR LF, a heading line, then
// three lines per record (number, name, salary) and an end marker. They are
// read afresh on every use; nothing is cached.
namespace paycalc::salaryfile {

inline constexpr char16_t RankSalaryFile[] = u"Zvanie.Txt";
inline constexpr char16_t PositionSalaryFile[] = u"Dolznost.Txt";

struct FillResult
{
    QStringList names; // every name read before the end marker or the failure
    bool ok = false;   // false: cannot open, or the file ended before its end marker
};

// Reads the list item names of a salary file in file order.
FillResult readNames(const QString& path);

// The salary of the item at list index `index` (record index + 1), or nullopt
// when the file cannot be opened or the record's key is not found before the
// end of the file. A salary line that is not a number gives 0.
std::optional<double> lookupSalary(const QString& path, int index);

// The same two readings of a file already read into memory, for a caller that
// needs every record (the indexation checks them all): readNames of the bytes,
// and lookupSalary of each list index 0 .. count - 1, all in one pass instead
// of one pass per record.
FillResult namesIn(const QByteArray& bytes);
QList<std::optional<double>> salariesIn(const QByteArray& bytes, int count);

} // namespace paycalc::salaryfile
