#include "ProgramHarness.h"
#include "X11TestSupport.h"
#include "platform/x11/X11GameWindows.h"
#include "recognition/Recognition.h"
#include "state/Program.h"
#include "tools/simgame/GameFrame.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <csignal>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

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

// One capture's three regions: one request and reply after the other, or all in one batch.
void BM_GrabThreeDefaultRegions(benchmark::State& state)
{
    LiveWindow& live = Live();
    if (!live.ready) {
        state.SkipWithError("no X server for the benchmark");
        return;
    }
    const bool batched = state.range(0) != 0;
    const bool shm = state.range(1) != 0;
    X11GameWindows windows({live.session->display(), shm});
    const WindowId id = windows.FindWindow("Gamebryo Application");
    const std::vector<Rect> regions(std::begin(kRegions), std::end(kRegions));
    for (auto _ : state) {
        if (batched) {
            benchmark::DoNotOptimize(windows.GrabClientRegions(id, regions));
        } else {
            for (const Rect& region : regions)
                benchmark::DoNotOptimize(windows.GrabClientRegion(id, region));
        }
    }
    state.SetLabel(std::string(batched ? "batched" : "one by one") + (shm ? " shm" : " plain"));
}
BENCHMARK(BM_GrabThreeDefaultRegions)
    ->ArgsProduct({{0, 1}, {1, 0}})
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

// kesmaro-simgame live on a private X server, read as the capture cycle reads it.
struct LiveGame {
    static constexpr int kLevel = 87;
    static constexpr double kExp = 45.09;
    static constexpr std::int64_t kCoins = 98765432;

    LiveGame()
    {
        session = std::make_unique<XvfbSession>(XvfbSession::Options{.windowManager = true});
        if (!session->ok())
            return;
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e) {
            const std::string entry(*e);
            if (entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("QT_QPA_PLATFORM=", 0) != 0 &&
                entry.rfind("XDG_RUNTIME_DIR=", 0) != 0)
                env.push_back(entry);
        }
        env.push_back("DISPLAY=" + session->display());
        env.push_back("XDG_RUNTIME_DIR=" + dir.path().toStdString());
        std::vector<std::string> args{
            KESMARO_SIMGAME_EXE,   "--level", std::to_string(kLevel), "--exp", "45.09", "--coins",
            std::to_string(kCoins)};
        std::vector<char*> argv, envp;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        if (posix_spawn(&pid, KESMARO_SIMGAME_EXE, nullptr, nullptr, argv.data(), envp.data()) !=
            0) {
            pid = -1;
            return;
        }
        windows = std::make_unique<X11GameWindows>(X11GameWindows::Options{session->display()});
        harness = std::make_unique<test::ProgramHarness>(
            test::ProgramOptions{.start = test::At(2024, 5, 1, 0), .gameWindows = windows.get()});
        program = &harness->p;
        GameFrameSpec frameSpec;
        program->settings = FrameSettings(frameSpec);
        program->settings.LagCancelTime = 0;
        const QString want[] = {QString::number(kLevel), QStringLiteral("4509"),
                                QString::number(kCoins)};
        ready = WaitFor([&] {
            game = windows->FindWindow("Gamebryo Application");
            if (game == kNoWindow)
                return false;
            for (int c = 0; c < kCategoryCount; ++c)
                if (read(c) != want[c])
                    return false;
            return true;
        });
    }
    ~LiveGame()
    {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }

    QString read(int category)
    {
        const auto c = static_cast<std::size_t>(category);
        const Settings& s = program->settings;
        CaptureColumnText(*program, game, s.CaptureArea[c], category, s.BinaryThreshold[c],
                          s.BinaryMask[c]);
        return QString::fromStdString(RecognizeNumber(*program, category));
    }

    QTemporaryDir dir;
    std::unique_ptr<XvfbSession> session;
    pid_t pid = -1;
    std::unique_ptr<X11GameWindows> windows;
    std::unique_ptr<test::ProgramHarness> harness;
    Program* program = nullptr;
    WindowId game = kNoWindow;
    bool ready = false;
};

LiveGame& Game()
{
    static LiveGame live;
    return live;
}

// Level, Exp and coins grabbed and recognized one region after the other.
void BM_GrabAndRecognizeLiveGame(benchmark::State& state)
{
    LiveGame& live = Game();
    if (!live.ready) {
        state.SkipWithError("no live game for the benchmark (Xvfb or kesmaro-simgame failed)");
        return;
    }
    for (auto _ : state)
        for (int c = 0; c < kCategoryCount; ++c)
            benchmark::DoNotOptimize(live.read(c));
    state.SetLabel(live.windows->usesShm() ? "shm" : "plain");
}
BENCHMARK(BM_GrabAndRecognizeLiveGame)
    ->Repetitions(9)
    ->DisplayAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

// One live capture tick's reading: every region the tick may read requested in one round
// trip, as the capture cycle does, then level, Exp and coins read from the replies.
void BM_CaptureTickLiveGame(benchmark::State& state)
{
    LiveGame& live = Game();
    if (!live.ready) {
        state.SkipWithError("no live game for the benchmark (Xvfb or kesmaro-simgame failed)");
        return;
    }
    Program& p = *live.program;
    const auto tick = [&] {
        const RegionBatch batch(p, live.game, {AreaLevel, AreaExp, AreaMoney, AreaMoneySecond});
        CaptureAreaColumnText(p, live.game, AreaLevel, CategoryLevel);
        const std::int32_t level = LevelFromText(RecognizeNumber(p, CategoryLevel));
        const Currency exp = ReadExpArea(p, live.game);
        CaptureAreaColumnText(p, live.game, AreaMoney, CategoryMoney);
        const Currency coins = AmountFromText(RecognizeNumber(p, CategoryMoney));
        return level == LiveGame::kLevel && exp == Currency::FromInteger(4509) &&
               coins == Currency::FromInteger(LiveGame::kCoins);
    };
    if (!tick()) {
        state.SkipWithError("the batched reading does not give the game's values");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(tick());
    state.SetLabel(live.windows->usesShm() ? "one round trip, shm" : "one round trip, plain");
}
BENCHMARK(BM_CaptureTickLiveGame)
    ->Repetitions(9)
    ->DisplayAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
