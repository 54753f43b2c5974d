// The live simulated game under a private X server, watched through the real X11 backend and
// read with the real recognition.

#include "X11TestSupport.h"
#include "common/DebugLog.h"
#include "platform/sim/SimServices.h"
#include "platform/x11/X11GameWindows.h"
#include "recognition/Recognition.h"
#include "records/Program.h"
#include "tools/simgame/GameFrame.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace kesmaro;
using kesmaro::testing::TestWindow;
using kesmaro::testing::WaitFor;
using kesmaro::testing::XvfbSession;

namespace {

const std::string kGameClass = "Gamebryo Application";

struct Reading {
    QString level;
    QString exp;
    QString coins;
    friend bool operator==(const Reading&, const Reading&) = default;
};

std::ostream& operator<<(std::ostream& out, const Reading& r)
{
    return out << "level '" << r.level.toStdString() << "', Exp '" << r.exp.toStdString()
               << "', coins '" << r.coins.toStdString() << "'";
}

// What the recognizer reads for a frame showing these values.
Reading Expected(int level, double exp, std::int64_t coins)
{
    return {QString::number(level), QString::number(std::llround(exp * 100.0)),
            QString::number(coins)};
}

// Both strings of the window's WM_CLASS.
std::vector<std::string> WmClass(const std::string& display, WindowId window)
{
    std::vector<std::string> strings;
    xcb_connection_t* conn = xcb_connect(display.c_str(), nullptr);
    if (xcb_connection_has_error(conn) == 0) {
        const xcb_get_property_cookie_t cookie =
            xcb_get_property(conn, 0, static_cast<xcb_window_t>(window), XCB_ATOM_WM_CLASS,
                             XCB_ATOM_STRING, 0, 1024);
        if (xcb_get_property_reply_t* reply = xcb_get_property_reply(conn, cookie, nullptr)) {
            const char* data = static_cast<const char*>(xcb_get_property_value(reply));
            const int length = xcb_get_property_value_length(reply);
            for (int start = 0; start < length;) {
                const std::string part(data + start);
                strings.push_back(part);
                start += static_cast<int>(part.size()) + 1;
            }
            std::free(reply);
        }
    }
    xcb_disconnect(conn);
    return strings;
}

class SimGameLiveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        session = std::make_unique<XvfbSession>();
        if (!session->ok()) {
            if (session->display().empty())
                GTEST_SKIP() << "No X server for the X11 tests: " << session->problem();
            FAIL() << session->problem();
        }
        windows = std::make_unique<X11GameWindows>(X11GameWindows::Options{session->display()});
        ASSERT_TRUE(windows->isConnected());
        sim = std::make_unique<SimServices>(
            std::chrono::local_days(std::chrono::year(2024) / 5 / 1), 3600 * 1000, windows.get());
        log = std::make_unique<DebugLog>(dir.path(), sim->clock);
        program = std::make_unique<Program>(sim->services, *log, view, dir.path());
    }

    void TearDown() override
    {
        for (auto& game : games) {
            game->kill();
            game->waitForFinished(10000);
        }
    }

    // Starts kesmaro-simgame live on the test's display.
    QProcess& start(const QStringList& arguments)
    {
        auto game = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), QString::fromStdString(session->display()));
        env.remove(QStringLiteral("QT_QPA_PLATFORM")); // the game picks xcb itself
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
        game->setProcessEnvironment(env);
        game->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        game->start(QStringLiteral(KESMARO_SIMGAME_EXE), arguments);
        EXPECT_TRUE(game->waitForStarted(10000));
        games.push_back(std::move(game));
        return *games.back();
    }

    // Waits until a window of the class shows exactly the frame of `frameSpec`; kNoWindow when it
    // never does.
    WindowId waitForFrame(const std::string& windowClass, const GameFrameSpec& frameSpec)
    {
        const PixelBuffer want = RenderGameFrame(frameSpec);
        WindowId id = kNoWindow;
        int wrong = -1;
        const bool shown = WaitFor([&] {
            id = windows->FindWindow(windowClass);
            if (id == kNoWindow)
                return false;
            const PixelBuffer got = windows->GrabClientRegion(id, {0, 0, want.width, want.height});
            wrong = 0;
            for (std::size_t i = 0; i < want.bgra.size(); i += 4)
                if (!std::equal(want.bgra.begin() + static_cast<std::ptrdiff_t>(i),
                                want.bgra.begin() + static_cast<std::ptrdiff_t>(i) + 3,
                                got.bgra.begin() + static_cast<std::ptrdiff_t>(i)))
                    ++wrong;
            return wrong == 0;
        });
        if (!shown) {
            ADD_FAILURE() << "the game never showed its frame: window " << id << ", " << wrong
                          << " wrong pixels";
            return kNoWindow;
        }
        return id;
    }

    // Grabs the three default regions of the window and recognizes them.
    Reading read(WindowId id, const GameFrameSpec& frameSpec)
    {
        Program& p = *program;
        p.settings = FrameSettings(frameSpec);
        p.settings.LagCancelTime = 0;
        Reading r;
        QString* const texts[] = {&r.level, &r.exp, &r.coins};
        for (int category : {CategoryLevel, CategoryExp, CategoryMoney}) {
            const auto c = static_cast<std::size_t>(category);
            CaptureColumnText(p, id, p.settings.CaptureArea[c], category,
                              p.settings.BinaryThreshold[c], p.settings.BinaryMask[c]);
            *texts[c] = RecognizeNumber(p, category);
        }
        return r;
    }

    bool activate(WindowId id)
    {
        session->run({"xdotool", "windowactivate", "--sync", std::to_string(id)});
        return WaitFor([&] { return windows->ForegroundWindow() == id; });
    }

    QString writeScript(const QByteArray& text)
    {
        const QString path = dir.filePath(QStringLiteral("script.txt"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }

    std::unique_ptr<XvfbSession> session;
    std::unique_ptr<X11GameWindows> windows;
    std::vector<std::unique_ptr<QProcess>> games;
    QTemporaryDir dir;
    std::unique_ptr<SimServices> sim;
    std::unique_ptr<DebugLog> log;
    ProgramView view;
    std::unique_ptr<Program> program;
};

GameFrameSpec Spec(int level, double exp, std::int64_t coins, bool windowMode = false,
                   InterfaceColour colour = InterfaceColour::Yellow)
{
    GameFrameSpec frameSpec;
    frameSpec.level = level;
    frameSpec.expPercent = exp;
    frameSpec.coins = coins;
    frameSpec.windowMode = windowMode;
    frameSpec.colour = colour;
    return frameSpec;
}

QStringList ValueArguments(const GameFrameSpec& frameSpec)
{
    QStringList arguments{QStringLiteral("--level"), QString::number(frameSpec.level),
                          QStringLiteral("--exp"),   ExpText(frameSpec.expPercent),
                          QStringLiteral("--coins"), QString::number(frameSpec.coins)};
    if (frameSpec.windowMode)
        arguments << QStringLiteral("--window-mode");
    return arguments;
}

} // namespace

TEST_F(SimGameLiveTest, IsFoundByItsClassOrTheOneGiven)
{
    start({});
    const WindowId game = waitForFrame(kGameClass, Spec(1, 0, 0));
    ASSERT_NE(game, kNoWindow);
    EXPECT_EQ(WmClass(session->display(), game),
              (std::vector<std::string>{kGameClass, kGameClass}));

    start({QStringLiteral("--class"), QStringLiteral("Other Game"), QStringLiteral("--level"),
           QStringLiteral("7")});
    const WindowId other = waitForFrame("Other Game", Spec(7, 0, 0));
    ASSERT_NE(other, kNoWindow);
    EXPECT_NE(other, game);
    EXPECT_EQ(WmClass(session->display(), other),
              (std::vector<std::string>{"Other Game", "Other Game"}));
    EXPECT_EQ(windows->FindWindow("No Such Game"), kNoWindow);
    EXPECT_EQ(windows->FindWindow("Gamebryo"), kNoWindow);
}

TEST_F(SimGameLiveTest, ItsClientAreaIsTheFrameAndTheFrameIsInsideTheWholeWindow)
{
    start({QStringLiteral("--window-mode")});
    const GameFrameSpec frameSpec = Spec(1, 0, 0, true);
    const WindowId game = waitForFrame(kGameClass, frameSpec);
    ASSERT_NE(game, kNoWindow);
    const QSize size = FrameSize(frameSpec);
    // One pixel beyond the client area on each side reads black: it is exactly the frame.
    const PixelBuffer beyond =
        windows->GrabClientRegion(game, {size.width(), size.height() - 1, 1, 1});
    EXPECT_EQ(beyond.pixel(0, 0)[0] + beyond.pixel(0, 0)[1] + beyond.pixel(0, 0)[2], 0);

    const Rect outer = windows->WindowRect(game);
    ASSERT_GT(outer.width, size.width());
    ASSERT_GT(outer.height, size.height());
    const PixelBuffer whole =
        windows->GrabPicture(game, PictureArea::WholeWindow, {0, 0, outer.width, outer.height});
    ASSERT_EQ(whole.width, outer.width);
    ASSERT_EQ(whole.height, outer.height);
    // The client area sits somewhere inside the window manager's frame.
    const PixelBuffer frame = RenderGameFrame(frameSpec);
    bool found = false;
    for (int dy = 0; dy <= outer.height - size.height() && !found; ++dy) {
        for (int dx = 0; dx <= outer.width - size.width() && !found; ++dx) {
            bool same = true;
            for (int y = 0; y < frame.height && same; y += 7)
                for (int x = 0; x < frame.width && same; x += 5)
                    same = std::equal(frame.pixel(x, y), frame.pixel(x, y) + 3,
                                      whole.pixel(dx + x, dy + y));
            found = same;
        }
    }
    EXPECT_TRUE(found) << "the client frame is not in the whole-window picture";
}

TEST_F(SimGameLiveTest, ForegroundFollowsTheActiveWindow)
{
    start({});
    const WindowId game = waitForFrame(kGameClass, Spec(1, 0, 0));
    ASSERT_NE(game, kNoWindow);
    TestWindow other(session->display(), {.instance = "editor",
                                          .windowClass = "Editor",
                                          .x = 100,
                                          .y = 100,
                                          .width = 500,
                                          .height = 400,
                                          .seed = 3});
    ASSERT_TRUE(other.ok());
    ASSERT_TRUE(WaitFor([&] { return other.viewable(); }));
    ASSERT_TRUE(activate(game));
    EXPECT_EQ(windows->ForegroundWindow(), game);
    ASSERT_TRUE(activate(other.id()));
    EXPECT_NE(windows->ForegroundWindow(), game);
    // Covered or not, the game is still the game and is still found.
    EXPECT_EQ(windows->FindWindow(kGameClass), game);
    ASSERT_TRUE(activate(game));
}

TEST_F(SimGameLiveTest, TheDefaultRegionsReadBackInBothLayoutsAndEveryColour)
{
    struct Row {
        bool windowMode;
        InterfaceColour colour;
        const char* colourName;
        int level;
        double exp;
        std::int64_t coins;
    };
    const Row rows[] = {
        {false, InterfaceColour::Yellow, "yellow", 35, 12.34, 1234567},
        {false, InterfaceColour::Red, "red", 999, 100.0, 999999999999999},
        {false, InterfaceColour::Blue, "blue", 1, 0.0, 0},
        {false, InterfaceColour::White, "white", 120, 7.05, 40000},
        {true, InterfaceColour::Yellow, "yellow", 88, 50.5, 987654321},
        {true, InterfaceColour::Red, "red", 2, 0.01, 10},
        {true, InterfaceColour::Blue, "blue", 450, 99.99, 1000000},
        {true, InterfaceColour::White, "white", 10, 33.33, 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.windowMode ? "window " : "full screen ") + row.colourName);
        const GameFrameSpec frameSpec =
            Spec(row.level, row.exp, row.coins, row.windowMode, row.colour);
        QProcess& process = start(ValueArguments(frameSpec) << QStringLiteral("--colour")
                                                            << QString::fromLatin1(row.colourName));
        const WindowId game = waitForFrame(kGameClass, frameSpec);
        ASSERT_NE(game, kNoWindow);
        EXPECT_EQ(read(game, frameSpec), Expected(row.level, row.exp, row.coins));
        process.kill();
        process.waitForFinished(10000);
        ASSERT_TRUE(WaitFor([&] { return windows->FindWindow(kGameClass) == kNoWindow; }));
    }
}

TEST_F(SimGameLiveTest, LaterGrabsSeeWhatTheScriptChanged)
{
    // Each step stays long enough for a poll to see it even on a loaded machine.
    const QString script = writeScript("# seconds level exp coins area\n"
                                       "0 10 12.34 1000\n"
                                       "2.5, 11, 0.5, 2000, both\n"
                                       "5 12 99.99 123456789 2\n");
    start({QStringLiteral("--script"), script});
    const GameFrameSpec frameSpec = Spec(10, 12.34, 1000);
    const WindowId game = waitForFrame(kGameClass, frameSpec);
    ASSERT_NE(game, kNoWindow);
    const Reading steps[] = {Expected(10, 12.34, 1000), Expected(11, 0.5, 2000),
                             Expected(12, 99.99, 123456789)};
    std::size_t seen = 0;
    std::vector<Reading> readings;
    const bool allSeen = WaitFor(
        [&] {
            const Reading r = read(game, frameSpec);
            if (readings.empty() || !(readings.back() == r))
                readings.push_back(r);
            while (seen < std::size(steps) && r == steps[seen])
                ++seen;
            return seen == std::size(steps);
        },
        std::chrono::seconds(30));
    EXPECT_TRUE(allSeen) << "saw " << seen << " of the steps";
    // Nothing but the steps, in their order (a grab may catch a repaint in between, which
    // reads as neither; none was seen twice or out of order).
    std::size_t next = 0;
    for (const Reading& r : readings) {
        const auto* it = std::find(std::begin(steps), std::end(steps), r);
        if (it == std::end(steps))
            continue;
        const auto index = static_cast<std::size_t>(it - std::begin(steps));
        EXPECT_GE(index, next) << r;
        next = index;
    }
}

TEST_F(SimGameLiveTest, ThePlayerGainsExpAndCoins)
{
    start({QStringLiteral("--play"), QStringLiteral("--seed"), QStringLiteral("7"),
           QStringLiteral("--exp-rate"), QStringLiteral("300"), QStringLiteral("--coin-rate"),
           QStringLiteral("60000"), QStringLiteral("--level"), QStringLiteral("5")});
    const GameFrameSpec frameSpec = Spec(5, 0, 0);
    WindowId game = kNoWindow;
    ASSERT_TRUE(WaitFor([&] { return (game = windows->FindWindow(kGameClass)) != kNoWindow; }));
    const Reading first = read(game, frameSpec);
    Reading later;
    EXPECT_TRUE(WaitFor([&] {
        later = read(game, frameSpec);
        return !later.level.isEmpty() && !later.coins.isEmpty() &&
               later.coins.toLongLong() > first.coins.toLongLong() + 1000;
    })) << first
        << " then " << later;
    EXPECT_GE(later.level.toInt(), 5);
}

TEST_F(SimGameLiveTest, AGameKilledBetweenFindAndGrabReadsNothingWithoutAnError)
{
    QProcess& process = start({QStringLiteral("--level"), QStringLiteral("42")});
    const GameFrameSpec frameSpec = Spec(42, 0, 0);
    const WindowId game = waitForFrame(kGameClass, frameSpec);
    ASSERT_NE(game, kNoWindow);
    process.kill();
    process.waitForFinished(10000);
    ASSERT_TRUE(WaitFor([&] { return !kesmaro::testing::WindowExists(session->display(), game); }));
    ::testing::internal::CaptureStderr();
    const Reading r = read(game, frameSpec);
    const PixelBuffer region = windows->GrabClientRegion(game, {392, 726, 53, 15});
    const Rect rect = windows->WindowRect(game);
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors, "");
    EXPECT_EQ(r, Reading{});
    ASSERT_EQ(region.width, 53);
    ASSERT_EQ(region.height, 15);
    for (int y = 0; y < region.height; ++y)
        for (int x = 0; x < region.width; ++x)
            ASSERT_EQ(region.pixel(x, y)[0] + region.pixel(x, y)[1] + region.pixel(x, y)[2], 0);
    EXPECT_EQ(rect, Rect{});
}
