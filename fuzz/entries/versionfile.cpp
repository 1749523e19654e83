#include "common.h"
#include "fuzzentries.h"
#include "windows/updatecheck.h"

namespace voldarfuzz {

using detail::shown;

int versionFile(const std::uint8_t* data, std::size_t size)
{
    const QByteArray body = detail::bytesOf(data, size);
    const QString local = shellwindows::localVersion();
    // The window asks for as many characters as its own version has; other
    // lengths check the cut itself.
    for (const qsizetype length :
         {local.size(), qsizetype(0), qsizetype(1), qsizetype(size > 0 ? data[0] % 32 : 3)}) {
        const QString server = shellwindows::serverVersionFrom(body, length);
        FUZZ_EXPECT(server.size() <= length,
                    QStringLiteral("serverVersionFrom: %1 characters for %2")
                        .arg(server.size())
                        .arg(length));
        if (server.isEmpty())
            continue;
        FUZZ_EXPECT(!server.contains(QChar::Null) && !server.contains(QChar::ReplacementCharacter),
                    QStringLiteral("serverVersionFrom: %1 is not text").arg(shown(server)));
        // What comes is the beginning of the body read as UTF-8 (a byte-order
        // mark in front may be dropped).
        QString text = QString::fromUtf8(body);
        if (!text.startsWith(server) && text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        FUZZ_EXPECT(
            text.startsWith(server),
            QStringLiteral("serverVersionFrom: %1 is not how the body begins").arg(shown(server)));
    }
    return 0;
}

} // namespace voldarfuzz
