#include "paycalc/cp1251.h"

#include "common.h"
#include "fuzzentries.h"

namespace voldarfuzz {

using detail::shown;

namespace {

// Every byte decodes to one character and encodes back to itself; 0x98, which
// has no character, comes back as '?'.
void checkByteRoundTrip(const QByteArray& bytes)
{
    const QString text = paycalc::cp1251::decode(bytes);
    FUZZ_EXPECT(text.size() == bytes.size(), QStringLiteral("decode: one character per byte"));
    const QByteArray back = paycalc::cp1251::encode(text);
    FUZZ_EXPECT(back.size() == bytes.size(),
                QStringLiteral("encode(decode): one byte per character"));
    for (qsizetype i = 0; i < std::min(back.size(), bytes.size()); ++i) {
        const char expected = bytes[i] == char(0x98) ? '?' : bytes[i];
        if (back[i] != expected) {
            detail::fail(QStringLiteral("encode(decode(0x%1)) gives 0x%2")
                             .arg(uchar(bytes[i]), 2, 16, QLatin1Char('0'))
                             .arg(uchar(back[i]), 2, 16, QLatin1Char('0')));
            return;
        }
    }
}

// Any text encodes to one byte per character (one per surrogate pair) and
// decodes back to the same character or '?'.
void checkTextRoundTrip(const QString& text)
{
    const QString back = paycalc::cp1251::decode(paycalc::cp1251::encode(text));
    qsizetype j = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++j) {
        if (j >= back.size()) {
            detail::fail(QStringLiteral("decode(encode(text)): characters lost"));
            return;
        }
        const bool pair =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        if (pair)
            ++i;
        if (back[j] != u'?' && (pair || back[j] != text[i])) {
            detail::fail(QStringLiteral("decode(encode(U+%1)) gives U+%2")
                             .arg(text[i].unicode(), 4, 16, QLatin1Char('0'))
                             .arg(back[j].unicode(), 4, 16, QLatin1Char('0')));
            return;
        }
    }
    FUZZ_EXPECT(j == back.size(), QStringLiteral("decode(encode(text)): characters added"));
}

// Reads the bytes with readLine and readField in the order the pattern's bits
// give, and checks that every call makes progress and that readLine alone gives
// exactly the lines of the file.
void checkReader(const QByteArray& bytes, quint8 pattern)
{
    const QStringList lines = detail::splitLines(bytes);
    paycalc::cp1251::LineReader reader(bytes);
    QStringList read;
    bool onlyLines = true;
    // A call that returns something consumes at least one byte.
    const qsizetype maxCalls = bytes.size() + 1;
    for (qsizetype call = 0;; ++call) {
        if (call > maxCalls) {
            detail::fail(QStringLiteral("LineReader: no progress after %1 calls").arg(call));
            return;
        }
        const bool field = (pattern >> (call % 8)) & 1;
        onlyLines = onlyLines && !field;
        const bool wasAtEnd = reader.atEnd();
        const std::optional<QString> text = field ? reader.readField() : reader.readLine();
        if (wasAtEnd)
            FUZZ_EXPECT(!text, QStringLiteral("LineReader: read something at the end"));
        if (!text) {
            FUZZ_EXPECT(reader.atEnd(), QStringLiteral("LineReader: nothing read before the end"));
            break;
        }
        FUZZ_EXPECT(!text->contains(u'\r') && !text->contains(u'\n'),
                    QStringLiteral("LineReader: a line end inside ") + shown(*text));
        if (field) {
            FUZZ_EXPECT(!text->contains(u',') || bytes.contains('"'),
                        QStringLiteral("LineReader: a comma inside the field ") + shown(*text));
        }
        read << *text;
    }
    if (onlyLines)
        FUZZ_EXPECT(read == lines, QStringLiteral("LineReader: %1 lines, the file has %2")
                                       .arg(read.size())
                                       .arg(lines.size()));
}

} // namespace

int cp1251(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = detail::bytesOf(data, size);
    checkByteRoundTrip(bytes);
    checkTextRoundTrip(QString::fromUtf8(bytes));
    // The first byte picks the order of line and field reads for the rest.
    if (!bytes.isEmpty()) {
        checkReader(bytes.mid(1), quint8(bytes[0]));
        checkReader(bytes.mid(1), 0);
    }
    return 0;
}

} // namespace voldarfuzz
