#include "paycalc/indexation.h"

#include "paycalc/cp1251.h"
#include "paycalc/numbers.h"
#include "paycalc/salaryfile.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <system_error>
#include <utility>

namespace paycalc::indexation {

namespace {

const QString ArchiveFolderName = QStringLiteral("Archive");
// Archived pairs are named by the time they were kept, to the millisecond, so
// that the names sort in the order the pairs were kept.
const QString StampFormat = QStringLiteral("yyyy-MM-dd_HH-mm-ss-zzz");
// Pairs replaced by a restore carry this after their stamp; they are kept but
// are not offered for restoring.
const QString ReplacedSuffix = QStringLiteral("_replaced");
const QString TemporarySuffix = QStringLiteral(".new");

// Far more records than any salary table has; the lookup of each salary reads
// the file from its start, so the count is bounded.
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

// Reads one salary file at `path` as the table `kind`; the failure names the
// file and says what is wrong with it.
std::optional<SalaryTable> readTable(const QString& path, const FileKind& kind, QString* whyNot)
{
    const QString name = QString::fromUtf16(kind.fileName);
    const auto refuse = [&](const QString& reason) -> std::optional<SalaryTable> {
        *whyNot = u"Файл окладов " + name + u" не прочитан: " + reason + u".\r" + Unchanged;
        return std::nullopt;
    };

    const salaryfile::FillResult names = salaryfile::readNames(path);
    const std::optional<QByteArray> bytes = readRaw(path);
    if (!bytes)
        return refuse(QStringLiteral("его нет в папке Data или он не открывается"));
    if (!names.ok)
        return refuse(QStringLiteral("в нём нет строк конца списка"));
    if (names.names.isEmpty())
        return refuse(QStringLiteral("в нём нет ни одной записи"));
    if (names.names.size() > MaxRecords)
        return refuse(QStringLiteral("в нём слишком много записей"));

    SalaryTable table;
    table.fileName = name;
    table.caption = QString::fromUtf16(kind.caption);
    cp1251::LineReader reader(*bytes);
    while (std::optional<QString> line = reader.readLine())
        table.lines.append(std::move(*line));

    // The reader found the names; the lines must also be where a rewrite puts
    // them, and each salary must be the one the program's lookup reads.
    const qsizetype count = names.names.size();
    if (table.lines.size() < 3 * count + 3)
        return refuse(QStringLiteral("строки не по формату"));
    for (qsizetype k = 1; k <= count; ++k) {
        const QString& number = table.lines[3 * k - 2];
        const QString& recordName = table.lines[3 * k - 1];
        const std::optional<double> salary = salaryfile::lookupSalary(path, int(k - 1));
        if (number != QString::number(k) || recordName != names.names[k - 1] || !salary ||
            *salary != leadingNumber(table.lines[3 * k])) {
            return refuse(u"запись " + QString::number(k) + u" не по формату");
        }
        if (!std::isfinite(*salary) || *salary < 0 || *salary * 100 > double(MaxSalaryKopecks))
            return refuse(u"оклад записи " + QString::number(k) + u" не годится для индексации");
        table.records.append({recordName, std::llround(*salary * 100)});
    }

    table.sourceDate = headingDate(table.lines.constFirst());
    if (!table.sourceDate.isValid())
        table.sourceDate = QFileInfo(path).lastModified().date();
    return table;
}

// ---- Files ---------------------------------------------------------------

std::filesystem::path nativePath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// Writes `bytes` to `path` (QSaveFile writes beside it and renames) and reads
// them back: on a full disk QSaveFile can commit a file cut short without
// reporting it. An error text, or nothing on success. Only ever used for new
// files (archive copies, files beside their targets), never for a table in
// force.
std::optional<QString> writeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QDir::toNativeSeparators(path) + u": " + file.errorString();
    if (readRaw(path) != bytes)
        return QDir::toNativeSeparators(path) + u": записан не полностью (нет места на диске?)";
    return std::nullopt;
}

// Replaces `to` with `from` in one step (rename(2) replaces an existing file
// atomically; QFile::rename would refuse).
std::optional<QString> replaceFile(const QString& from, const QString& to)
{
    std::error_code error;
    std::filesystem::rename(nativePath(from), nativePath(to), error);
    if (error)
        return QDir::toNativeSeparators(to) + u": " + QString::fromLocal8Bit(error.message());
    return std::nullopt;
}

void removeFiles(const QStringList& paths)
{
    for (const QString& path : paths)
        QFile::remove(path);
}

QString archiveName(int kind, const QString& stamp, const QString& suffix)
{
    const QString fileName = QString::fromUtf16(Kinds[kind].fileName);
    const QString base = fileName.section(u'.', 0, 0);
    return base + u'_' + stamp + suffix + u'.' + fileName.section(u'.', 1);
}

// "2024-10-01_12-30-45-123" of an archive entry's name, with the suffix after
// it (empty or ReplacedSuffix); nothing for another name.
std::optional<std::pair<QString, QString>> stampOf(const QString& entry)
{
    static const QRegularExpression pattern(
        u"^(?:" + QString::fromUtf16(Kinds[0].fileName).section(u'.', 0, 0) + u'|' +
        QString::fromUtf16(Kinds[1].fileName).section(u'.', 0, 0) +
        u")_([0-9]{4}-[0-9]{2}-[0-9]{2}_[0-9]{2}-[0-9]{2}-[0-9]{2}-[0-9]{3})(" + ReplacedSuffix +
        u")?\\." + QString::fromUtf16(Kinds[0].fileName).section(u'.', 1) + u"$");
    const QRegularExpressionMatch match = pattern.match(entry);
    if (!match.hasMatch())
        return std::nullopt;
    return std::pair(match.captured(1), match.captured(2));
}

// The stamps of the complete pairs that can be restored, oldest first.
QStringList restorableStamps(const QString& archive)
{
    QStringList stamps;
    const QDir folder(archive);
    for (const QString& entry : folder.entryList(QDir::Files, QDir::Name)) {
        const auto stamp = stampOf(entry);
        if (stamp && stamp->second.isEmpty() && entry == archiveName(0, stamp->first, {}) &&
            QFileInfo(folder.filePath(archiveName(1, stamp->first, {}))).isFile())
            stamps.append(stamp->first);
    }
    return stamps;
}

// The latest stamp of any archive entry, restorable or replaced.
QString latestStamp(const QString& archive)
{
    QString latest;
    for (const QString& entry : QDir(archive).entryList(QDir::Files)) {
        if (const auto stamp = stampOf(entry))
            latest = std::max(latest, stamp->first);
    }
    return latest;
}

bool sameRecords(const SalaryTable& table, const QList<SalaryTable::Record>& expected)
{
    if (table.records.size() != expected.size())
        return false;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        if (table.records[i].name != expected[i].name ||
            table.records[i].kopecks != expected[i].kopecks)
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

qint64 indexedKopecks(qint64 kopecks, Hundredths percent)
{
    // kopecks * (1 + p/100) in roubles is kopecks * (10000 + p) / 1 000 000;
    // whole numbers throughout, so an exact product is not pushed up.
    constexpr qint64 PerRouble = 100LL * 100 * 100;
    const qint64 scaled = kopecks * (100LL * 100 + percent);
    qint64 roubles = scaled / PerRouble;
    if (scaled % PerRouble > 0)
        ++roubles;
    return roubles * 100;
}

QString salaryText(qint64 kopecks)
{
    const QString sign = kopecks < 0 ? QStringLiteral("-") : QString();
    const qint64 magnitude = kopecks < 0 ? -kopecks : kopecks;
    QString text = sign + QString::number(magnitude / 100);
    if (magnitude % 100 != 0)
        text += u'.' + QString::number(magnitude % 100).rightJustified(2, u'0');
    return text;
}

// ---- Tables ---------------------------------------------------------------

TablesReading readTables(const QString& dataFolder)
{
    TablesReading reading;
    TablePair tables;
    for (std::size_t kind = 0; kind < Kinds.size(); ++kind) {
        QString whyNot;
        std::optional<SalaryTable> table =
            readTable(QDir(dataFolder).filePath(QString::fromUtf16(Kinds[kind].fileName)),
                      Kinds[kind], &whyNot);
        if (!table) {
            reading.failure = failure(whyNot);
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
        lines[3 * k] = salaryText(indexedKopecks(table.records[k - 1].kopecks, percent));
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
                {table.caption, record.name, salaryText(record.kopecks),
                 percent ? salaryText(indexedKopecks(record.kopecks, *percent)) : QString()});
        }
    }
    return rows;
}

// ---- Replacing the pair ---------------------------------------------------

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

bool Indexer::canRestore() const
{
    return !restorableStamps(archiveFolder()).isEmpty();
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
            expected[kind].append({record.name, indexedKopecks(record.kopecks, *percent)});
    }
    const Message done{u"Оклады проиндексированы на " + percentText(*percent) + u" % с " +
                           dateText(*effective) + u".\rПрежние оклады сохранены в папке " +
                           QDir::toNativeSeparators(archiveFolder()) + u".",
                       DoneTitle, Message::Icon::Information};
    return replacePair(contents, expected, QString(), done);
}

Outcome Indexer::restorePrevious() const
{
    const QStringList stamps = restorableStamps(archiveFolder());
    if (stamps.isEmpty()) {
        return {false, refusal(u"В папке " + QDir::toNativeSeparators(archiveFolder()) +
                               u" нет сохранённых окладов.\r" + Unchanged)};
    }
    const QString stamp = stamps.constLast();
    const QDir archive(archiveFolder());
    std::array<QByteArray, 2> contents;
    std::array<QList<SalaryTable::Record>, 2> expected;
    QStringList archived;
    for (std::size_t kind = 0; kind < contents.size(); ++kind) {
        const QString path = archive.filePath(archiveName(int(kind), stamp, {}));
        QString whyNot;
        const std::optional<SalaryTable> table = readTable(path, Kinds[kind], &whyNot);
        const std::optional<QByteArray> bytes = readRaw(path);
        if (!table || !bytes) {
            return {false, failure(u"Сохранённые оклады " + QDir::toNativeSeparators(path) +
                                   u" не прочитаны.\r" + Unchanged)};
        }
        contents[kind] = *bytes;
        expected[kind] = table->records;
        archived.append(path);
    }
    const Message done{u"Восстановлены оклады, сохранённые " +
                           QDateTime::fromString(stamp, StampFormat)
                               .toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")) +
                           u".",
                       DoneTitle, Message::Icon::Information};
    Outcome outcome = replacePair(contents, expected, ReplacedSuffix, done);
    // The restored pair is the current one now; a file left behind only means
    // the next restore brings the same salaries back again.
    if (outcome.done)
        removeFiles(archived);
    return outcome;
}

// Both files are replaced so that, whatever fails, either both tables are new
// or both are as they were:
//  1. the current pair is copied into Data/Archive (each copy written in full
//     or not at all);
//  2. both new files are written in full beside their targets as
//     "<name>.new" and read back with the program's own salary-file reader;
//  3. only then each is renamed over its target; a rename replaces a file in
//     one step, so a target is never seen half-written;
//  4. if the second rename fails, the first target is written back from its
//     archived copy.
// Until step 3 nothing in force has changed: a failure removes what was
// written (the archive copies too, as they match the files in force).
Outcome Indexer::replacePair(const std::array<QByteArray, 2>& contents,
                             const std::array<QList<SalaryTable::Record>, 2>& expected,
                             const QString& archiveSuffix, const Message& success) const
{
    const QDir data(m_dataFolder);
    std::array<QString, 2> targets;
    std::array<QString, 2> temporaries;
    std::array<QByteArray, 2> current;
    for (std::size_t kind = 0; kind < targets.size(); ++kind) {
        targets[kind] = data.filePath(QString::fromUtf16(Kinds[kind].fileName));
        temporaries[kind] = targets[kind] + TemporarySuffix;
        const std::optional<QByteArray> bytes = readRaw(targets[kind]);
        if (!bytes) {
            return {false, failure(u"Файл " + QDir::toNativeSeparators(targets[kind]) +
                                   u" не прочитан.\r" + Unchanged)};
        }
        current[kind] = *bytes;
    }

    // 1. The archive pair, under a stamp later than every one already kept (a
    //    clock set back must not put a new pair before an old one).
    const QDir archive(archiveFolder());
    if (!QDir().mkpath(archive.path())) {
        return {false, failure(u"Не удалось создать папку " +
                               QDir::toNativeSeparators(archive.path()) + u".\r" + Unchanged)};
    }
    QDateTime stampTime = m_now();
    const QDateTime latest = QDateTime::fromString(latestStamp(archive.path()), StampFormat);
    if (latest.isValid() && stampTime <= latest)
        stampTime = latest.addMSecs(1);
    std::array<QString, 2> archived;
    const auto archivePath = [&](std::size_t kind) {
        return archive.filePath(
            archiveName(int(kind), stampTime.toString(StampFormat), archiveSuffix));
    };
    while (QFileInfo::exists(archivePath(0)) || QFileInfo::exists(archivePath(1)))
        stampTime = stampTime.addMSecs(1);
    for (std::size_t kind = 0; kind < archived.size(); ++kind) {
        archived[kind] = archivePath(kind);
        if (const auto error = writeFile(archived[kind], current[kind])) {
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
        QString whyNot;
        const std::optional<SalaryTable> written =
            readTable(temporaries[kind], Kinds[kind], &whyNot);
        if (!written || !sameRecords(*written, expected[kind])) {
            return abandon(u"Новый файл " + QDir::toNativeSeparators(temporaries[kind]) +
                           u" читается не так, как записан.");
        }
    }

    // 3. The renames.
    if (const auto error = replaceFile(temporaries[0], targets[0]))
        return abandon(u"Не удалось заменить файл окладов: " + *error);
    if (m_betweenReplacements)
        m_betweenReplacements();
    if (const auto error = replaceFile(temporaries[1], targets[1])) {
        // 4. Back to the archived first file.
        const std::optional<QByteArray> saved = readRaw(archived[0]);
        const bool rolledBack =
            saved && !writeFile(temporaries[0], *saved) && !replaceFile(temporaries[0], targets[0]);
        if (rolledBack)
            return abandon(u"Не удалось заменить файл окладов: " + *error);
        removeFiles({temporaries[0], temporaries[1]});
        return {false, failure(u"Не удалось заменить файл окладов: " + *error + u"\rФайл " +
                               QDir::toNativeSeparators(targets[0]) +
                               u" уже заменён, и вернуть его не удалось. Прежний файл: " +
                               QDir::toNativeSeparators(archived[0]) + u".")};
    }
    return {true, success};
}

} // namespace paycalc::indexation
