#pragma once

#include <QObject>

class QWidget;

namespace notiko {

// The class object of the component server: the library's plugin instance,
// which makes controls for hosts that know only the programmatic identifier.
class ClassFactory final : public QObject
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.notiko.ClassFactory/1.0" FILE "notiko.json")
    Q_CLASSINFO("ProgID", "NotikoLib.Notiko")

public:
    using QObject::QObject;

    // A new control with the given parent; the parent (or, without one, the
    // caller) owns it.
    Q_INVOKABLE QWidget* CreateInstance(QWidget* parent);
};

} // namespace notiko
