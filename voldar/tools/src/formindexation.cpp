#include "tools/formindexation.h"

#include "platform/titles.h"
#include "tools/dialogs.h"
#include "ui_formindexation.h"

#include <algorithm>
#include <limits>
#include <QDate>
#include <QHeaderView>
#include <QTableWidgetItem>

namespace tools {

namespace indexation = paycalc::indexation;

namespace {

// Puts `cells` into row `row` of `table`; amounts, from column `firstAmount`
// on, line up on their last digit.
void fillRow(QTableWidget* table, int row, const QStringList& cells,
             int firstAmount = std::numeric_limits<int>::max())
{
    for (int column = 0; column < int(cells.size()); ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        item->setToolTip(cells[column]); // headings are longer than their column
        if (column >= firstAmount)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table->setItem(row, column, item);
    }
}

} // namespace

FormIndexation::FormIndexation(const QString& dataFolder, QWidget* parent, Dialogs* dialogs)
    : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::FormIndexation>()),
      m_dataFolder(dataFolder), m_dialogs(dialogs != nullptr ? *dialogs : Dialogs::standard()),
      m_indexer(dataFolder)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf16(titles::FormIndexation));
    // Names and headings take the room the other columns leave.
    for (QTableWidget* table : {ui->PreviewTable, ui->ArchiveList})
        table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ui->PreviewTable->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    for (int column = 1; column < ui->ArchiveList->columnCount(); ++column)
        ui->ArchiveList->horizontalHeader()->setSectionResizeMode(column, QHeaderView::Stretch);
    ui->DateText->setText(indexation::dateText(QDate::currentDate()));

    connect(ui->PercentText, &QLineEdit::textChanged, this,
            &FormIndexation::onPercentTextTextChanged);
    connect(ui->ApplyButton, &QPushButton::clicked, this, &FormIndexation::onApplyButtonClicked);
    connect(ui->RestoreButton, &QPushButton::clicked, this,
            &FormIndexation::onRestoreButtonClicked);
    connect(ui->ArchiveList, &QTableWidget::itemSelectionChanged, this,
            &FormIndexation::onArchiveListItemSelectionChanged);
    connect(ui->CloseButton, &QPushButton::clicked, this, &QWidget::close);
    reload();
}

FormIndexation::~FormIndexation() = default;

void FormIndexation::onPercentTextTextChanged()
{
    showPreview();
}

void FormIndexation::onApplyButtonClicked()
{
    // Input the indexation refuses, or tables it cannot read, are refused
    // with their reason and nothing to confirm.
    const std::optional<paycalc::Message> question =
        indexation::applyQuestion(ui->PercentText->text(), ui->DateText->text());
    if (m_tables && question && !m_dialogs.ask(this, *question))
        return;
    const indexation::Outcome outcome =
        m_indexer.apply(ui->PercentText->text(), ui->DateText->text());
    // The table in force is the new one now: its "now" column shows the new
    // salaries, and indexing it once more takes typing the percentage again.
    if (outcome.done)
        ui->PercentText->clear();
    finish(outcome);
}

void FormIndexation::onRestoreButtonClicked()
{
    const std::optional<indexation::ArchivedPair> pair = selectedPair();
    if (!pair || !m_dialogs.ask(this, indexation::restoreQuestion(*pair)))
        return;
    finish(m_indexer.restore(pair->key));
}

void FormIndexation::onArchiveListItemSelectionChanged()
{
    ui->RestoreButton->setEnabled(selectedPair().has_value());
}

void FormIndexation::reload()
{
    const indexation::TablesReading reading = indexation::readTables(m_dataFolder);
    m_tables = reading.tables;
    ui->InForceLabel->setText(indexation::inForceText(reading));
    showPreview();
    showArchive();
}

void FormIndexation::showPreview()
{
    const QList<indexation::PreviewRow> rows =
        m_tables ? indexation::preview(*m_tables, indexation::parsePercent(ui->PercentText->text()))
                 : QList<indexation::PreviewRow>();
    ui->PreviewTable->setRowCount(int(rows.size()));
    for (int row = 0; row < int(rows.size()); ++row) {
        const indexation::PreviewRow& shown = rows[row];
        fillRow(ui->PreviewTable, row, {shown.table, shown.name, shown.current, shown.indexed}, 2);
    }
}

void FormIndexation::showArchive()
{
    m_archive = m_indexer.archivedPairs();
    QTableWidget* list = ui->ArchiveList;
    list->clearSelection();
    list->setRowCount(int(m_archive.size()));
    for (int row = 0; row < int(m_archive.size()); ++row) {
        const indexation::ArchivedPair& pair = m_archive[row];
        fillRow(list, row, {pair.changed, pair.headings[0], pair.headings[1], pair.whyNot});
    }
    const auto restorable = std::find_if(m_archive.cbegin(), m_archive.cend(),
                                         [](const auto& pair) { return pair.whyNot.isEmpty(); });
    if (restorable != m_archive.cend())
        list->selectRow(int(restorable - m_archive.cbegin()));
    onArchiveListItemSelectionChanged();
}

std::optional<indexation::ArchivedPair> FormIndexation::selectedPair() const
{
    const QList<QTableWidgetSelectionRange> ranges = ui->ArchiveList->selectedRanges();
    if (ranges.isEmpty())
        return std::nullopt;
    const int row = ranges.constFirst().topRow();
    if (row < 0 || row >= int(m_archive.size()) || !m_archive[row].whyNot.isEmpty())
        return std::nullopt;
    return m_archive[row];
}

void FormIndexation::finish(const indexation::Outcome& outcome)
{
    reload();
    // Before the message, so that the main window shows the new salaries
    // while the user reads it.
    if (outcome.done)
        emit tablesChanged();
    m_dialogs.showMessage(this, outcome.message);
}

} // namespace tools
