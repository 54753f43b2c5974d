#include "app/Command.h"

#include "app/EnvironmentReport.h"
#include "app/MainWindowLogic.h"
#include "common/Paths.h"
#include "common/TrappedError.h"
#include "measurement/CaptureCycle.h"
#include "recognition/PatternImages.h"
#include "recognition/Recognition.h"
#include "records/Documents.h"
#include "records/LoggingRun.h"
#include "records/RandomTools.h"
#include "records/Suspend.h"
#include "screenshots/ImageFiles.h"
#include "state/Program.h"

#include <algorithm>
#include <array>

namespace kesmaro {

namespace {

constexpr int kDocumentWaitMs = 500;

void openDocument(Program& p, std::string_view document)
{
    Context ctx = p.context();
    OpenDocument(ctx, JoinPath(p.documentFolder, document), kDocumentWaitMs);
}

constexpr std::array kCommands{
    CommandInfo{Command::PatternSave, "patternsave", nullptr, menuPatternSave_Click},
    CommandInfo{Command::End, "end", nullptr, menuEnd_Click},
    CommandInfo{Command::Option, "option", "Click : Option ",
                [](Program& p) { p.view.showWindow(SubWindow::Options); }},
    CommandInfo{Command::Gesture, "gesture", nullptr, menuGesture_Click},
    CommandInfo{Command::DebugMode, "debug", nullptr,
                [](Program& p) { menuDebugMode_Click(p, p.menus.innerHeight); }},
    CommandInfo{Command::Run, "run", nullptr, menuRun_Click},
    CommandInfo{Command::Stop, "stop", nullptr, menuStop_Click},
    CommandInfo{Command::RandomOne, "randomone", "Click : RandomOne ", menuRandomOne_Click},
    CommandInfo{Command::RandomSome, "randomsome", "Click : RandomSome ", menuRandomSome_Click},
    CommandInfo{Command::PrtScr, "prtscr", nullptr, menuPrtScr_Click},
    CommandInfo{Command::QuickReference, "quick", "Click : Show Quick Reference ",
                [](Program& p) { openDocument(p, kQuickReferenceDocument); }},
    CommandInfo{Command::HowToUse, "howtouse", "Click : Show How To Use ",
                [](Program& p) { openDocument(p, kHowToUseDocument); }},
    CommandInfo{Command::ReadMe, "readme", "Click : Show Read Me ",
                [](Program& p) { openDocument(p, kReadMeDocument); }},
    CommandInfo{Command::OperatingInfo, "operatinginfo", nullptr, menuOperatingInfo_Click},
    CommandInfo{Command::Version, "version", "Click : VersionInformation ",
                [](Program& p) { p.view.showWindow(SubWindow::Version); }},
    CommandInfo{Command::TempStop, "tempstop", nullptr, cmdTempStop_Click},
    CommandInfo{Command::Capture, "capture", nullptr, cmdCapture_Click},
    CommandInfo{Command::Recognize, "recognize", nullptr, cmdRecognize_Click},
    CommandInfo{Command::WindowRefresh, "refresh", "Click : Window Refresh ",
                [](Program& p) { p.view.refreshAll(); }},
};

} // namespace

std::span<const CommandInfo> Commands()
{
    return kCommands;
}

std::optional<Command> CommandFromName(std::string_view name)
{
    const auto* it = std::find_if(kCommands.begin(), kCommands.end(),
                                  [name](const CommandInfo& c) { return c.name == name; });
    if (it == kCommands.end())
        return std::nullopt;
    return it->command;
}

std::string_view CommandName(Command command)
{
    const auto* it = std::find_if(kCommands.begin(), kCommands.end(),
                                  [command](const CommandInfo& c) { return c.command == command; });
    return it == kCommands.end() ? std::string_view() : it->name;
}

void Execute(Program& p, Command command)
{
    const auto* it = std::find_if(kCommands.begin(), kCommands.end(),
                                  [command](const CommandInfo& c) { return c.command == command; });
    if (it == kCommands.end())
        return;
    if (it->clickText)
        p.log.WriteDebugLog(it->clickText);
    Trap trap(p.log, "Execute");
    trap([&] { it->run(p); });
}

} // namespace kesmaro
