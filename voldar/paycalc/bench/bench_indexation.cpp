#include "paycalc/cp1251.h"
#include "paycalc/indexation.h"

#include <benchmark/benchmark.h>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
namespace indexation = paycalc::indexation;

namespace {

// A salary file of `records` records (the most a table may hold is 5 000),
// salaries with kopecks, as large as real names make it.
QByteArray salaryFile(int records)
{
    QStringList lines{u"Оклады по тарифным разрядам воинских должностей, руб. в месяц"_s};
    for (int k = 1; k <= records; ++k) {
        lines << QString::number(k)
              << u"Тарифный разряд по воинской должности № "_s + QString::number(k)
              << QString::number(20000 + k) + u".25";
    }
    lines << QString() << QString();
    return paycalc::cp1251::encodeLines(lines);
}

// A Data folder holding a fresh pair and no archive.
class DataFolder
{
public:
    explicit DataFolder(int records) : m_bytes(salaryFile(records)) { reset(); }

    QString path() const { return m_dir.path(); }

    void reset() const
    {
        QDir(m_dir.filePath(u"Archive"_s)).removeRecursively();
        for (const QString& name : {u"Zvanie.Txt"_s, u"Dolznost.Txt"_s}) {
            QFile file(m_dir.filePath(name));
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
                file.write(m_bytes) != m_bytes.size())
                qFatal("cannot write %s", qPrintable(file.fileName()));
        }
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_bytes;
};

// Both files read and checked, as the window does when it opens.
void BM_ReadTables(benchmark::State& state)
{
    const DataFolder data(int(state.range(0)));
    for (auto _ : state) {
        const indexation::TablesReading reading = indexation::readTables(data.path());
        if (!reading.tables)
            state.SkipWithError("tables not read");
        benchmark::DoNotOptimize(reading);
    }
}
BENCHMARK(BM_ReadTables)->Arg(30)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();

// «Применить»: both files read, indexed, archived, written beside, read back
// and renamed into place. Each run starts from the same pair.
void BM_ApplyIndexation(benchmark::State& state)
{
    const DataFolder data(int(state.range(0)));
    const indexation::Indexer indexer(data.path());
    for (auto _ : state) {
        state.PauseTiming();
        data.reset();
        state.ResumeTiming();
        if (!indexer.apply(u"7,6", u"01.10.2024").done)
            state.SkipWithError("not applied");
    }
}
BENCHMARK(BM_ApplyIndexation)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
