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

    // `dataFolder` is the program's Data folder; slips are looked for in its
    // Lists folder.
    explicit Form9(const QString& dataFolder, QWidget* parent = nullptr);
    ~Form9() override;

    void setFileDialogHook(FileDialogHook hook);
    void setMessageHook(platform::MessageHook hook);
    void setPrintHook(PrintHook hook);

    // Shows the slip in `path` (what "Открыть" does once a file is chosen).
    void openPaySlip(const QString& path);

    // Field 1..19 and the period field, as shown.
    QString fieldText(int field) const;
    QString periodText() const;

    // The request the "Открыть" command hands to the dialog.
    FileRequest openRequest() const;

private:
    void onOpenClicked();
    void onPrintClicked();
    void onExClicked();

    std::unique_ptr<Ui::Form9> ui;
    QString m_dataFolder;
    FileDialogHook m_fileDialog = showOpenDialog;
    platform::MessageHook m_message = platform::showMessageBox;
    PrintHook m_print = printWidgetImage;
};

} // namespace payslip
