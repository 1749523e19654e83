#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

// A control of the main window's design by its object name. The names are
// fixed by the form; a missing one is a broken build, not a user's situation.
template <class T> T* namedChild(const QObject& parent, const QString& name)
{
    T* child = parent.findChild<T*>(name);
    if (child == nullptr)
        qFatal("Form1: control %s is missing from the form", qUtf8Printable(name));
    return child;
}
