#include "app/MainWindowLogic.h"

#include "app/EnvironmentReport.h"
#include "app/GestureWindow.h"
#include "common/DebugLog.h"
#include "config/ConfigFile.h"
#include "config/ExtraSettings.h"
#include "measurement/CaptureCycle.h"
#include "records/DebugItems.h"
#include "records/LoggingRun.h"
#include "records/ResultDisplay.h"
#include "records/Suspend.h"
#include "screenshots/LevelUpCheck.h"
#include "state/GraphBuffer.h"
#include "state/Program.h"

#include <string>

namespace kesmaro {

void FormMain_Load(Program& p)
{
    Trap run(p.log, "FormMain_Load");
    run([&] {
        p.menus.menuRunEnabled = false;
        p.menus.menuStopEnabled = false;
        p.txtLog.setText({});
        DisplayResult(p, DisplayMode::Clear);
    });
    run([&] { p.view.showMainWindow(); });
    run([&] {
        if (p.settings.GestureEnabled)
            LoadGestureInput(p);
    });
    run([&] {
        Scheduler& scheduler = p.services.scheduler;
        p.timers.captureTick = [&p] { timCaptureInterval_Timer(p); };
        p.timers.timCaptureInterval = scheduler.CreateTimer(p.timers.captureTick);
        p.timers.timCaptureInterval->setInterval(kCaptureTickMs);
        p.timers.timCaptureInterval->setEnabled(false);
        p.timers.timDoHLInterval = scheduler.CreateTimer([&p] { timDoHLInterval_Timer(p); });
        p.timers.timDoHLInterval->setInterval(p.settings.DoHLInterval);
        p.timers.timDoHLInterval->setEnabled(p.settings.DoHLCheckExec);
    });
    run([&] {
        if (p.settings.GraphEnabled)
            p.graph.GraphData.emplace(p.services.clock);
        p.graph.GraphOffset = 0;
        p.graph.GraphZoom = 1.0F;
    });
    run([&] { AutoStartLogging(p); });
    if (p.flags.ProgramClosing)
        return;
    p.log.WriteDebugLog("Program StartUp Complete ");
}

void FormMain_QueryUnload(Program& p)
{
    p.log.WriteDebugLog("Closing Program ･･･ ");
    p.flags.ProgramClosing = true;
    if (p.timers.timCaptureInterval)
        p.timers.timCaptureInterval->setEnabled(false);
    if (p.timers.timDoHLInterval)
        p.timers.timDoHLInterval->setEnabled(false);
    DisplayResult(p, DisplayMode::ClosingReport);
    p.view.closing();
    p.graph.GraphData.reset();
    p.view.unloadWindows();
    UnloadGestureInput(p);
}

void FormMain_Unload(Program& p)
{
    p.log.WriteDebugLog("End of the Program ");
    LogOperatingInformation(p);
    p.services.scheduler.WaitMs(500);
}

void menuEnd_Click(Program& p)
{
    p.log.WriteDebugLog("Click : END ");
    FormMain_QueryUnload(p);
    FormMain_Unload(p);
    p.view.programEnded();
}

void menuDebugMode_Click(Program& p, int innerHeight)
{
    p.flags.DebugMode = !p.flags.DebugMode;
    DebugItemDisplay(p, p.flags.DebugMode, innerHeight);
    p.log.WriteDebugLog(std::string("Change DebugMode ") + (p.flags.DebugMode ? "ON" : "OFF") +
                        "･･･ End ");
}

void menuGesture_Click(Program& p)
{
    p.settings.GestureEnabled = !p.settings.GestureEnabled;
    if (p.settings.GestureEnabled)
        LoadGestureInput(p);
    else
        UnloadGestureInput(p);
    p.log.WriteDebugLog(std::string("Change MouseGesture ") +
                        (p.settings.GestureEnabled ? "ON" : "OFF") + "･･･ End ");
}

void Main(Program& p, const std::function<void(Program&)>& checkSystemFiles)
{
    Trap run(p.log, "Main");
    p.settings.SearchWindowClass = kDefaultWindowClass;
    p.log.WriteDebugLog("Starting Program  " + kProgramTitle, 1);
    p.log.WriteDebugLog("Execute Folder : " + p.programFolder);
    if (checkSystemFiles)
        run([&] { checkSystemFiles(p); });
    run([&] {
        ConfigContext config{p.settings, p.services.prompter, p.log, p.programFolder};
        ConfigFile(config, ConfigMode::Read);
    });
    p.log.WriteDebugLog("Reading ConfigFile ･･･ End ");
    run([&] {
        p.extra = LoadExtraSettings(p.programFolder);
        p.services.windows.SetCaptureSource(p.extra.Source);
    });
    run([&] { p.ScreenSizes = BuildScreenSizeList(); });
    run([&] { FormMain_Load(p); });
}

} // namespace kesmaro
