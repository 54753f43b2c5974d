// Cost of one simulated game frame: the scene, the values on it, and the PNG file.

#include "TempFolder.h"
#include "common/Files.h"
#include "tools/simgame/GameFrame.h"

#include <benchmark/benchmark.h>

using namespace kesmaro;

namespace {

GameFrameSpec sampleSpec()
{
    GameFrameSpec frameSpec;
    frameSpec.level = 87;
    frameSpec.expPercent = 45.09;
    frameSpec.coins = 98'765'432;
    frameSpec.coinArea = CoinArea::Both;
    return frameSpec;
}

void BM_RenderBackground(benchmark::State& state)
{
    const GameFrameSpec frameSpec = sampleSpec();
    for (auto _ : state)
        benchmark::DoNotOptimize(RenderGameBackground(frameSpec));
}
BENCHMARK(BM_RenderBackground)->Unit(benchmark::kMillisecond);

void BM_DrawHudValues(benchmark::State& state)
{
    const GameFrameSpec frameSpec = sampleSpec();
    const PixelBuffer background = RenderGameBackground(frameSpec);
    for (auto _ : state) {
        PixelBuffer frame = background;
        DrawHudValues(frame, frameSpec);
        benchmark::DoNotOptimize(frame.bgra.data());
    }
}
BENCHMARK(BM_DrawHudValues)->Unit(benchmark::kMillisecond);

void BM_SaveFramePng(benchmark::State& state)
{
    const test::TempFolder dir;
    const PixelBuffer frame = RenderGameFrame(sampleSpec());
    const std::string path = PathToUtf8(dir.path() / "frame.png");
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveFramePng(frame, path));
}
BENCHMARK(BM_SaveFramePng)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
