#include "payslip/form9.h"

#include "payslip/payslipfile.h"
#include "platform/addresses.h"
#include "platform/titles.h"
#include "ui_form9.h"

#include <array>
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPalette>
#include <QStandardPaths>
#include <utility>

namespace payslip {

namespace {

QLineEdit* fieldOf(const Ui::Form9& ui, int field)
{
    const std::array<QLineEdit*, PaySlipFieldCount> fields = {
        ui.Text1,  ui.Text2,  ui.Text3,  ui.Text4,  ui.Text5,  ui.Text6,  ui.Text7,
        ui.Text8,  ui.Text9,  ui.Text10, ui.Text11, ui.Text12, ui.Text13, ui.Text14,
        ui.Text15, ui.Text16, ui.Text17, ui.Text18, ui.Text19};
    return field >= 1 && field <= PaySlipFieldCount ? fields[field - 1] : nullptr;
}

} // namespace

QString Form9::showOpenDialog(QWidget* parent, const FileRequest& request)
{
    return platform::askOpenFileName(parent, request.caption, request.folder, request.filter);
}

QString Form9::showSaveDialog(QWidget* parent, const SaveRequest& request)
{
    return platform::askSaveFileName(parent, request.caption, request.suggestedPath,
                                     request.filter);
}

Form9::Form9(const QString& dataFolder, QWidget* parent)
    : QMainWindow(parent, Qt::Window), ui(std::make_unique<Ui::Form9>()), m_dataFolder(dataFolder)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf16(titles::Form9));
    ui->BannerSite->setText(QString::fromUtf16(addresses::Site));

    // A printed form: white paper, white fields.
    QPalette paper = palette();
    paper.setColor(QPalette::Window, Qt::white);
    paper.setColor(QPalette::Base, Qt::white);
    ui->centralwidget->setPalette(paper);
    ui->centralwidget->setAutoFillBackground(true);
    ui->centralwidget->setMinimumSize(ui->centralwidget->childrenRect().bottomRight().x() + 16,
                                      ui->centralwidget->childrenRect().bottomRight().y() + 8);

    connect(ui->open, &QAction::triggered, this, &Form9::onOpenClicked);
    connect(ui->print, &QAction::triggered, this, &Form9::onPrintClicked);
    connect(ui->Ex, &QAction::triggered, this, &Form9::onExClicked);
    connect(ui->savePdf, &QAction::triggered, this, &Form9::onSavePdfClicked);
}

Form9::~Form9() = default;

void Form9::setFileDialogHook(FileDialogHook hook)
{
    m_fileDialog = std::move(hook);
}

void Form9::setMessageHook(platform::MessageHook hook)
{
    m_message = std::move(hook);
}

void Form9::setPrintHook(PrintHook hook)
{
    m_print = std::move(hook);
}

void Form9::setSaveDialogHook(SaveDialogHook hook)
{
    m_saveDialog = std::move(hook);
}

Form9::FileRequest Form9::openRequest() const
{
    return {ui->open->text(), QDir(m_dataFolder).filePath(QStringLiteral("Lists")),
            QStringLiteral("Text Files (*.txt)")};
}

Form9::SaveRequest Form9::pdfRequest() const
{
    // A PDF is a document, not a slip: it goes where the user keeps documents,
    // not into Lists, where the history would count it as a foreign file.
    const QString folder = m_pdfFolder.isEmpty()
                               ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                               : m_pdfFolder;
    const QString name = m_slipPath.isEmpty() ? QStringLiteral("Расчетный листок")
                                              : QFileInfo(m_slipPath).completeBaseName();
    return {QStringLiteral("Сохранить в PDF"), QDir(folder).filePath(name + u".pdf"),
            QStringLiteral("PDF (*.pdf)")};
}

void Form9::openPaySlip(const QString& path)
{
    const PaySlipReading reading = readPaySlip(path);
    if (reading.status == PaySlipReading::Status::Empty)
        return;
    for (int field = 1; field <= PaySlipFieldCount; ++field) {
        if (const auto& value = reading.values[field - 1])
            fieldOf(*ui, field)->setText(*value);
    }
    const QString fileName = QFileInfo(path).fileName();
    if (reading.status != PaySlipReading::Status::Complete) {
        m_message(this, paySlipReadFailedMessage(fileName, reading));
        return;
    }
    ui->Period->setText(paySlipPeriod(fileName));
    m_slipPath = path;
}

QString Form9::fieldText(int field) const
{
    const QLineEdit* edit = fieldOf(*ui, field);
    return edit != nullptr ? edit->text() : QString();
}

QString Form9::periodText() const
{
    return ui->Period->text();
}

void Form9::onOpenClicked()
{
    const QString path = m_fileDialog(this, openRequest());
    if (!path.isEmpty())
        openPaySlip(path);
}

void Form9::onPrintClicked()
{
    const PrintResult result = m_print(printedForm());
    if (!result.printed)
        m_message(this, printFailedMessage(result.failure));
}

void Form9::onSavePdfClicked()
{
    const QString path = m_saveDialog(this, pdfRequest());
    if (path.isEmpty())
        return;
    const PrintResult result = writeWidgetPdf(printedForm(), path);
    if (!result.printed) {
        m_message(this, pdfFailedMessage(result.failure));
        return;
    }
    m_pdfFolder = QFileInfo(path).absolutePath();
    m_message(this, pdfSavedMessage(path));
}

QWidget* Form9::printedForm()
{
    // The text cursor of a field is no part of the printed slip.
    if (QWidget* focused = focusWidget())
        focused->clearFocus();
    return ui->centralwidget;
}

void Form9::onExClicked()
{
    hide();
}

} // namespace payslip
