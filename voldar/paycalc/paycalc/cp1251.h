#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// Windows-1251 text, the encoding of every data file of the program, read and
// written here with our own table (Qt's codec for it depends on how Qt was
// built). Characters that Windows-1251 cannot hold are written as '?'. The
// one unassigned byte, 0x98, reads as U+FFFD (and is written back as '?').
namespace paycalc::cp1251 {

QString decode(QByteArrayView bytes);
QByteArray encode(QStringView text);

// Joins lines with CR LF after each one and encodes the result.
QByteArray encodeLines(const QStringList& lines);

// Reads a data file line by line. A line ends at CR LF, at a lone CR or at a
// lone LF (files edited on Linux keep working); nothing is trimmed.
class LineReader
{
public:
    explicit LineReader(QByteArray bytes);

    bool atEnd() const { return m_pos >= m_bytes.size(); }

    // Next whole line without its terminator; nullopt when reading past the end.
    std::optional<QString> readLine();

    // One comma-delimited field: leading blanks skipped; text in double quotes
    // up to the closing quote; otherwise up to the first comma or line end. The
    // delimiter is consumed. nullopt when reading past the end.
    std::optional<QString> readField();

private:
    // Steps over one CR LF, CR or LF at the read position.
    void skipLineEnd();

    QByteArray m_bytes;
    qsizetype m_pos = 0;
};

} // namespace paycalc::cp1251
