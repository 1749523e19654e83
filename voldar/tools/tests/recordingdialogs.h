#pragma once

#include "tools/dialogs.h"

#include <optional>
#include <QList>
#include <QStringList>

// Records every message box and answers questions and input boxes from
// queues, so that the windows can be driven without a modal loop.
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

    // Yes once the replies run out.
    bool ask(QWidget*, const paycalc::Message& question) override
    {
        asked.append(question);
        return replies.isEmpty() || replies.takeFirst();
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
    QList<paycalc::Message> asked;
    QList<bool> replies;
    QList<Question> questions;
    QList<std::optional<QString>> answers;
};
