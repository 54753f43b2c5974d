// The command line of kesmaro-simgame, parsed and as the program answers it.

#include "tools/simgame/SimGameArguments.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kesmaro;

namespace {

QStringList split(const char* line)
{
    return QString::fromUtf8(line).split(u' ', Qt::SkipEmptyParts);
}

TEST(SimGameArguments, RenderTakesEveryOption)
{
    const SimGameCommand c = ParseSimGameArguments(
        split("--render out.png --level 35 --exp 12.3 --coins 1000 --coin-area both "
              "--window-mode --colour blue --size 1100x800"));
    ASSERT_EQ(c.error, "");
    EXPECT_EQ(c.mode, SimGameCommand::Mode::Render);
    EXPECT_EQ(c.output, "out.png");
    EXPECT_EQ(c.frameSpec.level, 35);
    EXPECT_DOUBLE_EQ(c.frameSpec.expPercent, 12.3);
    EXPECT_EQ(c.frameSpec.coins, 1000);
    EXPECT_EQ(c.frameSpec.coinArea, CoinArea::Both);
    EXPECT_TRUE(c.frameSpec.windowMode);
    EXPECT_EQ(c.frameSpec.colour, InterfaceColour::Blue);
    EXPECT_EQ(c.frameSpec.size, QSize(1100, 800));
}

TEST(SimGameArguments, DefaultsAreAFullScreenYellowFrameWithCoinsInArea2)
{
    const SimGameCommand c =
        ParseSimGameArguments(split("--level 999 --exp 100 --coins 9223372036854775807 "
                                    "--render a.png"));
    ASSERT_EQ(c.error, "");
    EXPECT_EQ(c.frameSpec.coinArea, CoinArea::Area2);
    EXPECT_FALSE(c.frameSpec.windowMode);
    EXPECT_EQ(c.frameSpec.colour, InterfaceColour::Yellow);
    EXPECT_EQ(FrameSize(c.frameSpec), QSize(1024, 768));
    EXPECT_EQ(c.frameSpec.coins, std::numeric_limits<std::int64_t>::max());
}

TEST(SimGameArguments, WithoutRenderItIsTheLiveWindow)
{
    EXPECT_EQ(ParseSimGameArguments({}).mode, SimGameCommand::Mode::Live);
    const SimGameCommand c = ParseSimGameArguments(split("--level 3 --window-mode"));
    EXPECT_EQ(c.error, "");
    EXPECT_EQ(c.mode, SimGameCommand::Mode::Live);
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
        {"stray", "unexpected argument 'stray'"},
        {"--level 2", "--level is given more than once"},
        {"--window-mode --window-mode", "--window-mode is given more than once"},
        {"!--render", "--render needs a value"},
        {"!--render o.png --exp 1 --coins 1", "--render needs --level"},
        {"!--render o.png --level 1 --coins 1", "--render needs --exp"},
        {"!--render o.png --level 1 --exp 1", "--render needs --coins"},
        {"!--level 0", "--level must be a whole number from 1 to 999, not '0'"},
        {"!--level 1000", "not '1000'"},
        {"!--level -5", "not '-5'"},
        {"!--level 12abc", "not '12abc'"},
        {"!--level 99999999999999999999", "--level must be"},
        {"!--exp 100.01", "--exp must be a percentage from 0 to 100"},
        {"!--exp 1.234", "not '1.234'"},
        {"!--exp -1", "not '-1'"},
        {"!--exp nan", "not 'nan'"},
        {"!--exp 1e2", "not '1e2'"},
        {"!--exp .5", "not '.5'"},
        {"!--coins -1", "--coins must be a whole number from 0 to 9223372036854775807"},
        {"!--coins 9223372036854775808", "not '9223372036854775808'"},
        {"!--coins 1,000", "not '1,000'"},
        {"--coin-area 3", "--coin-area must be 2, 4, both or none, not '3'"},
        {"--colour green", "--colour must be yellow, red, blue or white, not 'green'"},
        {"--colour Yellow", "not 'Yellow'"},
        {"--size 1024", "--size must be WIDTHxHEIGHT, not '1024'"},
        {"--size 1024x", "not '1024x'"},
        {"--size 100x100", "--size: size must be from 1024x762 to 4096x4096"},
        {"--size 4097x768", "--size: size must be"},
        {"--size 99999x99999", "--size: size must be"},
        {"--window-mode --size 1024x768", "--size: size must be from 1027x784"},
        {"--render p.png", "--render is given more than once"},
        {"--class X", "--class is for the live window, not for --render"},
        {"--script s.txt", "--script is for the live window, not for --render"},
        {"--play", "--play is for the live window, not for --render"},
        {"!--class", "--class needs a value"},
        {"!--class ", "--class needs a value"},
        {"!--script", "--script needs a value"},
        {"!--play --play", "--play is given more than once"},
        {"!--play --script s.txt", "--script and --play cannot be used together"},
        {"!--seed 1", "--seed needs --play"},
        {"!--exp-rate 1", "--exp-rate needs --play"},
        {"!--coin-rate 1", "--coin-rate needs --play"},
        {"!--play --seed -1", "--seed must be a whole number from 0 to 18446744073709551615"},
        {"!--play --seed 18446744073709551616", "not '18446744073709551616'"},
        {"!--play --exp-rate 1000", "--exp-rate must be a percentage per minute from 0 to 999.99"},
        {"!--play --exp-rate 0.001", "not '0.001'"},
        {"!--play --coin-rate 1000000001", "--coin-rate must be a whole number of coins per "
                                           "minute from 0 to 1000000000"},
        {"!--play --coin-rate 1.5", "not '1.5'"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments);
        const QString line = QString::fromUtf8(row.arguments);
        const SimGameCommand c = ParseSimGameArguments(
            line.startsWith(u'!') ? split(row.arguments + 1) : split(base) + split(row.arguments));
        EXPECT_TRUE(c.error.contains(QString::fromUtf8(row.fault))) << c.error.toStdString();
        EXPECT_FALSE(c.error.contains(u'\n'));
    }
}

TEST(SimGameArguments, TheLiveWindowTakesItsOwnOptions)
{
    const SimGameCommand c = ParseSimGameArguments(
        {QStringLiteral("--class"), QStringLiteral("Other Game"), QStringLiteral("--play"),
         QStringLiteral("--seed"), QStringLiteral("18446744073709551615"),
         QStringLiteral("--exp-rate"), QStringLiteral("12.5"), QStringLiteral("--coin-rate"),
         QStringLiteral("3000"), QStringLiteral("--level"), QStringLiteral("4")});
    ASSERT_EQ(c.error, "");
    EXPECT_EQ(c.mode, SimGameCommand::Mode::Live);
    EXPECT_EQ(c.windowClass, "Other Game");
    EXPECT_TRUE(c.play);
    EXPECT_EQ(c.playOptions.seed, std::numeric_limits<std::uint64_t>::max());
    EXPECT_DOUBLE_EQ(c.playOptions.expPerMinute, 12.5);
    EXPECT_EQ(c.playOptions.coinsPerMinute, 3000);
    EXPECT_EQ(c.frameSpec.level, 4);

    const SimGameCommand d = ParseSimGameArguments(split("--script steps.txt"));
    ASSERT_EQ(d.error, "");
    EXPECT_EQ(d.windowClass, "Gamebryo Application");
    EXPECT_EQ(d.script, "steps.txt");
    EXPECT_FALSE(d.play);
}

TEST(SimGameArguments, AClassIsPrintableLatin1)
{
    for (const QString& bad : {QString(300, u'x'), QStringLiteral("a\nb"),
                               QStringLiteral("\u65E5\u672C"), QStringLiteral("tab\there")}) {
        SCOPED_TRACE(bad.toStdString());
        const SimGameCommand c = ParseSimGameArguments({QStringLiteral("--class"), bad});
        EXPECT_TRUE(c.error.startsWith(
            QStringLiteral("--class must be 1 to 255 printable Latin-1 characters, not '")))
            << c.error.toStdString();
        EXPECT_FALSE(c.error.contains(u'\n'));
    }
    EXPECT_EQ(
        ParseSimGameArguments({QStringLiteral("--class"), QStringLiteral("caf\u00e9 1")}).error,
        "");
}

TEST(SimGameArguments, ControlCharactersInAValueStayOnOneLine)
{
    const SimGameCommand c =
        ParseSimGameArguments({QStringLiteral("--colour"), QStringLiteral("red\nblue")});
    EXPECT_EQ(c.error, "--colour must be yellow, red, blue or white, not 'red?blue'");
}

// The program itself: exit status and messages.
class SimGameProgram : public ::testing::Test {
protected:
    int run(const QStringList& arguments)
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(KESMARO_SIMGAME_EXE), arguments);
        if (!process.waitForFinished(30000))
            return -1;
        out = QString::fromUtf8(process.readAllStandardOutput());
        err = QString::fromUtf8(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QTemporaryDir dir;
    QString out;
    QString err;
};

TEST_F(SimGameProgram, RendersAPng)
{
    const QString path = dir.filePath(QStringLiteral("frame.png"));
    ASSERT_EQ(
        run({QStringLiteral("--render"), path, QStringLiteral("--level"), QStringLiteral("35"),
             QStringLiteral("--exp"), QStringLiteral("12.34"), QStringLiteral("--coins"),
             QStringLiteral("1000"), QStringLiteral("--window-mode")}),
        0)
        << err.toStdString();
    EXPECT_EQ(err, "");
    EXPECT_EQ(QImage(path).size(), QSize(1030, 793));
}

TEST_F(SimGameProgram, BadArgumentsExitWithStatus2AndOneLine)
{
    EXPECT_EQ(run({QStringLiteral("--level"), QStringLiteral("x")}), 2);
    EXPECT_EQ(err, "kesmaro-simgame: --level must be a whole number from 1 to 999, not 'x'\n");
    EXPECT_EQ(out, "");
}

TEST_F(SimGameProgram, TheLiveWindowWithoutAnXServerFailsWithOneLine)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":4093"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment = env;
    EXPECT_EQ(run({}), 1);
    EXPECT_EQ(err, "kesmaro-simgame: cannot open the X display ':4093'\n");
}

TEST_F(SimGameProgram, ABadScriptExitsWithStatus2AndOneLine)
{
    const QString path = dir.filePath(QStringLiteral("s.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("0 1 0 0\n1 1 0 0 4\n2 1 0 0 3\n");
    file.close();
    EXPECT_EQ(run({QStringLiteral("--script"), path}), 2);
    EXPECT_TRUE(err.startsWith(QStringLiteral("kesmaro-simgame: --script '"))) << err.toStdString();
    EXPECT_TRUE(err.endsWith(QStringLiteral(" line 3: the coin area must be 2, 4, both or none, "
                                            "not '3'\n")))
        << err.toStdString();
    EXPECT_EQ(err.count(u'\n'), 1);
    EXPECT_EQ(run({QStringLiteral("--script"), dir.filePath(QStringLiteral("none.txt"))}), 2);
    EXPECT_TRUE(err.startsWith(QStringLiteral("kesmaro-simgame: --script cannot read '")))
        << err.toStdString();
}

TEST_F(SimGameProgram, AnUnwritableFileIsAFailureButNotAUsageError)
{
    EXPECT_EQ(run({QStringLiteral("--render"), dir.filePath(QStringLiteral("no/such/dir/f.png")),
                   QStringLiteral("--level"), QStringLiteral("1"), QStringLiteral("--exp"),
                   QStringLiteral("0"), QStringLiteral("--coins"), QStringLiteral("0")}),
              1);
    EXPECT_TRUE(err.startsWith(QStringLiteral("kesmaro-simgame: cannot write ")));
}

} // namespace

TEST(SimGameHideTest, HiddenValuesAreNotDrawnAndBadNamesRefused)
{
    const SimGameCommand both = ParseSimGameArguments(
        {"--render", "x.png", "--level", "5", "--exp", "1", "--coins", "2", "--hide", "level,exp"});
    EXPECT_TRUE(both.error.isEmpty());
    EXPECT_TRUE(both.frameSpec.hideLevel);
    EXPECT_TRUE(both.frameSpec.hideExp);
    const SimGameCommand bad = ParseSimGameArguments(
        {"--render", "x.png", "--level", "5", "--exp", "1", "--coins", "2", "--hide", "coins"});
    EXPECT_EQ(bad.error, QStringLiteral("--hide takes level, exp or level,exp, not 'coins'"));
}
