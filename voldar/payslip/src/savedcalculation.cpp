#include "payslip/savedcalculation.h"

#include "filesave.h"
#include "paycalc/wholefile.h"
#include "paycalc/controls.h"
#include "paycalc/cp1251.h"
#include "paycalc/numbers.h"
#include "paycalc/payengine.h"

#include <cmath>
#include <limits>
#include <QDir>
#include <QFile>
#include <utility>

namespace payslip {

namespace {

constexpr int MirrorCount = 10;

paycalc::Mirror mirrorOfLine(int line)
{
    return static_cast<paycalc::Mirror>(line);
}

// The list index a saved line stands for: the leading number, made whole with
// halves to even. Nothing for a number no list index can be.
std::optional<int> indexOf(const QString& line)
{
    const double index = paycalc::roundHalfEven(paycalc::leadingNumber(line));
    if (!std::isfinite(index) || index < std::numeric_limits<int>::min() ||
        index > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(index);
}

} // namespace

SavedCalculation::SavedCalculation(paycalc::PayEngine& engine, QString dataFolder)
    : m_engine(engine), m_dataFolder(std::move(dataFolder))
{}

QString SavedCalculation::filePath() const
{
    return QDir(m_dataFolder).filePath(fileName());
}

QStringList SavedCalculation::lines() const
{
    QStringList lines;
    for (int line = 1; line <= MirrorCount; ++line)
        lines << detail::withoutLeadingBlanks(m_engine.mirror(mirrorOfLine(line)));
    return lines;
}

paycalc::Message SavedCalculation::save() const
{
    const QString path = filePath();
    const QString failure = paycalc::saveWholeFile(path, paycalc::cp1251::encodeLines(lines()));
    return failure.isEmpty() ? detail::savedMessage() : detail::saveFailedMessage(path, failure);
}

std::optional<paycalc::Message> SavedCalculation::load()
{
    QFile file(filePath());
    if (!file.open(QIODevice::ReadOnly))
        return loadFailedMessage();
    const QByteArray bytes = file.readAll();
    const bool readFailed = file.error() != QFileDevice::NoError;
    file.close();
    if (readFailed)
        return loadFailedMessage();
    if (bytes.isEmpty())
        return std::nullopt;

    paycalc::cp1251::LineReader reader(bytes);
    for (int line = 1; line <= MirrorCount; ++line) {
        const std::optional<QString> text = reader.readLine();
        if (!text)
            return loadFailedMessage();
        if (text->isEmpty())
            continue;
        const std::optional<int> index = indexOf(*text);
        if (!index || !m_engine.setSelection(paycalc::listOf(mirrorOfLine(line)), *index))
            return loadFailedMessage();
    }
    return std::nullopt;
}

void SavedCalculation::reset()
{
    m_engine.reset();
}

paycalc::Message SavedCalculation::loadFailedMessage()
{
    return {QStringLiteral("Файл 'Save_log.txt' не найден!\rНажмите Ctrl+S для его создания"),
            QStringLiteral("Ошибка"), paycalc::Message::Icon::Error};
}

} // namespace payslip
