#pragma once

#include "paycalc/controls.h"
#include "paycalc/message.h"

#include <QString>
#include <QStringList>

namespace paycalc {

// What the engine asks of the main window. The engine calls these in the exact
// order the window must show them; the window only copies texts and states to
// its controls. A window must not call back into the engine from inside these
// calls (the engine reports consequences such as a box rewrite itself).
class FormSink
{
public:
    virtual ~FormSink() = default;

    virtual void setTitle(const QString& title) = 0;

    // An amount or hand-over label's caption was written (also when the text is
    // the same as before; a window may skip repainting an unchanged text).
    virtual void setCaption(Label label, const QString& text) = 0;

    // A free-entry box was rewritten by the engine (its normal form).
    virtual void setBoxText(Box box, const QString& text) = 0;

    virtual void setMirror(Mirror mirror, const QString& text) = 0;

    virtual void addListItems(List list, const QStringList& items) = 0;
    // Empties a list (its salary file was replaced); no rule runs.
    virtual void clearListItems(List list) = 0;
    // The program set a list's selection (-1: none). The window shows it and
    // does not run the list's rule again: the engine already has.
    virtual void setListIndex(List list, int index) = 0;
    // Sets the edit text of a list and clears its selection (Combo14's " Дети").
    virtual void setListEditText(List list, const QString& text) = 0;
    virtual void setListEnabled(List list, bool enabled) = 0;

    virtual void setTimerRunning(Timer timer, bool running) = 0;

    // Shows a modal message box and returns when the user has closed it.
    virtual void showMessage(const Message& message) = 0;
};

} // namespace paycalc
