#pragma once

#include "paycalc/message.h"

#include <array>
#include <functional>
#include <optional>
#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// Indexation of the two salary tables: every salary of the rank and position
// files raised by one percentage from one date, both files replaced together,
// the previous pair kept in Data/Archive so that it can be brought back.
//
// Amounts are whole kopecks and the percentage whole hundredths of a percent,
// so that the rounding up to the rouble is exact: a product that is a whole
// number of roubles stays that number.
namespace paycalc::indexation {

// Hundredths of a percent: 7,6 % is 760.
using Hundredths = int;

// The percentage as the user types it: digits with at most two decimals after
// a comma or a point ("7,6", "7.6", "10"), blanks and a trailing "%" allowed;
// more than 0 and at most 100. nullopt for anything else.
std::optional<Hundredths> parsePercent(QStringView text);

// The date the new salaries take effect, typed as day.month.year
// ("01.10.2024" or "1.10.2024"). nullopt when it is not a calendar date.
std::optional<QDate> parseDate(QStringView text);

// The percentage and the date as the window and the headings write them:
// "7,6", "10", "7,05"; "01.10.2024".
QString percentText(Hundredths percent);
QString dateText(const QDate& date);

// `kopecks` raised by `percent` and rounded up to the whole rouble, in kopecks
// (a multiple of 100). Salaries are small enough that nothing overflows; see
// MaxSalaryKopecks.
qint64 indexedKopecks(qint64 kopecks, Hundredths percent);

// A salary in roubles as the files and the table show it: "7166",
// "26636.50".
QString salaryText(qint64 kopecks);

// The largest salary a table may hold (a billion roubles), so that the
// arithmetic above stays far inside 64 bits.
inline constexpr qint64 MaxSalaryKopecks = 100'000'000'000;

// One of the two salary files, as read for an indexation.
struct SalaryTable
{
    struct Record
    {
        QString name;
        qint64 kopecks = 0;
    };

    QString fileName;      // "Zvanie.Txt" or "Dolznost.Txt"
    QString caption;       // "Звания" / "Должности": which table a row belongs to
    QStringList lines;     // every line of the file, as read
    QList<Record> records; // in file order; record k is lines 3k-1 .. 3k+1
    QDate sourceDate;      // when the table took effect (its heading) or was last written
};

// The rank file first, then the position file.
using TablePair = std::array<SalaryTable, 2>;

// A table read, or why it could not be.
struct TablesReading
{
    std::optional<TablePair> tables;
    Message failure; // set when `tables` is empty
};

// Reads both salary files of `dataFolder` with the program's salary-file
// reader. A file that cannot be opened, lacks its end marker, or whose lines
// do not follow the number/name/salary layout is refused (a table the reader
// itself would misread must not be rewritten).
TablesReading readTables(const QString& dataFolder);

// The file as it reads after indexing: line 1 a heading that names the
// effective date, the percentage and the date of the table it came from, the
// salary lines raised; every other line (numbers, names, end marker and what
// follows it) unchanged. Windows-1251, CR LF.
QByteArray indexedFile(const SalaryTable& table, Hundredths percent, const QDate& effective);

// The caption above the preview: the heading of each table in force, one a
// line, or why the tables could not be read.
QString inForceText(const TablesReading& reading);

// One row of the preview: which table, the name, the salary now and after.
struct PreviewRow
{
    QString table;
    QString name;
    QString current;
    QString indexed; // empty while the percentage is not a valid one
};

QList<PreviewRow> preview(const TablePair& tables, std::optional<Hundredths> percent);

// What an operation did: a message for the user in either case.
struct Outcome
{
    bool done = false;
    Message message;
};

// The operations on a Data folder. `now` dates the archive entries (a test
// sets its own clock).
class Indexer
{
public:
    explicit Indexer(
        QString dataFolder,
        std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); });

    // Checks the percentage and the date, reads both files afresh, keeps the
    // current pair in the archive and replaces both files with their indexed
    // versions, or changes neither.
    Outcome apply(QStringView percent, QStringView date) const;

    // Replaces both files with the last archived pair (the current pair is
    // kept in the archive first, apart from the pairs that can be restored)
    // and drops that pair from the archive, or changes nothing.
    Outcome restorePrevious() const;

    // Whether the archive holds a complete pair to restore.
    bool canRestore() const;

    // The folder of the archived pairs: Data/Archive.
    QString archiveFolder() const;

    // Runs between replacing the rank file and replacing the position file;
    // a test uses it to make the second replacement fail.
    void setBetweenReplacements(std::function<void()> hook);

private:
    Outcome replacePair(const std::array<QByteArray, 2>& contents,
                        const std::array<QList<SalaryTable::Record>, 2>& expected,
                        const QString& archiveSuffix, const Message& success) const;

    QString m_dataFolder;
    std::function<QDateTime()> m_now;
    std::function<void()> m_betweenReplacements;
};

} // namespace paycalc::indexation
