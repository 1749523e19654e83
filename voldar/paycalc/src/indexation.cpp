#include "paycalc/indexation.h"

#include "paycalc/cp1251.h"
#include "paycalc/numbers.h"
#include "paycalc/salaryfile.h"
#include "paycalc/wholefile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <system_error>
#include <utility>

namespace paycalc::indexation {

namespace {

const QString ArchiveFolderName = QStringLiteral("Archive");
// Archived pairs are named by the time they were replaced, to the
// millisecond, so that the names sort in the order of the changes.
const QString StampFormat = QStringLiteral("yyyy-MM-dd_HH-mm-ss-zzz");
const QString ShownStampFormat = QStringLiteral("dd.MM.yyyy HH:mm:ss");
// Earlier versions kept the pairs a restore replaced under this suffix after
// the stamp; those pairs are listed and restored like any other.
const QString ReplacedSuffix = QStringLiteral("_replaced");
const QString TemporarySuffix = QStringLiteral(".new");

// Far more records than any salary table has: a larger file is not one.
constexpr qsizetype MaxRecords = 5000;
constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

struct FileKind
{
    const char16_t* fileName;
    const char16_t* caption;
    const char16_t* title; // the heading's opening words
};

constexpr std::array<FileKind, 2> Kinds = {{
    {salaryfile::RankSalaryFile, u"Звания", u"Оклады по воинским званиям, руб. в месяц"},
    {salaryfile::PositionSalaryFile, u"Должности",
     u"Оклады по тарифным разрядам воинских должностей, руб. в месяц"},
}};

const QString ErrorTitle = QStringLiteral(" Ошибка ");
const QString DoneTitle = QStringLiteral(" Индексация окладов ");
const QString Unchanged = QStringLiteral("Оклады не изменены.");

Message refusal(const QString& text)
{
    return {text, ErrorTitle, Message::Icon::Warning};
}

Message failure(const QString& text)
{
    return {text, ErrorTitle, Message::Icon::Error};
}

// ", с 01.10.2024: проиндексированы на " in a heading this program wrote: the
// date that table took effect.
QDate headingDate(const QString& heading)
{
    static const QRegularExpression pattern(
        QStringLiteral(", с ([0-9]{2}\\.[0-9]{2}\\.[0-9]{4}): проиндексированы на "));
    const QRegularExpressionMatch match = pattern.match(heading);
    return match.hasMatch() ? QDate::fromString(match.captured(1), QStringLiteral("dd.MM.yyyy"))
                            : QDate();
}

QString heading(const FileKind& kind, Hundredths percent, const QDate& effective,
                const QDate& source)
{
    return QString::fromUtf16(kind.title) + u", с " + dateText(effective) +
           u": проиндексированы на " + percentText(percent) + u" % (прежняя таблица от " +
           dateText(source) + u")";
}

std::optional<QByteArray> readRaw(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.read(MaxFileSize + 1);
    if (bytes.size() > MaxFileSize || file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

// The exact decimal of a salary: digits × 10^exponent.
struct Decimal
{
    qint64 digits = 0;
    int exponent = 0;
};

// The shortest decimal that reads back as `value` (0 to MaxSalary): at most 17
// digits.
Decimal shortestDecimal(double value)
{
    if (value == 0)
        return {};
    // "1.000004e+03": the digits around the point, then the exponent.
    std::array<char, 32> text{};
    const char* const end =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::scientific)
            .ptr;
    Decimal decimal;
    const char* p = text.data();
    int fractionDigits = -1; // counts from the point on
    for (; p != end && *p != 'e'; ++p) {
        if (*p == '.') {
            fractionDigits = 0;
            continue;
        }
        decimal.digits = decimal.digits * 10 + (*p - '0');
        if (fractionDigits >= 0)
            ++fractionDigits;
    }
    int exponent = 0;
    if (p != end) {
        ++p; // the 'e'; from_chars reads a '-' but not a '+'
        if (p != end && *p == '+')
            ++p;
        std::from_chars(p, end, exponent);
    }
    decimal.exponent = exponent - std::max(fractionDigits, 0);
    return decimal;
}

// The bytes of a salary file read as the table `kind`, with the checks the
// indexation needs; `reason` says what is wrong otherwise. `fallbackDate` is
// the table's date when its heading does not name one.
std::optional<SalaryTable> tableFromBytes(const QByteArray& bytes, const FileKind& kind,
                                          const QDate& fallbackDate, QString* reason)
{
    const auto refuse = [&](const QString& why) -> std::optional<SalaryTable> {
        *reason = why;
        return std::nullopt;
    };
    const salaryfile::FillResult names = salaryfile::namesIn(bytes);
    if (!names.ok)
        return refuse(QStringLiteral("в нём нет строк конца списка"));
    if (names.names.isEmpty())
        return refuse(QStringLiteral("в нём нет ни одной записи"));
    if (names.names.size() > MaxRecords)
        return refuse(QStringLiteral("в нём слишком много записей"));

    SalaryTable table;
    table.fileName = QString::fromUtf16(kind.fileName);
    table.caption = QString::fromUtf16(kind.caption);
    cp1251::LineReader reader(bytes);
    while (std::optional<QString> line = reader.readLine())
        table.lines.append(std::move(*line));

    // The reader found the names; the lines must also be where a rewrite puts
    // them, and each salary must be the one the program's lookup reads.
    const qsizetype count = names.names.size();
    if (table.lines.size() < 3 * count + 3)
        return refuse(QStringLiteral("строки не по формату"));
    const QList<std::optional<double>> salaries = salaryfile::salariesIn(bytes, int(count));
    for (qsizetype k = 1; k <= count; ++k) {
        const QString& recordName = table.lines[3 * k - 1];
        const std::optional<double> salary = salaries[k - 1];
        if (table.lines[3 * k - 2] != QString::number(k) || recordName != names.names[k - 1] ||
            !salary || *salary != leadingNumber(table.lines[3 * k])) {
            return refuse(u"запись " + QString::number(k) + u" не по формату");
        }
        if (!std::isfinite(*salary) || *salary < 0 || *salary > MaxSalary)
            return refuse(u"оклад записи " + QString::number(k) + u" не годится для индексации");
        table.records.append({recordName, *salary});
    }

    table.sourceDate = headingDate(table.lines.constFirst());
    if (!table.sourceDate.isValid())
        table.sourceDate = fallbackDate;
    return table;
}

// The first line of a file, as its heading.
QString firstLine(const QByteArray& bytes)
{
    return cp1251::LineReader(bytes).readLine().value_or(QString());
}

// ---- Files ---------------------------------------------------------------

std::filesystem::path nativePath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Writes `bytes` to `path` whole (written beside, read back, renamed). An
// error text naming the file, or nothing on success. Only ever used for new
// files (archive copies, files beside their targets), never for a table in
// force.
std::optional<QString> writeFile(const QString& path, const QByteArray& bytes)
{
    const QString failure = saveWholeFile(path, bytes);
    if (!failure.isEmpty())
        return shown(path) + u": " + failure;
    return std::nullopt;
}

// Replaces `to` with `from` in one step (rename(2) replaces an existing file
// atomically; QFile::rename would refuse).
std::optional<QString> replaceFile(const QString& from, const QString& to)
{
    std::error_code error;
    std::filesystem::rename(nativePath(from), nativePath(to), error);
    if (error)
        return shown(to) + u": " + QString::fromLocal8Bit(error.message());
    return std::nullopt;
}

void removeFiles(const QStringList& paths)
{
    for (const QString& path : paths) {
        if (!path.isEmpty())
            QFile::remove(path);
    }
}

// ---- The archive ----------------------------------------------------------

// A pair's files are "Zvanie_<key>.Txt" and "Dolznost_<key>.Txt"; the key is
// the stamp, with ReplacedSuffix after it in the older entries.
QString archiveName(std::size_t kind, const QString& key)
{
    const QString fileName = QString::fromUtf16(Kinds[kind].fileName);
    return fileName.section(u'.', 0, 0) + u'_' + key + u'.' + fileName.section(u'.', 1);
}

const QString KeyPattern =
    u"([0-9]{4}-[0-9]{2}-[0-9]{2}_[0-9]{2}-[0-9]{2}-[0-9]{2}-[0-9]{3})(?:" + ReplacedSuffix + u")?";

bool isKey(const QString& key)
{
    static const QRegularExpression pattern(u'^' + KeyPattern + u'$');
    return pattern.match(key).hasMatch();
}

// The pair key in an archive entry's name; nothing for another name.
std::optional<QString> keyOf(const QString& entry)
{
    for (std::size_t kind = 0; kind < Kinds.size(); ++kind) {
        const QString keyless = archiveName(kind, QString()); // "Zvanie_.Txt"
        const qsizetype before = keyless.indexOf(u'.');
        if (entry.startsWith(keyless.left(before)) && entry.endsWith(keyless.mid(before))) {
            const QString key = entry.mid(before, entry.size() - keyless.size());
            if (isKey(key))
                return key;
        }
    }
    return std::nullopt;
}

// When the pair `key` was replaced.
QDateTime stampTime(const QString& key)
{
    return QDateTime::fromString(key.left(StampFormat.size()), StampFormat);
}

// The keys of every entry in the archive, oldest first.
QStringList archivedKeys(const QString& archive)
{
    QStringList keys;
    for (const QString& entry : QDir(archive).entryList(QDir::Files)) {
        if (std::optional<QString> key = keyOf(entry))
            keys.append(std::move(*key));
    }
    keys.removeDuplicates();
    keys.sort();
    return keys;
}

// An archived pair read for restoring: each file's bytes and table, or what
// keeps it from being restored.
struct ArchivedFiles
{
    ArchivedPair pair;
    std::array<QByteArray, 2> bytes;
    std::array<SalaryTable, 2> tables;
};

ArchivedFiles readArchived(const QDir& archive, const QString& key)
{
    ArchivedFiles files;
    files.pair.key = key;
    files.pair.changed = stampTime(key).toString(ShownStampFormat);
    QStringList problems;
    for (std::size_t kind = 0; kind < Kinds.size(); ++kind) {
        const QString name = archiveName(kind, key);
        const std::optional<QByteArray> bytes = readRaw(archive.filePath(name));
        if (!bytes) {
            problems.append(QFileInfo::exists(archive.filePath(name))
                                ? QString(u"файл " + name + u" не открывается")
                                : QString(u"в архиве нет файла " + name));
            continue;
        }
        files.bytes[kind] = *bytes;
        files.pair.headings[kind] = firstLine(*bytes);
        QString reason;
        std::optional<SalaryTable> table = tableFromBytes(*bytes, Kinds[kind], QDate(), &reason);
        if (table)
            files.tables[kind] = std::move(*table);
        else
            problems.append(u"файл " + name + u" не читается: " + reason);
    }
    files.pair.whyNot = problems.join(u"; ");
    return files;
}

bool sameRecords(const SalaryTable& table, const QList<SalaryTable::Record>& expected)
{
    if (table.records.size() != expected.size())
        return false;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        if (table.records[i].name != expected[i].name ||
            table.records[i].salary != expected[i].salary)
            return false;
    }
    return true;
}

} // namespace

// ---- Numbers and texts ----------------------------------------------------

std::optional<Hundredths> parsePercent(QStringView text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*([0-9]{1,3})(?:[.,]([0-9]{1,2}))?\\s*%?\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int whole = match.capturedView(1).toInt();
    const QString decimals = match.captured(2).leftJustified(2, u'0');
    const Hundredths percent = whole * 100 + decimals.toInt();
    if (percent <= 0 || percent > 100 * 100)
        return std::nullopt;
    return percent;
}

std::optional<QDate> parseDate(QStringView text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*([0-9]{1,2})\\.([0-9]{1,2})\\.([0-9]{4})\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.capturedView(3).toInt(), match.capturedView(2).toInt(),
                     match.capturedView(1).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString percentText(Hundredths percent)
{
    QString text = QString::number(percent / 100);
    const int decimals = percent % 100;
    if (decimals != 0) {
        text += u',' + QString::number(decimals).rightJustified(2, u'0');
        if (text.endsWith(u'0'))
            text.chop(1);
    }
    return text;
}

QString dateText(const QDate& date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

qint64 indexedRoubles(double salary, Hundredths percent)
{
    // salary * (1 + p/10000) is digits * (10000 + p) * 10^(exponent - 4):
    // whole numbers throughout (at most 17 digits times 20000, far inside 128
    // bits), so that an exact product is not pushed up.
    const Decimal decimal = shortestDecimal(salary);
    __int128 scaled = __int128(decimal.digits) * (100 * 100 + percent);
    int shift = decimal.exponent - 4;
    for (; shift > 0; --shift)
        scaled *= 10;
    // Less than 10^22 divided by more than 10^30: a positive salary raised
    // gives less than one rouble, which rounds up to one.
    if (shift < -30)
        return scaled > 0 ? 1 : 0;
    __int128 divisor = 1;
    for (; shift < 0; ++shift)
        divisor *= 10;
    return qint64(scaled / divisor + (scaled % divisor != 0 ? 1 : 0));
}

QString salaryText(double salary)
{
    const Decimal decimal = shortestDecimal(salary);
    QString digits = QString::number(decimal.digits);
    if (decimal.exponent >= 0)
        return digits + QString(decimal.exponent, u'0');
    // Kopecks always with two decimals, finer parts as far as they go.
    const int decimals = std::max(-decimal.exponent, 2);
    digits += QString(decimals + decimal.exponent, u'0');
    if (digits.size() <= decimals)
        digits.prepend(QString(decimals + 1 - digits.size(), u'0'));
    return digits.chopped(decimals) + u'.' + digits.right(decimals);
}

// ---- Tables ---------------------------------------------------------------

TablesReading readTables(const QString& dataFolder)
{
    TablesReading reading;
    TablePair tables;
    for (std::size_t kind = 0; kind < Kinds.size(); ++kind) {
        const QString name = QString::fromUtf16(Kinds[kind].fileName);
        const QString path = QDir(dataFolder).filePath(name);
        const std::optional<QByteArray> bytes = readRaw(path);
        QString reason = QStringLiteral("его нет в папке Data или он не открывается");
        std::optional<SalaryTable> table;
        if (bytes)
            table =
                tableFromBytes(*bytes, Kinds[kind], QFileInfo(path).lastModified().date(), &reason);
        if (!table) {
            reading.failure =
                failure(u"Файл окладов " + name + u" не прочитан: " + reason + u".\r" + Unchanged);
            return reading;
        }
        tables[kind] = std::move(*table);
    }
    reading.tables = std::move(tables);
    return reading;
}

QByteArray indexedFile(const SalaryTable& table, Hundredths percent, const QDate& effective)
{
    const FileKind& kind =
        table.fileName == QString::fromUtf16(Kinds[1].fileName) ? Kinds[1] : Kinds[0];
    QStringList lines = table.lines;
    lines[0] = heading(kind, percent, effective, table.sourceDate);
    for (qsizetype k = 1; k <= table.records.size(); ++k)
        lines[3 * k] = QString::number(indexedRoubles(table.records[k - 1].salary, percent));
    return cp1251::encodeLines(lines);
}

QString inForceText(const TablesReading& reading)
{
    if (!reading.tables)
        return QString(reading.failure.text).replace(u'\r', u'\n');
    QString text = QStringLiteral("Сейчас в силе:");
    for (const SalaryTable& table : *reading.tables)
        text += u'\n' + table.caption + u": " + table.lines.constFirst();
    return text;
}

QList<PreviewRow> preview(const TablePair& tables, std::optional<Hundredths> percent)
{
    QList<PreviewRow> rows;
    for (const SalaryTable& table : tables) {
        for (const SalaryTable::Record& record : table.records) {
            rows.append(
                {table.caption, record.name, salaryText(record.salary),
                 percent ? QString::number(indexedRoubles(record.salary, *percent)) : QString()});
        }
    }
    return rows;
}

std::optional<Message> applyQuestion(QStringView percentInput, QStringView dateInput)
{
    const std::optional<Hundredths> percent = parsePercent(percentInput);
    const std::optional<QDate> effective = parseDate(dateInput);
    if (!percent || !effective)
        return std::nullopt;
    return Message{u"Оклады по званиям и должностям будут повышены на " + percentText(*percent) +
                       u" % с " + dateText(*effective) +
                       u".\rПрежние оклады будут сохранены в архиве. Продолжить?",
                   DoneTitle, Message::Icon::Question};
}

Message restoreQuestion(const ArchivedPair& pair)
{
    return {u"Будут возвращены оклады, которые действовали до " + pair.changed + u":\r" +
                QString::fromUtf16(Kinds[0].caption) + u": " + pair.headings[0] + u"\r" +
                QString::fromUtf16(Kinds[1].caption) + u": " + pair.headings[1] +
                u"\rОклады, действующие сейчас, будут сохранены в архиве. Продолжить?",
            DoneTitle, Message::Icon::Question};
}

// ---- Changing the pair ----------------------------------------------------

Indexer::Indexer(QString dataFolder, std::function<QDateTime()> now)
    : m_dataFolder(std::move(dataFolder)), m_now(std::move(now))
{}

QString Indexer::archiveFolder() const
{
    return QDir(m_dataFolder).filePath(ArchiveFolderName);
}

void Indexer::setBetweenReplacements(std::function<void()> hook)
{
    m_betweenReplacements = std::move(hook);
}

Outcome Indexer::apply(QStringView percentInput, QStringView dateInput) const
{
    const std::optional<Hundredths> percent = parsePercent(percentInput);
    if (!percent) {
        return {false, refusal(QStringLiteral("Процент индексации - число больше 0 и не больше "
                                              "100, не более двух знаков после запятой "
                                              "(например 7,6).\r") +
                               Unchanged)};
    }
    const std::optional<QDate> effective = parseDate(dateInput);
    if (!effective) {
        return {false, refusal(QStringLiteral("Дата индексации - день.месяц.год, например "
                                              "01.10.2024.\r") +
                               Unchanged)};
    }
    TablesReading reading = readTables(m_dataFolder);
    if (!reading.tables)
        return {false, reading.failure};

    std::array<QByteArray, 2> contents;
    std::array<QList<SalaryTable::Record>, 2> expected;
    for (std::size_t kind = 0; kind < contents.size(); ++kind) {
        const SalaryTable& table = (*reading.tables)[kind];
        contents[kind] = indexedFile(table, *percent, *effective);
        for (const SalaryTable::Record& record : table.records)
            expected[kind].append({record.name, double(indexedRoubles(record.salary, *percent))});
    }
    return replacePair(contents, expected,
                       u"Оклады проиндексированы на " + percentText(*percent) + u" % с " +
                           dateText(*effective) + u".");
}

QList<ArchivedPair> Indexer::archivedPairs() const
{
    const QDir archive(archiveFolder());
    QList<ArchivedPair> pairs;
    const QStringList keys = archivedKeys(archive.path());
    for (auto key = keys.crbegin(); key != keys.crend(); ++key)
        pairs.append(readArchived(archive, *key).pair);
    return pairs;
}

Outcome Indexer::restore(const QString& key) const
{
    if (!isKey(key)) {
        return {false, refusal(u"В папке " + shown(archiveFolder()) +
                               u" нет таких сохранённых окладов.\r" + Unchanged)};
    }
    const ArchivedFiles files = readArchived(QDir(archiveFolder()), key);
    if (!files.pair.whyNot.isEmpty()) {
        return {false, failure(u"Оклады, которые действовали до " + files.pair.changed +
                               u", вернуть нельзя: " + files.pair.whyNot + u".\r" + Unchanged)};
    }
    return replacePair(files.bytes, {files.tables[0].records, files.tables[1].records},
                       u"Возвращены оклады, которые действовали до " + files.pair.changed + u".");
}

// Both files are replaced so that, whatever fails, either both tables are new
// or both are as they were:
//  1. the current pair is copied into Data/Archive byte for byte (each copy
//     written in full or not at all; a missing file has nothing to keep);
//  2. both new files are written in full beside their targets as
//     "<name>.new" and read back with the program's own salary-file reader;
//  3. only then each is renamed over its target; a rename replaces a file in
//     one step, so a target is never seen half-written;
//  4. if the second rename fails, the first target is put back as it was.
// Until step 3 nothing in force has changed: a failure removes what was
// written (the archive copies too, as they match the files in force).
Outcome Indexer::replacePair(const std::array<QByteArray, 2>& contents,
                             const std::array<QList<SalaryTable::Record>, 2>& expected,
                             const QString& success) const
{
    const QDir data(m_dataFolder);
    std::array<QString, 2> targets;
    std::array<QString, 2> temporaries;
    std::array<std::optional<QByteArray>, 2> current; // nothing: no such file
    for (std::size_t kind = 0; kind < targets.size(); ++kind) {
        targets[kind] = data.filePath(QString::fromUtf16(Kinds[kind].fileName));
        temporaries[kind] = targets[kind] + TemporarySuffix;
        if (!QFileInfo::exists(targets[kind]))
            continue;
        current[kind] = readRaw(targets[kind]);
        // What cannot be kept must not be replaced.
        if (!current[kind]) {
            return {false,
                    failure(u"Файл " + shown(targets[kind]) +
                            u" не прочитан, и сохранить его в архиве нельзя.\r" + Unchanged)};
        }
    }

    // 1. The archive pair, under a stamp later than every one already kept (a
    //    clock set back must not put a new pair before an old one).
    const QDir archive(archiveFolder());
    if (!QDir().mkpath(archive.path())) {
        return {false,
                failure(u"Не удалось создать папку " + shown(archive.path()) + u".\r" + Unchanged)};
    }
    QDateTime stamp = m_now();
    const QStringList keys = archivedKeys(archive.path());
    if (!keys.isEmpty() && stamp <= stampTime(keys.constLast()))
        stamp = stampTime(keys.constLast()).addMSecs(1);
    const auto archivePath = [&](std::size_t kind) {
        return archive.filePath(archiveName(kind, stamp.toString(StampFormat)));
    };
    while (QFileInfo::exists(archivePath(0)) || QFileInfo::exists(archivePath(1)))
        stamp = stamp.addMSecs(1);
    std::array<QString, 2> archived; // empty: nothing kept
    for (std::size_t kind = 0; kind < archived.size(); ++kind) {
        if (!current[kind])
            continue;
        archived[kind] = archivePath(kind);
        if (const auto error = writeFile(archived[kind], *current[kind])) {
            removeFiles({archived[0], archived[1]});
            return {false,
                    failure(u"Прежние оклады не сохранены в архив: " + *error + u"\r" + Unchanged)};
        }
    }
    const auto abandon = [&](const QString& reason) {
        removeFiles({temporaries[0], temporaries[1], archived[0], archived[1]});
        return Outcome{false, failure(reason + u"\r" + Unchanged)};
    };

    // 2. Both new files in full, and read back as the program will read them.
    for (std::size_t kind = 0; kind < temporaries.size(); ++kind) {
        if (const auto error = writeFile(temporaries[kind], contents[kind]))
            return abandon(u"Не удалось записать новый файл окладов: " + *error);
    }
    for (std::size_t kind = 0; kind < temporaries.size(); ++kind) {
        const std::optional<QByteArray> bytes = readRaw(temporaries[kind]);
        QString reason;
        const std::optional<SalaryTable> written =
            bytes ? tableFromBytes(*bytes, Kinds[kind], QDate(), &reason) : std::nullopt;
        if (!written || !sameRecords(*written, expected[kind])) {
            return abandon(u"Новый файл " + shown(temporaries[kind]) +
                           u" читается не так, как записан.");
        }
    }

    // 3. The renames.
    if (const auto error = replaceFile(temporaries[0], targets[0]))
        return abandon(u"Не удалось заменить файл окладов: " + *error);
    if (m_betweenReplacements)
        m_betweenReplacements();
    if (const auto error = replaceFile(temporaries[1], targets[1])) {
        // 4. Back to the first file as it was, or to no file.
        const bool rolledBack = current[0] ? !writeFile(temporaries[0], *current[0]) &&
                                                 !replaceFile(temporaries[0], targets[0])
                                           : QFile::remove(targets[0]);
        if (rolledBack)
            return abandon(u"Не удалось заменить файл окладов: " + *error);
        removeFiles({temporaries[0], temporaries[1]});
        return {false, failure(u"Не удалось заменить файл окладов: " + *error + u"\rФайл " +
                               shown(targets[0]) + u" уже заменён, и вернуть его не удалось." +
                               (current[0] ? QString(u" Прежний файл: " + shown(archived[0]) + u".")
                                           : QString()))};
    }
    QString text = success;
    if (current[0] || current[1])
        text += u"\rПрежние оклады сохранены в папке " + shown(archive.path()) + u".";
    return {true, {text, DoneTitle, Message::Icon::Information}};
}

} // namespace paycalc::indexation
