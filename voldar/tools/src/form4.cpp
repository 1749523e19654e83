#include "tools/form4.h"

#include "platform/titles.h"
#include "platform/twips.h"
#include "tools/activation.h"
#include "tools/dialogs.h"
#include "tools/handover.h"
#include "ui_form4.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QTimer>

namespace tools {

namespace {

// The ticker starts this many blanks further right than the field is wide.
constexpr int TickerLeadIn = 40;

} // namespace

Form4::Form4(Calculator& calculator, QWidget* parent, Dialogs* dialogs)
    : QWidget(parent, Qt::Window), ui(std::make_unique<Ui::Form4>()), m_calculator(calculator),
      m_dialogs(dialogs != nullptr ? *dialogs : Dialogs::standard())
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf16(titles::Form4));
    setFixedSize(size());
    QPalette pagePalette = palette();
    pagePalette.setColor(QPalette::Window, QColor(236, 254, 244));
    setPalette(pagePalette);
    setAutoFillBackground(true);

    const std::array<QPushButton*, 10> digits{ui->Digit0, ui->Digit1, ui->Digit2, ui->Digit3,
                                              ui->Digit4, ui->Digit5, ui->Digit6, ui->Digit7,
                                              ui->Digit8, ui->Digit9};
    for (int digit = 0; digit < int(digits.size()); ++digit)
        connect(digits[digit], &QPushButton::clicked, this,
                [this, digit] { onDigitClicked(digit); });
    const auto operation = [this](QPushButton* button, Calculator::Operation op) {
        connect(button, &QPushButton::clicked, this, [this, op] { onOperationClicked(op); });
    };
    operation(ui->AddButton, Calculator::Operation::Add);
    operation(ui->SubtractButton, Calculator::Operation::Subtract);
    operation(ui->MultiplyButton, Calculator::Operation::Multiply);
    operation(ui->DivideButton, Calculator::Operation::Divide);
    connect(ui->PointButton, &QPushButton::clicked, this, &Form4::onPointButtonClicked);
    connect(ui->EqualsButton, &QPushButton::clicked, this, &Form4::onEqualsButtonClicked);
    connect(ui->ClearButton, &QPushButton::clicked, this, &Form4::onClearButtonClicked);
    connect(ui->TransferButton, &QPushButton::clicked, this, &Form4::onTransferButtonClicked);
    ui->Display->installEventFilter(this);
    connect(new ActivationWatcher(this), &ActivationWatcher::activated, this, &Form4::onActivated);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer"));
    connect(m_timer, &QTimer::timeout, this, &Form4::onTimerTimeout);

    ui->Display->clear();
    m_calculator.buildTicker(platform::blanksAcross(ui->Ticker, TickerLeadIn));
    m_timer->start(200);
}

Form4::~Form4() = default;

void Form4::closeEvent(QCloseEvent* event)
{
    m_timer->stop();
    emit closed();
    event->accept();
}

bool Form4::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->Display && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        return onDisplayKeyPressed(key->key(), key->text());
    }
    return QWidget::eventFilter(watched, event);
}

void Form4::onActivated()
{
    // A new use of the calculator starts on an empty display; a pending
    // operation can be finished on the new number.
    m_timer->start(200);
    ui->Display->clear();
}

void Form4::onDigitClicked(int digit)
{
    setDisplay(Calculator::appendDigit(ui->Display->text(), digit));
}

void Form4::onPointButtonClicked()
{
    setDisplay(Calculator::appendPoint(ui->Display->text()));
}

void Form4::onOperationClicked(Calculator::Operation operation)
{
    setDisplay(m_calculator.startOperation(operation, ui->Display->text()));
}

void Form4::onEqualsButtonClicked()
{
    const Calculator::Outcome outcome = m_calculator.evaluate(ui->Display->text());
    if (outcome.error) {
        m_dialogs.showMessage(this, *outcome.error);
        return;
    }
    setDisplay(outcome.display);
}

void Form4::onClearButtonClicked()
{
    setDisplay(m_calculator.clear());
}

void Form4::onTransferButtonClicked()
{
    m_timer->stop();
    // The display text goes over as it stands, leading blank and all.
    handover::setCalculatorResult(ui->Display->text());
    emit transferred();
    hide();
}

void Form4::onTimerTimeout()
{
    ui->Ticker->setText(m_calculator.tickTicker());
    // The field shows its text from the first character on.
    ui->Ticker->setCursorPosition(0);
    // Typing always goes into the display.
    ui->Display->setFocus(Qt::OtherFocusReason);
}

bool Form4::onDisplayKeyPressed(int key, const QString& text)
{
    const CalculatorKey action = calculatorKey(key, text);
    if (action.indicator)
        ui->Indicator->setText(*action.indicator);
    switch (action.kind) {
    case CalculatorKey::Kind::PassThrough:
    case CalculatorKey::Kind::Digit:
        return false;
    case CalculatorKey::Kind::Ignore:
        return true;
    case CalculatorKey::Kind::Operation:
        onOperationClicked(action.operation);
        return true;
    case CalculatorKey::Kind::Equals:
        onEqualsButtonClicked();
        return true;
    case CalculatorKey::Kind::Point:
        onPointButtonClicked();
        ui->Display->end(false);
        return true;
    }
    return false;
}

void Form4::setDisplay(const QString& text)
{
    if (ui->Display->text() != text)
        ui->Display->setText(text);
}

} // namespace tools
