#pragma once

#include "paycalc/formsink.h"

#include <QHash>
#include <QStringList>

using namespace Qt::StringLiterals;

// A FormSink that keeps every call, in order, as one line of text, and the
// last text of every label, box and mirror.
class RecordingSink : public paycalc::FormSink
{
public:
    QStringList calls;
    QHash<paycalc::Label, QString> captions;
    QHash<paycalc::Box, QString> boxes;
    QHash<paycalc::List, QStringList> items;
    QList<paycalc::Message> messages;
    QString title;

    void setTitle(const QString& text) override
    {
        title = text;
        calls << u"title "_s + text;
    }
    void setCaption(paycalc::Label label, const QString& text) override
    {
        captions[label] = text;
        calls << paycalc::objectName(label) + u" = " + text;
    }
    void setBoxText(paycalc::Box box, const QString& text) override
    {
        boxes[box] = text;
        calls << paycalc::objectName(box) + u" := " + text;
    }
    void setMirror(paycalc::Mirror mirror, const QString& text) override
    {
        calls << paycalc::objectName(mirror) + u" = '" + text + u'\'';
    }
    void addListItems(paycalc::List list, const QStringList& added) override
    {
        items[list] += added;
        calls << u"items "_s + paycalc::objectName(list) + u' ' + QString::number(added.size());
    }
    void clearListItems(paycalc::List list) override
    {
        items.remove(list);
        calls << u"clear "_s + paycalc::objectName(list);
    }
    void setListIndex(paycalc::List list, int index) override
    {
        calls << u"index "_s + paycalc::objectName(list) + u' ' + QString::number(index);
    }
    void setListEditText(paycalc::List list, const QString& text) override
    {
        calls << u"edit "_s + paycalc::objectName(list) + u" '" + text + u'\'';
    }
    void setListEnabled(paycalc::List list, bool enabled) override
    {
        calls << (enabled ? u"enable "_s : u"disable "_s) + paycalc::objectName(list);
    }
    void setTimerRunning(paycalc::Timer timer, bool running) override
    {
        calls << (running ? u"start "_s : u"stop "_s) + paycalc::objectName(timer);
    }
    void showMessage(const paycalc::Message& message) override
    {
        messages << message;
        calls << u"message "_s + message.text;
    }

    // The calls that write a caption, as the labels' names, in order.
    QStringList captionOrder() const
    {
        QStringList labels;
        for (const QString& call : calls) {
            if (call.startsWith(u"Label") && call.contains(u" = "))
                labels << call.section(u' ', 0, 0);
        }
        return labels;
    }
    qsizetype indexOf(const QString& call) const { return calls.indexOf(call); }
};
