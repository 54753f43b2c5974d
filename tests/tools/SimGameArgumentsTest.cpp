// The command line of kesmaro-simgame, parsed and as the program answers it.

#include "tools/simgame/SimGameArguments.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kesmaro;

namespace {

std::vector<std::string> split(const char* line)
{
    std::vector<std::string> words;
    for (const QString& word : QString::fromUtf8(line).split(u' ', Qt::SkipEmptyParts))
        words.push_back(word.toStdString());
    return words;
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(SimGameArguments, RenderTakesEveryOption)
{
    const SimGameCommand c = ParseSimGameArguments(
        split("--render out.png --level 35 --exp 12.3 --coins 9223372036854775807 --coin-area "
              "both --window-mode --colour blue --size 1100x800 --hide level,exp"));
    ASSERT_EQ(c.error, "");
    EXPECT_EQ(c.mode, SimGameCommand::Mode::Render);
    EXPECT_EQ(c.output, "out.png");
    EXPECT_EQ(c.frameSpec.level, 35);
    EXPECT_DOUBLE_EQ(c.frameSpec.expPercent, 12.3);
    EXPECT_EQ(c.frameSpec.coins, std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(c.frameSpec.coinArea, CoinArea::Both);
    EXPECT_TRUE(c.frameSpec.windowMode);
    EXPECT_EQ(c.frameSpec.colour, InterfaceColour::Blue);
    EXPECT_EQ(c.frameSpec.size, (FrameExtent{1100, 800}));
    EXPECT_TRUE(c.frameSpec.hideLevel && c.frameSpec.hideExp);
}

TEST(SimGameArguments, AtMovesEachNumberOnce)
{
    const SimGameCommand c = ParseSimGameArguments(
        split("--render o.png --level 1 --exp 1 --coins 1 --at coins=10,20 --at level=0,700"));
    ASSERT_EQ(c.error, "");
    EXPECT_EQ(c.frameSpec.at[0], (FramePoint{0, 700}));
    EXPECT_FALSE(c.frameSpec.at[1]);
    EXPECT_EQ(c.frameSpec.at[2], (FramePoint{10, 20}));
    const Settings s = FrameSettings(c.frameSpec);
    EXPECT_EQ(s.CaptureArea[0].X, 0);
    EXPECT_EQ(s.CaptureArea[0].Width, 53);
    EXPECT_EQ(s.CaptureArea[2].Y, 20);
    // The live window takes it too.
    EXPECT_EQ(ParseSimGameArguments(split("--at exp=5,6")).frameSpec.at[1], (FramePoint{5, 6}));
}

TEST(SimGameArguments, HelpStandsAlone)
{
    for (const char* option : {"--help", "-h"}) {
        const SimGameCommand c = ParseSimGameArguments(split(option));
        EXPECT_EQ(c.error, "") << option;
        EXPECT_EQ(c.mode, SimGameCommand::Mode::Help) << option;
    }
}

TEST(SimGameArguments, TheLiveWindowTakesItsOwnOptions)
{
    const SimGameCommand c =
        ParseSimGameArguments({"--class", "Other Game", "--play", "--seed", "18446744073709551615",
                               "--exp-rate", "12.5", "--coin-rate", "3000"});
    ASSERT_EQ(c.error, "");
    EXPECT_EQ(c.mode, SimGameCommand::Mode::Live);
    EXPECT_EQ(c.windowClass, "Other Game");
    EXPECT_TRUE(c.play);
    EXPECT_EQ(c.playOptions.seed, std::numeric_limits<std::uint64_t>::max());
    EXPECT_DOUBLE_EQ(c.playOptions.expPerMinute, 12.5);
    EXPECT_EQ(c.playOptions.coinsPerMinute, 3000);
    const SimGameCommand d = ParseSimGameArguments(split("--script steps.txt"));
    ASSERT_EQ(d.error, "");
    EXPECT_EQ(d.windowClass, "Gamebryo Application");
    EXPECT_EQ(d.script, "steps.txt");
}

TEST(SimGameArguments, BadArgumentsAreRefusedWithOneLine)
{
    const char* const base = "--render o.png --level 1 --exp 1 --coins 1 ";
    struct Row {
        const char* arguments; // appended to a good render command unless it starts with !
        const char* fault;     // part of the message
    };
    const Row rows[] = {
        {"--bogus", "unknown option '--bogus'"},
        {"--level 2", "--level is given more than once"},
        {"!--render o.png --level 1 --exp 1", "--render needs --coins"},
        {"!--level 1000", "--level must be a whole number from 1 to 999, not '1000'"},
        {"!--exp 1.234", "--exp must be a percentage from 0 to 100"},
        {"!--coins 9223372036854775808", "not '9223372036854775808'"},
        {"--colour green", "--colour must be yellow, red, blue or white, not 'green'"},
        {"--window-mode --size 1024x768", "--size: size must be from 1027x784"},
        {"--play", "--play is for the live window, not for --render"},
        {"!--play --script s.txt", "--script and --play cannot be used together"},
        {"!--seed 1", "--seed needs --play"},
        {"--hide coins", "--hide takes level, exp or level,exp, not 'coins'"},
        {"--at level=1,2 --at level=3,4", "--at level is given more than once"},
        {"--at coins=1", "--at must be level=X,Y, exp=X,Y or coins=X,Y, not 'coins=1'"},
        {"--at gold=1,1", "not 'gold=1,1'"},
        {"--at exp=1000,700", "size must be from"},
        {"!--class caf\xc3\xa9\xe6\x97\xa5", "--class must be 1 to 255 printable Latin-1"},
        {"-h", "--help takes no other arguments"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments);
        const SimGameCommand c =
            ParseSimGameArguments(row.arguments[0] == '!' ? split(row.arguments + 1)
                                                          : split(base) + split(row.arguments));
        EXPECT_NE(c.error.find(row.fault), std::string::npos) << c.error;
    }
    // A control character in a value cannot break the message into two lines.
    EXPECT_EQ(ParseSimGameArguments({"--colour", "red\nblue"}).error,
              "--colour must be yellow, red, blue or white, not 'red?blue'");
}

// The program itself: exit status and messages.
int RunSimGame(const QStringList& arguments, QString& err)
{
    QProcess process;
    process.start(QStringLiteral(KESMARO_SIMGAME_EXE), arguments);
    if (!process.waitForFinished(30000))
        return -1;
    err = QString::fromUtf8(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

TEST(SimGameProgram, RendersAPngAndRefusesBadArgumentsWithStatus2)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("frame.png"));
    QString err;
    ASSERT_EQ(RunSimGame({QStringLiteral("--render"), path, QStringLiteral("--level"),
                          QStringLiteral("35"), QStringLiteral("--exp"), QStringLiteral("12.34"),
                          QStringLiteral("--coins"), QStringLiteral("1000"),
                          QStringLiteral("--window-mode")},
                         err),
              0)
        << err.toStdString();
    EXPECT_EQ(QImage(path).size(), QSize(1030, 793));
    EXPECT_EQ(RunSimGame({QStringLiteral("--level"), QStringLiteral("x")}, err), 2);
    EXPECT_EQ(err, "kesmaro-simgame: --level must be a whole number from 1 to 999, not 'x'\n");
}

} // namespace
