// The capture-area finder over frames of the simulated game: whatever it proposes must read
// back the drawn numbers through the program's own capture path.

#include "QtProgramHarness.h"
#include "SimGameFrames.h"
#include "recognition/AutoDetect.h"
#include "recognition/Recognition.h"
#include "tools/simgame/GameFrame.h"

#include <QProcess>
#include <QSize>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

using namespace kesmaro;
using namespace kesmaro::test;

namespace {

class AreaFinderTest : public QtProgramFixture {
protected:
    AreaFinderTest() { p.settings.LagCancelTime = 0; }

    // Applies the proposal to settings of the frame's colour, shows the frame as the game
    // window and reads the three numbers as a capture does.
    struct Reading {
        QString level, exp, coins, coins2;
    };
    Reading readBack(const PixelBuffer& frame, const GameFrameSpec& scene,
                     const AreaProposal& proposal)
    {
        LoadDefaultGlyphTables(p.settings, scene.colour);
        SetDefaultCaptureAreas(p.settings,
                               scene.windowMode ? ScreenMode::Window : ScreenMode::FullScreen);
        ApplyCaptureAreas(p.settings, proposal);
        const WindowId window = windows.addWindow("Gamebryo Application", frame);
        Reading r;
        const auto read = [&](int area, int category) {
            CaptureAreaColumnText(p, window, area, category);
            if (area != category)
                CopyColumnSlot(p, area, category);
            return QString::fromStdString(RecognizeNumber(p, category));
        };
        r.level = read(AreaLevel, CategoryLevel);
        r.exp = read(AreaExp, CategoryExp);
        r.coins = read(AreaMoney, CategoryMoney);
        r.coins2 = read(AreaMoneySecond, CategoryMoney);
        windows.removeWindow(window);
        return r;
    }

    static QString expDigits(double percent)
    {
        return QString::number(std::llround(percent * 100.0));
    }
};

struct FrameCase {
    const char* name;
    bool windowMode;
    InterfaceColour colour;
    QSize size;
    CoinArea coins;
};

TEST_F(AreaFinderTest, EveryModeAndColourReadsBackAtTheDefaultAreas)
{
    const FrameCase cases[] = {
        {"full screen yellow", false, InterfaceColour::Yellow, {}, CoinArea::Area2},
        {"full screen red", false, InterfaceColour::Red, {}, CoinArea::Area2},
        {"full screen blue", false, InterfaceColour::Blue, {}, CoinArea::Area4},
        {"full screen white", false, InterfaceColour::White, {}, CoinArea::Area2},
        {"window yellow", true, InterfaceColour::Yellow, {}, CoinArea::Area2},
        {"window red", true, InterfaceColour::Red, {}, CoinArea::Area2},
        {"window blue", true, InterfaceColour::Blue, {}, CoinArea::Area2},
        {"window white", true, InterfaceColour::White, {}, CoinArea::Area4},
    };
    for (const FrameCase& c : cases) {
        SCOPED_TRACE(c.name);
        const GameFrameSpec scene = FrameSpec(87, 38.83, 1234567, c.coins, c.windowMode, c.colour);
        const PixelBuffer frame = RenderGameFrame(scene);
        const AreaProposal found = FindCaptureAreas(frame, DefaultFinderFonts(std::nullopt));
        ASSERT_EQ(found.level.status, FindStatus::Found);
        ASSERT_EQ(found.exp.status, FindStatus::Found);
        ASSERT_EQ(found.coins.status, FindStatus::Found);
        EXPECT_EQ(found.coins2.status, FindStatus::NotFound);
        const Settings drawn = FrameSettings(scene);
        // Row-exact and as tall as the glyphs: one row off reads nothing.
        EXPECT_EQ(found.level.area.y, drawn.CaptureArea[AreaLevel].Y);
        EXPECT_EQ(found.level.area.height, 15);
        EXPECT_EQ(found.exp.area.y, drawn.CaptureArea[AreaExp].Y);
        EXPECT_EQ(found.exp.area.height, 10);
        EXPECT_EQ(found.coins.area.height, 9);
        EXPECT_EQ(found.level.digits, "87");
        EXPECT_EQ(found.exp.digits, "3883");
        // Yellow and red share their glyphs; blue and white differ from them and each other in
        // the 3 and the 8.
        EXPECT_EQ(found.exp.font, c.colour == InterfaceColour::Blue    ? 2
                                  : c.colour == InterfaceColour::White ? 3
                                                                       : 0);
        EXPECT_EQ(found.coins.digits, "1234567");
        const Reading r = readBack(frame, scene, found);
        EXPECT_EQ(r.level, u"87");
        EXPECT_EQ(r.exp, u"3883");
        EXPECT_EQ(r.coins, u"1234567");
    }
}

TEST_F(AreaFinderTest, NumbersMovedAnywhereAreFoundAndReadBack)
{
    std::mt19937 random(20240501);
    for (const QSize size : {QSize(1280, 720), QSize(1920, 1080)}) {
        for (int round = 0; round < 6; ++round) {
            GameFrameSpec scene = FrameSpec(1 + static_cast<int>(random() % 999),
                                            static_cast<double>(random() % 10001) / 100.0,
                                            static_cast<std::int64_t>(random() % 100000000));
            scene.size = FrameExtent{size.width(), size.height()};
            scene.colour = static_cast<InterfaceColour>(random() % 4);
            scene.windowMode = random() % 2 == 0;
            // One band of rows each, so that no two areas overlap.
            const int band = (size.height() - 40) / 3;
            for (int n = 0; n < 3; ++n)
                scene.at[static_cast<std::size_t>(n)] = FramePoint{
                    8 + static_cast<int>(random() % static_cast<unsigned>(size.width() - 200)),
                    8 + n * band + static_cast<int>(random() % static_cast<unsigned>(band - 20))};
            SCOPED_TRACE(QStringLiteral("%1x%2 round %3 level %4 at %5,%6")
                             .arg(size.width())
                             .arg(size.height())
                             .arg(round)
                             .arg(scene.level)
                             .arg(scene.at[0]->x)
                             .arg(scene.at[0]->y)
                             .toStdString());
            ASSERT_EQ(CheckGameFrameSpec(scene), "");
            const PixelBuffer frame = RenderGameFrame(scene);
            const AreaProposal found = FindCaptureAreas(frame, DefaultFinderFonts(std::nullopt));
            ASSERT_EQ(found.level.status, FindStatus::Found);
            ASSERT_EQ(found.exp.status, FindStatus::Found);
            ASSERT_EQ(found.coins.status, FindStatus::Found);
            EXPECT_EQ(found.level.area.y, scene.at[0]->y);
            EXPECT_EQ(found.exp.area.y, scene.at[1]->y);
            EXPECT_EQ(found.coins.area.y, scene.at[2]->y);
            const Reading r = readBack(frame, scene, found);
            EXPECT_EQ(r.level, QString::number(scene.level));
            EXPECT_EQ(r.exp, expDigits(scene.expPercent));
            EXPECT_EQ(r.coins, QString::number(scene.coins));
        }
    }
}

TEST_F(AreaFinderTest, ProposedAreasHoldTheLongestNumbers)
{
    // Found while the numbers are short, the areas must still read them once they are long:
    // the level and Exp grow on both sides, the coins to the left.
    GameFrameSpec scene = FrameSpec(5, 0.5, 7);
    scene.size = FrameExtent{1280, 720};
    scene.at = {FramePoint{300, 100}, FramePoint{600, 300}, FramePoint{900, 500}};
    const AreaProposal found =
        FindCaptureAreas(RenderGameFrame(scene), DefaultFinderFonts(InterfaceColour::Yellow));
    ASSERT_EQ(found.coins.status, FindStatus::Found);
    GameFrameSpec longer = scene;
    longer.level = 999;
    longer.expPercent = 100.0;
    longer.coins = 999999999999999;
    // The game keeps the level and Exp centred and the coins' right edge where it was.
    const Settings drawn = FrameSettings(scene);
    const int coinsRight = 900 + drawn.CaptureArea[AreaMoney].Width;
    longer.at[2] = FramePoint{900, 500};
    ASSERT_EQ(coinsRight, 900 + FrameSettings(longer).CaptureArea[AreaMoney].Width);
    const Reading r = readBack(RenderGameFrame(longer), longer, found);
    EXPECT_EQ(r.level, u"999");
    EXPECT_EQ(r.exp, u"10000");
    EXPECT_EQ(r.coins, u"999999999999999");
}

TEST_F(AreaFinderTest, TwoCoinDisplaysProposeAreaFourAsTheUpperOne)
{
    for (const bool windowMode : {false, true}) {
        SCOPED_TRACE(windowMode ? "window" : "full screen");
        const GameFrameSpec scene = FrameSpec(12, 3.25, 4096, CoinArea::Both, windowMode);
        const PixelBuffer frame = RenderGameFrame(scene);
        const AreaProposal found = FindCaptureAreas(frame, DefaultFinderFonts(std::nullopt));
        ASSERT_EQ(found.coins.status, FindStatus::Found);
        ASSERT_EQ(found.coins2.status, FindStatus::Found);
        const Settings drawn = FrameSettings(scene);
        EXPECT_EQ(found.coins.area.y, drawn.CaptureArea[AreaMoney].Y);
        EXPECT_EQ(found.coins2.area.y, drawn.CaptureArea[AreaMoneySecond].Y);
        EXPECT_EQ(found.coins2.area.width, found.coins.area.width);
        bool complete = false;
        EXPECT_EQ(ProposalLines(found, &complete).size(), 4U);
        EXPECT_TRUE(complete);
        const Reading r = readBack(frame, scene, found);
        EXPECT_EQ(r.coins, u"4096");
        EXPECT_EQ(r.coins2, u"4096");
    }
}

TEST_F(AreaFinderTest, MissingNumbersAreReportedMissing)
{
    GameFrameSpec scene = FrameSpec(30, 50.0, 0, CoinArea::None);
    scene.hideLevel = true;
    const AreaProposal found =
        FindCaptureAreas(RenderGameFrame(scene), DefaultFinderFonts(std::nullopt));
    EXPECT_EQ(found.level.status, FindStatus::NotFound);
    EXPECT_EQ(found.exp.status, FindStatus::Found);
    EXPECT_EQ(found.coins.status, FindStatus::NotFound);
    bool complete = true;
    EXPECT_EQ(
        ProposalLines(found, &complete),
        std::vector<std::string>({"level not found", "exp 689 752 44 10", "coins not found"}));
    EXPECT_FALSE(complete);

    // A blank or malformed frame finds nothing and does not fail.
    for (const PixelBuffer& frame : {PixelBuffer(), PixelBuffer(5, 3), PixelBuffer(1024, 768)}) {
        const AreaProposal none = FindCaptureAreas(frame, DefaultFinderFonts(std::nullopt));
        EXPECT_EQ(none.level.status, FindStatus::NotFound);
        EXPECT_EQ(none.exp.status, FindStatus::NotFound);
        EXPECT_EQ(none.coins.status, FindStatus::NotFound);
    }
    PixelBuffer broken(100, 100);
    broken.bgra.resize(10);
    EXPECT_EQ(FindCaptureAreas(broken, DefaultFinderFonts(std::nullopt)).level.status,
              FindStatus::NotFound);
}

TEST_F(AreaFinderTest, TwoPlausibleLevelsAreAmbiguousNotGuessed)
{
    const GameFrameSpec scene = FrameSpec(41, 10.0, 5);
    PixelBuffer frame = RenderGameFrame(scene);
    // A second level on the dark bottom bar, as a party member's panel might show one.
    GameFrameSpec second = scene;
    second.level = 40;
    second.at[0] = FramePoint{150, 730};
    second.hideExp = true;
    second.coinArea = CoinArea::None;
    DrawHudValues(frame, second);
    const AreaProposal found = FindCaptureAreas(frame, DefaultFinderFonts(std::nullopt));
    EXPECT_EQ(found.level.status, FindStatus::Ambiguous);
    EXPECT_EQ(found.level.all.size(), 2U);
    EXPECT_EQ(found.exp.status, FindStatus::Found);
    EXPECT_EQ(ProposalLines(found).front(), "level ambiguous");

    // Ambiguous numbers leave their areas alone.
    Settings s = FrameSettings(scene);
    const CaptureRect before = s.CaptureArea[AreaLevel];
    ApplyCaptureAreas(s, found);
    EXPECT_EQ(s.CaptureArea[AreaLevel].X, before.X);
    EXPECT_EQ(s.CaptureArea[AreaLevel].Width, before.Width);
}

TEST_F(AreaFinderTest, DetectionAppliesOnlyAfterConfirmation)
{
    GameFrameSpec scene = FrameSpec(64, 77.77, 31337);
    scene.at = {FramePoint{40, 40}, FramePoint{400, 600}, FramePoint{700, 300}};
    LoadDefaultGlyphTables(p.settings, scene.colour);
    SetDefaultCaptureAreas(p.settings, ScreenMode::FullScreen);
    p.settings.SearchWindowClass = "Gamebryo Application";
    const Settings before = p.settings;

    EXPECT_EQ(AutoDetectCaptureAreas(p,
                                     [](const PixelBuffer&, const AreaProposal&) {
                                         ADD_FAILURE() << "nothing to confirm without a game";
                                         return true;
                                     }),
              AutoDetectOutcome::NoWindow);

    windows.addWindow("Gamebryo Application", RenderGameFrame(scene));
    sim.prompter.queue(PromptAnswer::Cancel);
    EXPECT_EQ(AutoDetectCaptureAreas(p,
                                     [&](const PixelBuffer&, const AreaProposal& proposal) {
                                         return ConfirmByPrompt(p, proposal);
                                     }),
              AutoDetectOutcome::Declined);
    EXPECT_EQ(p.settings.CaptureArea[AreaLevel].X, before.CaptureArea[AreaLevel].X);

    sim.prompter.queue(PromptAnswer::Ok);
    EXPECT_EQ(AutoDetectCaptureAreas(p,
                                     [&](const PixelBuffer& frame, const AreaProposal& proposal) {
                                         EXPECT_EQ(frame.width, 1024);
                                         return ConfirmByPrompt(p, proposal);
                                     }),
              AutoDetectOutcome::Applied);
    EXPECT_EQ(p.settings.CaptureArea[AreaLevel].Y, 40);
    EXPECT_EQ(p.settings.CaptureArea[AreaExp].Y, 600);
    EXPECT_EQ(p.settings.CaptureArea[AreaExpExtra].Width, p.settings.CaptureArea[AreaExp].Width);
    EXPECT_EQ(p.settings.CaptureArea[AreaMoneySecond].Width,
              p.settings.CaptureArea[AreaMoney].Width);
    // Area 4 was not seen: it keeps its place.
    EXPECT_EQ(p.settings.CaptureArea[AreaMoneySecond].Y, before.CaptureArea[AreaMoneySecond].Y);

    // Like every command: a "Click : " line, then how it ended.
    const QString click = QStringLiteral("Click : Capture Area Detect ");
    EXPECT_EQ(logLines(),
              (QStringList{click, QStringLiteral("Detecting CaptureArea ･･･ Window Not Find "),
                           click, QStringLiteral("Detecting CaptureArea ･･･ Cancel "), click,
                           QStringLiteral("Detecting CaptureArea ･･･ End ")}));
}

// The two programs together, as a player tries the finder on a screenshot.
int run(const char* program, const QStringList& arguments, QString* out = nullptr)
{
    QProcess process;
    process.start(QString::fromUtf8(program), arguments);
    if (!process.waitForFinished(60000))
        return -1;
    if (out)
        *out = QString::fromUtf8(process.readAllStandardOutput());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

TEST(FindAreasProgram, PrintsTheAreasOfARenderedFrameAndFailsOnAMissingNumber)
{
    QTemporaryDir dir;
    const QString moved = dir.filePath(QStringLiteral("moved.png"));
    ASSERT_EQ(
        run(KESMARO_SIMGAME_EXE,
            QString::fromUtf8("--render %1 --level 123 --exp 38.83 --coins 77 --size 1920x1080 "
                              "--colour white --coin-area both --at level=1500,60 "
                              "--at exp=30,1000 --at coins=600,500")
                .arg(moved)
                .split(u' ')),
        0);
    QString out;
    EXPECT_EQ(run(KESMARO_REPLAY_EXE, {QStringLiteral("--find-areas"), moved}, &out), 0);
    EXPECT_EQ(out, "level 1499 60 55 15\nexp 32 1000 44 10\ncoins 681 500 102 9\n"
                   "coins2 927 43 102 9\n");
    // The yellow table has other 3 and 8 glyphs than the white one: nothing of the Exp reads.
    EXPECT_EQ(run(KESMARO_REPLAY_EXE,
                  {QStringLiteral("--find-areas"), moved, QStringLiteral("--colour"),
                   QStringLiteral("yellow")},
                  &out),
              1);
    EXPECT_TRUE(out.contains(QStringLiteral("exp not found\n"))) << out.toStdString();

    const QString hidden = dir.filePath(QStringLiteral("hidden.png"));
    ASSERT_EQ(run(KESMARO_SIMGAME_EXE,
                  QString::fromUtf8("--render %1 --level 5 --exp 1 --coins 1 --hide level")
                      .arg(hidden)
                      .split(u' ')),
              0);
    EXPECT_EQ(run(KESMARO_REPLAY_EXE, {QStringLiteral("--find-areas"), hidden}, &out), 1);
    EXPECT_TRUE(out.startsWith(QStringLiteral("level not found\n"))) << out.toStdString();
    EXPECT_EQ(run(KESMARO_REPLAY_EXE, {QStringLiteral("--find-areas"), dir.filePath("none.png")}),
              2);
}

} // namespace
