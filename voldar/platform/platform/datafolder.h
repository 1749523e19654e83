#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// Where the program keeps its data, and how an installed program fills the
// user's copy of it.
namespace platform {

// The folder that holds the program's executable.
QString programFolder();

// The program's data folder. "Data" beside the program when that folder exists
// and can be written (the build tree, an unpacked copy). An installed program
// keeps it in the user's data folder instead, seeded by prepareDataFolder().
QString dataFolder();

// Run once at start-up: when the data folder is the user's, brings it up to
// date with the installed copy (the overload below). When that fails, an error
// box says what could not be done and why, before the program goes on.
bool prepareDataFolder();

// Makes `userData` with its Lists folder and brings in the files of
// `installedData`: a missing file is copied; a file copied earlier and never
// changed since is replaced when the installation ships a different one (a
// package upgrade with new salaries); a file the user changed, or one whose
// copying is not on record (a folder from an older version), is kept as it is.
// What was copied is recorded in CopiesRecord inside `userData`. Returns false
// when something could not be made, copied or recorded; the other files are
// brought in all the same. `problem`, if given, then receives the first
// failure for the user, in Russian: what could not be done with which folder
// or file, and the system's reason.
bool prepareDataFolder(const QString& installedData, const QString& userData,
                       QString* problem = nullptr);

// The decision behind dataFolder(), for given folders: `installedData` is the
// read-only copy an installation ships, `userData` the user's own folder.
QString resolveDataFolder(const QString& programFolder, const QString& installedData,
                          const QString& userData);

// The record of the installed files copied into the user's data folder: one
// line per file, Windows-1251 with CR LF, the SHA-256 of the copy in hex, a
// blank and the file's name.
inline constexpr char16_t CopiesRecord[] = u".installed-copies";

// File name -> checksum, as the record holds them. Lines that are not a
// checksum and a name are passed over.
QMap<QString, QByteArray> parseCopiesRecord(const QByteArray& bytes);
QByteArray writeCopiesRecord(const QMap<QString, QByteArray>& copies);

} // namespace platform
