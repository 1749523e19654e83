#include "filesave.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace payslip::detail {

namespace {

QString describe(const QSaveFile& file)
{
    // A short write leaves no error code behind: the disk took only a part.
    if (file.error() == QFileDevice::NoError)
        return QStringLiteral("Ошибка записи (возможно, диск заполнен)");
    QString what;
    switch (file.error()) {
    case QFileDevice::OpenError:
        what = QStringLiteral("Не удалось создать файл");
        break;
    case QFileDevice::WriteError:
        what = QStringLiteral("Ошибка записи (возможно, диск заполнен)");
        break;
    case QFileDevice::RenameError:
        what = QStringLiteral("Не удалось заменить прежний файл");
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

} // namespace

QString saveWholeFile(const QString& path, const QByteArray& bytes)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir())
        return u"Папка '" + QDir::toNativeSeparators(folder) + u"' не найдена";

    // Unbuffered, and flushed before the commit: QSaveFile::commit() (Qt 6.4)
    // does not notice a buffered write that fails when the file is closed, and
    // would put a truncated file in place of the old one on a full disk.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return describe(file);
    if (file.write(bytes) != bytes.size() || !file.flush() ||
        file.error() != QFileDevice::NoError) {
        const QString reason = describe(file);
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return describe(file);
    return {};
}

paycalc::Message savedMessage()
{
    return {QStringLiteral("Данные сохранены"), QStringLiteral("Сохранение"),
            paycalc::Message::Icon::Information};
}

paycalc::Message saveFailedMessage(const QString& path, const QString& reason)
{
    return {u"Не удалось сохранить файл '" + QDir::toNativeSeparators(path) + u"'\r" + reason,
            QStringLiteral("Ошибка"), paycalc::Message::Icon::Error};
}

QString withoutLeadingBlanks(const QString& text)
{
    qsizetype start = 0;
    while (start < text.size() && text[start] == u' ')
        ++start;
    return text.mid(start);
}

} // namespace payslip::detail
