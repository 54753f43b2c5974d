#include "common/Cp932.h"
#include "common/DebugLog.h"
#include "config/ConfigFile.h"
#include "config/Defaults.h"
#include "platform/Prompter.h"
#include "platform/sim/SimClock.h"

#include <benchmark/benchmark.h>
#include <string>
#include <vector>

using namespace kesmaro;

namespace {

class YesPrompter : public Prompter {
public:
    PromptAnswer Ask(const Prompt&) override { return PromptAnswer::Yes; }
};

Settings defaultSettings()
{
    Settings s;
    s.SearchWindowClass = kDefaultWindowClass;
    ApplyDefaults(s, "/opt/kesmaro");
    SetDefaultCaptureAreas(s, ScreenMode::FullScreen);
    LoadDefaultGlyphTables(s, InterfaceColour::Yellow);
    return s;
}

std::string fileBytes(const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines)
        bytes += EncodeCp932(line) + "\r\n";
    return bytes + "\r\n";
}

void readBytes(benchmark::State& state, const std::string& bytes)
{
    const SimClock clock{LocalDateTime{}, 0};
    DebugLog log("/nonexistent", clock);
    YesPrompter prompter;
    Settings s;
    s.SearchWindowClass = kDefaultWindowClass;
    ConfigContext ctx{s, prompter, log, "/opt/kesmaro"};
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadConfigBytes(ctx, bytes, ConfigLayout::V230));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

} // namespace

// Start-up and the options window's load button read one file of ~4 KB.
static void BM_ReadSettingsFile(benchmark::State& state)
{
    readBytes(state, fileBytes(ConfigFileLines(defaultSettings())));
}
BENCHMARK(BM_ReadSettingsFile);

// A hand-edited file with a megabyte-long line must stay a matter of milliseconds.
static void BM_ReadSettingsFileWithMegabyteLine(benchmark::State& state)
{
    std::vector<std::string> lines = ConfigFileLines(defaultSettings());
    lines[9] += std::string(1 << 20, ',');
    readBytes(state, fileBytes(lines));
}
BENCHMARK(BM_ReadSettingsFileWithMegabyteLine);

static void BM_SettingsFileLines(benchmark::State& state)
{
    const Settings s = defaultSettings();
    for (auto _ : state)
        benchmark::DoNotOptimize(ConfigFileLines(s));
}
BENCHMARK(BM_SettingsFileLines);

BENCHMARK_MAIN();
