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
// the pair they replace kept in Data/Archive so that it can be brought back.
//
// The percentage is whole hundredths of a percent and each salary is taken as
// the exact decimal it is written as, so that the rounding up to the rouble is
// exact: a product that is a whole number of roubles stays that number.
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

// The largest salary a table may hold, in roubles (a billion), so that the
// arithmetic below stays far inside its integers.
inline constexpr double MaxSalary = 1'000'000'000;

// `salary` in roubles, as the program's salary reader reads it (0 to
// MaxSalary), raised by `percent` and rounded up to the whole rouble. The
// salary counts as the shortest decimal that reads back as the same number:
// 1000.004 as written, neither rounded to the kopeck nor taken as its nearest
// binary fraction.
qint64 indexedRoubles(double salary, Hundredths percent);

// A salary as the files and the table show it: "7166", "26636.50" (kopecks
// with two decimals), "1000.004" (finer parts as written).
QString salaryText(double salary);

// One of the two salary files, as read for an indexation.
struct SalaryTable
{
    struct Record
    {
        QString name;
        double salary = 0; // roubles, as the program's lookup reads it
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

// Reads both salary files of `dataFolder`, each once, as the program's
// salary-file reader reads them. A file that cannot be opened, lacks its end
// marker, or whose lines do not follow the number/name/salary layout is
// refused (a table the reader itself would misread must not be rewritten).
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

// The question asked before an indexation: what it will do. nullopt while the
// percentage or the date is not a valid one (apply then says why it refuses).
std::optional<Message> applyQuestion(QStringView percent, QStringView date);

// One pair of the archive: the salary files as they were before a change
// replaced them.
struct ArchivedPair
{
    QString key;                     // names the pair for Indexer::restore
    QString changed;                 // when they were replaced: "01.10.2024 12:30:45"
    std::array<QString, 2> headings; // each file's first line, the rank file first
    QString whyNot;                  // empty when the pair can be restored
};

// The question asked before a restore: which pair comes back.
Message restoreQuestion(const ArchivedPair& pair);

// What an operation did: a message for the user in either case.
struct Outcome
{
    bool done = false;
    Message message;
};

// The operations on a Data folder. Every change keeps the pair it replaces in
// the archive, so that no state of the tables is ever lost. `now` dates the
// archive entries (a test sets its own clock).
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

    // Every pair of the archive, newest first, with those that cannot be
    // restored (a file missing or damaged) and why.
    QList<ArchivedPair> archivedPairs() const;

    // Replaces both files with the archived pair `key`, or changes nothing.
    // The files in force are archived first as they are, also when they are
    // damaged (a missing one is not archived); the restored pair stays in the
    // archive.
    Outcome restore(const QString& key) const;

    // The folder of the archived pairs: Data/Archive.
    QString archiveFolder() const;

    // Runs between replacing the rank file and replacing the position file;
    // a test uses it to make the second replacement fail.
    void setBetweenReplacements(std::function<void()> hook);

private:
    Outcome replacePair(const std::array<QByteArray, 2>& contents,
                        const std::array<QList<SalaryTable::Record>, 2>& expected,
                        const QString& success) const;

    QString m_dataFolder;
    std::function<QDateTime()> m_now;
    std::function<void()> m_betweenReplacements;
};

} // namespace paycalc::indexation
