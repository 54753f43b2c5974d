#include "ProgramFixture.h"
#include "common/Paths.h"
#include "records/Beep.h"
#include "records/Documents.h"
#include "records/Popup.h"
#include "records/RandomSeed.h"
#include "records/SupportLink.h"
#include "state/Context.h"
#include "state/RuntimeFlags.h"

#include <filesystem>
#include <string>
#include <vector>

using namespace kesmaro;
using namespace kesmaro::test;

class UtilitiesTest : public ProgramFixture {
protected:
    UtilitiesTest() : ProgramFixture({.start = test::At(2009, 5, 17, 21, 30), .captureTimer = true})
    {}
    Context m_ctx = p.context();
};

TEST_F(UtilitiesTest, OpenDocumentHandsTheFileToTheShellAndWaits)
{
    const std::string path = dir.write("help.html");
    ASSERT_FALSE(path.empty());
    OpenDocument(m_ctx, path, 500);
    EXPECT_EQ(sim.shell.requests,
              (std::vector<SimShell::Request>{{SimShell::Kind::Document, path}}));
    EXPECT_EQ(sim.clock.elapsedMs(), 501);
    EXPECT_EQ(logLines(), (std::vector<std::string>{"Execution File Start ･･･  " + path,
                                                    "Execution File Finish "}));
}

TEST_F(UtilitiesTest, OpenUrlOnlyRefusesAnEmptyAddress)
{
    OpenUrl(m_ctx, "", 500);
    ASSERT_EQ(sim.prompter.asked().size(), 1u);
    EXPECT_EQ(sim.prompter.asked()[0].prompt.text, "サイトが見つかりません。");
    // A plain box: OK alone, no icon.
    EXPECT_EQ(sim.prompter.asked()[0].prompt.title, "実行エラー");
    EXPECT_EQ(sim.prompter.asked()[0].prompt.buttons, PromptButtons::Ok);
    EXPECT_EQ(sim.prompter.asked()[0].prompt.icon, PromptIcon::None);
    OpenUrl(m_ctx, "https://example.org/kesmaro", 500);
    ASSERT_EQ(sim.shell.requests.size(), 1u);
    EXPECT_EQ(sim.shell.requests[0].kind, SimShell::Kind::Url);
    EXPECT_EQ(logLines(), (std::vector<std::string>{"Execution File Not Find  ",
                                                    "Execution Url Start ･･･  "
                                                    "https://example.org/kesmaro",
                                                    "Execution Url Finish "}));
}

// Every second click opens the target: the site when the build names one, otherwise the
// quick-start document, reported like any document when it is missing.
TEST_F(UtilitiesTest, TheSupportLinkOpensTheSiteOrElseTheQuickStartOnEverySecondClick)
{
    const std::string quickStart = JoinPath(dir.folder(), kQuickReferenceDocument);
    struct Row {
        const char* site;
        SimShell::Kind kind;
        std::string target;
    };
    const Row rows[] = {
        {"https://example.org/kesmaro", SimShell::Kind::Url, "https://example.org/kesmaro"},
        {" https://example.org/kesmaro\n", SimShell::Kind::Url, "https://example.org/kesmaro"},
        {"", SimShell::Kind::Document, quickStart},
        {"  ", SimShell::Kind::Document, quickStart},
    };
    ASSERT_EQ(dir.write(kQuickReferenceDocument), quickStart);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.site);
        sim.shell.requests.clear();
        SupportLink link(dir.folder(), row.site);
        EXPECT_EQ(link.target(), row.target);
        EXPECT_FALSE(link.Click(m_ctx));
        EXPECT_TRUE(link.armed());
        EXPECT_TRUE(sim.shell.requests.empty());
        EXPECT_TRUE(link.Click(m_ctx));
        EXPECT_FALSE(link.armed());
        EXPECT_EQ(sim.shell.requests, (std::vector<SimShell::Request>{{row.kind, row.target}}));
    }

    ASSERT_TRUE(std::filesystem::remove(PathFromUtf8(quickStart)));
    sim.shell.requests.clear();
    SupportLink missing(dir.folder(), "");
    missing.Click(m_ctx);
    EXPECT_TRUE(missing.Click(m_ctx));
    EXPECT_TRUE(sim.shell.requests.empty());
    ASSERT_EQ(sim.prompter.asked().size(), 1u);
    EXPECT_EQ(sim.prompter.asked()[0].prompt.text,
              std::string(kQuickReferenceDocument) + "ファイルが見つかりません。");
}

TEST_F(UtilitiesTest, PlayBeepFollowsTheModeTable)
{
    for (int mode : {0, 1, 2, 3, 4, 5, 6, 7, -1})
        PlayBeep(sim.beeper, mode);
    EXPECT_EQ(sim.beeper.sounds, (std::vector<SimBeeper::Sound>{
                                     {0, 0}, {500, 75}, {2000, 75}, {500, 200}, {2000, 200}}));
}

TEST_F(UtilitiesTest, PopupShowsWithADefaultCaptionAndHides)
{
    ShowPopup(p.popup, p.flags, view, "not running", "", 14);
    EXPECT_EQ(p.popup.caption, "メッセージ ");
    HidePopup(p.flags, view);
    HidePopup(p.flags, view); // hiding a hidden popup is harmless
    EXPECT_FALSE(p.flags.PopupShown);
    EXPECT_EQ(view.popups, 3);
}

TEST_F(UtilitiesTest, RandomizeSeedAtMidnightDoesNotDivideByZero)
{
    SimServices midnight{std::chrono::local_days(std::chrono::year(2024) / 5 / 2)};
    RandomGenerator& random = p.random;
    Context atMidnight{midnight.services, log, view, random};
    RandomizeSeed(atMidnight);
    EXPECT_EQ(random.lastSeed(), 3600.0F * 1000.0F);
    RandomizeSeed(m_ctx); // 21:30: 3,600,000 ms / 77,400 s
    EXPECT_FLOAT_EQ(random.lastSeed(), 3600.0F * 1000.0F / 77400.0F);
}
