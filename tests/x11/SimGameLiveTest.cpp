// The live simulated game under a private X server, watched through the real X11 backend and
// read with the real recognition.

#include "../support/ProgramFixture.h"
#include "../support/SimGameFrames.h"
#include "../support/Xvfb.h"
#include "platform/x11/X11GameWindows.h"
#include "recognition/AutoDetect.h"
#include "recognition/Recognition.h"

#include <QProcess>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace kesmaro;
using kesmaro::testing::StartXvfb;
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

class SimGameLiveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!StartXvfb(session))
            return;
        windows = std::make_unique<X11GameWindows>(X11GameWindows::Options{session->display()});
        ASSERT_TRUE(windows->isConnected());
        program = std::make_unique<test::ProgramHarness>(
            test::ProgramOptions{.gameWindows = windows.get()});
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
        env.insert("DISPLAY", QString::fromStdString(session->display()));
        env.remove("QT_QPA_PLATFORM"); // the game picks xcb itself
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(program->dir.folder()));
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
        const bool shown = WaitFor([&] {
            id = windows->FindWindow(windowClass);
            const PixelBuffer got = windows->GrabClientRegion(id, {0, 0, want.width, want.height});
            if (id == kNoWindow || got.bgra.size() != want.bgra.size())
                return false;
            for (std::size_t i = 0; i < want.bgra.size(); i += 4)
                if (!std::equal(&want.bgra[i], &want.bgra[i] + 3, &got.bgra[i]))
                    return false;
            return true;
        });
        EXPECT_TRUE(shown) << "the game never showed its frame";
        return shown ? id : kNoWindow;
    }

    // Grabs the three default regions of the window and recognizes them.
    Reading read(WindowId id, const GameFrameSpec& frameSpec)
    {
        Program& p = program->p;
        p.settings = FrameSettings(frameSpec);
        p.settings.LagCancelTime = 0;
        Reading r;
        QString* const texts[] = {&r.level, &r.exp, &r.coins};
        for (int category : {CategoryLevel, CategoryExp, CategoryMoney}) {
            const auto c = static_cast<std::size_t>(category);
            CaptureColumnText(p, id, p.settings.CaptureArea[c], category,
                              p.settings.BinaryThreshold[c], p.settings.BinaryMask[c]);
            *texts[c] = QString::fromStdString(RecognizeNumber(p, category));
        }
        return r;
    }

    std::unique_ptr<XvfbSession> session;
    std::unique_ptr<X11GameWindows> windows;
    std::vector<std::unique_ptr<QProcess>> games;
    std::unique_ptr<test::ProgramHarness> program;
};

} // namespace

TEST_F(SimGameLiveTest, IsFoundByItsClassOrTheOneGivenAndIsExactlyTheFrame)
{
    start({"--window-mode"});
    const GameFrameSpec frameSpec = test::FrameSpec(1, 0, 0, CoinArea::Area2, true);
    const WindowId game = waitForFrame(kGameClass, frameSpec);
    ASSERT_NE(game, kNoWindow);
    // One pixel beyond the client area reads black: it is exactly the frame.
    const FrameExtent size = FrameSize(frameSpec);
    const PixelBuffer beyond = windows->GrabClientRegion(game, {size.width, size.height - 1, 1, 1});
    EXPECT_EQ(beyond.pixel(0, 0)[0] + beyond.pixel(0, 0)[1] + beyond.pixel(0, 0)[2], 0);

    start({"--class", "Other Game", "--level", "7"});
    const WindowId other = waitForFrame("Other Game", test::FrameSpec(7, 0, 0));
    EXPECT_NE(other, kNoWindow);
    EXPECT_NE(other, game);
    EXPECT_EQ(windows->FindWindow("No Such Game"), kNoWindow);
}

TEST_F(SimGameLiveTest, AGameKilledBetweenFindAndGrabReadsNothingWithoutAnError)
{
    QProcess& process = start({"--level", "42"});
    const GameFrameSpec frameSpec = test::FrameSpec(42, 0, 0);
    const WindowId game = waitForFrame(kGameClass, frameSpec);
    ASSERT_NE(game, kNoWindow);
    process.kill();
    process.waitForFinished(10000);
    ASSERT_TRUE(WaitFor([&] { return !kesmaro::testing::WindowExists(session->display(), game); }));
    ::testing::internal::CaptureStderr();
    const Reading r = read(game, frameSpec);
    const PixelBuffer region = windows->GrabClientRegion(game, {392, 726, 53, 15});
    const auto batch = windows->GrabClientRegions(game, {{392, 726, 53, 15}, {0, 0, 0, 0}});
    const Rect rect = windows->WindowRect(game);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(r, Reading{});
    ASSERT_EQ(region.bgra.size(), 53u * 15u * 4u);
    for (std::size_t i = 0; i < region.bgra.size(); i += 4)
        ASSERT_EQ(region.bgra[i] | region.bgra[i + 1] | region.bgra[i + 2], 0) << i;
    ASSERT_EQ(batch.size(), 2u);
    EXPECT_TRUE(batch[0].bgra == region.bgra);
    EXPECT_TRUE(batch[1].isEmpty());
    EXPECT_EQ(rect, Rect{});
}

TEST_F(SimGameLiveTest, ABatchOfRegionsGivesThePixelsOfOneByOne)
{
    start({"--level", "87", "--exp", "45.09", "--coins", "98765432"});
    const WindowId game = waitForFrame(kGameClass, test::FrameSpec(87, 45.09, 98765432));
    ASSERT_NE(game, kNoWindow);
    // The default regions, then ones that reach out of the window, lie outside it or hold
    // no pixels at all, mixed so that each kind sits between others.
    const std::vector<Rect> regions = {
        {392, 726, 53, 15}, {687, 752, 49, 10},   {846, 202, 179, 9}, {1000, 760, 40, 20},
        {0, 0, 0, 5},       {-5, -5, 20, 20},     {-40000, 10, 8, 8}, {0, 0, 100000, 100000},
        {2000, 10, 8, 8},   {30000, 30000, 4, 4}, {0, 0, 1024, 768},
    };
    X11GameWindows plain({session->display(), /*useShm=*/false});
    ::testing::internal::CaptureStderr();
    for (X11GameWindows* backend : {windows.get(), &plain}) {
        SCOPED_TRACE(backend == &plain ? "plain" : "shm");
        const std::vector<PixelBuffer> batch = backend->GrabClientRegions(game, regions);
        ASSERT_EQ(batch.size(), regions.size());
        for (std::size_t i = 0; i < regions.size(); ++i) {
            SCOPED_TRACE(i);
            const PixelBuffer single = backend->GrabClientRegion(game, regions[i]);
            EXPECT_EQ(batch[i].width, single.width);
            EXPECT_EQ(batch[i].height, single.height);
            EXPECT_TRUE(batch[i].bgra == single.bgra);
        }
    }
    EXPECT_TRUE(windows->usesShm());
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST_F(SimGameLiveTest, NumbersMovedAwayFromTheDefaultsAreFoundAndTheNextCaptureReadsThem)
{
    if (!session)
        GTEST_SKIP() << "no X server";
    start({"--level", "64", "--exp", "77.31", "--coins", "424242", "--window-mode", "--at",
           "level=60,100", "--at", "exp=500,600", "--at", "coins=300,400"});
    GameFrameSpec moved = test::FrameSpec(64, 77.31, 424242, CoinArea::Area2, true);
    moved.at = {FramePoint{60, 100}, FramePoint{500, 600}, FramePoint{300, 400}};
    const WindowId game = waitForFrame(kGameClass, moved);
    ASSERT_NE(game, kNoWindow);

    Program& p = program->p;
    p.settings = FrameSettings(test::FrameSpec(1, 0, 0, CoinArea::Area2, true));
    p.settings.SearchWindowClass = kGameClass;
    p.settings.LagCancelTime = 0;
    // At the default areas nothing reads.
    CaptureAreaColumnText(p, game, AreaLevel, CategoryLevel);
    EXPECT_EQ(RecognizeNumber(p, CategoryLevel), "");

    program->sim.prompter.queue(PromptAnswer::Ok);
    ASSERT_EQ(AutoDetectCaptureAreas(p,
                                     [&](const PixelBuffer&, const AreaProposal& proposal) {
                                         return ConfirmByPrompt(p, proposal);
                                     }),
              AutoDetectOutcome::Applied);
    EXPECT_EQ(p.settings.CaptureArea[AreaLevel].Y, 100);
    EXPECT_EQ(p.settings.CaptureArea[AreaExp].Y, 600);
    EXPECT_EQ(p.settings.CaptureArea[AreaMoney].Y, 400);
    Reading r;
    QString* const texts[] = {&r.level, &r.exp, &r.coins};
    {
        RegionBatch batch(p, game, {AreaLevel, AreaExp, AreaMoney});
        for (int category : {CategoryLevel, CategoryExp, CategoryMoney}) {
            CaptureAreaColumnText(p, game, category, category);
            *texts[static_cast<std::size_t>(category)] =
                QString::fromStdString(RecognizeNumber(p, category));
        }
    }
    EXPECT_EQ(r, (Reading{"64", "7731", "424242"}));
}
