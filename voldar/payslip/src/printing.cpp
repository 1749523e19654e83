#include "payslip/printing.h"

#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>

namespace payslip {

namespace {

PrintResult failed(const QString& failure)
{
    return {false, failure};
}

// Where the image goes on the page: at the top left of the printable area, at
// its size on screen, made smaller (never larger) to fit the page.
QRect placement(const QPixmap& image, const QWidget& widget, const QPrinter& printer)
{
    const double toPrinter = double(printer.resolution()) / widget.logicalDpiX();
    const QSizeF onScreen = image.deviceIndependentSize();
    QSizeF size = onScreen * toPrinter;
    const QSizeF page(printer.width(), printer.height());
    if (size.width() > page.width() || size.height() > page.height())
        size.scale(page, Qt::KeepAspectRatio);
    return QRect(QPoint(0, 0), size.toSize());
}

} // namespace

PrintResult printWidgetImage(QWidget* widget)
{
    if (widget == nullptr)
        return failed(QStringLiteral("Нечего печатать"));

    // Without a usable printer QPrinter quietly falls back to PDF output, so
    // the printer is checked here rather than trusted.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        return failed(QPrinterInfo::availablePrinterNames().isEmpty()
                          ? QStringLiteral("Принтер не установлен")
                          : QStringLiteral("Не выбран принтер по умолчанию"));
    }
    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid() || printer.outputFormat() != QPrinter::NativeFormat)
        return failed(u"Принтер '" + info.printerName() + u"' недоступен");
    printer.setDocName(QStringLiteral("Voldar"));

    const QPixmap image = widget->grab();
    if (image.isNull())
        return failed(QStringLiteral("Не удалось получить изображение окна"));

    QPainter painter;
    if (!painter.begin(&printer))
        return failed(u"Принтер '" + info.printerName() + u"' не принял задание");
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(placement(image, *widget, printer), image);
    if (!painter.end())
        return failed(u"Задание не передано на принтер '" + info.printerName() + u"'");
    return {true, {}};
}

paycalc::Message printFailedMessage(const QString& failure)
{
    return {u"Документ не напечатан\r" + failure, QStringLiteral("Ошибка"),
            paycalc::Message::Icon::Error};
}

} // namespace payslip
