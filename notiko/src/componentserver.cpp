#include "classfactory.h"
#include "server_p.h"

#include <cstring>
#include <dlfcn.h>
#include <notiko/componentserver.h>
#include <notiko/notiko.h>
#include <notiko/registry.h>
#include <QFile>
#include <QFileInfo>

// Defined by the plugin machinery for ClassFactory: the one class object.
extern "C" Q_DECL_EXPORT QObject* qt_plugin_instance();

namespace notiko {
namespace {

int liveInstances = 0;

// The file this library was loaded from.
QString libraryPath()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&DllRegisterServer), &info) == 0 || !info.dli_fname)
        return {};
    return QFileInfo(QFile::decodeName(info.dli_fname)).absoluteFilePath();
}

} // namespace

QWidget* ClassFactory::CreateInstance(QWidget* parent)
{
    return new Notiko(parent);
}

namespace server {

void instanceCreated()
{
    ++liveInstances;
}

void instanceDestroyed()
{
    --liveInstances;
}

} // namespace server
} // namespace notiko

std::int32_t DllRegisterServer()
{
    const QString library = notiko::libraryPath();
    if (library.isEmpty())
        return notiko::ResultRegistrationFailed;
    const bool written = notiko::registry::add(
        notiko::registry::userFile(), QString::fromLatin1(notiko::ProgId), library,
        QStringLiteral("Add icon to the taskbar notification area"), QStringLiteral("1.9.0.23"));
    return written ? notiko::ResultOk : notiko::ResultRegistrationFailed;
}

std::int32_t DllUnregisterServer()
{
    const bool removed =
        notiko::registry::remove(notiko::registry::userFile(), QString::fromLatin1(notiko::ProgId));
    return removed ? notiko::ResultOk : notiko::ResultRegistrationFailed;
}

std::int32_t DllGetClassObject(const char* progId, QObject** classObject)
{
    if (!classObject)
        return notiko::ResultPointer;
    *classObject = nullptr;
    if (!progId || std::strcmp(progId, notiko::ProgId) != 0)
        return notiko::ResultClassNotAvailable;
    *classObject = qt_plugin_instance();
    return notiko::ResultOk;
}

std::int32_t DllCanUnloadNow()
{
    return notiko::liveInstances == 0 ? notiko::ResultOk : notiko::ResultFalse;
}
