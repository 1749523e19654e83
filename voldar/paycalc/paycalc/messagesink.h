#pragma once

#include "paycalc/formsink.h"

#include <QList>

namespace paycalc {

// The engine without a window: every write is dropped and only the message
// boxes are kept, for code that runs the engine for its figures alone.
class MessageSink : public FormSink
{
public:
    QList<Message> messages;

    void setTitle(const QString&) override {}
    void setCaption(Label, const QString&) override {}
    void setBoxText(Box, const QString&) override {}
    void setMirror(Mirror, const QString&) override {}
    void addListItems(List, const QStringList&) override {}
    void clearListItems(List) override {}
    void setListIndex(List, int) override {}
    void setListEditText(List, const QString&) override {}
    void setListEnabled(List, bool) override {}
    void setTimerRunning(Timer, bool) override {}
    void showMessage(const Message& message) override { messages << message; }
};

} // namespace paycalc
