#include "app/Command.h"

#include "QtProgramHarness.h"
#include "app/MainWindowLogic.h"

#include <QDir>
#include <set>

namespace kesmaro {
using namespace Qt::StringLiterals;
namespace {

TEST(CommandTable, EveryCommandHasOneNameThatLeadsBackToIt)
{
    std::set<QString> names;
    for (const CommandInfo& c : Commands()) {
        SCOPED_TRACE(c.name.toString().toStdString());
        EXPECT_TRUE(names.insert(c.name.toString()).second) << "name used twice";
        EXPECT_EQ(CommandFromName(c.name), c.command);
        EXPECT_EQ(CommandName(c.command), c.name);
    }
    EXPECT_EQ(names.size(), std::size_t{19});
    // Scenarios written before the table keep working.
    for (const char* old : {"run", "stop", "tempstop", "capture", "recognize", "prtscr",
                            "patternsave", "debug", "end"})
        EXPECT_TRUE(CommandFromName(QString::fromLatin1(old))) << old;
    EXPECT_FALSE(CommandFromName(u"Run"));
    EXPECT_FALSE(CommandFromName(u""));
}

class ExecuteTest : public test::QtProgramFixture {
protected:
    ExecuteTest()
        : test::QtProgramFixture({.start = test::At(2009, 5, 17, 21, 30), .captureTimer = true})
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
        SCOPED_TRACE(CommandName(row.command).toString().toStdString());
        const qsizetype before = logLines().size();
        view.windows.clear();
        Execute(p, row.command);
        const QStringList added = logLines().mid(before);
        EXPECT_EQ(added, QStringList{QString::fromUtf8(row.line)});
        EXPECT_EQ(view.windows, std::vector<SubWindow>{row.window});
    }
}

TEST_F(ExecuteTest, DocumentsOpenFromTheProgramFolderOrAreReportedMissing)
{
    const QDir folder(dir.path());
    QFile present(folder.filePath(QString::fromStdString(std::string(kReadMeDocument))));
    ASSERT_TRUE(present.open(QIODevice::WriteOnly));
    present.close();

    Execute(p, Command::ReadMe);
    ASSERT_EQ(sim.shell.requests.size(), std::size_t{1});
    EXPECT_EQ(QString::fromStdString(sim.shell.requests[0].target),
              folder.filePath(QString::fromStdString(std::string(kReadMeDocument))));
    EXPECT_TRUE(sim.prompter.asked().empty());

    Execute(p, Command::QuickReference);
    Execute(p, Command::HowToUse);
    EXPECT_EQ(sim.shell.requests.size(), std::size_t{1});
    EXPECT_EQ(sim.prompter.asked().size(), std::size_t{2});
    const QStringList lines = logLines();
    EXPECT_TRUE(lines.contains(u"Click : Show Read Me "_s));
    EXPECT_TRUE(lines.contains(u"Click : Show Quick Reference "_s));
    EXPECT_TRUE(lines.contains(u"Click : Show How To Use "_s));
}

// An installed copy writes into its data folder but reads its documents from the installed
// documents folder: a document only in the program folder is not the one opened.
TEST_F(ExecuteTest, DocumentsOpenFromTheDocumentFolderWhenItIsNotTheProgramFolder)
{
    const QDir folder(dir.path());
    ASSERT_TRUE(folder.mkdir(u"doc"_s));
    p.documentFolder = folder.filePath(u"doc"_s).toStdString();
    for (const QString& path :
         {folder.filePath(u"doc/"_s + QString::fromStdString(std::string(kHowToUseDocument))),
          folder.filePath(QString::fromStdString(std::string(kReadMeDocument)))}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    Execute(p, Command::HowToUse);
    Execute(p, Command::ReadMe);
    ASSERT_EQ(sim.shell.requests.size(), std::size_t{1});
    EXPECT_EQ(QString::fromStdString(sim.shell.requests[0].target),
              folder.filePath(u"doc/"_s + QString::fromStdString(std::string(kHowToUseDocument))));
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
    EXPECT_EQ(logLines(),
              (QStringList{u"DirectX Loding ･･･ "_s, u"Mouse Events Acquire ･･･ Successfull "_s,
                           u"Change MouseGesture ON･･･ End "_s, u"Mouse Events UnAcquire "_s,
                           u"DirectX UnLoding ･･･ End "_s, u"Change MouseGesture OFF･･･ End "_s,
                           u"Click : Window Refresh "_s}));
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
    const QStringList lines = logLines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_FALSE(lines.contains(u"Log AutoStart ･･･ "_s));
    EXPECT_FALSE(lines.contains(u"Program StartUp Complete "_s));
    EXPECT_TRUE(lines.contains(u"End of the Program "_s));
    EXPECT_FALSE(p.timers.timCaptureInterval->isEnabled());
}

} // namespace
} // namespace kesmaro
