#pragma once

#include "paycalc/marquee.h"
#include "paycalc/message.h"

#include <array>
#include <optional>
#include <QString>

// The four-function calculator. It works on decimal text: every operand is
// display text read as the leading number, every result is written back as
// caption-form text. One operation is pending at a time; pressing equals
// again repeats it with the stored operand and the number now shown.
//
// One object lives for the whole run of the program, so that the operands,
// the pending operation and the ticker position survive the window.
namespace tools {

class Calculator
{
public:
    enum class Operation
    {
        None,
        Add,
        Subtract,
        Multiply,
        Divide
    };

    // An operation button or key: keeps the display text in that
    // operation's slot and makes the operation pending. Returns the new
    // display text (empty).
    QString startOperation(Operation operation, const QString& display);

    struct Outcome
    {
        QString display; // unchanged when nothing is pending or on an error
        std::optional<paycalc::Message> error;
    };
    // Equals: applies the pending operation to its slot and the display.
    // A result that is not a finite number (division by zero, overflow) is
    // refused with a message and leaves the display as it was.
    Outcome evaluate(const QString& display) const;

    // "CE": empties every slot and forgets the pending operation. Returns the
    // new display text (empty).
    QString clear();

    static QString appendDigit(const QString& display, int digit);
    static QString appendPoint(const QString& display);

    Operation pendingOperation() const { return m_pending; }
    const QString& operand(Operation operation) const;

    // The ticker text: `blanks` blanks before the invitation. Rebuilding it
    // with the same text keeps the position, so that a window opened again
    // continues where the last one stopped.
    void buildTicker(int blanks);
    // Advances the ticker and returns the text to show.
    QString tickTicker() { return m_ticker.tick(); }
    const paycalc::Marquee& ticker() const { return m_ticker; }

    static QString tickerInvitation();

private:
    std::array<QString, 5> m_operands; // indexed by Operation; None unused
    Operation m_pending = Operation::None;
    paycalc::Marquee m_ticker;
};

// What a key typed into the display does.
struct CalculatorKey
{
    enum class Kind
    {
        PassThrough, // no character: the display handles it (arrows, Delete)
        Digit,       // typed into the display at the caret
        Ignore,      // swallowed
        Operation,   // as the operation's button
        Equals,      // as the equals button
        Point        // "." appended at the end, caret after it
    };
    Kind kind = Kind::PassThrough;
    Calculator::Operation operation = Calculator::Operation::None;
    // The operation indicator's new text; std::nullopt leaves it as it is.
    std::optional<QString> indicator;
};

// `key` is a Qt::Key value, `text` the characters the key produces.
CalculatorKey calculatorKey(int key, const QString& text);

// The error box of a refused evaluation.
paycalc::Message calculationErrorMessage();

} // namespace tools
