#pragma once

#include <cstddef>
#include <cstdint>
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace voldarfuzz::detail {

// Reports a broken promise through the installed failure handler.
void fail(const QString& what);

QByteArray bytesOf(const std::uint8_t* data, std::size_t size);

// A folder of this process that lives until the process ends; the readers take
// paths, so inputs are written there first.
QString scratchFolder();
// Writes `bytes` to `name` in the scratch folder and returns its path.
QString writeScratchFile(const QString& name, const QByteArray& bytes);

// The lines of a data file as its readers must see them: a line ends at CR LF,
// a lone CR or a lone LF, and a line end at the very end opens no further line.
// Written independently of paycalc::cp1251::LineReader so that each checks the
// other.
QStringList splitLines(const QByteArray& bytes);

// Text for a failure report: the string with control characters escaped.
QString shown(const QString& text);

} // namespace voldarfuzz::detail

// Checks a promise; the report text is only built when the promise is broken,
// so that passing checks cost nothing.
#define FUZZ_EXPECT(holds, what)                                                                   \
    do {                                                                                           \
        if (!(holds))                                                                              \
            ::voldarfuzz::detail::fail(what);                                                      \
    } while (0)
