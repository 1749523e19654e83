#include "payslip/messagebox.h"

#include "platform/platform.h"

namespace payslip {

void showMessageBox(QWidget* parent, const paycalc::Message& message)
{
    platform::showMessageBox(parent, message);
}

} // namespace payslip
