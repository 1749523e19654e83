#include "notikohost/notikohost.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QMetaClassInfo>
#include <QMetaObject>
#include <QPluginLoader>
#include <QWidget>

namespace notiko::host {
namespace {

Q_LOGGING_CATEGORY(lcHost, "notiko.host")

// Whether the plugin's metadata lists progId among the classes it serves.
bool serves(const QPluginLoader& loader, const QString& progId)
{
    const QJsonArray ids = loader.metaData()
                               .value(QLatin1StringView("MetaData"))
                               .toObject()
                               .value(QLatin1StringView("ProgIDs"))
                               .toArray();
    return ids.contains(progId);
}

} // namespace

bool preloadControl(const QString& progId)
{
    return preloadControl(progId, registry::searchFiles());
}

bool preloadControl(const QString& progId, const QStringList& registryFiles)
{
    const QString library = registry::find(registryFiles, progId);
    if (library.isEmpty()) {
        qCWarning(lcHost) << "not registered:" << progId;
        return false;
    }
    QPluginLoader loader(library);
    if (!serves(loader, progId) || !loader.load()) {
        qCWarning(lcHost) << library << "cannot serve" << progId << loader.errorString();
        return false;
    }
    return true;
}

QWidget* createControl(const QString& progId, QWidget* parent)
{
    return createControl(progId, parent, registry::searchFiles());
}

QWidget* createControl(const QString& progId, QWidget* parent, const QStringList& registryFiles)
{
    const QString library = registry::find(registryFiles, progId);
    if (library.isEmpty()) {
        qCWarning(lcHost) << "not registered:" << progId;
        return nullptr;
    }
    // The loader is never unloaded: controls made by the library may live
    // until the program ends.
    QPluginLoader loader(library);
    if (!serves(loader, progId)) {
        qCWarning(lcHost) << library << "does not serve" << progId << loader.errorString();
        return nullptr;
    }
    QObject* classObject = loader.instance();
    QWidget* control = nullptr;
    if (!classObject ||
        !QMetaObject::invokeMethod(classObject, "CreateInstance", Qt::DirectConnection,
                                   Q_RETURN_ARG(QWidget*, control), Q_ARG(QWidget*, parent))) {
        qCWarning(lcHost) << "cannot create" << progId << loader.errorString();
        return nullptr;
    }
    return control;
}

bool readProperties(QObject* control, PropertyBag& bag)
{
    return control && QMetaObject::invokeMethod(control, "ReadProperties", Qt::DirectConnection,
                                                Q_ARG(notiko::PropertyBag*, &bag));
}

bool writeProperties(QObject* control, PropertyBag& bag)
{
    return control && QMetaObject::invokeMethod(control, "WriteProperties", Qt::DirectConnection,
                                                Q_ARG(notiko::PropertyBag*, &bag));
}

QString description(const QObject* control, const char* member)
{
    if (!control)
        return {};
    const QMetaObject* meta = control->metaObject();
    const int index =
        meta->indexOfClassInfo(QByteArray(QByteArrayLiteral("Description:") + member).constData());
    return index < 0 ? QString() : QString::fromUtf8(meta->classInfo(index).value());
}

} // namespace notiko::host
