#include "paycalc/cp1251.h"
#include "payslip/formhistory.h"
#include "payslip/payhistory.h"
#include "payslip/payslipfile.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

constexpr int Years = 10;

// A Data folder whose Lists hold a slip for every month of ten years, written
// in the pay-slip format with amounts that change from month to month.
class TenYears
{
public:
    TenYears()
    {
        QDir(m_dir.path()).mkpath(u"Lists"_s);
        const QStringList months = {u"Январь"_s,   u"Февраль"_s, u"Март"_s,   u"Апрель"_s,
                                    u"Май"_s,      u"Июнь"_s,    u"Июль"_s,   u"Август"_s,
                                    u"Сентябрь"_s, u"Октябрь"_s, u"Ноябрь"_s, u"Декабрь"_s};
        for (int year = 2014; year < 2014 + Years; ++year) {
            for (int month = 0; month < 12; ++month) {
                payslip::PaySlipValues values;
                const int base = 40000 + (year - 2014) * 1500 + month * 37;
                for (int field = 0; field < payslip::PaySlipFieldCount; ++field)
                    values[field] = QString::number(base / (field + 1)) + u".25 руб."_s;
                QFile file(QDir(m_dir.path())
                               .filePath(u"Lists/"_s + months[month] + u' ' +
                                         QString::number(year) + u".txt"_s));
                if (file.open(QIODevice::WriteOnly))
                    file.write(paycalc::cp1251::encodeLines(payslip::paySlipLines(values)));
            }
        }
    }
    QString data() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

// Reading and summing the 120 slips, without a window.
void BM_LoadHistory(benchmark::State& state)
{
    const TenYears folder;
    for (auto _ : state) {
        const payslip::PayHistory history = payslip::PayHistory::load(folder.data());
        benchmark::DoNotOptimize(history.months().data());
    }
}
BENCHMARK(BM_LoadHistory)->Unit(benchmark::kMillisecond);

// Opening the window: made, shown (which reads the slips and fills the tables
// and the chart), laid out and drawn once, then closed.
void BM_OpenHistoryWindow(benchmark::State& state)
{
    const TenYears folder;
    for (auto _ : state) {
        payslip::FormHistory window(folder.data());
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.show();
        QPixmap drawn = window.grab();
        benchmark::DoNotOptimize(drawn);
        if (window.history().months().size() != 12 * Years)
            state.SkipWithError("not every slip was read");
    }
}
BENCHMARK(BM_OpenHistoryWindow)->Unit(benchmark::kMillisecond);

// The offscreen platform's note on every window shown is no result.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!message.contains(u"propagateSizeHints"_s))
        qt_message_output(type, context, message);
}

} // namespace

int main(int argc, char** argv)
{
    // Drawn off screen unless a display is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
