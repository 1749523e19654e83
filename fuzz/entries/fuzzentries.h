#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <QString>
#include <span>
#include <string_view>

// The entry functions behind every fuzz target. Each one feeds one input to a
// reader of outside data (salary files, Save_log.txt, pay slips, the version
// file, typed numbers, the rules file) and checks the promises the reader
// makes about it. The fuzz targets call them from libFuzzer; the regression
// test replays stored inputs through the very same functions with the normal
// compiler.
namespace voldarfuzz {

using Entry = int (*)(const std::uint8_t* data, std::size_t size);

struct Target
{
    std::string_view name; // also the folder name under fuzz/corpus and fuzz/regressions
    Entry entry;
};

// Every fuzz target, in a fixed order.
std::span<const Target> targets();
// nullptr for an unknown name.
Entry entryNamed(std::string_view name);

// A promise that did not hold. The default handler prints the text and aborts,
// which libFuzzer reports as a crash with the input saved; the regression test
// installs one that records the text instead.
using FailureHandler = std::function<void(const QString& what)>;
void setFailureHandler(FailureHandler handler);

// paycalc::salaryfile::readNames and lookupSalary on the input as a salary file.
int salaryFile(const std::uint8_t* data, std::size_t size);
// paycalc::cp1251::decode, encode and LineReader.
int cp1251(const std::uint8_t* data, std::size_t size);
// paycalc::leadingNumber and the number forms written from what it reads.
int numbers(const std::uint8_t* data, std::size_t size);
// shellwindows::serverVersionFrom on the input as a downloaded version file.
int versionFile(const std::uint8_t* data, std::size_t size);
// payslip::SavedCalculation::load on the input as Data/Save_log.txt.
int saveLog(const std::uint8_t* data, std::size_t size);
// payslip::readPaySlip and paySlipPeriod on the input as a pay slip file.
int paySlip(const std::uint8_t* data, std::size_t size);
// paycalc::rulesfile::parse on the input as Data/Pravila.Txt, and the today's
// pay sheet computing from what it accepts.
int rulesFile(const std::uint8_t* data, std::size_t size);

} // namespace voldarfuzz
