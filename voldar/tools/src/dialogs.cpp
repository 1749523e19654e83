#include "tools/dialogs.h"

#include "platform/boxes.h"
#include "platform/platform.h"

namespace tools {

void Dialogs::showMessage(QWidget* parent, const paycalc::Message& message)
{
    platform::showMessageBox(parent, message);
}

bool Dialogs::ask(QWidget* parent, const paycalc::Message& question)
{
    return platform::showBox(parent,
                             {platform::Box::Kind::Question, question.title, question.text});
}

std::optional<QString> Dialogs::askText(QWidget* parent, const QString& prompt,
                                        const QString& title, const QString& initial)
{
    return platform::askText(parent, prompt, title, initial);
}

Dialogs& Dialogs::standard()
{
    static Dialogs dialogs;
    return dialogs;
}

} // namespace tools
