#include "tools/dialogs.h"

#include "platform/platform.h"

#include <QInputDialog>

namespace tools {

namespace {

// Message pieces are joined with carriage returns; a label breaks lines only
// at line feeds.
QString shownText(QString text)
{
    return text.replace(u'\r', u'\n');
}

} // namespace

void Dialogs::showMessage(QWidget* parent, const paycalc::Message& message)
{
    platform::showMessageBox(parent, message);
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
