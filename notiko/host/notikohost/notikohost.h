#pragma once

// Creating a registered control by its programmatic identifier and using it
// late-bound: properties through QObject::property/setProperty, methods through
// QMetaObject::invokeMethod, events by signal name.

#include <notiko/propertybag.h>
#include <notiko/registry.h>
#include <QString>
#include <QStringList>

class QObject;
class QWidget;

namespace notiko::host {

// The control registered as progId ("NotikoLib.Notiko"), created with parent,
// or nullptr when it is not registered or its library cannot make it (the
// reason goes to the warning log). The registrations searched are
// notiko::registry::searchFiles(): the one beside the program, the user's,
// then the system's (/etc/xdg/notiko).
QWidget* createControl(const QString& progId, QWidget* parent);
QWidget* createControl(const QString& progId, QWidget* parent, const QStringList& registryFiles);

// Loads the library registered as progId ahead of time, so that a later
// createControl does not wait for it. The library stays loaded. False when
// progId is not registered or its library cannot be loaded (the reason goes
// to the warning log); createControl will then fail the same way.
bool preloadControl(const QString& progId);
bool preloadControl(const QString& progId, const QStringList& registryFiles);

// Hands the container's saved properties to the control (its ReadProperties),
// and has it save them (its WriteProperties). False when the control has no
// such member.
bool readProperties(QObject* control, PropertyBag& bag);
bool writeProperties(QObject* control, PropertyBag& bag);

// The description string of a member (property, method or event), from the
// control's type information; empty when it has none.
QString description(const QObject* control, const char* member);

} // namespace notiko::host
