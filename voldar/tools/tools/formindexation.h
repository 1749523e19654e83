#pragma once

#include "paycalc/indexation.h"

#include <memory>
#include <optional>
#include <QList>
#include <QString>
#include <QWidget>

namespace Ui {
class FormIndexation;
}

namespace tools {

class Dialogs;

// Indexation of the salary tables: the user types the percentage and the date
// the new salaries take effect, sees every salary of both tables now and
// after, and applies it to both files at once, or brings back any pair of the
// archive. Both changes are confirmed first. Everything it computes and writes
// comes from paycalc/indexation.h; the window reads the boxes and shows the
// results and the messages.
//
// A top-level window (also when given a parent); closing it deletes it.
class FormIndexation : public QWidget
{
    Q_OBJECT

public:
    explicit FormIndexation(const QString& dataFolder, QWidget* parent = nullptr,
                            tools::Dialogs* dialogs = nullptr);
    ~FormIndexation() override;

signals:
    // Both salary files were replaced (an indexation or a restore): whatever
    // shows their salaries should read them again. Once per change.
    void tablesChanged();

private:
    void onPercentTextTextChanged();
    void onApplyButtonClicked();
    void onRestoreButtonClicked();
    void onArchiveListItemSelectionChanged();

    // Reads both files and the archive afresh and shows them.
    void reload();
    // Fills the table from the tables read, with the new salaries at the
    // percentage typed (none while it is not a valid one).
    void showPreview();
    // Lists the archived pairs, the newest one that can be restored selected.
    void showArchive();
    // The archived pair selected, if it can be restored.
    std::optional<paycalc::indexation::ArchivedPair> selectedPair() const;
    void finish(const paycalc::indexation::Outcome& outcome);

    std::unique_ptr<Ui::FormIndexation> ui;
    QString m_dataFolder;
    Dialogs& m_dialogs;
    paycalc::indexation::Indexer m_indexer;
    std::optional<paycalc::indexation::TablePair> m_tables;
    QList<paycalc::indexation::ArchivedPair> m_archive; // as listed, newest first
};

} // namespace tools
