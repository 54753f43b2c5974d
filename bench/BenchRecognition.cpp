// Binarize + recognize of the three default capture areas on rendered game pixels.

#include "ProgramHarness.h"
#include "config/Defaults.h"
#include "platform/sim/SimGameWindows.h"
#include "platform/sim/SimServices.h"
#include "recognition/Binarization.h"
#include "recognition/GlyphRenderer.h"
#include "recognition/NumberReader.h"
#include "recognition/Recognition.h"
#include "state/Program.h"

#include <benchmark/benchmark.h>

using namespace kesmaro;

namespace {

struct Scene {
    Settings settings;
    PixelBuffer frame{1030, 800};
    std::array<PixelBuffer, kCategoryCount> regions;

    Scene()
    {
        LoadDefaultGlyphTables(settings, InterfaceColour::Blue);
        SetDefaultCaptureAreas(settings, ScreenMode::FullScreen);
        // Level at the left, Exp with its point, coins right-aligned as the game shows them.
        const std::array<std::string, kCategoryCount> numbers = {"87", "45.09", "98765432"};
        const std::array<int, kCategoryCount> offsets = {2, 3, 179 - 9 * 6 - 3};
        for (int c = 0; c < kCategoryCount; ++c) {
            const auto k = static_cast<std::size_t>(c);
            const GlyphFont font = GlyphFontOf(settings, c);
            const CaptureRect& a = settings.CaptureArea[k];
            FillGlyphBackground(frame, Rect{a.X, a.Y, a.Width, a.Height}, font, 11 + k);
            DrawNumber(frame, a.X + offsets[k], a.Y, numbers[k], font,
                       GlyphInk{0, 2, static_cast<std::uint32_t>(23 + k)});
            SimGameWindows cut;
            regions[k] =
                cut.GrabClientRegion(cut.addWindow("", frame), Rect{a.X, a.Y, a.Width, a.Height});
        }
    }
};

const Scene& scene()
{
    static const Scene s;
    return s;
}

// The recognizer's own work: pixels to column words to number, three areas.
void BM_BinarizeAndRecognizeThreeAreas(benchmark::State& state)
{
    const Scene& s = scene();
    std::array<GlyphFont, kCategoryCount> fonts;
    for (int c = 0; c < kCategoryCount; ++c)
        fonts[static_cast<std::size_t>(c)] = GlyphFontOf(s.settings, c);
    for (auto _ : state) {
        for (int c = 0; c < kCategoryCount; ++c) {
            const auto k = static_cast<std::size_t>(c);
            NumberRead read = RecognizePixels(s.regions[k], fonts[k], c);
            benchmark::DoNotOptimize(read);
        }
    }
    if (RecognizePixels(s.regions[CategoryMoney], fonts[CategoryMoney], CategoryMoney).result !=
        "98765432")
        state.SkipWithError("the rendered coins were not read");
}
BENCHMARK(BM_BinarizeAndRecognizeThreeAreas);

// The slowest case: nothing to read, so every character offset of every area is searched.
void BM_RecognizeThreeEmptyAreas(benchmark::State& state)
{
    const Scene& s = scene();
    std::array<std::vector<std::uint16_t>, kCategoryCount> words;
    std::array<GlyphFont, kCategoryCount> fonts;
    for (std::size_t k = 0; k < kCategoryCount; ++k) {
        const GlyphFont& font = fonts[k] = GlyphFontOf(s.settings, static_cast<int>(k));
        const CaptureRect& a = s.settings.CaptureArea[k];
        PixelBuffer empty(a.Width, a.Height);
        FillGlyphBackground(empty, Rect{0, 0, a.Width, a.Height}, font, 5);
        words[k] = BinarizeColumns(empty, font.threshold, font.mask);
    }
    for (auto _ : state) {
        for (int c = 0; c < kCategoryCount; ++c) {
            const auto k = static_cast<std::size_t>(c);
            GlyphMatcher matcher;
            matcher.setGlyphs(fonts[k].width, fonts[k].patterns);
            matcher.setWords(words[k]);
            NumberRead read =
                ReadNumber(matcher, s.settings.CaptureArea[k].Width, c, nullptr, nullptr);
            benchmark::DoNotOptimize(read);
        }
    }
}
BENCHMARK(BM_RecognizeThreeEmptyAreas);

void BM_BinarizeThreeAreas(benchmark::State& state)
{
    const Scene& s = scene();
    for (auto _ : state)
        for (std::size_t k = 0; k < kCategoryCount; ++k)
            benchmark::DoNotOptimize(BinarizeColumns(s.regions[k], s.settings.BinaryThreshold[k],
                                                     s.settings.BinaryMask[k]));
}
BENCHMARK(BM_BinarizeThreeAreas);

// What a capture adds for the slot's view: the column text of the words.
void BM_ColumnTextOfThreeAreas(benchmark::State& state)
{
    const Scene& s = scene();
    std::array<std::vector<std::uint16_t>, kCategoryCount> words;
    for (std::size_t k = 0; k < kCategoryCount; ++k)
        words[k] =
            BinarizeColumns(s.regions[k], s.settings.BinaryThreshold[k], s.settings.BinaryMask[k]);
    for (auto _ : state)
        for (std::size_t k = 0; k < kCategoryCount; ++k)
            benchmark::DoNotOptimize(ColumnWordsToText(words[k]));
}
BENCHMARK(BM_ColumnTextOfThreeAreas);

// The operations as the capture cycle calls them: grab from the (simulated) game window,
// CaptureColumnText into the slot, RecognizeNumber with captions.
void BM_CaptureColumnTextAndRecognizeNumber(benchmark::State& state)
{
    const Scene& s = scene();
    test::ProgramHarness h{{.start = test::At(2024, 5, 1, 0), .bootTickMs = 0}};
    Program& p = h.p;
    SimGameWindows& windows = h.windows;
    p.settings = s.settings;
    const WindowId game = windows.addWindow("Gamebryo Application", s.frame);
    std::string results;
    for (auto _ : state) {
        for (int c = 0; c < kCategoryCount; ++c) {
            const auto k = static_cast<std::size_t>(c);
            CaptureColumnText(p, game, p.settings.CaptureArea[k], c, p.settings.BinaryThreshold[k],
                              p.settings.BinaryMask[k]);
            results = RecognizeNumber(p, c);
        }
    }
    if (results != "98765432")
        state.SkipWithError("the rendered coins were not read");
}
BENCHMARK(BM_CaptureColumnTextAndRecognizeNumber);

} // namespace
BENCHMARK_MAIN();
