#include "common.h"
#include "fuzzentries.h"
#include "paycalc/controls.h"
#include "paycalc/cp1251.h"
#include "paycalc/messagesink.h"
#include "paycalc/numbers.h"
#include "paycalc/payengine.h"
#include "payslip/savedcalculation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <QDate>
#include <QDir>
#include <QFile>

namespace voldarfuzz {

using detail::shown;

namespace {

// A Data folder with two small, valid salary files, written once.
QString dataFolder()
{
    static const QString folder = [] {
        const QString path = QDir(detail::scratchFolder()).filePath(QStringLiteral("Data"));
        QDir().mkpath(path);
        const auto write = [&path](const QString& name, const QStringList& lines) {
            QFile file(QDir(path).filePath(name));
            if (file.open(QIODevice::WriteOnly))
                file.write(paycalc::cp1251::encodeLines(lines));
        };
        write(QStringLiteral("Zvanie.Txt"),
              {QStringLiteral("Воинские звания"), QStringLiteral("1"), QStringLiteral("Рядовой"),
               QStringLiteral("10000"), QStringLiteral("2"), QStringLiteral("Сержант"),
               QStringLiteral("15000.5"), QStringLiteral("3"), QStringLiteral("Лейтенант"),
               QStringLiteral("25000"), QString(), QString()});
        write(QStringLiteral("Dolznost.Txt"),
              {QStringLiteral("Тарифные разряды"), QStringLiteral("1"), QStringLiteral("1 разряд"),
               QStringLiteral("12000"), QStringLiteral("2"), QStringLiteral("2 разряд"),
               QStringLiteral("13000"), QString(), QString()});
        return path;
    }();
    return folder;
}

constexpr int LineCount = 10;

// What loading must do, read straight off the lines: the index each list ends
// with, and whether the error box comes.
struct Expected
{
    std::map<paycalc::List, int> indexes;
    bool fails = false;
    // Lines that clear a salary list (-1): its rule looks up record 0, which no
    // salary file has, and may show the Data folder box for it.
    int salaryListsCleared = 0;
};

Expected expectedLoad(const QByteArray& bytes, const paycalc::PayEngine& engine)
{
    Expected expected;
    if (bytes.isEmpty())
        return expected;
    const QStringList lines = detail::splitLines(bytes);
    for (int line = 1; line <= LineCount; ++line) {
        if (line > lines.size()) {
            expected.fails = true;
            break;
        }
        const QString& text = lines[line - 1];
        if (text.isEmpty())
            continue;
        const paycalc::List list = paycalc::listOf(static_cast<paycalc::Mirror>(line));
        const double index = paycalc::roundHalfEven(paycalc::leadingNumber(text));
        if (index != -1 && (index < 0 || index >= engine.itemCount(list))) {
            expected.fails = true;
            break;
        }
        expected.indexes[list] = int(index);
        if (index == -1 && (list == paycalc::List::Combo1 || list == paycalc::List::Combo2))
            ++expected.salaryListsCleared;
    }
    return expected;
}

} // namespace

int saveLog(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = detail::bytesOf(data, size);
    const QString folder = dataFolder();
    detail::writeScratchFile(QStringLiteral("Data/Save_log.txt"), bytes);

    paycalc::MessageSink sink;
    paycalc::PayEngine engine(sink, folder);
    engine.beginLoad(QDate(2024, 3, 15));
    FUZZ_EXPECT(engine.fillLists(), QStringLiteral("the test salary files do not load"));
    std::map<paycalc::List, int> before;
    for (int line = 1; line <= LineCount; ++line) {
        const paycalc::List list = paycalc::listOf(static_cast<paycalc::Mirror>(line));
        before[list] = engine.selectedIndex(list);
    }
    const Expected expected = expectedLoad(bytes, engine);

    payslip::SavedCalculation saved(engine, folder);
    const std::optional<paycalc::Message> box = saved.load();

    FUZZ_EXPECT(box.has_value() == expected.fails,
                QStringLiteral("load: error box %1, the lines say %2")
                    .arg(box.has_value())
                    .arg(expected.fails));
    if (box)
        FUZZ_EXPECT(*box == payslip::SavedCalculation::loadFailedMessage(),
                    QStringLiteral("load: unexpected box ") + shown(box->text));
    const bool onlyDataBoxes = std::all_of(
        sink.messages.begin(), sink.messages.end(),
        [](const paycalc::Message& message) { return message == paycalc::dataFolderNotFound(); });
    FUZZ_EXPECT(onlyDataBoxes && sink.messages.size() <= expected.salaryListsCleared,
                QStringLiteral("load: the engine showed %1 boxes (%2 lines clear a salary list): ")
                        .arg(sink.messages.size())
                        .arg(expected.salaryListsCleared) +
                    shown(sink.messages.value(0).text));
    for (const auto& [list, start] : before) {
        const auto applied = expected.indexes.find(list);
        const int want = applied != expected.indexes.end() ? applied->second : start;
        FUZZ_EXPECT(engine.selectedIndex(list) == want,
                    QStringLiteral("load: %1 selects %2, the lines say %3")
                        .arg(paycalc::objectName(list))
                        .arg(engine.selectedIndex(list))
                        .arg(want));
    }
    const paycalc::PaySheet& sheet = engine.sheet();
    FUZZ_EXPECT(std::isfinite(sheet.TotalAccrued) && std::isfinite(sheet.NetPay),
                QStringLiteral("load: the totals are not finite"));
    return 0;
}

} // namespace voldarfuzz
