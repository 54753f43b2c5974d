#include "X11TestSupport.h"
#include "platform/x11/X11GameWindows.h"

#include <benchmark/benchmark.h>
#include <memory>

using namespace kesmaro;
using kesmaro::testing::TestWindow;
using kesmaro::testing::WaitFor;
using kesmaro::testing::XvfbSession;

namespace {

// One private X server with a game-sized window for every benchmark of this program.
struct LiveWindow {
    LiveWindow()
    {
        session = std::make_unique<XvfbSession>(XvfbSession::Options{.windowManager = true});
        if (!session->ok())
            return;
        window = std::make_unique<TestWindow>(session->display(), TestWindow::Options{});
        X11GameWindows probe({session->display()});
        ready = WaitFor([&] { return probe.FindWindow("Gamebryo Application") != kNoWindow; }) &&
                WaitFor([&] { return window->viewable(); });
    }
    std::unique_ptr<XvfbSession> session;
    std::unique_ptr<TestWindow> window;
    bool ready = false;
};

LiveWindow& Live()
{
    static LiveWindow live;
    return live;
}

// The capture cycle's three regions at their default full-screen positions.
const Rect kRegions[] = {{392, 726, 53, 15}, {687, 752, 49, 10}, {846, 202, 179, 9}};

void BM_GrabDefaultRegion(benchmark::State& state)
{
    LiveWindow& live = Live();
    if (!live.ready) {
        state.SkipWithError("no X server for the benchmark");
        return;
    }
    const bool shm = state.range(1) != 0;
    X11GameWindows windows({live.session->display(), shm});
    const WindowId id = windows.FindWindow("Gamebryo Application");
    const Rect region = kRegions[state.range(0)];
    for (auto _ : state)
        benchmark::DoNotOptimize(windows.GrabClientRegion(id, region));
    state.SetLabel(std::to_string(region.width) + "x" + std::to_string(region.height) +
                   (shm ? " shm" : " plain"));
}
BENCHMARK(BM_GrabDefaultRegion)
    ->ArgsProduct({{0, 1, 2}, {1, 0}})
    ->Repetitions(9)
    ->DisplayAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

// The capture cycle's question before every grab: is the game in front?
void BM_FindAndForeground(benchmark::State& state)
{
    LiveWindow& live = Live();
    if (!live.ready) {
        state.SkipWithError("no X server for the benchmark");
        return;
    }
    X11GameWindows windows({live.session->display()});
    for (auto _ : state) {
        benchmark::DoNotOptimize(windows.FindWindow("Gamebryo Application"));
        benchmark::DoNotOptimize(windows.ForegroundWindow());
    }
}
BENCHMARK(BM_FindAndForeground)
    ->Repetitions(9)
    ->DisplayAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
