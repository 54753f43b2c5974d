#include "app/GestureWindow.h"

#include "ProgramFixture.h"
#include "app/MainWindowLogic.h"
#include "common/Files.h"
#include "common/Text.h"
#include "gestures/GestureInput.h"
#include "screenshots/ImageFiles.h"

#include <algorithm>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <string_view>

using namespace kesmaro;
using namespace kesmaro::test;
using ::testing::Contains;
using ::testing::ElementsAre;

namespace {

constexpr int kClickGapMs = 100;

class GestureTest : public ProgramFixture {
protected:
    GestureTest() : ProgramFixture({.defaults = true, .captureTimer = true})
    {
        p.timers.timCaptureInterval->setEnabled(true); // as during a run
        p.settings.GestureEnabled = true;
        p.settings.GestureTime = 500;
        p.settings.BeepMode = 1;
        p.timers.timDoHLInterval = sim.scheduler.CreateTimer([] {});
        p.timers.timDoHLInterval->setEnabled(false);
        show("12", "50.00", "1000");
        LoadGestureInput(p);
    }

    SimMouseButtons& mouse() { return sim.mouseButtons; }

    // One event per batch, `gapMs` after the previous one.
    void events(std::string_view codes, int gapMs = kClickGapMs)
    {
        for (std::size_t i = 0; i + 1 < codes.size(); i += 2) {
            sim.scheduler.runUntil(sim.clock.elapsedMs() + gapMs);
            const MouseButton button = codes[i] == 'L' ? MouseButton::Left : MouseButton::Right;
            mouse().send({MouseButtonEvent{button, codes[i + 1] == 'd'}});
        }
    }
    // "LRLL": each letter a click, press then release.
    void clicks(std::string_view buttons)
    {
        std::string codes;
        for (char b : buttons)
            codes += {b, 'd', b, 'u'};
        events(codes);
    }

    // The rhythm as beep counts per group: beeps closer than 200 ms belong to one group.
    std::vector<int> rhythm() const
    {
        std::vector<int> groups;
        const std::vector<std::int64_t>& at = sim.beeper.soundAt;
        for (std::size_t i = 0; i < at.size(); ++i) {
            if (i == 0 || at[i] - at[i - 1] >= 200)
                groups.push_back(0);
            ++groups.back();
        }
        return groups;
    }
    std::vector<std::string> logTail() const
    {
        std::vector<std::string> lines;
        const std::string text = p.txtLog.text();
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t end = std::min(text.find("\r\n", start), text.size());
            if (end > start)
                lines.push_back(text.substr(start, end - start));
            start = end + 2;
        }
        return lines;
    }
};

struct GestureCase {
    const char* name;
    std::string clicks;
    std::vector<int> rhythm;
    std::string line;
    void (*allow)(Program&, bool);       // puts the state where the action is (not) allowed
    bool (*acted)(const Program&, bool); // the action was taken, from that state
};

const std::vector<GestureCase>& Cases()
{
    static const std::vector<GestureCase> cases{
        {"Suspend",
         "LRLL",
         {1, 2, 1, 1},
         "マウスジェスチャ：時給測定一時停止",
         [](Program& p, bool allowed) { p.flags.SuspendMode = !allowed; },
         [](const Program& p, bool allowed) { return allowed && p.flags.SuspendMode; }},
        {"Resume",
         "LRLR",
         {1, 2, 1, 2},
         "マウスジェスチャ：時給測定一時停止 解除",
         [](Program& p, bool allowed) { p.flags.SuspendMode = allowed; },
         [](const Program& p, bool allowed) { return allowed && !p.flags.SuspendMode; }},
        {"WatchOn",
         "RLLL",
         {2, 1, 1, 1},
         "マウスジェスチャ：自動撮影 監視開始",
         [](Program& p, bool allowed) {
             p.settings.DoHLCheckExec = !allowed;
             p.timers.timDoHLInterval->setEnabled(!allowed);
         },
         [](const Program& p, bool allowed) {
             return allowed && p.settings.DoHLCheckExec && p.timers.timDoHLInterval->isEnabled();
         }},
        {"WatchOff",
         "RLLR",
         {2, 1, 1, 2},
         "マウスジェスチャ：自動撮影 監視終了",
         [](Program& p, bool allowed) {
             p.settings.DoHLCheckExec = allowed;
             p.timers.timDoHLInterval->setEnabled(allowed);
         },
         [](const Program& p, bool allowed) {
             return allowed && !p.settings.DoHLCheckExec && !p.timers.timDoHLInterval->isEnabled();
         }},
        {"CaptureReset",
         "RRRR",
         {2, 2, 2, 2},
         "マウスジェスチャ：時給サイクルタイマリセット",
         [](Program& p, bool allowed) { p.LogStartStamp = allowed ? "202405011200" : ""; },
         // A capture reads the game window's numbers.
         [](const Program& p, bool) { return p.measurement.ReadLv == 12; }},
    };
    return cases;
}

TEST_F(GestureTest, EachGestureActsOnlyWhereItsStateAllowsButAlwaysBeepsAndLogs)
{
    for (const GestureCase& c : Cases()) {
        for (bool allowed : {true, false}) {
            SCOPED_TRACE(std::string(c.name) + (allowed ? " allowed" : " not allowed"));
            p.txtLog.setText({});
            sim.beeper.soundAt.clear();
            p.measurement.ReadLv = -1;
            c.allow(p, allowed);
            const bool before = c.acted(p, allowed);
            sim.scheduler.runUntil(sim.clock.elapsedMs() + 1000); // a fresh gesture
            clicks(c.clicks);
            sim.scheduler.runUntil(sim.clock.elapsedMs() + 3000);
            EXPECT_EQ(c.acted(p, allowed), allowed && !before);
            EXPECT_EQ(rhythm(), c.rhythm);
            // A capture adds its own line before the gesture's.
            EXPECT_EQ(std::ranges::count(logTail(), c.line), 1);
            EXPECT_EQ(logTail().back(), c.line);
            EXPECT_TRUE(p.gestures.GestureHistory.empty());
        }
    }
}

TEST_F(GestureTest, APauseOfTheGestureTimeStartsAFreshHistory)
{
    clicks("LR");
    sim.scheduler.runUntil(sim.clock.elapsedMs() + 500 - kClickGapMs);
    clicks("LL");
    EXPECT_FALSE(p.flags.SuspendMode);
    EXPECT_EQ(p.gestures.GestureHistory, "LdLuLdLu");
    EXPECT_TRUE(p.txtLog.text().empty());

    // Just under the pause the gesture holds together.
    sim.scheduler.runUntil(sim.clock.elapsedMs() + 1000);
    events("LdLuRdRuLdLuLdLu", 499);
    EXPECT_TRUE(p.flags.SuspendMode);
}

TEST_F(GestureTest, TheEighthEventRunsTheCheck)
{
    events("LdLuRdRuLdLuLd");
    EXPECT_EQ(p.gestures.GestureHistory.size(), 14U);
    EXPECT_FALSE(p.flags.SuspendMode);
    events("Lu");
    EXPECT_TRUE(p.flags.SuspendMode);
}

TEST_F(GestureTest, OlderEventsFallOutOfTheTwentyCharacterHistory)
{
    events("RdRuRdRuLdLuRdRuLdLu"); // no gesture in it yet
    EXPECT_EQ(p.gestures.GestureHistory, "RdRuRdRuLdLuRdRuLdLu");
    events("LdLu"); // R R L R L L: ends in L R L L
    EXPECT_TRUE(p.flags.SuspendMode);
}

TEST_F(GestureTest, OneLongBatchAfterAPauseKeepsOnlyTheNewestTwentyCharacters)
{
    sim.scheduler.runUntil(sim.clock.elapsedMs() + p.settings.GestureTime + 1000);
    std::vector<MouseButtonEvent> batch;
    std::string codes;
    for (int i = 0; i < 5; ++i) // R R L five times: no gesture
        codes += "RdRuRdRuLdLu";
    for (std::size_t i = 0; i + 1 < codes.size(); i += 2)
        batch.push_back(
            {codes[i] == 'L' ? MouseButton::Left : MouseButton::Right, codes[i + 1] == 'd'});
    ASSERT_EQ(batch.size(), 30u);
    mouse().send(batch);
    sim.scheduler.runUntil(sim.clock.elapsedMs() + 10);
    EXPECT_EQ(p.gestures.GestureHistory, codes.substr(codes.size() - 20));
}

TEST_F(GestureTest, TheChordSavesAScreenshotInEachPressAndReleaseOrder)
{
    const std::vector<std::string> presses{"LdRd", "RdLd"};
    const std::vector<std::string> releases{"LuRu", "RuLu"};
    int saved = 0;
    for (const std::string& press1 : presses)
        for (const std::string& release1 : releases)
            for (const std::string& press2 : presses)
                for (const std::string& release2 : releases) {
                    const std::string codes = press1 + release1 + press2 + release2;
                    SCOPED_TRACE(codes);
                    p.txtLog.setText({});
                    sim.beeper.soundAt.clear();
                    // One screenshot a second: file names hold the second.
                    sim.scheduler.runUntil(sim.clock.elapsedMs() + 1000);
                    events(codes);
                    sim.scheduler.runUntil(sim.clock.elapsedMs() + 1000);
                    EXPECT_THAT(logTail(), ElementsAre("マウスジェスチャ：プリントスクリーン"));
                    EXPECT_EQ(rhythm(), (std::vector<int>{2, 2}));
                    ++saved;
                }
    int files = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(PathFromUtf8(ScreenshotFolder(p)))) {
        const std::string name = PathToUtf8(entry.path().filename());
        files += entry.is_regular_file() && StartsWith(name, "PrtScr_") &&
                 EndsWith(name, p.settings.SaveFormat);
    }
    EXPECT_EQ(files, saved);
    EXPECT_THAT(logLines(), Contains("OnLine Print Screen ･･･ End "));
}

TEST_F(GestureTest, BeepModeZeroIsSilentButActs)
{
    p.settings.BeepMode = 0;
    clicks("LRLL");
    EXPECT_TRUE(p.flags.SuspendMode);
    EXPECT_TRUE(sim.beeper.sounds.empty());
    EXPECT_THAT(logTail(), ElementsAre("マウスジェスチャ：時給測定一時停止"));
}

TEST_F(GestureTest, TheRhythmRepeatsTheClicksOnTheSimulatedClock)
{
    // Groups 500 ms apart; a right click two beeps 50 ms apart, the chord's 100 ms apart. Each
    // wait lasts one tick longer than asked.
    const std::int64_t t0 = sim.clock.TickMs();
    PlayBeepPattern(p, 1, 2, 3, 1);
    std::vector<std::int64_t> offsets;
    for (std::int64_t t : sim.beeper.soundAt)
        offsets.push_back(t - t0);
    EXPECT_THAT(offsets, ElementsAre(0, 501, 552, 1053, 1154, 1655));

    sim.beeper.soundAt.clear();
    PlayBeepPattern(p, 2, 0, 1, 1); // a zero ends the rhythm
    EXPECT_EQ(sim.beeper.soundAt.size(), 2U);
    PlayBeepPattern(p, 0, 1, 1, 1);
    EXPECT_EQ(sim.beeper.soundAt.size(), 2U);
}

TEST_F(GestureTest, AGestureDuringARhythmIsHandledAfterIt)
{
    clicks("LRL");
    // The last click of L R L L starts a 1.6 s rhythm; L R L R arrives while it plays.
    const std::int64_t start = sim.clock.elapsedMs() + kClickGapMs;
    for (int i = 0; i < 8; ++i) {
        const std::string code = std::string("LdLuRdRuLdLuRdRu").substr(i * 2, 2);
        sim.scheduler.at(start + 300 + i * 100, [this, code] {
            mouse().send({MouseButtonEvent{code[0] == 'L' ? MouseButton::Left : MouseButton::Right,
                                           code[1] == 'd'}});
        });
    }
    events("LdLu");
    sim.scheduler.runUntil(sim.clock.elapsedMs() + 5000);

    EXPECT_FALSE(p.flags.SuspendMode); // stopped, then resumed
    EXPECT_THAT(logTail(), ElementsAre("マウスジェスチャ：時給測定一時停止",
                                       "マウスジェスチャ：時給測定一時停止 解除"));
    // One rhythm after the other, never interleaved: 1 2 1 1, then 1 2 1 2 from its end on.
    const std::vector<std::int64_t>& at = sim.beeper.soundAt;
    ASSERT_EQ(at.size(), 11U);
    std::vector<std::int64_t> first, second;
    for (std::size_t i = 0; i < 5; ++i)
        first.push_back(at[i] - at[0]);
    for (std::size_t i = 5; i < at.size(); ++i)
        second.push_back(at[i] - at[5]);
    EXPECT_THAT(first, ElementsAre(0, 501, 552, 1053, 1554));
    EXPECT_THAT(second, ElementsAre(0, 501, 552, 1053, 1554, 1605));
    EXPECT_GE(at[5], at[4]);
}

TEST_F(GestureTest, UnloadStopsListeningAndLoadStartsAgain)
{
    UnloadGestureInput(p);
    EXPECT_FALSE(mouse().listening());
    clicks("LRLL");
    EXPECT_FALSE(p.flags.SuspendMode);
    LoadGestureInput(p);
    clicks("LRLL");
    EXPECT_TRUE(p.flags.SuspendMode);
    EXPECT_THAT(logLines(), testing::IsSupersetOf(
                                {"DirectX Loding ･･･ ", "Mouse Events Acquire ･･･ Successfull ",
                                 "Mouse Events UnAcquire ", "DirectX UnLoding ･･･ End "}));
}

TEST_F(GestureTest, MenuGestureTogglesTheInputAndTheCloseUnloadsIt)
{
    menuGesture_Click(p);
    EXPECT_FALSE(p.settings.GestureEnabled);
    EXPECT_FALSE(mouse().listening());
    menuGesture_Click(p);
    EXPECT_TRUE(p.settings.GestureEnabled);
    EXPECT_TRUE(mouse().listening());
    EXPECT_THAT(logLines(), Contains("Change MouseGesture ON･･･ End "));
    FormMain_QueryUnload(p);
    EXPECT_FALSE(mouse().listening());
}

struct StartFailure {
    MouseStart result;
    std::string line;
    std::string message;
};

TEST_F(GestureTest, EachStartFailureIsToldWithItsLineAndBox)
{
    const std::vector<StartFailure> failures{
        {MouseStart::NoInputSystem, "It was mistake to Create DirectInput Object ",
         "DirectInputオブジェクトが生成できません。"},
        {MouseStart::NoPointerDevice, "It was mistake to Create DirectInputDevice Object ",
         "Mouse用DirectInputDeviceオブジェクトが生成できません。"},
    };
    for (const StartFailure& f : failures) {
        UnloadGestureInput(p);
        sim.prompter.clearAsked();
        mouse().startResult = f.result;
        LoadGestureInput(p);
        EXPECT_THAT(logLines(), Contains(f.line));
        ASSERT_EQ(sim.prompter.asked().size(), 1U);
        EXPECT_EQ(sim.prompter.asked()[0].prompt.text, f.message);
        EXPECT_FALSE(mouse().listening());
    }
}

} // namespace
