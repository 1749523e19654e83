#include "tools/form8.h"

#include "paycalc/numbers.h"
#include "platform/titles.h"
#include "tools/dialogs.h"
#include "ui_form8.h"

namespace tools {

Form8::Form8(SalaryTexts salaries, QWidget* parent, Dialogs* dialogs)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), ui(std::make_unique<Ui::Form8>()),
      m_salaries(std::move(salaries)),
      m_dialogs(dialogs != nullptr ? *dialogs : Dialogs::standard())
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf16(titles::Form8));
    connect(ui->Command1, &QPushButton::clicked, this, &Form8::onCommand1Clicked);
    connect(ui->Command2, &QPushButton::clicked, this, &Form8::onCommand2Clicked);
}

Form8::~Form8() = default;

void Form8::onCommand1Clicked()
{
    estimate(PensionKind::Service);
}

void Form8::onCommand2Clicked()
{
    estimate(PensionKind::WorkExperience);
}

void Form8::estimate(PensionKind kind)
{
    const std::array<QString, 3> labels = m_salaries ? m_salaries() : std::array<QString, 3>{};
    PensionInputs inputs;
    inputs.rankSalary = paycalc::leadingNumber(labels[0]);
    inputs.raisedPositionSalary = paycalc::leadingNumber(labels[1]);
    inputs.longServiceBonus = paycalc::leadingNumber(labels[2]);
    inputs.otherAllowances = paycalc::leadingNumber(ui->OtherAllowancesText->text());
    inputs.legalSupplement = ui->LegalSupplementCheck->isChecked();

    if (const auto refusal = missingSalaries(inputs)) {
        m_dialogs.showMessage(this, *refusal);
        return;
    }
    // A cancelled box reads as 0 years, which the minimum refuses.
    const std::optional<QString> answer =
        m_dialogs.askText(this, yearsPrompt(kind), yearsTitle(), QString());
    const double years = paycalc::leadingNumber(answer.value_or(QString()));
    m_dialogs.showMessage(this, pensionMessage(kind, inputs, years));
}

} // namespace tools
