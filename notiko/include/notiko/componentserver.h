#pragma once

// The four entry points of the in-process component server. They are plain C
// functions so that a registration tool or a host can resolve them by name.

#include <cstdint>
#include <notiko/notiko_export.h>

class QObject;

namespace notiko {

// Result codes, as the component world spells them.
enum ServerResult : std::int32_t
{
    ResultOk = 0,                                          // S_OK
    ResultFalse = 1,                                       // S_FALSE
    ResultPointer = static_cast<std::int32_t>(0x80004003), // E_POINTER
    ResultClassNotAvailable = static_cast<std::int32_t>(0x80040111),
    ResultRegistrationFailed = static_cast<std::int32_t>(0x80040201), // SELFREG_E_CLASS
};

inline constexpr char ProgId[] = "NotikoLib.Notiko";

} // namespace notiko

extern "C" {

// Registers "NotikoLib.Notiko" for this library in the user's component registry.
NOTIKO_EXPORT std::int32_t DllRegisterServer();
// Removes that registration.
NOTIKO_EXPORT std::int32_t DllUnregisterServer();
// The class object (a QObject with an invokable CreateInstance(QWidget* parent)
// that returns the new control) for progId.
NOTIKO_EXPORT std::int32_t DllGetClassObject(const char* progId, QObject** classObject);
// ResultOk when no control made by this library is alive, ResultFalse otherwise.
NOTIKO_EXPORT std::int32_t DllCanUnloadNow();
}
