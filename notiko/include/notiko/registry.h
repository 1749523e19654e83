#pragma once

// Where in-process components are registered: INI files that map a
// programmatic identifier to the library that serves it (header only, Qt Core
// only, shared by the component server and the hosts that look it up).
//
//   [NotikoLib.Notiko]
//   Library=/usr/lib/x86_64-linux-gnu/libnotiko.so.1
//   Description=Add icon to the taskbar notification area
//   Version=1.9.0.23

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace notiko::registry {

inline constexpr QLatin1StringView FileName{"components.ini"};

// The user's registrations, written by DllRegisterServer.
inline QString userFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1StringView("/notiko/") + FileName;
}

// Registrations that travel with a program: the file beside its executable.
// The build places one beside the built programs.
inline QString applicationFile()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + FileName;
}

// System-wide registrations, made by a package that installs the library:
// notiko/components.ini in each XDG configuration folder after the user's
// ($XDG_CONFIG_DIRS, /etc/xdg by default).
inline QStringList systemFiles()
{
    QStringList files;
    const QString user = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    for (const QString& dir :
         QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation)) {
        if (dir != user)
            files << dir + QLatin1StringView("/notiko/") + FileName;
    }
    return files;
}

// The files a host searches, first match wins: a program's own registration
// comes before the user's, so a program finds the library it was shipped with;
// the system's come last.
inline QStringList searchFiles()
{
    return QStringList{applicationFile(), userFile()} + systemFiles();
}

inline bool add(const QString& file, const QString& progId, const QString& library,
                const QString& description, const QString& version)
{
    if (!QDir().mkpath(QFileInfo(file).absolutePath()))
        return false;
    QSettings settings(file, QSettings::IniFormat);
    settings.beginGroup(progId);
    settings.setValue(QStringLiteral("Library"), library);
    settings.setValue(QStringLiteral("Description"), description);
    settings.setValue(QStringLiteral("Version"), version);
    settings.endGroup();
    settings.sync();
    return settings.status() == QSettings::NoError;
}

// Removing an identifier that is not registered succeeds: nothing is left to do.
inline bool remove(const QString& file, const QString& progId)
{
    if (!QFileInfo::exists(file))
        return true;
    QSettings settings(file, QSettings::IniFormat);
    settings.remove(progId);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

// The library registered for progId in the first of files that names one, or
// an empty string.
inline QString find(const QStringList& files, const QString& progId)
{
    for (const QString& file : files) {
        if (!QFileInfo::exists(file))
            continue;
        const QSettings settings(file, QSettings::IniFormat);
        const QString library = settings.value(progId + QLatin1StringView("/Library")).toString();
        if (!library.isEmpty())
            return library;
    }
    return {};
}

} // namespace notiko::registry
