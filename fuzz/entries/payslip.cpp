#include "common.h"
#include "fuzzentries.h"
#include "payslip/payslipfile.h"

#include <algorithm>

namespace voldarfuzz {

using detail::shown;

namespace {

using Reading = payslip::PaySlipReading;

// The reading, straight off the lines: line n of a field fills it unless empty;
// a file that ends before line 25 is short with the fields read so far; one
// larger than any slip is not read at all.
Reading expectedReading(const QByteArray& bytes)
{
    Reading reading;
    if (bytes.size() > payslip::PaySlipMaxBytes) {
        reading.status = Reading::Status::TooLarge;
        return reading;
    }
    if (bytes.isEmpty()) {
        reading.status = Reading::Status::Empty;
        return reading;
    }
    const QStringList lines = detail::splitLines(bytes);
    for (int field = 0; field < payslip::PaySlipFieldCount; ++field) {
        const int line = payslip::PaySlipFieldLines[field];
        if (line <= lines.size() && !lines[line - 1].isEmpty())
            reading.values[field] = lines[line - 1];
    }
    reading.status = lines.size() >= payslip::PaySlipLineCount ? Reading::Status::Complete
                                                               : Reading::Status::Short;
    return reading;
}

QString describe(const std::optional<QString>& value)
{
    return value ? shown(*value) : QStringLiteral("nothing");
}

} // namespace

int paySlip(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = detail::bytesOf(data, size);
    const QString path = detail::writeScratchFile(QStringLiteral("Март 2008.txt"), bytes);
    const Reading reading = payslip::readPaySlip(path);
    const Reading expected = expectedReading(bytes);
    FUZZ_EXPECT(reading.status == expected.status,
                QStringLiteral("readPaySlip: status %1, the lines say %2")
                    .arg(int(reading.status))
                    .arg(int(expected.status)));
    for (int field = 0; field < payslip::PaySlipFieldCount; ++field) {
        FUZZ_EXPECT(reading.values[field] == expected.values[field],
                    QStringLiteral("readPaySlip: field %1 is %2, the lines say %3")
                        .arg(field + 1)
                        .arg(describe(reading.values[field]), describe(expected.values[field])));
    }

    // The period field from a file name of any text: the input's first line.
    const QStringList lines = detail::splitLines(bytes);
    const QString name = lines.isEmpty() ? QString() : lines.first();
    const QString period = payslip::paySlipPeriod(name);
    FUZZ_EXPECT(period == name.left(std::max<qsizetype>(0, name.size() - 4)) + u" г.",
                QStringLiteral("paySlipPeriod(%1) gives %2").arg(shown(name), shown(period)));
    return 0;
}

} // namespace voldarfuzz
