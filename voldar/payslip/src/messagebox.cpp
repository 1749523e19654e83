#include "payslip/messagebox.h"

#include <QMessageBox>

namespace payslip {

namespace {

QMessageBox::Icon iconOf(paycalc::Message::Icon icon)
{
    switch (icon) {
    case paycalc::Message::Icon::Information:
        return QMessageBox::Information;
    case paycalc::Message::Icon::Warning:
        return QMessageBox::Warning;
    case paycalc::Message::Icon::Error:
        return QMessageBox::Critical;
    case paycalc::Message::Icon::Question:
        return QMessageBox::Question;
    case paycalc::Message::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void showMessageBox(QWidget* parent, const paycalc::Message& message)
{
    QString text = message.text;
    text.replace(u'\r', u'\n');
    QMessageBox box(iconOf(message.icon), message.title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace payslip
