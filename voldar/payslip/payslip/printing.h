#pragma once

#include "paycalc/message.h"

#include <functional>
#include <QString>

class QWidget;

namespace payslip {

struct PrintResult
{
    bool printed = false;
    QString failure; // why nothing was printed, in words for the user
};

// Prints the image of `widget` as it looks now (QWidget::grab) as one page on
// the default printer and hands the job to the printing system. The image
// keeps its size on screen and is shrunk only to fit the page. Reports a
// failure instead of printing anywhere else when no printer is installed, no
// default printer is chosen or the printer refuses the job.
PrintResult printWidgetImage(QWidget* widget);

// Replaceable printing, so that windows can be tested without a print queue.
using PrintHook = std::function<PrintResult(QWidget* widget)>;

// "Документ не напечатан" / "Ошибка": the box of a print that did not happen.
paycalc::Message printFailedMessage(const QString& failure);

} // namespace payslip
