// kesmaro itself, as a user starts it, on a private X server beside the live simulated game:
// refused starts, the system check, measuring live, the popup and both ways a run ends.

#include "X11TestSupport.h"
#include "common/Cp932.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <thread>

using kesmaro::testing::XvfbSession;
using namespace std::chrono_literals;

namespace {

// Polls at a pace that suits conditions asked through other processes.
bool Eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    return kesmaro::testing::WaitFor(
        [&] {
            if (condition())
                return true;
            std::this_thread::sleep_for(200ms);
            return false;
        },
        timeout);
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return !path.isEmpty() && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The debug log's entries without their time stamps; the lines of a multi-line entry stay
// with it.
QStringList DebugEntries(const QByteArray& debugLog)
{
    static const QRegularExpression stamp(
        QStringLiteral("^\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d "));
    QStringList lines = QString::fromStdString(kesmaro::DecodeCp932(debugLog.toStdString()))
                            .split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast(); // what follows the last line's end
    QStringList entries;
    for (const QString& line : lines) {
        const QRegularExpressionMatch match = stamp.match(line);
        if (match.hasMatch())
            entries << line.mid(match.capturedLength());
        else if (!entries.isEmpty())
            entries.back() += QStringLiteral("\n") + line;
    }
    return entries;
}

// What the game showed in a record line: level, Exp and coins as the line writes them.
struct Shown {
    QString level, exp, coins;
    friend bool operator==(const Shown&, const Shown&) = default;
};

std::ostream& operator<<(std::ostream& out, const Shown& s)
{
    return out << s.level.toStdString() << " " << s.exp.toStdString() << " "
               << s.coins.toStdString();
}

class KesmaroLiveTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (auto& process : processes) {
            process->kill();
            process->waitForFinished(10000);
        }
        if (HasFailure()) {
            folder.setAutoRemove(false);
            std::cerr << "kept for a look: " << folder.path().toStdString() << "\n";
        }
    }

    bool startSession(XvfbSession::Options options = {})
    {
        session = std::make_unique<XvfbSession>(std::move(options));
        if (session->ok())
            return true;
        if (session->display().empty())
            skipped = "No X server for the X11 tests: " + session->problem();
        else
            ADD_FAILURE() << session->problem();
        return false;
    }

    // A portable install: the executable and a settings file that asks no first-start
    // questions, measuring every minute from two seconds after the start. `more` sets the first
    // field of further lines.
    QString install(bool autoStart, const std::vector<std::pair<int, QByteArray>>& more = {})
    {
        const QString path = folder.path();
        const QString exe = QDir(path).filePath(QStringLiteral("kesmaro"));
        EXPECT_TRUE(QFile::copy(QStringLiteral(KESMARO_EXE), exe));
        QByteArray settings =
            ReadAll(QStringLiteral(KESMARO_TEST_DATA "/config/default-fullscreen-yellow.ini"));
        settings.replace("{folder}",
                         QByteArray::fromStdString(kesmaro::EncodeCp932(path.toStdString())));
        QList<QByteArray> lines = settings.split('\n');
        const auto field = [&](int lineNumber, const QByteArray& value) {
            QByteArray& line = lines[lineNumber - 1];
            line = value.rightJustified(7) + line.mid(line.indexOf(" ,"));
        };
        field(7, autoStart ? "True" : "False");
        field(8, "1");
        field(14, "2");
        for (const auto& [lineNumber, value] : more)
            field(lineNumber, value);
        EXPECT_TRUE(
            WriteAll(QDir(path).filePath(QStringLiteral("KM2DConfig.ini")), lines.join('\n')));
        return exe;
    }

    QProcess& start(const QString& program, const QStringList& arguments = {})
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), QString::fromStdString(session->display()));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("TMPDIR"), temp.path());
        process->setProcessEnvironment(env);
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(program, arguments);
        EXPECT_TRUE(process->waitForStarted(10000)) << program.toStdString();
        processes.push_back(std::move(process));
        return *processes.back();
    }

    QProcess& startGame(const QString& script)
    {
        const QString path = work.filePath(QStringLiteral("script-%1.txt").arg(processes.size()));
        EXPECT_TRUE(WriteAll(path, script.toUtf8()));
        return start(QStringLiteral(KESMARO_SIMGAME_EXE), {QStringLiteral("--script"), path});
    }

    // A tool on the session's display; its output, empty when it failed.
    QString tool(const QString& program, const QStringList& arguments) const
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), QString::fromStdString(session->display()));
        process.setProcessEnvironment(env);
        process.start(program, arguments);
        if (!process.waitForFinished(30000)) {
            process.kill();
            process.waitForFinished(5000);
            return {};
        }
        return process.exitCode() == 0 ? QString::fromUtf8(process.readAllStandardOutput()) : "";
    }

    // The visible windows of the process whose title matches `title` (a regular expression).
    QStringList windows(const QProcess& process, const QString& title) const
    {
        return tool(QStringLiteral("xdotool"),
                    {QStringLiteral("search"), QStringLiteral("--all"),
                     QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                     QString::number(process.processId()), QStringLiteral("--name"), title})
            .split(u'\n', Qt::SkipEmptyParts);
    }

    QString waitForWindow(const QProcess& process, const QString& title,
                          std::chrono::milliseconds timeout = 60s) const
    {
        QStringList found;
        Eventually([&] { return !(found = windows(process, title)).isEmpty(); }, timeout);
        return found.value(0);
    }

    void activate(const QString& window) const
    {
        tool(QStringLiteral("xdotool"),
             {QStringLiteral("windowactivate"), QStringLiteral("--sync"), window});
    }

    // A box with one button takes the close box as that button. Not a key press: xdotool
    // sends its release to the window the press has just closed, fails, and leaves the key
    // held down on the server, repeating into whatever window comes next.
    void dismiss(const QString& box) const
    {
        tool(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-c"), box});
    }

    // Answers the system check's boxes (a private server has no sound server) until the main
    // window shows and the check is done; the main window or empty.
    QString waitForMainWindow(const QProcess& process, std::set<QString>* boxes = nullptr) const
    {
        std::set<QString> answered;
        QString main;
        Eventually(
            [&] {
                const QStringList shown =
                    windows(process, QStringLiteral("^ライブラリファイルチェック$"));
                for (const QString& box : shown)
                    if (answered.insert(box).second)
                        dismiss(box);
                main = windows(process, QStringLiteral("^Kesmaro ")).value(0);
                return shown.isEmpty() && !main.isEmpty() &&
                       ReadAll(debugLogPath()).contains("Result of System File Check");
            },
            60s);
        if (boxes)
            *boxes = answered;
        return main;
    }

    // Dismisses the one box of the process with this title, then waits for the process to end.
    void answerAndWaitForExit(QProcess& process, const QString& title)
    {
        const QString box = waitForWindow(process, title, 30s);
        ASSERT_FALSE(box.isEmpty()) << "no box " << title.toStdString();
        dismiss(box);
        ASSERT_TRUE(process.waitForFinished(20000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
    }

    // Closes the window as its close box does and waits a few seconds for the process to end.
    void closeThroughWindowManager(QProcess& process, const QString& window)
    {
        tool(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-c"), window});
        EXPECT_TRUE(process.waitForFinished(10000)) << "still running after the close";
        EXPECT_EQ(process.exitCode(), 0);
    }

    QString recordFile() const
    {
        const QDir log(folder.filePath(QStringLiteral("log")));
        const QStringList files = log.entryList(QDir::Files);
        return files.size() == 1 ? log.filePath(files[0]) : QString();
    }

    std::vector<Shown> recordLines() const
    {
        static const QRegularExpression line(
            QStringLiteral("^\\d\\d/\\d\\d \\d\\d:\\d\\d +(\\S+) +(\\S+) +(\\S+) "));
        std::vector<Shown> shown;
        const QString text =
            QString::fromStdString(kesmaro::DecodeCp932(ReadAll(recordFile()).toStdString()));
        for (const QString& l : text.split(QStringLiteral("\r\n"))) {
            const QRegularExpressionMatch m = line.match(l);
            if (m.hasMatch())
                shown.push_back({m.captured(1), m.captured(2), m.captured(3)});
        }
        return shown;
    }

    // The two minutes columns (Exp, coins) of every record line that has them.
    std::vector<std::pair<QString, QString>> minutesColumns() const
    {
        std::vector<std::pair<QString, QString>> columns;
        const QString text =
            QString::fromStdString(kesmaro::DecodeCp932(ReadAll(recordFile()).toStdString()));
        for (const QString& l : text.split(QStringLiteral("\r\n"))) {
            // Stamp (two words), level, Exp, coins, their gains, minutes, rate, minutes, rate.
            const QStringList words = l.split(u' ', Qt::SkipEmptyParts);
            if (words.size() == 11 && words[0].contains(u'/'))
                columns.emplace_back(words[7], words[9]);
        }
        return columns;
    }

    QString debugLogPath() const { return folder.filePath(QStringLiteral("debug.txt")); }

    std::unique_ptr<XvfbSession> session;
    std::string skipped;
    // The programs' own temporary folder (TMPDIR), beside the program folder: kesmaro refuses to
    // run from inside the temporary folder, wherever the build tree is.
    QTemporaryDir temp{QStringLiteral(KESMARO_LIVE_WORK "/tmp-XXXXXX")};
    QTemporaryDir folder{QStringLiteral(KESMARO_LIVE_WORK "/program-XXXXXX")};
    QTemporaryDir work{QStringLiteral(KESMARO_LIVE_WORK "/work-XXXXXX")};
    QTemporaryDir runtime;
    std::vector<std::unique_ptr<QProcess>> processes;
};

const QString kErrorTitle = QStringLiteral("^エラー$");

} // namespace

// One running program shares the checks that need real minutes to pass.
TEST_F(KesmaroLiveTest, MeasuresLiveRefusesASecondStartAndSurvivesAKill)
{
    if (!startSession())
        GTEST_SKIP() << skipped;
    const QString exe = install(/*autoStart=*/true);
    // Read once at the start, then changed well before the first minute's capture; from two
    // minutes on, the numbers move every ten seconds so that every capture writes its line.
    QString script = QStringLiteral("0 35 10.00 1000000\n40 35 12.34 1234567\n");
    for (int k = 1; k <= 80; ++k)
        script += QStringLiteral("%1 35 %2 %3\n")
                      .arg(110 + 10 * k)
                      .arg(12.34 + 0.01 * k, 0, 'f', 2)
                      .arg(1234567 + 1000 * k);
    QProcess& game = startGame(script);
    const QString firstGame = waitForWindow(game, QStringLiteral("."));
    ASSERT_FALSE(firstGame.isEmpty());
    QProcess& first = start(exe);
    const QString main = waitForMainWindow(first);
    ASSERT_FALSE(main.isEmpty());
    activate(firstGame); // kesmaro's window took the focus as it showed

    ASSERT_TRUE(Eventually([&] { return !recordLines().empty(); }, 150s));
    EXPECT_EQ(recordLines().at(0), (Shown{"35", "12.34", "1,234,567"}));

    {
        SCOPED_TRACE("five captures a minute apart, each on its own tick");
        ASSERT_TRUE(Eventually([&] { return recordLines().size() >= 5; }, 330s));
        const std::vector<std::pair<QString, QString>> minutes = minutesColumns();
        ASSERT_GE(minutes.size(), 5u);
        for (const auto& [exp, coins] : minutes) {
            EXPECT_EQ(exp, QStringLiteral("1.0"));
            EXPECT_EQ(coins, QStringLiteral("1.0"));
        }
    }
    const std::size_t steady = recordLines().size();

    {
        SCOPED_TRACE("a second start, while no capture is due");
        const QByteArray debugLog = ReadAll(debugLogPath());
        QProcess& second = start(exe);
        answerAndWaitForExit(second, kErrorTitle);
        EXPECT_EQ(first.state(), QProcess::Running);
        EXPECT_TRUE(ReadAll(debugLogPath()) == debugLog) << "the first one's debug log changed";
    }

    game.kill();
    game.waitForFinished(10000);
    const QString popup = waitForWindow(first, kErrorTitle, 90s);
    ASSERT_FALSE(popup.isEmpty()) << "no popup after the game closed";

    // The game is back, but behind another window (not kesmaro's: showing it hides the popup):
    // the capture that hides the popup reads nothing.
    kesmaro::testing::TestWindow other(
        session->display(), {.windowClass = "Other Window", .width = 200, .height = 200});
    ASSERT_TRUE(Eventually([&] { return other.viewable(); }, 20s));
    QProcess& again = startGame(QStringLiteral("0 36 5.67 1300000\n"));
    const QString gameWindow = waitForWindow(again, QStringLiteral("."));
    ASSERT_FALSE(gameWindow.isEmpty());
    activate(QString::number(other.id()));
    EXPECT_TRUE(Eventually([&] { return windows(first, kErrorTitle).isEmpty(); }, 90s))
        << "the popup stayed after the game came back";
    EXPECT_EQ(recordLines().size(), steady) << "a capture was made of a game in the background";

    activate(gameWindow);
    ASSERT_TRUE(Eventually([&] { return recordLines().size() > steady; }, 40s))
        << "the capture did not resume with the game in front";
    EXPECT_EQ(recordLines().at(steady), (Shown{"36", "5.67", "1,300,000"}));

    const QByteArray records = ReadAll(recordFile());
    first.kill();
    ASSERT_TRUE(first.waitForFinished(10000));
    EXPECT_TRUE(ReadAll(recordFile()) == records) << "lines were lost in the kill";

    // The lock the killed one left behind does not keep the next start out.
    QProcess& next = start(exe);
    const QString nextMain = waitForMainWindow(next);
    ASSERT_FALSE(nextMain.isEmpty());
    EXPECT_TRUE(windows(next, kErrorTitle).isEmpty());
    // Closed once its start is complete (its debug log is a new one: the last went to the
    // backup): a close during the start delay is not what is checked here.
    EXPECT_TRUE(Eventually(
        [&] { return ReadAll(debugLogPath()).contains("Program StartUp Complete"); }, 30s));
    closeThroughWindowManager(next, nextMain);
    const QStringList entries = DebugEntries(ReadAll(debugLogPath()));
    ASSERT_GE(entries.size(), 2);
    EXPECT_EQ(entries[entries.size() - 2], QStringLiteral("End of the Program "));
    EXPECT_TRUE(entries.back().startsWith(QStringLiteral("OperatingInformation\n")))
        << entries.back().toStdString();
}

TEST_F(KesmaroLiveTest, AStartInsideTheTemporaryFolderIsRefusedAndWritesNothing)
{
    if (!startSession())
        GTEST_SKIP() << skipped;
    // Unpacked into the temporary folder the program sees.
    QTemporaryDir temporary{temp.filePath(QStringLiteral("unpacked-XXXXXX"))};
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(KESMARO_EXE), temporary.filePath(QStringLiteral("kesmaro"))));
    QProcess& refused = start(temporary.filePath(QStringLiteral("kesmaro")));
    answerAndWaitForExit(refused, QStringLiteral("^起動エラー$"));
    EXPECT_EQ(
        QDir(temporary.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList{QStringLiteral("kesmaro")});
}

TEST_F(KesmaroLiveTest, AServerWithoutXInput2GetsOneMessageForItAndItsDebugLines)
{
    // XInputExtension cannot be left out of Xvfb; without the generic events it is unusable.
    if (!startSession({.serverArgs = {"-extension", "Generic Event Extension"}}))
        GTEST_SKIP() << skipped;
    const QString exe = install(/*autoStart=*/false);
    QProcess& program = start(exe);
    // Other parts may be missing here too (a sound server).
    std::set<QString> boxes;
    const QString main = waitForMainWindow(program, &boxes);
    ASSERT_FALSE(main.isEmpty());
    closeThroughWindowManager(program, main);

    const QStringList entries = DebugEntries(ReadAll(debugLogPath()));
    const QStringList missing =
        entries.filter(QRegularExpression(QStringLiteral("^System File of ")));
    EXPECT_EQ(missing.size(), static_cast<qsizetype>(boxes.size()))
        << missing.join(u'|').toStdString();
    EXPECT_EQ(missing.count(QStringLiteral("System File of XInputExtension is Not Find ")), 1);
    const qsizetype summary =
        entries.indexOf(QStringLiteral("Result of System File Check : A missing item "));
    ASSERT_GE(summary, 0);
    EXPECT_GT(summary,
              entries.indexOf(QStringLiteral("System File of XInputExtension is Not Find ")));
}

namespace {

QStringList FilesIn(const QString& folder, const QString& pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files, QDir::Name);
}

// A game whose Exp goes up and down every two seconds: every fall looks like a level-up. The
// coins rise all the time, so that any two captures differ and each writes its record line
// (a capture that finds nothing moved writes none), whichever phase of the Exp it meets.
QString SeesawGame()
{
    QString script;
    for (int t = 0; t <= 600; t += 2)
        script += QStringLiteral("%1 35 %2 %3\n")
                      .arg(t)
                      .arg(t % 4 == 0 ? QStringLiteral("10.00") : QStringLiteral("60.00"))
                      .arg(1000000 + t);
    return script;
}

} // namespace

// One running program takes every gesture in turn, clicked on the live game.
TEST_F(KesmaroLiveTest, GesturesClickedInTheGameDriveTheMeasurement)
{
    if (!startSession())
        GTEST_SKIP() << skipped;
    const QString exe = install(/*autoStart=*/true, {{9, "1"}, {20, "True"}}); // beeps, gestures on
    QProcess& game = startGame(SeesawGame());
    const QString gameWindow = waitForWindow(game, QStringLiteral("."));
    ASSERT_FALSE(gameWindow.isEmpty());
    QProcess& program = start(exe);
    const QString main = waitForMainWindow(program);
    ASSERT_FALSE(main.isEmpty());
    activate(gameWindow);
    const auto debugCount = [&](const QString& entry) {
        return DebugEntries(ReadAll(debugLogPath())).count(entry);
    };
    ASSERT_TRUE(Eventually(
        [&] { return debugCount(QStringLiteral("Mouse Events Acquire ･･･ Successfull ")) == 1; },
        30s));
    // The run's first capture, which writes no record line yet.
    ASSERT_TRUE(
        Eventually([&] { return debugCount(QStringLiteral("Fast ImageRecognition ")) >= 1; }, 60s));

    // Each click a press and a release, well within the 500 ms a gesture may pause.
    const auto clicks = [&](const QStringList& buttons) {
        QStringList arguments{QStringLiteral("mousemove"), QStringLiteral("--window"), gameWindow,
                              QStringLiteral("400"), QStringLiteral("300")};
        for (const QString& b : buttons)
            arguments << QStringLiteral("click") << b;
        tool(QStringLiteral("xdotool"), arguments);
    };
    const QString left = QStringLiteral("1"), right = QStringLiteral("3");

    clicks({left, right, left, left});
    EXPECT_TRUE(
        Eventually([&] { return debugCount(QStringLiteral("Suspend Mode On ")) == 1; }, 20s))
        << "L R L L did not suspend";
    clicks({left, right, left, right});
    EXPECT_TRUE(
        Eventually([&] { return debugCount(QStringLiteral("Suspend Mode Off ")) == 1; }, 20s))
        << "L R L R did not resume";

    {
        SCOPED_TRACE("R R R R: a capture now, not a minute after the first");
        const std::size_t before = recordLines().size();
        clicks({right, right, right, right});
        EXPECT_TRUE(Eventually([&] { return recordLines().size() > before; }, 20s));
    }

    const QString ss = folder.filePath(QStringLiteral("ss"));
    {
        SCOPED_TRACE("R L L L starts the watch, R L L R stops it");
        EXPECT_TRUE(FilesIn(ss, QStringLiteral("LvUP_*")).isEmpty());
        clicks({right, left, left, left});
        EXPECT_TRUE(
            Eventually([&] { return FilesIn(ss, QStringLiteral("LvUP_*")).size() >= 4; }, 30s));
        clicks({right, left, left, right});
        // A burst already under way finishes; then nothing more comes.
        QStringList settled;
        EXPECT_TRUE(Eventually(
            [&] {
                const QStringList now = FilesIn(ss, QStringLiteral("LvUP_*"));
                const bool same = now == settled;
                settled = now;
                return same && now.size() % 4 == 0;
            },
            20s));
        std::this_thread::sleep_for(6s); // three falls of the game's Exp
        EXPECT_EQ(FilesIn(ss, QStringLiteral("LvUP_*")), settled);
    }

    {
        SCOPED_TRACE("both buttons together, twice: a screenshot of the game window");
        tool(QStringLiteral("xdotool"), {QStringLiteral("mousemove"),
                                         QStringLiteral("--window"),
                                         gameWindow,
                                         QStringLiteral("400"),
                                         QStringLiteral("300"),
                                         QStringLiteral("mousedown"),
                                         left,
                                         QStringLiteral("mousedown"),
                                         right,
                                         QStringLiteral("mouseup"),
                                         left,
                                         QStringLiteral("mouseup"),
                                         right,
                                         QStringLiteral("mousedown"),
                                         right,
                                         QStringLiteral("mousedown"),
                                         left,
                                         QStringLiteral("mouseup"),
                                         right,
                                         QStringLiteral("mouseup"),
                                         left});
        // Seen once the file is whole: it appears before its last byte is written.
        QImage shot;
        EXPECT_TRUE(Eventually(
            [&] {
                const QStringList shots = FilesIn(ss, QStringLiteral("PrtScr_*.png"));
                return !shots.isEmpty() && shot.load(QDir(ss).filePath(shots[0]));
            },
            20s));
        if (!shot.isNull()) {
            // The game window with the frame the window manager gave it.
            const QString tree = tool(QStringLiteral("xwininfo"),
                                      {QStringLiteral("-tree"), QStringLiteral("-id"), gameWindow});
            const QRegularExpressionMatch parent =
                QRegularExpression(QStringLiteral("Parent window id: (0x[0-9a-f]+)")).match(tree);
            ASSERT_TRUE(parent.hasMatch()) << tree.toStdString();
            const QString info =
                tool(QStringLiteral("xwininfo"), {QStringLiteral("-id"), parent.captured(1)});
            const auto number = [&](const char* name) {
                return QRegularExpression(QStringLiteral("%1: +(\\d+)").arg(QLatin1String(name)))
                    .match(info)
                    .captured(1)
                    .toInt();
            };
            EXPECT_EQ(shot.size(), QSize(number("Width"), number("Height")));
        }
    }

    {
        SCOPED_TRACE("gestures off in the menu: clicks do nothing");
        activate(main);
        tool(QStringLiteral("xdotool"),
             {QStringLiteral("key"), QStringLiteral("--window"), main, QStringLiteral("--delay"),
              QStringLiteral("200"), QStringLiteral("alt"), QStringLiteral("Right"),
              QStringLiteral("Return"), QStringLiteral("Down"), QStringLiteral("Return")});
        ASSERT_TRUE(Eventually(
            [&] { return debugCount(QStringLiteral("DirectX UnLoding ･･･ End ")) == 1; }, 20s));
        activate(gameWindow);
        clicks({left, right, left, left});
        std::this_thread::sleep_for(3s);
        EXPECT_EQ(debugCount(QStringLiteral("Suspend Mode On ")), 1);
    }
    closeThroughWindowManager(program, main);
}

// The options window from the menu of a running program: a new capture interval set through
// the input dialog, saved, and followed from the next capture on.
TEST_F(KesmaroLiveTest, TheOptionsWindowChangesTheIntervalOfTheRunningProgram)
{
    if (!startSession())
        GTEST_SKIP() << skipped;
    const QString exe = install(/*autoStart=*/true); // every minute
    QProcess& game = startGame(QStringLiteral("0 35 10.00 1000000\n30 35 12.00 1100000\n"));
    const QString gameWindow = waitForWindow(game, QStringLiteral("."));
    ASSERT_FALSE(gameWindow.isEmpty());
    QProcess& program = start(exe);
    const QString main = waitForMainWindow(program);
    ASSERT_FALSE(main.isEmpty());
    activate(gameWindow);
    // The run's first capture: the next is due a minute later.
    ASSERT_TRUE(
        Eventually([&] { return ReadAll(debugLogPath()).contains("Fast ImageRecognition"); }, 60s));

    activate(main);
    tool(QStringLiteral("xdotool"),
         {QStringLiteral("key"), QStringLiteral("--window"), main, QStringLiteral("--delay"),
          QStringLiteral("200"), QStringLiteral("alt"), QStringLiteral("Right"),
          QStringLiteral("Return"), QStringLiteral("Return")});
    const QString options = waitForWindow(program, QStringLiteral("^オプション$"), 20s);
    ASSERT_FALSE(options.isEmpty()) << "the menu did not open the options window";
    activate(options);
    const auto clickAt = [&](const QString& window, int x, int y) {
        tool(QStringLiteral("xdotool"),
             {QStringLiteral("mousemove"), QStringLiteral("--window"), window, QString::number(x),
              QString::number(y), QStringLiteral("click"), QStringLiteral("1")});
    };
    clickAt(options, 153, 129); // lblCaptureInterval on the first page
    const QString dialog = waitForWindow(program, QStringLiteral("^設定値入力$"), 20s);
    ASSERT_FALSE(dialog.isEmpty()) << "no input dialog";
    activate(dialog);
    // From 1 the step of 5 goes up to 6; then 決 定.
    clickAt(dialog, 274, 90);
    clickAt(dialog, 100, 127);
    ASSERT_TRUE(
        Eventually([&] { return windows(program, QStringLiteral("^設定値入力$")).isEmpty(); }, 20s))
        << "the dialog stayed open";
    activate(options);
    clickAt(options, 200, 370); // cmdSave
    const QString settingsPath = folder.filePath(QStringLiteral("KM2DConfig.ini"));
    EXPECT_TRUE(Eventually(
        [&] {
            const QList<QByteArray> lines = ReadAll(settingsPath).split('\n');
            return lines.size() > 8 && lines[7].startsWith("      6 ,");
        },
        20s))
        << "the settings file does not hold the new interval";

    // The capture already due a minute after the first sets the next six minutes ahead.
    activate(gameWindow);
    ASSERT_TRUE(Eventually([&] { return !recordLines().empty(); }, 110s))
        << "the capture due under the old interval did not come";
    EXPECT_FALSE(Eventually([&] { return recordLines().size() > 1; }, 90s))
        << "a capture came a minute later: the old interval still runs";
    closeThroughWindowManager(program, main);
}
