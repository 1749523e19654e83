#include "tools/dialogs.h"

#include <QInputDialog>
#include <QMessageBox>

namespace tools {

namespace {

QMessageBox::Icon boxIcon(paycalc::Message::Icon icon)
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

// Message pieces are joined with carriage returns; a label breaks lines only
// at line feeds.
QString shownText(QString text)
{
    return text.replace(u'\r', u'\n');
}

} // namespace

void Dialogs::showMessage(QWidget* parent, const paycalc::Message& message)
{
    QMessageBox box(boxIcon(message.icon), message.title, shownText(message.text), QMessageBox::Ok,
                    parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

std::optional<QString> Dialogs::askText(QWidget* parent, const QString& prompt,
                                        const QString& title, const QString& initial)
{
    bool accepted = false;
    const QString text = QInputDialog::getText(parent, title, shownText(prompt), QLineEdit::Normal,
                                               initial, &accepted);
    if (!accepted)
        return std::nullopt;
    return text;
}

Dialogs& Dialogs::standard()
{
    static Dialogs dialogs;
    return dialogs;
}

} // namespace tools
