#pragma once

#include "paycalc/message.h"

#include <functional>

class QWidget;

namespace payslip {

// Shows a message box over `parent` and returns when it is closed. Windows keep
// one of these so that tests can record the boxes instead of showing them.
using MessageHook = std::function<void(QWidget* parent, const paycalc::Message& message)>;

// The real modal box with the message's title, icon and an OK button; the CR
// characters that join the pieces of a text become line breaks on screen.
void showMessageBox(QWidget* parent, const paycalc::Message& message);

} // namespace payslip
