#pragma once

#include "paycalc/controls.h"
#include "paycalc/message.h"

#include <array>
#include <optional>
#include <QString>
#include <QStringList>

namespace paycalc {
class PayEngine;
}

namespace payslip {

// A pay slip file in Data/Lists, one per month and year ("Март 2008.txt"):
// 25 lines of Windows-1251 text with CR LF, six fixed section lines and the
// nineteen amounts as the main window shows them.
inline constexpr int PaySlipLineCount = 25;
inline constexpr int PaySlipFieldCount = 19;

// The amounts of a slip in field order (field 1 = index 0).
using PaySlipValues = std::array<QString, PaySlipFieldCount>;

// The amount label of the main window each field is taken from.
inline constexpr std::array<paycalc::Label, PaySlipFieldCount> PaySlipLabels = {
    paycalc::Label::Label22, paycalc::Label::Label24, paycalc::Label::Label25,
    paycalc::Label::Label21, paycalc::Label::Label26, paycalc::Label::Label27,
    paycalc::Label::Label45, paycalc::Label::Label28, paycalc::Label::Label29,
    paycalc::Label::Label30, paycalc::Label::Label31, paycalc::Label::Label52,
    paycalc::Label::Label58, paycalc::Label::Label59, paycalc::Label::Label23,
    paycalc::Label::Label35, paycalc::Label::Label65, paycalc::Label::Label36,
    paycalc::Label::Label39};

// The line (1-based) each field is stored on; the other six are section lines.
inline constexpr std::array<int, PaySlipFieldCount> PaySlipFieldLines = {
    2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16, 18, 20, 21, 23, 25};

// The amounts of the engine's amount labels, leading blanks removed; empty for
// an amount that was never displayed.
PaySlipValues paySlipValues(const paycalc::PayEngine& engine);

// The 25 lines of a slip with these values.
QStringList paySlipLines(const PaySlipValues& values);

// The file name for the month and year list texts ("Март 2008.txt"), or the
// reason why such a name cannot be a file name here.
struct PaySlipName
{
    QString fileName;
    QString problem; // empty when fileName is usable
};
PaySlipName paySlipFileName(const QString& monthText, const QString& yearText);

// rlist_save (F11): writes the engine's slip for the month and year list texts
// into `dataFolder`/Lists, replacing a slip of the same month. Returns the box
// to show: "Данные сохранены", or an error naming the file and the reason (an
// existing slip is then left as it was).
paycalc::Message savePaySlip(const paycalc::PayEngine& engine, const QString& dataFolder,
                             const QString& monthText, const QString& yearText);

// A slip is 25 short lines: a file larger than this is no slip and is not
// read whole.
inline constexpr qsizetype PaySlipMaxBytes = 64 * 1024;

// What was read from a slip file. A section line is read and dropped; a value
// line that is empty gives no value, so the viewer keeps that field's text.
struct PaySlipReading
{
    enum class Status
    {
        Complete,   // all 25 lines were read
        Empty,      // the file holds nothing: nothing changes
        Short,      // it ends before line 25: the fields before the end are read
        CannotOpen, // it could not be opened: nothing read
        TooLarge,   // larger than PaySlipMaxBytes: nothing read
        ReadError,  // opened, but reading it failed: nothing read
    };
    Status status = Status::CannotOpen;
    std::array<std::optional<QString>, PaySlipFieldCount> values{};
    QString error; // the system's reason for CannotOpen and ReadError
};
PaySlipReading readPaySlip(const QString& path);

// Why a slip that was not read whole shows no amounts, in words ("Файл
// пустой", "Файл обрывается раньше 25-й строки", ...); empty when complete.
QString paySlipProblem(const PaySlipReading& reading);

// The viewer's period field for a slip file name: "Март 2008.txt" → "Март 2008 г.".
QString paySlipPeriod(const QString& fileName);

// The viewer's box for a slip it could not read whole ("Ошибка"): for a file
// that cannot be opened or ends early "Ошибка при чтени файла: <name>" and
// "Попробуйте создать его заново."; for one too large or unreadable, the
// name and the reason.
paycalc::Message paySlipReadFailedMessage(const QString& fileName, const PaySlipReading& reading);

} // namespace payslip
