#include "tools/formindexation.h"

#include "platform/titles.h"
#include "tools/dialogs.h"
#include "ui_formindexation.h"

#include <QDate>
#include <QHeaderView>
#include <QTableWidgetItem>

namespace tools {

namespace indexation = paycalc::indexation;

FormIndexation::FormIndexation(const QString& dataFolder, QWidget* parent, Dialogs* dialogs)
    : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::FormIndexation>()),
      m_dataFolder(dataFolder), m_dialogs(dialogs != nullptr ? *dialogs : Dialogs::standard()),
      m_indexer(dataFolder)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf16(titles::FormIndexation));
    ui->PreviewTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ui->PreviewTable->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    ui->DateText->setText(indexation::dateText(QDate::currentDate()));

    connect(ui->PercentText, &QLineEdit::textChanged, this,
            &FormIndexation::onPercentTextTextChanged);
    connect(ui->ApplyButton, &QPushButton::clicked, this, &FormIndexation::onApplyButtonClicked);
    connect(ui->RestoreButton, &QPushButton::clicked, this,
            &FormIndexation::onRestoreButtonClicked);
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
    const indexation::Outcome outcome =
        m_indexer.apply(ui->PercentText->text(), ui->DateText->text());
    // The table in force is the new one now: its "now" column shows the new
    // salaries, and indexing it once more takes typing the percentage again.
    if (outcome.done)
        ui->PercentText->clear();
    reload();
    report(outcome);
}

void FormIndexation::onRestoreButtonClicked()
{
    const indexation::Outcome outcome = m_indexer.restorePrevious();
    reload();
    report(outcome);
}

void FormIndexation::reload()
{
    const indexation::TablesReading reading = indexation::readTables(m_dataFolder);
    m_tables = reading.tables;
    ui->InForceLabel->setText(indexation::inForceText(reading));
    ui->RestoreButton->setEnabled(m_indexer.canRestore());
    showPreview();
}

void FormIndexation::showPreview()
{
    const QList<indexation::PreviewRow> rows =
        m_tables ? indexation::preview(*m_tables, indexation::parsePercent(ui->PercentText->text()))
                 : QList<indexation::PreviewRow>();
    QTableWidget* table = ui->PreviewTable;
    table->setRowCount(int(rows.size()));
    for (int row = 0; row < int(rows.size()); ++row) {
        const indexation::PreviewRow& shown = rows[row];
        const QStringList cells = {shown.table, shown.name, shown.current, shown.indexed};
        for (int column = 0; column < int(cells.size()); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            // Amounts line up on their last digit.
            if (column >= 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(row, column, item);
        }
    }
}

void FormIndexation::report(const indexation::Outcome& outcome)
{
    m_dialogs.showMessage(this, outcome.message);
}

} // namespace tools
