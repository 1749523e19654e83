#pragma once

#include "tools/dialogs.h"

#include <optional>
#include <QList>
#include <QStringList>

// Records every message box and answers input boxes from a queue, so that the
// windows can be driven without a modal loop.
class RecordingDialogs : public tools::Dialogs
{
public:
    struct Question
    {
        QString prompt;
        QString title;
        QString initial;
    };

    void showMessage(QWidget*, const paycalc::Message& message) override
    {
        messages.append(message);
    }

    std::optional<QString> askText(QWidget*, const QString& prompt, const QString& title,
                                   const QString& initial) override
    {
        questions.append({prompt, title, initial});
        if (answers.isEmpty())
            return std::nullopt;
        return answers.takeFirst();
    }

    QList<paycalc::Message> messages;
    QList<Question> questions;
    QList<std::optional<QString>> answers;
};
