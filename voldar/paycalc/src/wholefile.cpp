#include "paycalc/wholefile.h"

#include <cerrno>
#include <cstdio>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <unistd.h>

namespace paycalc {

namespace {

QString diskFull()
{
    return QStringLiteral("Файл записан не полностью (возможно, диск заполнен)");
}

QString describe(const QFile& file)
{
    // A short write leaves no error code behind: the disk took only a part.
    if (file.error() == QFileDevice::NoError)
        return diskFull();
    QString what;
    switch (file.error()) {
    case QFileDevice::OpenError:
        what = QStringLiteral("Не удалось создать файл");
        break;
    case QFileDevice::WriteError:
        what = diskFull();
        break;
    case QFileDevice::PermissionsError:
        what = QStringLiteral("Нет прав на запись");
        break;
    default:
        what = QStringLiteral("Ошибка записи");
        break;
    }
    return what + u" (" + file.errorString() + u")";
}

// The file a save replaces: the end of a chain of links, so that the link
// stays and its target gets the new content.
QFileInfo finalTarget(const QString& path)
{
    QFileInfo target(path);
    for (int depth = 0; depth < 40 && target.isSymLink(); ++depth)
        target.setFile(target.symLinkTarget());
    return target;
}

// A new file in `folder` that nobody else uses, open for writing and reading.
// Its name is short, whatever the length of the target's, and hidden: one
// left behind by a crash is no file of the user's in a listing.
bool createBeside(QFile& file, const QString& folder)
{
    for (int attempt = 0; attempt < 8; ++attempt) {
        file.setFileName(folder + u"/.voldar-" +
                         QString::number(QRandomGenerator::global()->generate64(), 36) + u".tmp");
        if (file.open(QIODevice::ReadWrite | QIODevice::NewOnly | QIODevice::Unbuffered))
            return true;
        if (!file.exists())
            return false;
    }
    return false;
}

// Writes `bytes`, forces them to the disk and reads them back: a disk that
// fills up can cut a file short without any write saying so.
QString writeAndCheck(QFile& file, const QByteArray& bytes)
{
    if (file.write(bytes) != bytes.size() || file.error() != QFileDevice::NoError)
        return describe(file);
    if (::fsync(file.handle()) != 0)
        return diskFull() + u" (" + qt_error_string(errno) + u")";
    if (!file.seek(0) || file.readAll() != bytes)
        return diskFull();
    return {};
}

// Puts the written file in the target's place in one step (rename replaces
// atomically), with the permissions of the file it replaces.
QString putInPlace(const QString& written, const QFileInfo& target)
{
    if (target.exists())
        QFile::setPermissions(written, target.permissions());
    if (std::rename(QFile::encodeName(written).constData(),
                    QFile::encodeName(target.absoluteFilePath()).constData()) != 0)
        return u"Не удалось заменить прежний файл (" + qt_error_string(errno) + u")";
    return {};
}

} // namespace

QString saveWholeFile(const QString& path, const QByteArray& bytes)
{
    const QFileInfo target = finalTarget(path);
    const QString folder = target.absolutePath();
    if (!QFileInfo(folder).isDir())
        return u"Папка '" + QDir::toNativeSeparators(folder) + u"' не найдена";
    if (target.exists() && !target.isWritable())
        return QStringLiteral("Нет прав на запись");

    QFile written;
    if (!createBeside(written, folder))
        return describe(written);
    QString failure = writeAndCheck(written, bytes);
    written.close();
    if (failure.isEmpty())
        failure = putInPlace(written.fileName(), target);
    if (!failure.isEmpty())
        written.remove();
    return failure;
}

} // namespace paycalc
