#include "platform/datafolder.h"

#include "paycalc/cp1251.h"

#include <optional>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace platform {

QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

namespace {

// Where an installation puts the shipped salary files: <prefix>/share/voldar/Data
// for a program in <prefix>/bin.
QString installedDataFolder()
{
    return QDir(programFolder()).filePath(QStringLiteral("../share/voldar/Data"));
}

QString userDataFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("Data"));
}

constexpr qsizetype ChecksumLength = 64; // SHA-256 in hex

QByteArray checksum(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

bool isChecksum(QByteArrayView text)
{
    if (text.size() != ChecksumLength)
        return false;
    for (const char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

std::optional<QByteArray> readWhole(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

// Through a temporary file, so that a failed write never leaves half a file
// in place of the old one. Unbuffered: a write that fails shows at once and
// is not first noticed (or missed) when the file is committed.
bool writeWhole(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (file.write(bytes) != bytes.size() || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

// Brings one installed file into the user's folder; updates `copies` with what
// the folder now holds as the installation's copy. False when a copy failed.
bool bringIn(const QString& shippedPath, const QString& userPath, QMap<QString, QByteArray>& copies)
{
    const QString name = QFileInfo(shippedPath).fileName();
    const std::optional<QByteArray> shipped = readWhole(shippedPath);
    if (!shipped)
        return false;
    const QByteArray shippedSum = checksum(*shipped);

    const QFileInfo present(userPath);
    if (!present.exists() && !present.isSymLink()) {
        if (!writeWhole(userPath, *shipped))
            return false;
        copies.insert(name, shippedSum);
        return true;
    }
    // Whatever cannot be read as a file stays as it is.
    const std::optional<QByteArray> current = present.isFile() ? readWhole(userPath) : std::nullopt;
    if (!current)
        return true;
    const QByteArray currentSum = checksum(*current);
    if (currentSum == shippedSum) {
        copies.insert(name, shippedSum);
        return true;
    }
    // Replaced only when it is still exactly what was copied earlier: then the
    // user never changed it. A changed file, or one copied before copies were
    // recorded, is the user's.
    const auto recorded = copies.constFind(name);
    if (recorded == copies.constEnd() || *recorded != currentSum)
        return true;
    if (!writeWhole(userPath, *shipped))
        return false;
    copies.insert(name, shippedSum);
    return true;
}

} // namespace

QMap<QString, QByteArray> parseCopiesRecord(const QByteArray& bytes)
{
    QMap<QString, QByteArray> copies;
    paycalc::cp1251::LineReader reader(bytes);
    while (const std::optional<QString> line = reader.readLine()) {
        const qsizetype blank = line->indexOf(u' ');
        if (blank < 0)
            continue;
        const QByteArray sum = line->first(blank).toLatin1();
        const QString name = line->sliced(blank + 1);
        if (isChecksum(sum) && !name.isEmpty())
            copies.insert(name, sum);
    }
    return copies;
}

QByteArray writeCopiesRecord(const QMap<QString, QByteArray>& copies)
{
    QStringList lines;
    for (auto it = copies.cbegin(); it != copies.cend(); ++it)
        lines << QString::fromLatin1(it.value()) + u' ' + it.key();
    return paycalc::cp1251::encodeLines(lines);
}

QString resolveDataFolder(const QString& programFolder, const QString& installedData,
                          const QString& userData)
{
    const QString beside = QDir(programFolder).filePath(QStringLiteral("Data"));
    const QFileInfo besideInfo(beside);
    if (besideInfo.isDir() && besideInfo.isWritable())
        return beside;
    if (QFileInfo(installedData).isDir())
        return userData;
    return beside;
}

QString dataFolder()
{
    return resolveDataFolder(programFolder(), installedDataFolder(), userDataFolder());
}

bool prepareDataFolder()
{
    const QString user = userDataFolder();
    if (dataFolder() != user)
        return true;
    return prepareDataFolder(installedDataFolder(), user);
}

bool prepareDataFolder(const QString& installedData, const QString& userData)
{
    QDir target(userData);
    if (!target.mkpath(QStringLiteral("Lists")))
        return false;

    const QString recordPath = target.filePath(QString::fromUtf16(CopiesRecord));
    const QMap<QString, QByteArray> recorded =
        parseCopiesRecord(readWhole(recordPath).value_or(QByteArray()));
    QMap<QString, QByteArray> copies = recorded;

    bool ok = true;
    const QDir source(installedData);
    for (const QString& name : source.entryList(QDir::Files))
        ok = bringIn(source.filePath(name), target.filePath(name), copies) && ok;

    if (copies != recorded)
        ok = writeWhole(recordPath, writeCopiesRecord(copies)) && ok;
    return ok;
}

} // namespace platform
