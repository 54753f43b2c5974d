// kesmaro-simgame: a stand-in for the game. --render draws one frame into a PNG file; without
// it the frame is a live window whose numbers a script or a simulated player changes.

#include "common/Arguments.h"
#include "tools/simgame/GameFrame.h"
#include "tools/simgame/GameScript.h"
#include "tools/simgame/PlayerSimulation.h"
#include "tools/simgame/SimGameArguments.h"
#include "tools/simgame/SimGameWindow.h"

#ifdef KESMARO_HAVE_X11
#include "platform/x11/X11GameWindows.h"
#include "ui/qt/QtText.h"
#endif

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextStream>
#include <QTimer>
#include <algorithm>
#include <memory>

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

void printError(const QString& message)
{
    QTextStream(stderr) << "kesmaro-simgame: " << message << '\n';
}

void printError(const std::string& message)
{
    printError(QString::fromStdString(message));
}

int render(const kesmaro::SimGameCommand& command)
{
    const kesmaro::PixelBuffer frame = kesmaro::RenderGameFrame(command.frameSpec);
    if (!kesmaro::SaveFramePng(frame, command.output)) {
        printError("cannot write " + command.output);
        return kExitFailure;
    }
    return 0;
}

// Plays the script's steps at their times, measured from the call.
class ScriptPlayer {
public:
    ScriptPlayer(kesmaro::SimGameWindow& window, kesmaro::GameScript script)
        : m_window(window), m_script(std::move(script))
    {
        m_timer.setSingleShot(true);
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { advance(); });
        m_clock.start();
        advance();
    }

private:
    void advance()
    {
        const qint64 now = m_clock.elapsed();
        while (m_next < m_script.steps.size() && m_script.steps[m_next].atMs <= now)
            m_window.showValues(
                kesmaro::ApplyScriptStep(m_window.frameSpec(), m_script.steps[m_next++]));
        if (m_next < m_script.steps.size())
            m_timer.start(static_cast<int>(
                std::min<qint64>(m_script.steps[m_next].atMs - now, 24LL * 3600 * 1000)));
    }

    kesmaro::SimGameWindow& m_window;
    kesmaro::GameScript m_script;
    std::size_t m_next = 0;
    QElapsedTimer m_clock;
    QTimer m_timer;
};

int live(int argc, char* argv[], const kesmaro::SimGameCommand& command)
{
    kesmaro::GameScript script;
    if (!command.script.empty()) {
        script = kesmaro::LoadGameScript(command.script);
        if (!script.error.empty()) {
            printError("--script " + script.error);
            return kExitUsage;
        }
        const std::string problem = kesmaro::CheckScriptFrames(script, command.frameSpec);
        if (!problem.empty()) {
            printError(problem);
            return kExitUsage;
        }
    }

    // The game is an X11 window; other platforms only when asked for explicitly.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
#ifdef KESMARO_HAVE_X11
    if (qgetenv("QT_QPA_PLATFORM") == "xcb" && !kesmaro::X11GameWindows().isConnected()) {
        printError(QStringLiteral("cannot open the X display '%1'")
                       .arg(QString::fromLocal8Bit(qgetenv("DISPLAY"))));
        return kExitFailure;
    }
#endif
    // Pixels must reach the screen one to one.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    // WM_CLASS: the instance name comes from RESOURCE_NAME, the class from the application
    // name, so that either string matches.
    const QString windowClass = QString::fromStdString(command.windowClass);
    qputenv("RESOURCE_NAME", windowClass.toLatin1());
    // Our options are not Qt's: only the program name reaches QGuiApplication.
    int qtArgc = argc > 0 ? 1 : 0;
    QGuiApplication app(qtArgc, argv);
    QGuiApplication::setApplicationName(windowClass);

    kesmaro::SimGameWindow window(command.frameSpec);
    std::unique_ptr<ScriptPlayer> scriptPlayer;
    std::unique_ptr<kesmaro::PlayerSimulation> player;
    QTimer playTimer;
    if (command.play) {
        player =
            std::make_unique<kesmaro::PlayerSimulation>(command.frameSpec, command.playOptions);
        playTimer.setInterval(kesmaro::PlayerSimulation::kTickMs);
        QObject::connect(&playTimer, &QTimer::timeout, [&] {
            if (player->tick())
                window.showValues(player->frameSpec());
        });
    }
    window.show();
    if (!script.steps.empty())
        scriptPlayer = std::make_unique<ScriptPlayer>(window, std::move(script));
    if (player)
        playTimer.start();
    return app.exec();
}

} // namespace

int main(int argc, char* argv[])
{
    // The arguments are read before any application exists: --render needs no display.
    const kesmaro::SimGameCommand command =
        kesmaro::ParseSimGameArguments(kesmaro::ArgumentsOf(argc, argv));
    if (!command.error.empty()) {
        printError(command.error);
        return kExitUsage;
    }
    switch (command.mode) {
    case kesmaro::SimGameCommand::Mode::Help:
        QTextStream(stdout) << QString::fromStdString(kesmaro::SimGameUsage());
        return 0;
    case kesmaro::SimGameCommand::Mode::Render: {
        QCoreApplication app(argc, argv);
        return render(command);
    }
    case kesmaro::SimGameCommand::Mode::Live:
        return live(argc, argv, command);
    }
    return kExitUsage;
}
