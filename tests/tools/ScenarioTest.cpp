#include "tools/replay/Scenario.h"

#include "TempFolder.h"
#include "common/Files.h"
#include "common/Paths.h"

#include <fstream>
#include <gtest/gtest.h>

using namespace kesmaro;
using Kind = ScenarioEvent::Kind;

namespace {

class ScenarioTest : public ::testing::Test {
protected:
    ScenarioTest()
    {
        for (const char* name : {"a.png", "b.png", "KM2DConfig.ini"})
            std::ofstream(m_dir.path() / name).flush();
    }
    std::string folder() const { return PathToUtf8(m_dir.path()); }
    std::string filePath(const char* name) const { return PathToUtf8(m_dir.path() / name); }
    std::optional<Scenario> parse(std::string_view text)
    {
        m_error.clear();
        return ParseScenarioText(text, folder(), "play.txt", m_error);
    }

    test::TempFolder m_dir;
    std::string m_error;
};

} // namespace

TEST_F(ScenarioTest, ReadsHeaderAndTimedLines)
{
    const auto s = parse("# a session\r\n"
                         "start 2024-05-01 12:00:00\r\n"
                         "boot 7200.5\n"
                         "settings KM2DConfig.ini   # copied in\n"
                         "answer no\nanswer cancel\n"
                         "at 0 window a.png\n"
                         "at 10.25 frame b.png\n"
                         "at 10.25 background\n"
                         "at 20 foreground\n"
                         "at 30 click recognize\n"
                         "at 40 close\n");
    ASSERT_TRUE(s) << m_error;
    EXPECT_EQ(s->start, DateTime::FromFields(2024, 5, 1, 12, 0, 0));
    EXPECT_EQ(s->bootMs, 7200500);
    EXPECT_EQ(s->settingsFile, filePath("KM2DConfig.ini"));
    EXPECT_EQ(s->answers, (std::vector<PromptAnswer>{PromptAnswer::No, PromptAnswer::Cancel}));
    ASSERT_EQ(s->events.size(), 6u);
    EXPECT_EQ(s->events[0].kind, Kind::Window);
    EXPECT_EQ(s->events[0].argument, filePath("a.png"));
    EXPECT_EQ(s->events[1].timeMs, 10250);
    EXPECT_EQ(s->events[2].kind, Kind::Background);
    EXPECT_EQ(s->events[4].command, Command::Recognize);
    EXPECT_EQ(s->events[5].kind, Kind::Close);
    EXPECT_EQ(s->events[5].line, 12);
}

TEST_F(ScenarioTest, RefusesInvalidScenariosNamingFileLineAndFault)
{
    struct Row {
        const char* text;
        const char* error;
    };
    const Row rows[] = {
        {"at 0 click run\n", "play.txt:1: missing start line"},
        {"start 2024-05-01 12:00:00\nbogus 1\n", "play.txt:2: unknown directive bogus"},
        {"start 2024-13-01 12:00:00\n", "play.txt:1: invalid start time 2024-13-01 12:00:00"},
        {"start 2024-05-01 12:00:00\nat 5 close\nat 4 foreground\n",
         "play.txt:3: time goes back from 5"},
        {"start 2024-05-01 12:00:00\nat 1 window missing.png\n",
         "play.txt:2: missing file missing.png"},
        {"start 2024-05-01 12:00:00\nat 1 click fly\n", "play.txt:2: unknown click fly"},
        {"start 2024-05-01 12:00:00\nat -1 close\n", "play.txt:2: invalid time -1"},
        {"start 2024-05-01 12:00:00\nat x close\n", "play.txt:2: invalid time x"},
        {"start 2024-05-01 12:00:00\nat 1 close now\n", "play.txt:2: close takes no argument"},
        {"start 2024-05-01 12:00:00\nanswer maybe\n",
         "play.txt:2: answer must be yes, no, ok or cancel"},
        {"start 2024-05-01 12:00:00\nat 1 jump\n", "play.txt:2: unknown command jump"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_FALSE(parse(r.text));
        EXPECT_EQ(m_error, r.error);
    }
}

TEST_F(ScenarioTest, AMissingScenarioFileIsAnError)
{
    std::string error;
    EXPECT_FALSE(ParseScenario(filePath("none.txt"), error));
    EXPECT_TRUE(error.ends_with("cannot read the scenario")) << error;
}

TEST_F(ScenarioTest, TimesAndStartsAreReadStrictly)
{
    const auto ok = [&](const std::string& lines) {
        return parse("start 2024-05-01 12:00:00\n" + lines).has_value();
    };
    EXPECT_TRUE(ok("at +1.5e1 close\n"));
    EXPECT_EQ(parse("start 2024-05-01 12:00:00\nat 1.25 close\n")->events[0].timeMs, 1250);
    for (const char* bad : {"at 0x10 close\n", "at inf close\n", "at nan close\n",
                            "at 1e13 close\n", "at 1,5 close\n", "at 1.5s close\n"})
        EXPECT_FALSE(ok(bad)) << bad;
    for (const char* bad :
         {"start 2024-5-01 12:00:00\n", "start 2024-05-01 12:00\n", "start 2024-02-30 12:00:00\n",
          "start 2024-05-01 24:00:00\n", "start 2024-05-01T12:00:00\n"})
        EXPECT_FALSE(parse(bad)) << bad;
    // A frame's file name may hold blanks, and Japanese text is whole.
    std::ofstream(m_dir.path() / PathFromUtf8("画面 1.png")).flush();
    const auto s = parse("start 2024-05-01 12:00:00\nat 1 frame 画面 1.png\n");
    ASSERT_TRUE(s) << m_error;
    EXPECT_EQ(s->events[0].argument, PathToUtf8(m_dir.path() / PathFromUtf8("画面 1.png")));
    EXPECT_FALSE(parse("start 2024-05-01 12:00:00\nat 9 close\nat 3 close\n"));
    EXPECT_EQ(m_error, "play.txt:3: time goes back from 9");
}
