// The capture-area finder over whole frames of the simulated game, with the Exp table in all
// four interface colours as kesmaro-replay --find-areas searches.

#include "recognition/AutoDetect.h"
#include "tools/simgame/GameFrame.h"

#include <benchmark/benchmark.h>

using namespace kesmaro;

namespace {

PixelBuffer frameOf(FrameExtent size, bool moved)
{
    GameFrameSpec scene;
    scene.level = 87;
    scene.expPercent = 45.09;
    scene.coins = 98765432;
    scene.coinArea = CoinArea::Both;
    scene.size = size;
    if (moved)
        scene.at = {FramePoint{size.width - 300, 80}, FramePoint{size.width / 2, size.height - 60},
                    FramePoint{40, size.height / 2}};
    return RenderGameFrame(scene);
}

void BM_FindCaptureAreas(benchmark::State& state)
{
    const FrameExtent size{static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
    const PixelBuffer frame = frameOf(size, state.range(2) != 0);
    const FinderFonts fonts = DefaultFinderFonts(std::nullopt);
    bool complete = false;
    for (auto _ : state) {
        const AreaProposal proposal = FindCaptureAreas(frame, fonts);
        ProposalLines(proposal, &complete);
        benchmark::DoNotOptimize(proposal);
    }
    if (!complete)
        state.SkipWithError("the frame's numbers were not all found");
    state.SetItemsProcessed(state.iterations() * size.width * size.height);
}
BENCHMARK(BM_FindCaptureAreas)
    ->Args({1024, 768, 0})
    ->Args({1920, 1080, 0})
    ->Args({1920, 1080, 1})
    ->Unit(benchmark::kMillisecond);

// The settings' own tables: one Exp colour, as the options button searches.
void BM_FindCaptureAreasOneColour(benchmark::State& state)
{
    const PixelBuffer frame = frameOf(FrameExtent{1920, 1080}, true);
    const FinderFonts fonts = DefaultFinderFonts(InterfaceColour::Yellow);
    for (auto _ : state)
        benchmark::DoNotOptimize(FindCaptureAreas(frame, fonts));
}
BENCHMARK(BM_FindCaptureAreasOneColour)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
