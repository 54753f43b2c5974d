#include "records/LoggingRun.h"

#include "common/DateTime.h"
#include "records/Documents.h"
#include "records/Menus.h"
#include "records/Popup.h"
#include "records/ResultDisplay.h"
#include "records/Waits.h"
#include "state/Program.h"

#include <algorithm>
#include <climits>
#include <string>

namespace kesmaro {

namespace {

constexpr int kOpenWaitMs = 500;
constexpr int kFirstCaptureDelaySeconds = 15;

void setCaptureTimer(Program& p, bool enabled)
{
    if (p.timers.timCaptureInterval)
        p.timers.timCaptureInterval->setEnabled(enabled);
}

void start(Program& p)
{
    SetRunMenus(p, true);
    Context ctx = p.context();
    const Settings& s = p.settings;
    if (s.StartUp[0])
        OpenDocument(ctx, s.StartUpPath[0], kOpenWaitMs);
    if (s.StartUp[1]) {
        if (s.StartUp[0])
            WaitSeconds(p.services.scheduler, s.StartUpDelay);
        if (p.flags.ProgramClosing)
            return;
        OpenDocument(ctx, s.StartUpPath[1], kOpenWaitMs);
    }
    // The launch waits run the close too; a closing program must not get its timer back.
    if (p.flags.ProgramClosing)
        return;
    setCaptureTimer(p, true);
    const DateTime now(p.services.clock.Now());
    p.measurement.scheduleCapture(p.services.clock, kFirstCaptureDelaySeconds * 1000);
    p.LogStartStamp = now.format("yyyyMMddhhmm");
    p.txtLog.AppendToTextBox(std::string(kLogColumnHeader) + "\r\n");
    WaitSeconds(p.services.scheduler, s.StartDelay);
}

void stop(Program& p)
{
    if (p.flags.PopupShown)
        HidePopup(p.flags, p.view);
    SetRunMenus(p, false);
    setCaptureTimer(p, false);
    p.LogStartStamp.clear();
    MeasurementState& m = p.measurement;
    m.ExpTrack[TrackPrevious] = Currency{};
    m.ExpClock[TrackPrevious] = 0;
    m.LevelTrack[TrackPrevious] = 0;
    // The coin chain restarts too, so that the first coin rate of the next run does not
    // stretch over the time measuring was stopped.
    m.MoneyTrack[TrackPrevious] = Currency{};
    m.MoneyClock[TrackPrevious] = 0;
}

void resetTempStop(Program& p)
{
    p.menus.cmdTempStopBackColor = kButtonFaceColour;
    p.flags.SuspendMode = false;
    p.view.changed(ViewPart::Menus);
}

} // namespace

void LoggingControl(Program& p, LoggingMode mode)
{
    if (mode == LoggingMode::Start)
        start(p);
    else
        stop(p);
}

void menuRun_Click(Program& p)
{
    p.log.WriteDebugLog("Click : Run ");
    LoggingControl(p, LoggingMode::Start);
    // The start's waits run a close too; a program that has closed meanwhile says nothing more.
    if (p.flags.ProgramClosing)
        return;
    p.log.WriteDebugLog("Loging ManualStart ･･･ ");
    resetTempStop(p);
    p.popup.widthTwips = 6000;
    p.popup.heightTwips = 1095;
    if (p.flags.PopupShown)
        p.view.changed(ViewPart::Popup);
}

void menuStop_Click(Program& p)
{
    p.log.WriteDebugLog("Click : Stop ");
    if (p.flags.PopupShown)
        HidePopup(p.flags, p.view);
    DisplayResult(p, DisplayMode::ClosingReport);
    LoggingControl(p, LoggingMode::Stop);
    p.log.WriteDebugLog("Loging Stop ･･･ End ");
    resetTempStop(p);
}

void AutoStartLogging(Program& p)
{
    SetRunMenus(p, false);
    if (!p.settings.AutoStart)
        return;
    LoggingControl(p, LoggingMode::Start);
    // The start's waits run a close too; a program that has closed meanwhile says nothing more.
    if (p.flags.ProgramClosing)
        return;
    p.log.WriteDebugLog("Log AutoStart ･･･ ");
}

} // namespace kesmaro
