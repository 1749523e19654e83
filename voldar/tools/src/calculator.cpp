#include "tools/calculator.h"

#include "paycalc/numbers.h"
#include "platform/addresses.h"

#include <cmath>
#include <Qt>

namespace tools {

namespace {

std::size_t slot(Calculator::Operation operation)
{
    return static_cast<std::size_t>(operation);
}

} // namespace

QString Calculator::startOperation(Operation operation, const QString& display)
{
    if (operation == Operation::None)
        return display;
    m_operands[slot(operation)] = display;
    m_pending = operation;
    return {};
}

Calculator::Outcome Calculator::evaluate(const QString& display) const
{
    if (m_pending == Operation::None)
        return {display, std::nullopt};
    const double x = paycalc::leadingNumber(display);
    const double first = paycalc::leadingNumber(m_operands[slot(m_pending)]);
    double result = 0;
    switch (m_pending) {
    case Operation::Add:
        result = first + x;
        break;
    case Operation::Subtract:
        result = first - x;
        break;
    case Operation::Multiply:
        result = first * x;
        break;
    case Operation::Divide:
        result = first / x;
        break;
    case Operation::None:
        break;
    }
    // Division by zero and overflow alike give no number worth showing.
    if (!std::isfinite(result))
        return {display, calculationErrorMessage()};
    return {paycalc::captionNumber(result), std::nullopt};
}

QString Calculator::clear()
{
    m_operands = {};
    m_pending = Operation::None;
    return {};
}

QString Calculator::appendDigit(const QString& display, int digit)
{
    return display + QString::number(digit);
}

QString Calculator::appendPoint(const QString& display)
{
    return display + u'.';
}

const QString& Calculator::operand(Operation operation) const
{
    return m_operands[slot(operation)];
}

void Calculator::buildTicker(int blanks)
{
    paycalc::Marquee fresh;
    fresh.setText(tickerInvitation(), blanks);
    if (fresh.text() != m_ticker.text())
        m_ticker = fresh;
}

QString Calculator::tickerInvitation()
{
    return QStringLiteral("Посетите сайт программы Voldar : ") +
           QString::fromUtf16(addresses::Site) +
           QStringLiteral(" - новые версии, тарифы и оклады ");
}

CalculatorKey calculatorKey(int key, const QString& text)
{
    using Kind = CalculatorKey::Kind;
    using Op = Calculator::Operation;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return {Kind::Equals, Op::None, QStringLiteral("Равно")};
    // Keys without a character of their own edit the display as usual; Delete
    // is among them although some platforms report a DEL character for it.
    if (text.isEmpty() || key == Qt::Key_Delete || key == Qt::Key_Tab || key == Qt::Key_Backtab)
        return {Kind::PassThrough, Op::None, std::nullopt};
    if (text.size() == 1) {
        const QChar c = text.front();
        if (c >= u'0' && c <= u'9')
            return {Kind::Digit, Op::None, QString()};
        switch (c.unicode()) {
        case u'*':
            return {Kind::Operation, Op::Multiply, QStringLiteral("Умножение")};
        case u'+':
            return {Kind::Operation, Op::Add, QStringLiteral("Сложение")};
        case u'-':
            return {Kind::Operation, Op::Subtract, QStringLiteral("Вычетание")};
        case u'/':
            return {Kind::Operation, Op::Divide, QStringLiteral("Деление")};
        case u'.':
        case u',':
            return {Kind::Point, Op::None, QStringLiteral("Точка")};
        default:
            break;
        }
    }
    return {Kind::Ignore, Op::None, QString()};
}

paycalc::Message calculationErrorMessage()
{
    return {QStringLiteral(" Деление на ноль невозможно ! "), QStringLiteral(" Ошибка ! "),
            paycalc::Message::Icon::Error};
}

} // namespace tools
