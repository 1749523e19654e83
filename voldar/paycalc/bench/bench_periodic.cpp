#include "paycalc/messagesink.h"
#include "paycalc/payengine.h"

#include <array>
#include <benchmark/benchmark.h>
#include <memory>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using namespace paycalc;

namespace {

// Stores every title, caption and box text it is given, as a window that
// copies them would.
class StoringSink : public MessageSink
{
public:
    void setTitle(const QString& text) override { title = text; }
    void setCaption(Label label, const QString& text) override
    {
        captions[static_cast<std::size_t>(label)] = text;
    }
    void setBoxText(Box box, const QString& text) override
    {
        boxes[static_cast<std::size_t>(box)] = text;
    }

    QString title;
    std::array<QString, 66> captions;
    std::array<QString, 6> boxes;
};

void writeSalaryFile(const QString& path, const QByteArray& salary)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write("Heading\r\n1\r\nItem\r\n" + salary + "\r\n\r\n\r\n");
}

// A fully set-up sheet: every bonus, the premium, annual reward and material
// aid, regional factor, tax with deductions.
struct Sheet
{
    QTemporaryDir dir;
    StoringSink sink;
    std::unique_ptr<PayEngine> engine;
    Sheet();
};

Sheet::Sheet()
{
    writeSalaryFile(QDir(dir.path()).filePath(u"Zvanie.Txt"_s), "14647");
    writeSalaryFile(QDir(dir.path()).filePath(u"Dolznost.Txt"_s), "26636");

    engine = std::make_unique<PayEngine>(sink, dir.path());
    PayEngine& e = *engine;
    e.beginLoad(QDate(2024, 5, 17));
    e.fillLists();
    e.setSelection(List::Combo1, 0);
    e.setSelection(List::Combo2, 0);
    e.setSelection(List::Combo3, 4);
    e.setSelection(List::Combo4, 8);
    e.setSelection(List::Combo7, 2);
    e.setSelection(List::Combo8, 5);
    e.setSelection(List::Combo9, 2);
    e.setSelection(List::Combo11, 1);
    e.setSelection(List::Combo10, 12);
    e.setSelection(List::Combo12, 3);
    e.setSelection(List::Combo13, 0);
    e.setSelection(List::Combo14, 2);
    e.boxChanged(Box::Text4, u"15"_s);
    e.boxChanged(Box::Text5, u"1250.75"_s);
    e.boxChanged(Box::Text1, u"300"_s);
    e.timerTick(Timer::Timer2);
    e.timerTick(Timer::Timer3);
    e.setSwitch(Switch::Check6, true);
    e.setSwitch(Switch::Check1, true);
    e.boxChanged(Box::Text2, u"75"_s);
    e.timerTick(Timer::Timer2);
    e.setSwitch(Switch::Check5, true);
    e.setSwitch(Switch::Check3, true);
}

// One periodic run (Timer6): CalcAdditionalAccruals, ModulRaschet, ModulUder
// and every caption through the sink, with nothing changed since the last run
// (the usual case five times a second).
void BM_PeriodicComputation(benchmark::State& state)
{
    Sheet sheet;
    for (auto _ : state)
        sheet.engine->timerTick(Timer::Timer6);
    benchmark::DoNotOptimize(sheet.sink.captions);
}
BENCHMARK(BM_PeriodicComputation);

// The same run when the premium changes every time (its cut is ticked and
// cleared in turn, 75 % and 100 %), so the premium rows, the total, the tax,
// the withheld total, the net pay and the grand total are formed anew.
void BM_PeriodicComputationChangedInput(benchmark::State& state)
{
    Sheet sheet;
    bool cut = false;
    for (auto _ : state) {
        sheet.engine->setSwitch(Switch::Check1, cut = !cut);
        sheet.engine->timerTick(Timer::Timer6);
    }
    benchmark::DoNotOptimize(sheet.sink.captions);
}
BENCHMARK(BM_PeriodicComputationChangedInput);

} // namespace

BENCHMARK_MAIN();
