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

// Writes what printWidgetImage() puts on paper, the window as it looks now at
// its size on screen (shrunk only to fit), as a one-page A4 PDF at `path`,
// its texts kept as text. The PDF is written beside `path`, read back and
// only then put in its place, so a failure leaves an earlier file of that
// name as it was.
PrintResult writeWidgetPdf(QWidget* widget, const QString& path);

// Replaceable printing, so that windows can be tested without a print queue.
using PrintHook = std::function<PrintResult(QWidget* widget)>;

// "Документ не напечатан" / "Ошибка": the box of a print that did not happen.
paycalc::Message printFailedMessage(const QString& failure);

// "Файл PDF не сохранён" / "Ошибка": the box of a PDF that was not written.
paycalc::Message pdfFailedMessage(const QString& failure);

// "Файл PDF сохранён" and the full path / "Сохранение": where the PDF went.
paycalc::Message pdfSavedMessage(const QString& path);

} // namespace payslip
