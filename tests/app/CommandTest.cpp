#include "app/Command.h"

#include "ProgramFixture.h"
#include "app/MainWindowLogic.h"
#include "common/Files.h"
#include "common/Paths.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <set>
#include <string>

namespace kesmaro {
namespace {

TEST(CommandTable, EveryCommandHasOneNameThatLeadsBackToIt)
{
    std::set<std::string> names;
    for (const CommandInfo& c : Commands()) {
        SCOPED_TRACE(std::string(c.name));
        EXPECT_TRUE(names.insert(std::string(c.name)).second) << "name used twice";
        EXPECT_EQ(CommandFromName(c.name), c.command);
        EXPECT_EQ(CommandName(c.command), c.name);
    }
    EXPECT_EQ(names.size(), std::size_t{19});
    // Scenarios written before the table keep working.
    for (const char* old : {"run", "stop", "tempstop", "capture", "recognize", "prtscr",
                            "patternsave", "debug", "end"})
        EXPECT_TRUE(CommandFromName(old)) << old;
    EXPECT_FALSE(CommandFromName("Run"));
    EXPECT_FALSE(CommandFromName(""));
    // A name is matched whole: a longer or shorter text leads nowhere.
    EXPECT_FALSE(CommandFromName("runs"));
    EXPECT_FALSE(CommandFromName(std::string_view("run\0", 4)));
    EXPECT_FALSE(CommandFromName("ru"));
}

class ExecuteTest : public test::ProgramFixture {
protected:
    ExecuteTest()
        : test::ProgramFixture({.start = test::At(2009, 5, 17, 21, 30), .captureTimer = true})
    {}
};

// The commands whose windows or dialogs belong to the desktop program: the table writes their
// "Click : " line and asks the view for the window.
TEST_F(ExecuteTest, WindowCommandsLogTheirClickAndAskTheViewForTheirWindow)
{
    const struct {
        Command command;
        const char* line;
        SubWindow window;
    } rows[] = {
        {Command::Option, "Click : Option ", SubWindow::Options},
        {Command::Version, "Click : VersionInformation ", SubWindow::Version},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(CommandName(row.command)));
        const std::size_t before = logLines().size();
        view.windows.clear();
        Execute(p, row.command);
        const std::vector<std::string> all = logLines();
        const std::vector<std::string> added(all.begin() + std::ptrdiff_t(before), all.end());
        EXPECT_EQ(added, std::vector<std::string>{row.line});
        EXPECT_EQ(view.windows, std::vector<SubWindow>{row.window});
    }
}

TEST_F(ExecuteTest, DocumentsOpenFromTheProgramFolderOrAreReportedMissing)
{
    const std::string present = dir.write(kReadMeDocument);
    ASSERT_FALSE(present.empty());

    Execute(p, Command::ReadMe);
    ASSERT_EQ(sim.shell.requests.size(), std::size_t{1});
    EXPECT_EQ(sim.shell.requests[0].target, present);
    EXPECT_TRUE(sim.prompter.asked().empty());

    Execute(p, Command::QuickReference);
    Execute(p, Command::HowToUse);
    EXPECT_EQ(sim.shell.requests.size(), std::size_t{1});
    EXPECT_EQ(sim.prompter.asked().size(), std::size_t{2});
    const std::vector<std::string> lines = logLines();
    EXPECT_THAT(lines, ::testing::Contains("Click : Show Read Me "));
    EXPECT_THAT(lines, ::testing::Contains("Click : Show Quick Reference "));
    EXPECT_THAT(lines, ::testing::Contains("Click : Show How To Use "));
}

// An installed copy writes into its data folder but reads its documents from the installed
// documents folder: a document only in the program folder is not the one opened.
TEST_F(ExecuteTest, DocumentsOpenFromTheDocumentFolderWhenItIsNotTheProgramFolder)
{
    p.documentFolder = dir.file("doc");
    ASSERT_TRUE(std::filesystem::create_directory(PathFromUtf8(p.documentFolder)));
    const std::string howToUse = JoinPath(p.documentFolder, kHowToUseDocument);
    for (const std::string& path : {howToUse, dir.file(kReadMeDocument)})
        ASSERT_EQ(ReplaceFileAtomic(PathFromUtf8(path), {}), 0) << path;

    Execute(p, Command::HowToUse);
    Execute(p, Command::ReadMe);
    ASSERT_EQ(sim.shell.requests.size(), std::size_t{1});
    EXPECT_EQ(sim.shell.requests[0].target, howToUse);
    EXPECT_EQ(sim.prompter.asked().size(), std::size_t{1}) << "the read-me was found elsewhere";
}

TEST_F(ExecuteTest, GestureAndRefreshCommands)
{
    Execute(p, Command::Gesture);
    EXPECT_TRUE(p.settings.GestureEnabled);
    Execute(p, Command::Gesture);
    EXPECT_FALSE(p.settings.GestureEnabled);
    Execute(p, Command::WindowRefresh);
    EXPECT_EQ(view.refreshes, 1);
    EXPECT_EQ(logLines(), (std::vector<std::string>{
                              "DirectX Loding ･･･ ", "Mouse Events Acquire ･･･ Successfull ",
                              "Change MouseGesture ON･･･ End ", "Mouse Events UnAcquire ",
                              "DirectX UnLoding ･･･ End ", "Change MouseGesture OFF･･･ End ",
                              "Click : Window Refresh "}));
}

} // namespace
} // namespace kesmaro

namespace kesmaro {
namespace {

// The automatic run start waits (start delay) with other events running: a close then runs the
// whole close sequence, and the load must not go on writing after the program's last words.
TEST_F(ExecuteTest, AClosedDuringTheAutomaticStartEndsTheLoadToo)
{
    p.settings.AutoStart = true;
    p.settings.StartDelay = 15;
    sim.scheduler.at(5000, [this] { Execute(p, Command::End); });
    FormMain_Load(p);
    const std::vector<std::string> lines = logLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_THAT(lines, ::testing::Not(::testing::Contains("Log AutoStart ･･･ ")));
    EXPECT_THAT(lines, ::testing::Not(::testing::Contains("Program StartUp Complete ")));
    EXPECT_THAT(lines, ::testing::Contains("End of the Program "));
    EXPECT_FALSE(p.timers.timCaptureInterval->isEnabled());
}

} // namespace
} // namespace kesmaro
