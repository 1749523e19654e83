#pragma once

#include "paycalc/message.h"

#include <optional>
#include <QString>

class QWidget;

namespace tools {

// The modal boxes of the side windows. The windows ask through this interface
// so that a test can record the messages and answer the questions and input
// boxes.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // A message box with one OK button; returns when it is closed.
    virtual void showMessage(QWidget* parent, const paycalc::Message& message);

    // A Yes/No question (Yes first and default); true for Yes.
    virtual bool ask(QWidget* parent, const paycalc::Message& question);

    // A one-line input box; std::nullopt when it is cancelled.
    virtual std::optional<QString> askText(QWidget* parent, const QString& prompt,
                                           const QString& title, const QString& initial);

    // The message and input boxes of the desktop. Holds no state.
    static Dialogs& standard();
};

} // namespace tools
