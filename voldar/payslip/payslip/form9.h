#pragma once

#include "payslip/printing.h"
#include "platform/platform.h"

#include <functional>
#include <memory>
#include <QMainWindow>
#include <QString>

namespace Ui {
class Form9;
}

namespace payslip {

// The pay-slip viewer: shows one pay slip file of Data/Lists as a printed pay
// slip of the month. "Выход" hides it and it keeps its texts; closing it with
// the title-bar button discards it (whoever shows it keeps a QPointer and
// makes a new one next time).
class Form9 : public QMainWindow
{
    Q_OBJECT

public:
    // The file-open dialog: returns the chosen file, or an empty string when
    // the user cancels.
    struct FileRequest
    {
        QString caption;
        QString folder; // where the dialog starts
        QString filter; // Qt's filter form, "Text Files (*.txt)"
    };
    using FileDialogHook = std::function<QString(QWidget* parent, const FileRequest& request)>;

    // The system's open dialog: existing files only, starting in the folder.
    static QString showOpenDialog(QWidget* parent, const FileRequest& request);

    // The file-save dialog of "Сохранить в PDF…": returns the path to write,
    // or an empty string when the user cancels.
    struct SaveRequest
    {
        QString caption;
        QString suggestedPath; // folder and proposed name
        QString filter;        // "PDF (*.pdf)"
    };
    using SaveDialogHook = std::function<QString(QWidget* parent, const SaveRequest& request)>;

    // The system's save dialog; asks before replacing an existing file.
    static QString showSaveDialog(QWidget* parent, const SaveRequest& request);

    // `dataFolder` is the program's Data folder; slips are looked for in its
    // Lists folder.
    explicit Form9(const QString& dataFolder, QWidget* parent = nullptr);
    ~Form9() override;

    void setFileDialogHook(FileDialogHook hook);
    void setMessageHook(platform::MessageHook hook);
    void setPrintHook(PrintHook hook);
    void setSaveDialogHook(SaveDialogHook hook);

    // Shows the slip in `path` (what "Открыть" does once a file is chosen).
    void openPaySlip(const QString& path);

    // Field 1..19 and the period field, as shown.
    QString fieldText(int field) const;
    QString periodText() const;

    // The request the "Открыть" command hands to the dialog.
    FileRequest openRequest() const;

    // The request "Сохранить в PDF…" hands to the dialog: the shown slip's
    // name with ".pdf", in the folder of the last PDF saved from this window,
    // else in the user's documents folder.
    SaveRequest pdfRequest() const;

private:
    void onOpenClicked();
    void onPrintClicked();
    void onExClicked();
    void onSavePdfClicked();

    // The window as it goes on paper: without a text cursor.
    QWidget* printedForm();

    std::unique_ptr<Ui::Form9> ui;
    QString m_dataFolder;
    FileDialogHook m_fileDialog = showOpenDialog;
    platform::MessageHook m_message = platform::showMessageBox;
    PrintHook m_print = printWidgetImage;
    SaveDialogHook m_saveDialog = showSaveDialog;
    QString m_slipPath;  // the slip whose period is shown; empty before the first
    QString m_pdfFolder; // where the last PDF went; empty before the first
};

} // namespace payslip
