#pragma once

#include "paycalc/message.h"

#include <QByteArray>
#include <QString>

namespace payslip::detail {

// Writes `bytes` as the whole content of `path`. The data goes to a temporary
// file in the same folder first, is read back from it, and replaces the old
// file only once it is completely on disk, so a failed or cut-short save
// never costs the user the previous file. Returns an empty string on success,
// otherwise the reason in words.
QString saveWholeFile(const QString& path, const QByteArray& bytes);

// "Данные сохранены" / "Сохранение" / information: every successful save.
paycalc::Message savedMessage();

// The error box of a save that did not happen: names the file and the reason.
paycalc::Message saveFailedMessage(const QString& path, const QString& reason);

// Drops the blanks at the start of a caption or mirror text.
QString withoutLeadingBlanks(const QString& text);

} // namespace payslip::detail
