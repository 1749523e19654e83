#include "platform/datafolder.h"

#include "paycalc/cp1251.h"
#include "platform/boxes.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <sys/stat.h>
#include <unistd.h>

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

// What could not be done first, with which folder or file, and the system's
// error number.
struct Failure
{
    const char16_t* action;
    QString path;
    int error = 0;
};

constexpr char16_t CannotMakeFolder[] = u"Не удалось создать папку";
constexpr char16_t CannotRead[] = u"Не удалось прочитать файл";
constexpr char16_t CannotWrite[] = u"Не удалось записать файл";

// The system's reason in the program's language, not the system's.
QString reasonText(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return QStringLiteral("нет прав доступа");
    case EROFS:
        return QStringLiteral("диск доступен только для чтения");
    case ENOSPC:
        return QStringLiteral("на диске нет свободного места");
    case EDQUOT:
        return QStringLiteral("исчерпана дисковая квота пользователя");
    case ENOTDIR:
    case EEXIST:
        return QStringLiteral("на этом месте файл, а не папка");
    case EISDIR:
        return QStringLiteral("на этом месте папка, а не файл");
    case ENOENT:
        return QStringLiteral("нет такого файла или папки");
    case ENAMETOOLONG:
        return QStringLiteral("слишком длинное имя");
    case ELOOP:
        return QStringLiteral("символические ссылки образуют петлю");
    case EIO:
        return QStringLiteral("ошибка ввода-вывода на диске");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("открыто слишком много файлов");
    default:
        return QStringLiteral("системная ошибка %1 (%2)").arg(error).arg(qt_error_string(error));
    }
}

QString failureText(const Failure& failure)
{
    return QString::fromUtf16(failure.action) + u" «" + QDir::toNativeSeparators(failure.path) +
           u"»: " + reasonText(failure.error) + u'.';
}

// Makes `path` and every missing folder above it, from the top down, so that a
// failure names the very folder that could not be made.
std::optional<Failure> makeFolders(const QString& path)
{
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    for (qsizetype from = 1;;) {
        const qsizetype slash = clean.indexOf(u'/', from);
        const QString step = slash < 0 ? clean : clean.left(slash);
        if (!QFileInfo(step).isDir() && ::mkdir(QFile::encodeName(step).constData(), 0777) != 0) {
            const int error = errno;
            // Made meanwhile by someone else: as good as made here.
            if (error != EEXIST || !QFileInfo(step).isDir())
                return Failure{CannotMakeFolder, step, error};
        }
        if (slash < 0)
            return std::nullopt;
        from = slash + 1;
    }
}

// The whole file into `bytes`; 0, or the system's error number.
int readWhole(const QString& path, QByteArray& bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int error = 0;
    char buffer[16384];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count > 0)
            bytes.append(buffer, count);
        else if (count == 0)
            break;
        else if (errno != EINTR) {
            error = errno;
            break;
        }
    }
    ::close(fd);
    return error;
}

std::optional<QByteArray> readWhole(const QString& path)
{
    QByteArray bytes;
    return readWhole(path, bytes) == 0 ? std::optional(bytes) : std::nullopt;
}

int writeAll(int fd, const QByteArray& bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t count = ::write(fd, bytes.constData() + done, bytes.size() - done);
        if (count > 0)
            done += count;
        else if (count == 0)
            return EIO; // a file that takes nothing would be waited on for ever
        else if (errno != EINTR)
            return errno;
    }
    return 0;
}

// Through a temporary file beside it, synced, read back and renamed over it, so
// that a failed or cut-short write never leaves half a file in place of the
// old one. The new file
// keeps the old one's permissions; through a link, the file it points to is
// written. 0, or the system's error number.
int writeWhole(const QString& path, const QByteArray& bytes)
{
    const QFileInfo info(path);
    const QByteArray target =
        QFile::encodeName(info.isSymLink() && info.exists() ? info.canonicalFilePath() : path);
    // Named after this process: one left by an earlier one of the same number
    // was abandoned.
    const QByteArray temporary =
        target + ".new-" + QByteArray::number(QCoreApplication::applicationPid());
    ::unlink(temporary.constData());
    const int fd =
        ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0)
        return errno;
    int error = writeAll(fd, bytes);
    struct stat old = {};
    if (!error && ::stat(target.constData(), &old) == 0 && ::fchmod(fd, old.st_mode & 07777) != 0)
        error = errno;
    if (!error && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && !error)
        error = errno;
    // A disk that fills up can cut a file short without any write saying so.
    QByteArray written;
    if (!error)
        error = readWhole(QFile::decodeName(temporary), written);
    if (!error && written != bytes)
        error = EIO;
    if (!error && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error)
        ::unlink(temporary.constData());
    return error;
}

// Brings one installed file into the user's folder; updates `copies` with what
// the folder now holds as the installation's copy.
std::optional<Failure> bringIn(const QString& shippedPath, const QString& userPath,
                               QMap<QString, QByteArray>& copies)
{
    const QString name = QFileInfo(shippedPath).fileName();
    QByteArray shipped;
    if (const int error = readWhole(shippedPath, shipped))
        return Failure{CannotRead, shippedPath, error};
    const QByteArray shippedSum = checksum(shipped);
    const auto copy = [&]() -> std::optional<Failure> {
        if (const int error = writeWhole(userPath, shipped))
            return Failure{CannotWrite, userPath, error};
        copies.insert(name, shippedSum);
        return std::nullopt;
    };

    const QFileInfo present(userPath);
    if (!present.exists() && !present.isSymLink())
        return copy();
    // Whatever cannot be read as a file stays as it is.
    const std::optional<QByteArray> current = present.isFile() ? readWhole(userPath) : std::nullopt;
    if (!current)
        return std::nullopt;
    const QByteArray currentSum = checksum(*current);
    if (currentSum == shippedSum) {
        copies.insert(name, shippedSum);
        return std::nullopt;
    }
    // Replaced only when it is still exactly what was copied earlier: then the
    // user never changed it. A changed file, or one copied before copies were
    // recorded, is the user's.
    const auto recorded = copies.constFind(name);
    if (recorded == copies.constEnd() || *recorded != currentSum)
        return std::nullopt;
    return copy();
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
    QString problem;
    if (prepareDataFolder(installedDataFolder(), user, &problem))
        return true;
    // Said now, with its reason: later the salary files would only be missing.
    const QString text = u" Не удалось подготовить папку данных программы." + QChar(u'\r') +
                         problem + QChar(u'\r') + u"Папка данных: «" +
                         QDir::toNativeSeparators(user) + u"».";
    showBox(nullptr, {Box::Kind::Error, QStringLiteral(" Ошибка "), text});
    return false;
}

bool prepareDataFolder(const QString& installedData, const QString& userData, QString* problem)
{
    std::optional<Failure> first = makeFolders(QDir(userData).filePath(QStringLiteral("Lists")));
    if (first) {
        if (problem)
            *problem = failureText(*first);
        return false;
    }

    const QDir target(userData);
    const QString recordPath = target.filePath(QString::fromUtf16(CopiesRecord));
    const QMap<QString, QByteArray> recorded =
        parseCopiesRecord(readWhole(recordPath).value_or(QByteArray()));
    QMap<QString, QByteArray> copies = recorded;

    // A file that fails does not keep the others from being brought in.
    const QDir source(installedData);
    for (const QString& name : source.entryList(QDir::Files)) {
        std::optional<Failure> failure =
            bringIn(source.filePath(name), target.filePath(name), copies);
        if (!first)
            first = std::move(failure);
    }
    if (copies != recorded) {
        const int error = writeWhole(recordPath, writeCopiesRecord(copies));
        if (error && !first)
            first = Failure{CannotWrite, recordPath, error};
    }
    if (first && problem)
        *problem = failureText(*first);
    return !first;
}

} // namespace platform
