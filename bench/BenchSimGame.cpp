// Cost of one simulated game frame: the scene, the values on it, and the PNG file.

#include "tools/simgame/GameFrame.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace kesmaro;

namespace {

GameFrameSpec sampleSpec()
{
    GameFrameSpec spec;
    spec.level = 87;
    spec.expPercent = 45.09;
    spec.coins = 98'765'432;
    spec.coinArea = CoinArea::Both;
    return spec;
}

void BM_RenderBackground(benchmark::State& state)
{
    const GameFrameSpec spec = sampleSpec();
    for (auto _ : state)
        benchmark::DoNotOptimize(RenderGameBackground(spec));
}
BENCHMARK(BM_RenderBackground)->Unit(benchmark::kMillisecond);

void BM_DrawHudValues(benchmark::State& state)
{
    const GameFrameSpec spec = sampleSpec();
    const PixelBuffer background = RenderGameBackground(spec);
    for (auto _ : state) {
        PixelBuffer frame = background;
        DrawHudValues(frame, spec);
        benchmark::DoNotOptimize(frame.bgra.data());
    }
}
BENCHMARK(BM_DrawHudValues)->Unit(benchmark::kMillisecond);

void BM_SaveFramePng(benchmark::State& state)
{
    QTemporaryDir dir;
    const PixelBuffer frame = RenderGameFrame(sampleSpec());
    const QString path = dir.filePath(QStringLiteral("frame.png"));
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveFramePng(frame, path));
}
BENCHMARK(BM_SaveFramePng)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
