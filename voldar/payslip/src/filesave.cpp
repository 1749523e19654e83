#include "filesave.h"

#include <QDir>

namespace payslip::detail {

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
