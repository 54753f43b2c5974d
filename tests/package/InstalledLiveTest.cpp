// The kesmaro of the Debian package, unpacked into a scratch root, on a private X server beside
// the simulated game: with no writable folder beside it, everything it writes goes to the
// per-user data folder.

#include "X11TestSupport.h"
#include "common/Cp932.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <thread>

using kesmaro::testing::XvfbSession;
using namespace std::chrono_literals;

namespace {

const QString kRoot = QStringLiteral(KESMARO_INSTALLED_ROOT);

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
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Every file and folder under `folder`, relative to it.
std::set<QString> Tree(const QString& folder)
{
    std::set<QString> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries.insert(QDir(folder).relativeFilePath(it.next()));
    return entries;
}

// Runs `command` and returns its exit code, -1 when it did not finish.
int RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished(5000);
        return -1;
    }
    return process.exitCode();
}

class InstalledLiveTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (auto& process : processes) {
            process->kill();
            process->waitForFinished(10000);
        }
        // The next package run replaces the root.
        RunTool(QStringLiteral("chmod"), {QStringLiteral("-R"), QStringLiteral("u+w"), kRoot});
        if (HasFailure()) {
            data.setAutoRemove(false);
            std::cerr << "kept for a look: " << data.path().toStdString() << "\n";
        }
    }

    QProcess& start(const QString& program, const QStringList& arguments = {})
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), QString::fromStdString(session->display()));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), data.path());
        env.insert(QStringLiteral("TMPDIR"), temp.path());
        process->setProcessEnvironment(env);
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(program, arguments);
        EXPECT_TRUE(process->waitForStarted(10000)) << program.toStdString();
        processes.push_back(std::move(process));
        return *processes.back();
    }

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

    QStringList windows(const QProcess& process, const QString& title) const
    {
        return tool(QStringLiteral("xdotool"),
                    {QStringLiteral("search"), QStringLiteral("--all"),
                     QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                     QString::number(process.processId()), QStringLiteral("--name"), title})
            .split(u'\n', Qt::SkipEmptyParts);
    }

    // Closes a box as its close box does (its one button).
    void dismiss(const QString& window) const
    {
        tool(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-c"), window});
    }

    QString folder() const { return QDir(data.path()).filePath(QStringLiteral("kesmaro")); }
    QString file(const QString& name) const { return QDir(folder()).filePath(name); }

    QStringList recordFiles() const
    {
        const QDir log(file(QStringLiteral("log")));
        QStringList files = log.entryList(QDir::Files);
        for (QString& f : files)
            f = log.filePath(f);
        return files;
    }

    std::unique_ptr<XvfbSession> session;
    QTemporaryDir temp{QStringLiteral(KESMARO_LIVE_WORK "/tmp-XXXXXX")};
    QTemporaryDir data{QStringLiteral(KESMARO_LIVE_WORK "/data-XXXXXX")};
    QTemporaryDir work{QStringLiteral(KESMARO_LIVE_WORK "/work-XXXXXX")};
    QTemporaryDir runtime;
    std::vector<std::unique_ptr<QProcess>> processes;
};

} // namespace

TEST_F(InstalledLiveTest, KeepsSettingsDebugLogAndRecordsInThePerUserDataFolder)
{
    const QString exe = QDir(kRoot).filePath(QStringLiteral("usr/bin/kesmaro"));
    ASSERT_TRUE(QFile::exists(exe)) << "no unpacked package at " << kRoot.toStdString();
    session = std::make_unique<XvfbSession>();
    if (!session->ok()) {
        if (session->display().empty())
            GTEST_SKIP() << "No X server for the X11 tests: " << session->problem();
        FAIL() << session->problem();
    }
    // As a system install is: nothing beside the program can be written (ignored by root, for
    // whom the installed layout alone decides).
    ASSERT_EQ(RunTool(QStringLiteral("chmod"), {QStringLiteral("-R"), QStringLiteral("a-w"),
                                                QDir(kRoot).filePath(QStringLiteral("usr"))}),
              0);
    const std::set<QString> installed = Tree(kRoot);

    // Settings that start a run by themselves and measure every minute, with a record folder
    // that does not exist: the program falls back to its own folder and writes the settings.
    ASSERT_TRUE(QDir().mkpath(folder()));
    QByteArray settings =
        ReadAll(QStringLiteral(KESMARO_TEST_DATA "/config/default-fullscreen-yellow.ini"));
    ASSERT_FALSE(settings.isEmpty());
    settings.replace("{folder}", "/nonexistent-kesmaro-records");
    QList<QByteArray> lines = settings.split('\n');
    const auto field = [&](int lineNumber, const QByteArray& value) {
        QByteArray& line = lines[lineNumber - 1];
        line = value.rightJustified(7) + line.mid(line.indexOf(" ,"));
    };
    field(7, "True");
    field(8, "1");
    field(14, "2");
    const QByteArray seeded = lines.join('\n');
    ASSERT_TRUE(WriteAll(file(QStringLiteral("KM2DConfig.ini")), seeded));

    const QString script = work.filePath(QStringLiteral("script.txt"));
    // Read once at the start, then changed well before the first minute's capture.
    ASSERT_TRUE(WriteAll(script, "0 35 10.00 1000000\n40 35 12.34 1234567\n"));
    QProcess& game = start(QDir(kRoot).filePath(QStringLiteral("usr/bin/kesmaro-simgame")),
                           {QStringLiteral("--script"), script});
    QString gameWindow;
    ASSERT_TRUE(
        Eventually([&] { return !(gameWindow = windows(game, ".").value(0)).isEmpty(); }, 60s));

    QProcess& program = start(exe);
    // Boxes of the start: the system check (no sound server here) and the record folder.
    QString main;
    std::set<QString> answered;
    ASSERT_TRUE(Eventually(
        [&] {
            QStringList boxes = windows(
                program, QStringLiteral("^(ライブラリファイルチェック|設定ファイル読込み)$"));
            for (const QString& box : boxes)
                if (answered.insert(box).second)
                    dismiss(box);
            main = windows(program, QStringLiteral("^Kesmaro ")).value(0);
            return boxes.isEmpty() && !main.isEmpty() &&
                   ReadAll(file(QStringLiteral("debug.txt"))).contains("Program StartUp Complete");
        },
        90s))
        << "the start did not complete";
    tool(QStringLiteral("xdotool"),
         {QStringLiteral("windowactivate"), QStringLiteral("--sync"), gameWindow});

    // The desktop entry names the class of the main window (the second string of WM_CLASS).
    const QString entry = QString::fromUtf8(ReadAll(
        QDir(kRoot).filePath(QStringLiteral("usr/share/applications/" KESMARO_APP_ID ".desktop"))));
    const QString startupClass =
        entry.section(QStringLiteral("StartupWMClass="), 1).section(u'\n', 0, 0);
    ASSERT_FALSE(startupClass.isEmpty());
    const QString wmClass =
        tool(QStringLiteral("xprop"), {QStringLiteral("-id"), main, QStringLiteral("WM_CLASS")});
    EXPECT_TRUE(wmClass.trimmed().endsWith(QStringLiteral(", \"") + startupClass + u'"'))
        << wmClass.toStdString() << " against StartupWMClass=" << startupClass.toStdString();

    ASSERT_TRUE(Eventually(
        [&] {
            const QStringList files = recordFiles();
            return files.size() == 1 && ReadAll(files[0]).contains("1,234,567");
        },
        150s))
        << "no record line in " << folder().toStdString() << "/log";

    dismiss(main);
    ASSERT_TRUE(program.waitForFinished(20000)) << "still running after the close";

    const QString debugLog = QString::fromStdString(
        kesmaro::DecodeCp932(ReadAll(file(QStringLiteral("debug.txt"))).toStdString()));
    EXPECT_TRUE(
        debugLog.contains(QStringLiteral("Execute Folder : ") + folder() + QStringLiteral("\r\n")))
        << debugLog.left(600).toStdString();
    const QByteArray written = ReadAll(file(QStringLiteral("KM2DConfig.ini")));
    EXPECT_NE(written, seeded) << "the settings file was not written";
    EXPECT_TRUE(
        written.contains(QByteArray::fromStdString(kesmaro::EncodeCp932(folder().toStdString()))))
        << "the record folder is not the program's own";
    EXPECT_EQ(Tree(kRoot), installed) << "something was written beside the installed program";
}
