#include "ProgramHarness.h"
#include "platform/sim/SimServices.h"
#include "records/RecordFile.h"
#include "records/ResultDisplay.h"
#include "state/Program.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace kesmaro;
using namespace std::chrono;

namespace {

RecordValues sample()
{
    RecordValues v;
    v.stamp = "05/17 21:36";
    v.level = 57;
    v.exp = Currency::FromDouble(12.34);
    v.money = Currency::FromInteger(1234567);
    v.expGain = Currency::FromInteger(3);
    v.moneyGain = Currency::FromInteger(3000);
    v.expMinutes = Currency::FromDouble(6.0);
    v.expRate = Currency::FromInteger(30);
    v.moneyMinutes = Currency::FromDouble(6.0);
    v.moneyRate = Currency::FromInteger(30);
    return v;
}

struct Bench {
    test::ProgramHarness h{{.start = test::At(2009, 5, 17, 21)}};
    Program& program = h.p;

    Bench()
    {
        program.settings.SaveFolder = h.dir.folder();
        program.settings.SaveFile = "給与明細";
        program.settings.MonthlyAppend = true;
        program.LogStartStamp = "200905172100";
    }
};

} // namespace

// One record line per measurement: ten columns through the string builder.
static void BM_BuildRecordLine(benchmark::State& state)
{
    const RecordValues v = sample();
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildRecordLine(v, false));
}
BENCHMARK(BM_BuildRecordLine);

// Open, append, close per line, as the record file is written.
static void BM_WriteRecordLine(benchmark::State& state)
{
    Bench b;
    const std::string line = BuildRecordLine(sample(), false);
    for (auto _ : state)
        WriteRecordFile(b.program, line, RecordWrite::Line);
}
BENCHMARK(BM_WriteRecordLine);

// The recovery after a long failure: the whole bounded backlog in one append.
static void BM_FlushFullBacklog(benchmark::State& state)
{
    const std::string line = BuildRecordLine(sample(), false);
    for (auto _ : state) {
        state.PauseTiming();
        Bench b;
        const RecordTarget target =
            RecordFileTarget(b.program.settings, b.program.LogStartStamp, b.h.dir.folder());
        for (int i = 0; i < kRecordBacklogLimit; ++i)
            b.program.recordFile.backlog.push_back({target, line});
        state.ResumeTiming();
        WriteRecordFile(b.program, line, RecordWrite::Line);
    }
}
BENCHMARK(BM_FlushFullBacklog)->Unit(benchmark::kMillisecond);

// The result labels on every measurement.
static void BM_DisplayResultUpdate(benchmark::State& state)
{
    Bench b;
    b.program.measurement.ReadLv = 57;
    b.program.measurement.ReadExp = Currency::FromInteger(1234);
    DisplayResult(b.program, DisplayMode::Update);
    for (auto _ : state) {
        b.program.measurement.ReadMoney = Currency::FromInteger(1000);
        DisplayResult(b.program, DisplayMode::Update);
    }
}
BENCHMARK(BM_DisplayResultUpdate);

BENCHMARK_MAIN();
