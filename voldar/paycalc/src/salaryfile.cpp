#include "paycalc/salaryfile.h"

#include "paycalc/cp1251.h"
#include "paycalc/numbers.h"

#include <algorithm>
#include <QFile>

namespace paycalc::salaryfile {

namespace {

// A salary file is a few kilobytes; anything above this is not one and is
// treated as unreadable rather than loaded into memory.
constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

std::optional<QByteArray> readWhole(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Read in chunks up to one byte past the cap, so that an oversized file (or
    // an endless device) is recognised without trusting size() and a small
    // file costs no more than its own size.
    constexpr qint64 Chunk = 64 * 1024;
    QByteArray bytes;
    while (bytes.size() <= MaxFileSize) {
        const QByteArray chunk = file.read(std::min(Chunk, MaxFileSize + 1 - bytes.size()));
        if (chunk.isEmpty())
            break;
        bytes += chunk;
    }
    if (bytes.size() > MaxFileSize || file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

} // namespace

FillResult readNames(const QString& path)
{
    FillResult result;
    const std::optional<QByteArray> bytes = readWhole(path);
    if (!bytes)
        return result;

    // Groups of three lines: heading, number, name; then salary, next number,
    // next name; ... The third line of a group is always a name, and the end
    // marker's empty line stops the list.
    cp1251::LineReader reader(*bytes);
    while (!reader.atEnd()) {
        std::optional<QString> third;
        for (int i = 0; i < 3; ++i) {
            third = reader.readLine();
            if (!third)
                return result; // the file ended inside a group: no end marker
        }
        if (third->isEmpty())
            break;
        result.names.append(*third);
    }
    result.ok = true;
    return result;
}

std::optional<double> lookupSalary(const QString& path, int index)
{
    if (index < 0)
        return std::nullopt;
    const std::optional<QByteArray> bytes = readWhole(path);
    if (!bytes)
        return std::nullopt;

    // The record's number line is found by exact text; the name after it is
    // read as one field and the salary is the next whole line.
    const QString key = QString::number(qint64(index) + 1);
    cp1251::LineReader reader(*bytes);
    QString last;
    while (!reader.atEnd()) {
        if (last == key) {
            if (!reader.readField())
                return std::nullopt;
            break;
        }
        std::optional<QString> line = reader.readLine();
        if (!line)
            return std::nullopt;
        last = std::move(*line);
    }
    const std::optional<QString> salary = reader.readLine();
    if (!salary)
        return std::nullopt;
    return leadingNumber(*salary);
}

} // namespace paycalc::salaryfile
