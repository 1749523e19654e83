#include "payslip/payslipfile.h"

#include "filesave.h"
#include "paycalc/wholefile.h"
#include "paycalc/cp1251.h"
#include "paycalc/payengine.h"

#include <algorithm>
#include <QDir>
#include <QFile>

namespace payslip {

namespace {

// The longest file name the file systems we run on accept, in bytes.
constexpr qsizetype MaxFileNameBytes = 255;

// The fixed lines between the groups of amounts.
QString sectionLine(int line)
{
    const auto dashes = [](int count) { return QString(count, u'-'); };
    switch (line) {
    case 1:
        return dashes(10) + u"Начисления" + dashes(10);
    case 13:
        return dashes(3) + u"Дополнительные начисления" + dashes(3);
    case 17:
        return dashes(8) + u"ИТОГО НАЧИСЛЕНО" + dashes(8);
    case 19:
        return dashes(11) + u"Удержания" + dashes(11);
    case 22:
        return dashes(9) + u"ИТОГО УДЕРЖАНО" + dashes(8);
    case 24:
        return dashes(12) + u"К ВЫДАЧЕ" + dashes(11);
    default:
        return {};
    }
}

// The field stored on `line`, or -1 for a section line.
int fieldOfLine(int line)
{
    const auto* found = std::find(PaySlipFieldLines.begin(), PaySlipFieldLines.end(), line);
    return found == PaySlipFieldLines.end() ? -1
                                            : static_cast<int>(found - PaySlipFieldLines.begin());
}

// Trims blanks (only blanks) at both ends, as the list texts are trimmed.
QString trimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.sliced(begin, end - begin);
}

// Why a month or year text cannot be part of a file name, or empty.
QString partProblem(const QString& part)
{
    if (part.isEmpty())
        return QStringLiteral("Не выбран месяц или год");
    if (part == u"." || part == u"..")
        return u"Недопустимый месяц или год '" + part + u"'";
    for (const QChar c : part) {
        if (c == u'/' || c == u'\\')
            return u"Имя файла не может содержать символ '" + QString(c) + u"'";
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return QStringLiteral("Имя файла не может содержать управляющие символы");
    }
    return {};
}

// The name as it may be shown in a box: control characters as '?'.
QString printable(QString name)
{
    for (QChar& c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u'?';
    }
    return name;
}

} // namespace

PaySlipValues paySlipValues(const paycalc::PayEngine& engine)
{
    PaySlipValues values;
    for (int field = 0; field < PaySlipFieldCount; ++field)
        values[field] = detail::withoutLeadingBlanks(engine.caption(PaySlipLabels[field]));
    return values;
}

QStringList paySlipLines(const PaySlipValues& values)
{
    QStringList lines;
    for (int line = 1; line <= PaySlipLineCount; ++line) {
        const int field = fieldOfLine(line);
        lines << (field < 0 ? sectionLine(line) : values[field]);
    }
    return lines;
}

PaySlipName paySlipFileName(const QString& monthText, const QString& yearText)
{
    const QString month = trimBlanks(monthText);
    const QString year = trimBlanks(yearText);
    PaySlipName name{month + u' ' + year + u".txt", {}};
    name.problem = partProblem(month);
    if (name.problem.isEmpty())
        name.problem = partProblem(year);
    if (name.problem.isEmpty() && QFile::encodeName(name.fileName).size() > MaxFileNameBytes)
        name.problem = QStringLiteral("Имя файла слишком длинное");
    return name;
}

paycalc::Message savePaySlip(const paycalc::PayEngine& engine, const QString& dataFolder,
                             const QString& monthText, const QString& yearText)
{
    const QDir lists(QDir(dataFolder).filePath(QStringLiteral("Lists")));
    const PaySlipName name = paySlipFileName(monthText, yearText);
    if (!name.problem.isEmpty())
        return detail::saveFailedMessage(lists.filePath(printable(name.fileName)), name.problem);

    const QString path = lists.filePath(name.fileName);
    const QByteArray bytes = paycalc::cp1251::encodeLines(paySlipLines(paySlipValues(engine)));
    const QString failure = paycalc::saveWholeFile(path, bytes);
    return failure.isEmpty() ? detail::savedMessage() : detail::saveFailedMessage(path, failure);
}

PaySlipReading readPaySlip(const QString& path)
{
    using Status = PaySlipReading::Status;
    PaySlipReading reading;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reading.error = file.errorString();
        return reading;
    }
    // One byte past the bound tells a slip from a larger file without reading
    // the larger one whole (a device never ends).
    const QByteArray bytes = file.read(PaySlipMaxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        reading.status = Status::ReadError;
        reading.error = file.errorString();
        return reading;
    }
    if (bytes.size() > PaySlipMaxBytes) {
        reading.status = Status::TooLarge;
        return reading;
    }
    if (bytes.isEmpty()) {
        reading.status = Status::Empty;
        return reading;
    }

    reading.status = Status::Short;
    paycalc::cp1251::LineReader reader(bytes);
    for (int line = 1; line <= PaySlipLineCount; ++line) {
        const std::optional<QString> text = reader.readLine();
        if (!text)
            return reading;
        const int field = fieldOfLine(line);
        if (field >= 0 && !text->isEmpty())
            reading.values[field] = *text;
    }
    reading.status = Status::Complete;
    return reading;
}

QString paySlipProblem(const PaySlipReading& reading)
{
    using Status = PaySlipReading::Status;
    switch (reading.status) {
    case Status::Complete:
        return {};
    case Status::Empty:
        return QStringLiteral("Файл пустой");
    case Status::Short:
        return QStringLiteral("Файл обрывается раньше 25-й строки");
    case Status::CannotOpen:
        return u"Не удалось открыть файл (" + reading.error + u')';
    case Status::TooLarge:
        return u"Файл больше " + QString::number(PaySlipMaxBytes / 1024) +
               u" КБ: это не расчетный листок";
    case Status::ReadError:
        return u"Ошибка чтения файла (" + reading.error + u')';
    }
    return {};
}

QString paySlipPeriod(const QString& fileName)
{
    return fileName.left(std::max<qsizetype>(0, fileName.size() - 4)) + u" г.";
}

paycalc::Message paySlipReadFailedMessage(const QString& fileName, const PaySlipReading& reading)
{
    using Status = PaySlipReading::Status;
    const paycalc::Message::Icon icon = paycalc::Message::Icon::Error;
    if (reading.status == Status::TooLarge || reading.status == Status::ReadError)
        return {u"Файл не прочитан: " + fileName + u'\r' + paySlipProblem(reading),
                QStringLiteral("Ошибка"), icon};
    return {u"Ошибка при чтени файла: " + fileName + u"\rПопробуйте создать его заново.",
            QStringLiteral("Ошибка"), icon};
}

} // namespace payslip
