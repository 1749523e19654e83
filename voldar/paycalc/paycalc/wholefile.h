#pragma once

#include <QByteArray>
#include <QString>

namespace paycalc {

// Writes `bytes` as the whole content of `path`. The data goes to a temporary
// file in the same folder first, is forced to the disk and read back from it,
// and replaces the old file in one rename only once it is completely there,
// so a failed or cut-short save never costs the user the previous file. A
// link stays a link (its target gets the content); the replaced file's
// permissions are kept. Returns an empty string on success, otherwise the
// reason in words.
QString saveWholeFile(const QString& path, const QByteArray& bytes);

} // namespace paycalc
