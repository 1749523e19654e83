#pragma once

#include "payslip/payhistory.h"
#include "platform/platform.h"

#include <functional>
#include <memory>
#include <QString>
#include <QWidget>

class QChart;
class QLineSeries;
class QPointF;

namespace Ui {
class FormHistory;
}

namespace payslip {

// "История выплат": every pay slip saved in Data/Lists in one table, oldest
// month first, with a chart of the net pay and the accrued total over the
// months and the totals of each calendar year. The slips are read again each
// time the window is shown. Closing it with the title-bar button discards it
// (whoever shows it keeps a QPointer and makes a new one next time).
class FormHistory : public QWidget
{
    Q_OBJECT

public:
    // The file-save dialog: returns the chosen file, or an empty string when
    // the user cancels.
    struct SaveRequest
    {
        QString caption;
        QString suggestedPath; // folder and proposed name
        QString filter;        // Qt's filter form, "CSV (*.csv)"
    };
    using FileDialogHook = std::function<QString(QWidget* parent, const SaveRequest& request)>;

    // The system's save dialog.
    static QString showSaveDialog(QWidget* parent, const SaveRequest& request);

    // `dataFolder` is the program's Data folder; slips are read from its
    // Lists folder.
    explicit FormHistory(const QString& dataFolder, QWidget* parent = nullptr);
    ~FormHistory() override;

    void setFileDialogHook(FileDialogHook hook);
    void setMessageHook(platform::MessageHook hook);

    // Reads the slips again and shows them.
    void refresh();

    const PayHistory& history() const { return m_history; }

    // The request "Сохранить таблицу…" hands to the dialog.
    SaveRequest saveRequest() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showMonths();
    void showYears();
    void showChart();
    void addRuns(QChart& chart, HistoryAmount which, const QColor& colour);
    void onSeriesHovered(const std::vector<int>& run, const QLineSeries& series,
                         const QPointF& point, bool entered);
    void onCommandSaveClicked();

    std::unique_ptr<Ui::FormHistory> ui;
    QString m_dataFolder;
    PayHistory m_history;
    FileDialogHook m_fileDialog = showSaveDialog;
    platform::MessageHook m_message = platform::showMessageBox;
};

} // namespace payslip
