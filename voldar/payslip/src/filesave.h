#pragma once

#include "paycalc/message.h"

#include <QByteArray>
#include <QString>

namespace payslip::detail {

// "Данные сохранены" / "Сохранение" / information: every successful save.
paycalc::Message savedMessage();

// The error box of a save that did not happen: names the file and the reason.
paycalc::Message saveFailedMessage(const QString& path, const QString& reason);

// Drops the blanks at the start of a caption or mirror text.
QString withoutLeadingBlanks(const QString& text);

} // namespace payslip::detail
