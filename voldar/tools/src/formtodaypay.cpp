#include "tools/formtodaypay.h"

#include "paycalc/wholefile.h"
#include "platform/titles.h"
#include "tools/dialogs.h"
#include "ui_formtodaypay.h"

#include <optional>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStandardPaths>

namespace tools {

namespace todaypay = paycalc::todaypay;

namespace {

using todaypay::Amount;
using todaypay::Input;
using todaypay::InputKind;

// A refused box: a red frame until its text is mended.
const QString RefusedStyle = QStringLiteral("QLineEdit { border: 2px solid #c00000; }");

// The choices are a few hundred bytes; a far larger file is not ours to read.
constexpr qint64 ChoicesFileLimit = 64 * 1024;

QByteArray readChoicesFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > ChoicesFileLimit)
        return {};
    return file.readAll();
}

// The choices written whole, in the user's configuration folder (made when
// missing). An error text, or nothing on success.
std::optional<QString> writeChoicesFile(const QString& path, const QByteArray& bytes)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return u"Не удалось создать папку '" + QDir::toNativeSeparators(folder) + u"'";
    const QString failure = paycalc::saveWholeFile(path, bytes);
    if (!failure.isEmpty())
        return failure;
    return std::nullopt;
}

paycalc::Message saveFailedMessage(const QString& path, const QString& reason)
{
    return {u"Не удалось сохранить выбранные значения в файл '" + QDir::toNativeSeparators(path) +
                u"'\r" + reason,
            QStringLiteral("Ошибка"), paycalc::Message::Icon::Error};
}

template <typename Enum, std::size_t Count> constexpr std::array<Enum, Count> allOf()
{
    std::array<Enum, Count> all{};
    for (std::size_t i = 0; i < Count; ++i)
        all[i] = static_cast<Enum>(i);
    return all;
}
constexpr auto AllInputs = allOf<Input, todaypay::InputCount>();
constexpr auto AllAmounts = allOf<Amount, todaypay::AmountCount>();

} // namespace

FormTodayPay::FormTodayPay(const QString& dataFolder, const QString& choicesPath,
                           MainChoices mainChoices, QWidget* parent, Dialogs* dialogs)
    : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::FormTodayPay>()),
      m_choicesPath(choicesPath), m_mainChoices(std::move(mainChoices)),
      m_dialogs(dialogs != nullptr ? *dialogs : Dialogs::standard()), m_pay(dataFolder)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf16(titles::FormTodayPay));

    m_inputCaptions = {ui->RankCaption,
                       ui->GradeCaption,
                       ui->ManualSalaryCaption,
                       ui->YearsCaption,
                       ui->QualificationCaption,
                       ui->StateSecretCaption,
                       ui->SpecialConditionsCaption,
                       ui->RiskCaption,
                       ui->AchievementsCaption,
                       ui->PremiumCaption,
                       ui->RegionalCoefficientCaption,
                       ui->NorthernPercentCaption,
                       ui->MaterialAidCaption,
                       ui->ChildrenCaption,
                       ui->IncomeSoFarCaption};
    m_inputs = {ui->RankCombo,
                ui->GradeCombo,
                ui->ManualSalaryText,
                ui->YearsText,
                ui->QualificationCombo,
                ui->StateSecretText,
                ui->SpecialConditionsText,
                ui->RiskText,
                ui->AchievementsText,
                ui->PremiumText,
                ui->RegionalCoefficientText,
                ui->NorthernPercentText,
                ui->MaterialAidCheck,
                ui->ChildrenText,
                ui->IncomeSoFarText};
    m_amountCaptions = {ui->AmountRankSalaryCaption,
                        ui->AmountPositionSalaryCaption,
                        ui->AmountBaseSalaryCaption,
                        ui->AmountLongServiceCaption,
                        ui->AmountQualificationCaption,
                        ui->AmountStateSecretCaption,
                        ui->AmountSpecialConditionsCaption,
                        ui->AmountRiskCaption,
                        ui->AmountAchievementsCaption,
                        ui->AmountPremiumCaption,
                        ui->AmountRegionalCaption,
                        ui->AmountNorthernCaption,
                        ui->AmountMaterialAidCaption,
                        ui->AmountAccruedCaption,
                        ui->AmountChildDeductionCaption,
                        ui->AmountIncomeTaxCaption,
                        ui->AmountNetPayCaption};
    m_amounts = {ui->AmountRankSalary,        ui->AmountPositionSalary, ui->AmountBaseSalary,
                 ui->AmountLongService,       ui->AmountQualification,  ui->AmountStateSecret,
                 ui->AmountSpecialConditions, ui->AmountRisk,           ui->AmountAchievements,
                 ui->AmountPremium,           ui->AmountRegional,       ui->AmountNorthern,
                 ui->AmountMaterialAid,       ui->AmountAccrued,        ui->AmountChildDeduction,
                 ui->AmountIncomeTax,         ui->AmountNetPay};

    showCaptions();
    restoreChoices();
    showInputs();
    showSheet();
    connectInputs();
    ui->TakeFromMainButton->setEnabled(static_cast<bool>(m_mainChoices));
    connect(ui->TakeFromMainButton, &QPushButton::clicked, this,
            &FormTodayPay::onTakeFromMainButtonClicked);
    connect(ui->CloseButton, &QPushButton::clicked, this, &QWidget::close);
}

FormTodayPay::~FormTodayPay() = default;

QString FormTodayPay::defaultChoicesPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + u"/todaypay.txt";
}

void FormTodayPay::reloadTables()
{
    m_pay.reload();
    showInputs();
    showSheet();
}

void FormTodayPay::onListCurrentIndexChanged(Input input, int index)
{
    m_pay.setIndex(input, index);
    showSheet();
    saveChoices();
}

void FormTodayPay::onBoxTextChanged(Input input, const QString& text)
{
    m_pay.setText(input, text);
    showSheet();
    saveChoices();
}

void FormTodayPay::onCheckBoxToggled(Input input, bool checked)
{
    m_pay.setChecked(input, checked);
    showSheet();
    saveChoices();
}

// Set through the lists themselves, so that the choice runs the same way as
// the user's; an index the list does not have leaves it without a choice.
void FormTodayPay::onTakeFromMainButtonClicked()
{
    const auto [rank, grade] = m_mainChoices();
    ui->RankCombo->setCurrentIndex(rank);
    ui->GradeCombo->setCurrentIndex(grade);
}

// The captions are the engine's; they name the inputs and amounts to a
// screen reader too.
void FormTodayPay::showCaptions()
{
    for (const Input input : AllInputs) {
        const QString caption = todaypay::caption(input);
        m_inputCaptions[static_cast<int>(input)]->setText(caption);
        control(input)->setAccessibleName(caption);
    }
    for (const Amount amount : AllAmounts) {
        const QString caption = todaypay::caption(amount);
        m_amountCaptions[static_cast<int>(amount)]->setText(caption);
        m_amounts[static_cast<int>(amount)]->setAccessibleName(todaypay::accessibleName(amount));
    }
}

void FormTodayPay::connectInputs()
{
    for (const Input input : AllInputs) {
        switch (todaypay::kindOf(input)) {
        case InputKind::List:
            connect(static_cast<QComboBox*>(control(input)), &QComboBox::currentIndexChanged, this,
                    [this, input](int index) { onListCurrentIndexChanged(input, index); });
            break;
        case InputKind::Box:
            connect(static_cast<QLineEdit*>(control(input)), &QLineEdit::textChanged, this,
                    [this, input](const QString& text) { onBoxTextChanged(input, text); });
            break;
        case InputKind::CheckBox:
            connect(static_cast<QCheckBox*>(control(input)), &QCheckBox::toggled, this,
                    [this, input](bool checked) { onCheckBoxToggled(input, checked); });
            break;
        }
    }
}

void FormTodayPay::showInputs()
{
    for (const Input input : AllInputs) {
        const QSignalBlocker blocker(control(input));
        switch (todaypay::kindOf(input)) {
        case InputKind::List: {
            auto* list = static_cast<QComboBox*>(control(input));
            list->clear();
            list->addItems(m_pay.items(input));
            list->setCurrentIndex(m_pay.index(input));
            break;
        }
        case InputKind::Box:
            static_cast<QLineEdit*>(control(input))->setText(m_pay.text(input));
            break;
        case InputKind::CheckBox:
            static_cast<QCheckBox*>(control(input))->setChecked(m_pay.isChecked(input));
            break;
        }
    }
}

void FormTodayPay::showSheet()
{
    for (const Input input : AllInputs)
        showMark(input);
    for (const Amount amount : AllAmounts) {
        QLabel* label = m_amounts[static_cast<int>(amount)];
        const QString text = m_pay.text(amount);
        label->setText(text);
        label->setAccessibleDescription(text);
        label->setToolTip(m_pay.toolTip(amount));
    }
    ui->ProblemLabel->setText(m_pay.problem());
    ui->ProblemLabel->setVisible(!m_pay.canCompute());
    ui->FooterLabel->setText(m_pay.footerText());
}

// The tool tip names the allowed range; a screen reader hears it as the
// box's description.
void FormTodayPay::showMark(Input input)
{
    QWidget* widget = control(input);
    const bool refused = !m_pay.isAccepted(input);
    widget->setToolTip(m_pay.toolTip(input));
    // Setting a style sheet polishes the widget again, even an unchanged one.
    const QString style = refused ? RefusedStyle : QString();
    if (widget->styleSheet() != style)
        widget->setStyleSheet(style);
}

// A missing or unreadable file leaves the engine's starting choices.
void FormTodayPay::restoreChoices()
{
    const QByteArray kept = readChoicesFile(m_choicesPath);
    if (!kept.isEmpty())
        m_pay.restoreChoices(kept);
    m_savedChoices = m_pay.choices();
}

// Written after every change, so that nothing is lost when the program ends
// without closing the window.
void FormTodayPay::saveChoices()
{
    const QByteArray choices = m_pay.choices();
    if (choices == m_savedChoices)
        return;
    if (const std::optional<QString> failure = writeChoicesFile(m_choicesPath, choices)) {
        if (!m_saveFailureShown)
            m_dialogs.showMessage(this, saveFailedMessage(m_choicesPath, *failure));
        m_saveFailureShown = true;
        return;
    }
    m_savedChoices = choices;
    m_saveFailureShown = false;
}

} // namespace tools
