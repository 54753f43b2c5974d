// kesmaro: the desktop program. Builds the real services, starts the program and runs its
// windows until the main window closes.

#include "app/Command.h"
#include "app/CommandLine.h"
#include "app/EchoingPrompter.h"
#include "app/MainWindowLogic.h"
#include "app/SystemCheck.h"
#include "common/Arguments.h"
#include "common/DebugLog.h"
#include "common/Paths.h"
#include "platform/SingleInstance.h"
#include "platform/pulse/PulseBeeper.h"
#include "platform/qt/QtClockScheduler.h"
#include "platform/qt/QtPrompter.h"
#include "platform/qt/QtShell.h"
#include "platform/x11/LinuxSystemInfo.h"
#include "platform/x11/X11Bell.h"
#include "platform/x11/X11GameWindows.h"
#include "platform/x11/X11MouseButtons.h"
#include "state/Program.h"
#include "ui/qt/DesktopView.h"
#include "ui/qt/Fonts.h"
#include "ui/qt/FormInputCheck.h"
#include "ui/qt/FormMain.h"
#include "ui/qt/QtText.h"
#include "ui/qt/SystemProbes.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>
#include <iostream>
#include <memory>

namespace {

constexpr int kExitFailure = 1;

// Qt aborts when its platform cannot reach a display; one clear line is better.
bool displayReachable()
{
    if (qgetenv("QT_QPA_PLATFORM") != "xcb")
        return true;
    return kesmaro::X11GameWindows().isConnected();
}

// A second start is refused before it writes anything, so the running one keeps its debug log.
bool refusedAsSecondInstance(kesmaro::Prompter& prompter, kesmaro::SingleInstance& lock)
{
    if (lock.tryAcquire() != kesmaro::SingleInstance::Result::AlreadyRunning)
        return false;
    prompter.Ask(kesmaro::Prompt{QStringLiteral("エラー").toStdString(),
                                 QStringLiteral("既にプログラムは起動しています。").toStdString(),
                                 kesmaro::PromptButtons::Ok, kesmaro::PromptIcon::None});
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    // Arguments first: --version and --help need no display.
    const kesmaro::CommandLineResult command =
        kesmaro::ParseCommandLine(kesmaro::ArgumentsOf(argc, argv));
    if (command.action != kesmaro::CommandLineAction::Run) {
        QTextStream(command.action == kesmaro::CommandLineAction::Print ? stdout : stderr)
            << QString::fromStdString(command.text);
        return command.exitStatus;
    }

    // The game is an X11 window (XWayland on a Wayland desktop): grabs and mouse buttons need the
    // xcb platform whatever the desktop runs.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    if (!displayReachable()) {
        QTextStream(stderr) << "kesmaro: cannot open the X display '"
                            << QString::fromLocal8Bit(qgetenv("DISPLAY")) << "'\n";
        return kExitFailure;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kesmaro"));
    // Lets the desktop match the windows to the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(KESMARO_APP_ID));
    QApplication::setFont(kesmaro::InterfaceFont());
    // The program ends through its close sequence, not when a window happens to close.
    QApplication::setQuitOnLastWindowClosed(false);

    kesmaro::QtClock clock;
    kesmaro::QtScheduler scheduler;
    kesmaro::X11GameWindows windows;
    kesmaro::QtPrompter shownPrompter;
    // Until the main window is up, every box is also written to standard error.
    kesmaro::EchoingPrompter prompter(shownPrompter, std::cerr);
    kesmaro::QtShell shell;
    auto bell = std::make_shared<kesmaro::X11Bell>();
    kesmaro::PulseBeeper beeper([bell] { bell->Ring(); });
    kesmaro::X11MouseButtons mouse(clock);
    kesmaro::LinuxSystemInfo systemInfo;
    kesmaro::FormInputCheck numberInput(prompter);
    kesmaro::Services services{clock,  scheduler, windows,    prompter,   shell,
                               beeper, mouse,     systemInfo, numberInput};

    kesmaro::SingleInstance instance;
    if (refusedAsSecondInstance(prompter, instance))
        return 0;
    const std::optional<std::string> startFolder = kesmaro::ProgramFolderOrRefusal(
        prompter, QCoreApplication::applicationDirPath().toStdString(),
        QDir::tempPath().toStdString());
    if (!startFolder)
        return 0;
    const std::string& programFolder = *startFolder;

    kesmaro::DebugLog log(programFolder, clock);
    kesmaro::DesktopView view;
    kesmaro::Program program(services, log, view, programFolder);
    program.documentFolder = kesmaro::ResolveDocumentFolder(
        QCoreApplication::applicationDirPath().toStdString(),
        std::vector<std::string>{std::string(kesmaro::kQuickReferenceDocument),
                                 std::string(kesmaro::kHowToUseDocument),
                                 std::string(kesmaro::kReadMeDocument)});
    view.attach(program);
    shownPrompter.setParent(view.main());
    bool ended = false;
    view.onEnded = [&] {
        ended = true;
        QCoreApplication::quit();
    };

    const kesmaro::SystemPartsFound found = kesmaro::ProbeSystemParts(kesmaro::HasJapaneseFont());
    kesmaro::Main(program, [&found](kesmaro::Program& p) { kesmaro::CheckSystemFiles(p, found); });
    prompter.setEchoing(false);
    if (ended)
        return 0;
    const int status = QApplication::exec();
    beeper.Drain();
    return status;
}
