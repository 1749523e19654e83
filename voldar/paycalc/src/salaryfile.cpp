#include "paycalc/salaryfile.h"

#include "paycalc/cp1251.h"
#include "paycalc/numbers.h"

#include <algorithm>
#include <QByteArrayView>
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

// Where one line lies in the bytes: its text is [begin, end), the next line
// starts at `next`.
struct LineSpan
{
    qsizetype begin;
    qsizetype end;
    qsizetype next;
};

// The lines as cp1251::LineReader splits them: a line ends at CR LF, at a lone
// CR or at a lone LF.
QList<LineSpan> lineSpans(const QByteArray& bytes)
{
    QList<LineSpan> spans;
    const qsizetype size = bytes.size();
    qsizetype pos = 0;
    while (pos < size) {
        const qsizetype begin = pos;
        while (pos < size && bytes[pos] != '\r' && bytes[pos] != '\n')
            ++pos;
        const qsizetype end = pos;
        if (pos < size) {
            const bool cr = bytes[pos] == '\r';
            ++pos;
            if (cr && pos < size && bytes[pos] == '\n')
                ++pos;
        }
        spans.append({begin, end, pos});
    }
    return spans;
}

// The record number a line holds if it equals the text of one: decimal digits
// without blanks, sign or leading zeros. 0 for any other line.
qint64 keyNumber(QByteArrayView line)
{
    if (line.isEmpty() || line.size() > 10 || line.front() == '0')
        return 0;
    qint64 number = 0;
    for (const char digit : line) {
        if (digit < '0' || digit > '9')
            return 0;
        number = number * 10 + (digit - '0');
    }
    return number;
}

} // namespace

FillResult readNames(const QString& path)
{
    const std::optional<QByteArray> bytes = readWhole(path);
    return bytes ? namesIn(*bytes) : FillResult();
}

FillResult namesIn(const QByteArray& bytes)
{
    FillResult result;
    // Groups of three lines: heading, number, name; then salary, next number,
    // next name; ... The third line of a group is always a name, and the end
    // marker's empty line stops the list.
    cp1251::LineReader reader(bytes);
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

QList<std::optional<double>> salariesIn(const QByteArray& bytes, int count)
{
    QList<std::optional<double>> salaries(std::max(count, 0));
    const QList<LineSpan> lines = lineSpans(bytes);

    // The lookup of record k stops at the first line that is the text of k.
    QList<qsizetype> keyLine(salaries.size(), -1);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const qint64 key =
            keyNumber(QByteArrayView(bytes).sliced(lines[i].begin, lines[i].end - lines[i].begin));
        if (key >= 1 && key <= salaries.size() && keyLine[key - 1] < 0)
            keyLine[key - 1] = i;
    }

    // From there it reads the name as one field and the salary as the next
    // line, both within the two lines after the key: the same reader on just
    // those two lines reads the same.
    for (qsizetype k = 0; k < salaries.size(); ++k) {
        const qsizetype key = keyLine[k];
        if (key < 0 || lines[key].next >= bytes.size())
            continue; // not found, or the file ends with it
        const qsizetype from = lines[key].next;
        const qsizetype to = key + 2 < lines.size() ? lines[key + 2].next : bytes.size();
        cp1251::LineReader reader(bytes.sliced(from, to - from));
        if (!reader.readField())
            continue;
        if (const std::optional<QString> salary = reader.readLine())
            salaries[k] = leadingNumber(*salary);
    }
    return salaries;
}

} // namespace paycalc::salaryfile
