#include "ProgramHarness.h"
#include "graph/GraphDisplay.h"
#include "platform/sim/SimServices.h"
#include "state/GraphBuffer.h"
#include "state/Program.h"
#include "ui/qt/GraphPainter.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace kesmaro;
using namespace std::chrono;

namespace {

const Currency kRateE = Currency::FromDouble(3.25);
const Currency kRateM = Currency::FromDouble(850.5);

// A program measuring with the graph on, its buffer full of varied samples.
struct GraphBench {
    explicit GraphBench(int timeScale)
    {
        p.settings.GraphEnabled = true;
        p.settings.GraphTimeScale = timeScale;
        p.settings.GraphAveNum = 10;
        p.settings.CaptureInterval = 6;
        p.menus.menuRunEnabled = false;
        p.menus.menuStopEnabled = true;
        p.graph.GraphData.emplace(h.sim.clock);
        for (int i = 0; i < 512; ++i)
            p.graph.GraphData->AddGraphData(Currency::FromInteger(i % 7),
                                            Currency::FromInteger(i % 5 == 0 ? -1 : i % 900), 10,
                                            timeScale, 0);
        GraphFrameDisplay(p, PixelSize{385, 361});
    }

    test::ProgramHarness h;
    Program& p = h.p;
};

} // namespace

// One measurement's sample with the default windows (average 10, maxima 20) and the widest
// the options allow (20 and 250).
static void BM_AddGraphData(benchmark::State& state)
{
    SimClock clock(local_days(year(2024) / 5 / 1), 0);
    clsGraphBuffer buffer(clock);
    const auto aveNum = static_cast<std::int32_t>(state.range(0));
    const auto maxNum = static_cast<std::int32_t>(state.range(1));
    for (auto _ : state)
        buffer.AddGraphData(kRateE, kRateM, aveNum, maxNum, 0);
}
BENCHMARK(BM_AddGraphData)->Args({10, 20})->Args({20, 250});

// Labels and curves without painting.
static void BM_GraphDataDisplay(benchmark::State& state)
{
    GraphBench bench(static_cast<int>(state.range(0)));
    for (auto _ : state)
        GraphDataDisplay(bench.p, 0, 1.0f);
}
BENCHMARK(BM_GraphDataDisplay)->Arg(20)->Arg(250);

// The whole frame painted into a fresh 385 x 361 image.
static void BM_RenderGraph385x361(benchmark::State& state)
{
    GraphBench bench(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(RenderGraph(GraphPictureOf(bench.p)));
}
BENCHMARK(BM_RenderGraph385x361)->Arg(20)->Arg(250);

// What one measurement costs the graph: the new sample, the labels and curves, the picture.
static void BM_MeasurementGraphUpdate(benchmark::State& state)
{
    GraphBench bench(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        bench.p.graph.GraphData->AddGraphData(kRateE, kRateM, 10, bench.p.settings.GraphTimeScale,
                                              0);
        GraphDataDisplay(bench.p, 0, 1.0f);
        benchmark::DoNotOptimize(RenderGraph(GraphPictureOf(bench.p)));
    }
}
BENCHMARK(BM_MeasurementGraphUpdate)->Arg(20)->Arg(250);

// The texts need a GUI application; no display is needed.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
