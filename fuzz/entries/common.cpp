#include "common.h"

#include "fuzzentries.h"
#include "paycalc/cp1251.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace voldarfuzz {

namespace {

FailureHandler& failureHandler()
{
    static FailureHandler handler;
    return handler;
}

constexpr std::array<Target, 7> AllTargets = {{
    {"salaryfile", salaryFile},
    {"cp1251", cp1251},
    {"numbers", numbers},
    {"versionfile", versionFile},
    {"savelog", saveLog},
    {"payslip", paySlip},
    {"rulesfile", rulesFile},
}};

} // namespace

std::span<const Target> targets()
{
    return AllTargets;
}

Entry entryNamed(std::string_view name)
{
    for (const Target& target : AllTargets) {
        if (target.name == name)
            return target.entry;
    }
    return nullptr;
}

void setFailureHandler(FailureHandler handler)
{
    failureHandler() = std::move(handler);
}

namespace detail {

void fail(const QString& what)
{
    if (failureHandler()) {
        failureHandler()(what);
        return;
    }
    std::fprintf(stderr, "voldar fuzz: broken promise: %s\n", what.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

QByteArray bytesOf(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

QString scratchFolder()
{
    static const QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/voldar-fuzz-XXXXXX"));
    if (!folder.isValid()) {
        std::fprintf(stderr, "voldar fuzz: cannot create a scratch folder\n");
        std::abort();
    }
    return folder.path();
}

QString writeScratchFile(const QString& name, const QByteArray& bytes)
{
    const QString path = QDir(scratchFolder()).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "voldar fuzz: cannot write %s\n", path.toUtf8().constData());
        std::abort();
    }
    return path;
}

QStringList splitLines(const QByteArray& bytes)
{
    QStringList lines;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        lines << paycalc::cp1251::decode(QByteArrayView(bytes).sliced(start, i - start));
        i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
        start = i;
    }
    if (start < bytes.size())
        lines << paycalc::cp1251::decode(QByteArrayView(bytes).sliced(start));
    return lines;
}

QString shown(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        if (c.unicode() < 0x20)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return u'"' + out + u'"';
}

} // namespace detail

} // namespace voldarfuzz
