#include "payslip/printing.h"

#include "paycalc/wholefile.h"

#include <optional>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
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

// Where the window goes on the page: at the top left of the printable area,
// at its size on screen, made smaller (never larger) to fit the page. The
// same for paper and for PDF.
QRect placement(const QSizeF& onScreen, const QWidget& widget, const QPaintDevice& page)
{
    const double toPage = double(page.logicalDpiX()) / widget.logicalDpiX();
    QSizeF size = onScreen * toPage;
    const QSizeF area(page.width(), page.height());
    if (size.width() > area.width() || size.height() > area.height())
        size.scale(area, Qt::KeepAspectRatio);
    return QRect(QPoint(0, 0), size.toSize());
}

// The page of a saved PDF: A4 upright, with the margins a printer keeps.
QPageLayout pdfPage()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
}

// The window drawn as a one-page PDF, its texts kept as text.
std::optional<QByteArray> renderPdf(QWidget& widget, const QString& title)
{
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(pdfPage());
        // One unit of the page is one pixel of the screen, so that fonts keep
        // their size relative to the window; the output is vectors all the
        // same.
        writer.setResolution(widget.logicalDpiX());
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Voldar"));
        QPainter painter;
        if (!painter.begin(&writer))
            return std::nullopt;
        const QRect target = placement(QSizeF(widget.size()), widget, writer);
        painter.translate(target.topLeft());
        painter.scale(double(target.width()) / widget.width(),
                      double(target.height()) / widget.height());
        widget.render(&painter, QPoint(), QRegion(),
                      QWidget::DrawWindowBackground | QWidget::DrawChildren);
        if (!painter.end())
            return std::nullopt;
    }
    return pdf;
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
    painter.drawPixmap(placement(image.deviceIndependentSize(), *widget, printer), image);
    if (!painter.end())
        return failed(u"Задание не передано на принтер '" + info.printerName() + u"'");
    return {true, {}};
}

PrintResult writeWidgetPdf(QWidget* widget, const QString& path)
{
    if (widget == nullptr)
        return failed(QStringLiteral("Нечего сохранять"));
    const std::optional<QByteArray> pdf = renderPdf(*widget, QFileInfo(path).completeBaseName());
    if (!pdf || pdf->isEmpty())
        return failed(QStringLiteral("Не удалось построить страницу PDF"));

    const QString failure = paycalc::saveWholeFile(path, *pdf);
    if (!failure.isEmpty())
        return failed(QDir::toNativeSeparators(path) + u": " + failure);
    return {true, {}};
}

paycalc::Message printFailedMessage(const QString& failure)
{
    return {u"Документ не напечатан\r" + failure, QStringLiteral("Ошибка"),
            paycalc::Message::Icon::Error};
}

paycalc::Message pdfFailedMessage(const QString& failure)
{
    return {u"Файл PDF не сохранён\r" + failure, QStringLiteral("Ошибка"),
            paycalc::Message::Icon::Error};
}

paycalc::Message pdfSavedMessage(const QString& path)
{
    return {u"Файл PDF сохранён\r" + QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()),
            QStringLiteral("Сохранение"), paycalc::Message::Icon::Information};
}

} // namespace payslip
