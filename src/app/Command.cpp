#include "app/Command.h"

#include "app/EnvironmentReport.h"
#include "app/MainWindowLogic.h"
#include "common/TrappedError.h"
#include "measurement/CaptureCycle.h"
#include "recognition/PatternImages.h"
#include "recognition/Recognition.h"
#include "records/Documents.h"
#include "records/LoggingRun.h"
#include "records/Suspend.h"
#include "screenshots/ImageFiles.h"
#include "state/Program.h"

#include <QDir>
#include <algorithm>
#include <array>

namespace kesmaro {

using namespace Qt::StringLiterals;

const QString kQuickReferenceDocument = u"とりあえず始めよう.html"_s;
const QString kHowToUseDocument = u"使用方法D.html"_s;
const QString kReadMeDocument = u"ReadMeD.txt"_s;

namespace {

constexpr int kDocumentWaitMs = 500;

constexpr std::array kCommands{
    CommandInfo{Command::PatternSave, u"patternsave"},
    CommandInfo{Command::End, u"end"},
    CommandInfo{Command::Option, u"option"},
    CommandInfo{Command::Gesture, u"gesture"},
    CommandInfo{Command::DebugMode, u"debug"},
    CommandInfo{Command::Run, u"run"},
    CommandInfo{Command::Stop, u"stop"},
    CommandInfo{Command::RandomOne, u"randomone"},
    CommandInfo{Command::RandomSome, u"randomsome"},
    CommandInfo{Command::PrtScr, u"prtscr"},
    CommandInfo{Command::QuickReference, u"quick"},
    CommandInfo{Command::HowToUse, u"howtouse"},
    CommandInfo{Command::ReadMe, u"readme"},
    CommandInfo{Command::OperatingInfo, u"operatinginfo"},
    CommandInfo{Command::Version, u"version"},
    CommandInfo{Command::TempStop, u"tempstop"},
    CommandInfo{Command::Capture, u"capture"},
    CommandInfo{Command::Recognize, u"recognize"},
    CommandInfo{Command::WindowRefresh, u"refresh"},
};

void openProgramDocument(Program& p, const QString& clickText, const QString& document)
{
    p.log.WriteDebugLog(clickText);
    Context ctx = p.context();
    OpenDocument(ctx, QDir(p.programFolder).filePath(document), kDocumentWaitMs);
}

void run(Program& p, Command command)
{
    switch (command) {
    case Command::PatternSave:
        return menuPatternSave_Click(p);
    case Command::End:
        return menuEnd_Click(p);
    case Command::Option:
        p.log.WriteDebugLog(u"Click : Option "_s);
        return p.view.showWindow(SubWindow::Options);
    case Command::Gesture:
        return menuGesture_Click(p);
    case Command::DebugMode:
        return menuDebugMode_Click(p, p.menus.innerHeight);
    case Command::Run:
        return menuRun_Click(p);
    case Command::Stop:
        return menuStop_Click(p);
    case Command::RandomOne:
        p.log.WriteDebugLog(u"Click : RandomOne "_s);
        return p.view.showWindow(SubWindow::RandomOne);
    case Command::RandomSome:
        p.log.WriteDebugLog(u"Click : RandomSome "_s);
        return p.view.showWindow(SubWindow::RandomSome);
    case Command::PrtScr:
        return menuPrtScr_Click(p);
    case Command::QuickReference:
        return openProgramDocument(p, u"Click : Show Quick Reference "_s, kQuickReferenceDocument);
    case Command::HowToUse:
        return openProgramDocument(p, u"Click : Show How To Use "_s, kHowToUseDocument);
    case Command::ReadMe:
        return openProgramDocument(p, u"Click : Show Read Me "_s, kReadMeDocument);
    case Command::OperatingInfo:
        return menuOperatingInfo_Click(p);
    case Command::Version:
        p.log.WriteDebugLog(u"Click : VersionInformation "_s);
        return p.view.showWindow(SubWindow::Version);
    case Command::TempStop:
        return cmdTempStop_Click(p);
    case Command::Capture:
        return cmdCapture_Click(p);
    case Command::Recognize:
        return cmdRecognize_Click(p);
    case Command::WindowRefresh:
        p.log.WriteDebugLog(u"Click : Window Refresh "_s);
        return p.view.refreshAll();
    }
}

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
    Trap trap(p.log, QStringLiteral("Execute"));
    trap([&] { run(p, command); });
}

} // namespace kesmaro
