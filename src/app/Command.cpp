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

#include <QDir>
#include <algorithm>
#include <array>

namespace kesmaro {

using namespace Qt::StringLiterals;

namespace {

constexpr int kDocumentWaitMs = 500;

void openDocument(Program& p, std::string_view document)
{
    Context ctx = p.context();
    OpenDocument(ctx, JoinPath(p.documentFolder, document), kDocumentWaitMs);
}

constexpr std::array kCommands{
    CommandInfo{Command::PatternSave, u"patternsave", nullptr, menuPatternSave_Click},
    CommandInfo{Command::End, u"end", nullptr, menuEnd_Click},
    CommandInfo{Command::Option, u"option", u"Click : Option ",
                [](Program& p) { p.view.showWindow(SubWindow::Options); }},
    CommandInfo{Command::Gesture, u"gesture", nullptr, menuGesture_Click},
    CommandInfo{Command::DebugMode, u"debug", nullptr,
                [](Program& p) { menuDebugMode_Click(p, p.menus.innerHeight); }},
    CommandInfo{Command::Run, u"run", nullptr, menuRun_Click},
    CommandInfo{Command::Stop, u"stop", nullptr, menuStop_Click},
    CommandInfo{Command::RandomOne, u"randomone", u"Click : RandomOne ", menuRandomOne_Click},
    CommandInfo{Command::RandomSome, u"randomsome", u"Click : RandomSome ", menuRandomSome_Click},
    CommandInfo{Command::PrtScr, u"prtscr", nullptr, menuPrtScr_Click},
    CommandInfo{Command::QuickReference, u"quick", u"Click : Show Quick Reference ",
                [](Program& p) { openDocument(p, kQuickReferenceDocument); }},
    CommandInfo{Command::HowToUse, u"howtouse", u"Click : Show How To Use ",
                [](Program& p) { openDocument(p, kHowToUseDocument); }},
    CommandInfo{Command::ReadMe, u"readme", u"Click : Show Read Me ",
                [](Program& p) { openDocument(p, kReadMeDocument); }},
    CommandInfo{Command::OperatingInfo, u"operatinginfo", nullptr, menuOperatingInfo_Click},
    CommandInfo{Command::Version, u"version", u"Click : VersionInformation ",
                [](Program& p) { p.view.showWindow(SubWindow::Version); }},
    CommandInfo{Command::TempStop, u"tempstop", nullptr, cmdTempStop_Click},
    CommandInfo{Command::Capture, u"capture", nullptr, cmdCapture_Click},
    CommandInfo{Command::Recognize, u"recognize", nullptr, cmdRecognize_Click},
    CommandInfo{Command::WindowRefresh, u"refresh", u"Click : Window Refresh ",
                [](Program& p) { p.view.refreshAll(); }},
};

} // namespace

std::span<const CommandInfo> Commands()
{
    return kCommands;
}

std::optional<Command> CommandFromName(QStringView name)
{
    const auto* it = std::find_if(kCommands.begin(), kCommands.end(),
                                  [name](const CommandInfo& c) { return c.name == name; });
    if (it == kCommands.end())
        return std::nullopt;
    return it->command;
}

QStringView CommandName(Command command)
{
    const auto* it = std::find_if(kCommands.begin(), kCommands.end(),
                                  [command](const CommandInfo& c) { return c.command == command; });
    return it == kCommands.end() ? QStringView() : it->name;
}

void Execute(Program& p, Command command)
{
    const auto* it = std::find_if(kCommands.begin(), kCommands.end(),
                                  [command](const CommandInfo& c) { return c.command == command; });
    if (it == kCommands.end())
        return;
    if (it->clickText)
        p.log.WriteDebugLog((QString::fromUtf16(it->clickText)).toStdString());
    Trap trap(p.log, "Execute");
    trap([&] { it->run(p); });
}

} // namespace kesmaro
