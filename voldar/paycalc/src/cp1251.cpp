#include "paycalc/cp1251.h"

#include <array>

namespace paycalc::cp1251 {

namespace {

// Bytes 0x80..0xFF. 0x98 has no character in Windows-1251; it reads as
// U+FFFD (the replacement character), which is written back as '?'.
constexpr std::array<char16_t, 128> HighHalf = {
    // 0x80
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, //
    // 0x90
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, //
    // 0xA0
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, //
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, //
    // 0xB0
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, //
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, //
    // 0xC0..0xFF: А..я in alphabetical order
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, //
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, //
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, //
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, //
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, //
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, //
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, //
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F, //
};

constexpr char Unmappable = '?';

char encodeChar(char16_t c)
{
    if (c < 0x80)
        return static_cast<char>(c);
    if (c >= 0x0410 && c <= 0x044F)
        return static_cast<char>(0xC0 + (c - 0x0410));
    if (c == 0xFFFD)
        return Unmappable;
    for (std::size_t i = 0; i < 0x40; ++i) {
        if (HighHalf[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return Unmappable;
}

} // namespace

QString decode(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        *out++ = QChar(b < 0x80 ? char16_t(b) : HighHalf[b - 0x80]);
    }
    return text;
}

QByteArray encode(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        // A surrogate pair is one character outside the code page: one '?'.
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++i;
            bytes.append(Unmappable);
            continue;
        }
        bytes.append(encodeChar(c));
    }
    return bytes;
}

QByteArray encodeLines(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += encode(line);
        bytes += "\r\n";
    }
    return bytes;
}

LineReader::LineReader(QByteArray bytes) : m_bytes(std::move(bytes)) {}

std::optional<QString> LineReader::readLine()
{
    if (atEnd())
        return std::nullopt;
    const qsizetype start = m_pos;
    while (m_pos < m_bytes.size() && m_bytes[m_pos] != '\r' && m_bytes[m_pos] != '\n')
        ++m_pos;
    const QString line = decode(QByteArrayView(m_bytes).sliced(start, m_pos - start));
    skipLineEnd();
    return line;
}

std::optional<QString> LineReader::readField()
{
    while (m_pos < m_bytes.size() && (m_bytes[m_pos] == ' ' || m_bytes[m_pos] == '\t'))
        ++m_pos;
    if (atEnd())
        return std::nullopt;

    const auto isLineEnd = [this](qsizetype i) { return m_bytes[i] == '\r' || m_bytes[i] == '\n'; };
    qsizetype start = m_pos;
    qsizetype end = m_pos;
    if (m_bytes[m_pos] == '"') {
        // Quoted text: up to the closing quote (or the line end if it has none),
        // then everything up to and including the next delimiter is dropped.
        start = ++m_pos;
        while (m_pos < m_bytes.size() && m_bytes[m_pos] != '"' && !isLineEnd(m_pos))
            ++m_pos;
        end = m_pos;
        if (m_pos < m_bytes.size() && m_bytes[m_pos] == '"')
            ++m_pos;
        while (m_pos < m_bytes.size() && m_bytes[m_pos] != ',' && !isLineEnd(m_pos))
            ++m_pos;
    } else {
        while (m_pos < m_bytes.size() && m_bytes[m_pos] != ',' && !isLineEnd(m_pos))
            ++m_pos;
        end = m_pos;
    }
    const QString field = decode(QByteArrayView(m_bytes).sliced(start, end - start));
    if (m_pos < m_bytes.size() && m_bytes[m_pos] == ',')
        ++m_pos;
    else
        skipLineEnd();
    return field;
}

void LineReader::skipLineEnd()
{
    if (m_pos < m_bytes.size() && m_bytes[m_pos] == '\r')
        ++m_pos;
    else if (m_pos < m_bytes.size() && m_bytes[m_pos] == '\n') {
        ++m_pos;
        return;
    }
    // CR LF counts as one line end; a CR alone ends the line too.
    if (m_pos > 0 && m_bytes[m_pos - 1] == '\r' && m_pos < m_bytes.size() && m_bytes[m_pos] == '\n')
        ++m_pos;
}

} // namespace paycalc::cp1251
