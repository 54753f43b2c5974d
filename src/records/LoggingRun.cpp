#include "records/LoggingRun.h"

#include "records/Program.h"
#include "records/ResultDisplay.h"

#include <algorithm>
#include <climits>

namespace kesmaro {

namespace {

constexpr int kOpenWaitMs = 500;
constexpr int kFirstCaptureDelaySeconds = 15;

void setMenus(Program& p, bool running)
{
    p.menus.menuRunEnabled = !running;
    p.menus.menuStopEnabled = running;
    p.menus.menuRunCaption = running ? QStringLiteral("ロギング") : QStringLiteral("開始");
    p.view.menusChanged();
}

void setCaptureTimer(Program& p, bool enabled)
{
    if (p.timers.timCaptureInterval)
        p.timers.timCaptureInterval->setEnabled(enabled);
}

void start(Program& p)
{
    setMenus(p, true);
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
    const QDateTime now = ToQDateTime(p.services.clock.Now());
    p.measurement.scheduleCapture(p.services.clock, kFirstCaptureDelaySeconds * 1000);
    p.LogStartStamp = now.toString(QStringLiteral("yyyyMMddhhmm"));
    p.txtLog.AppendToTextBox(kLogColumnHeader + QStringLiteral("\r\n"));
    WaitSeconds(p.services.scheduler, s.StartDelay);
}

void stop(Program& p)
{
    if (p.flags.PopupShown)
        HidePopup(p.flags, p.view);
    setMenus(p, false);
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
    p.view.menusChanged();
}

} // namespace

void LoggingControl(Program& p, int mode)
{
    if (mode == LoggingStart)
        start(p);
    else if (mode == LoggingStop)
        stop(p);
}

void menuRun_Click(Program& p)
{
    p.log.WriteDebugLog(QStringLiteral("Click : Run "));
    LoggingControl(p, LoggingStart);
    p.log.WriteDebugLog(QStringLiteral("Loging ManualStart ･･･ "));
    resetTempStop(p);
    p.popup.widthTwips = 6000;
    p.popup.heightTwips = 1095;
    if (p.flags.PopupShown)
        p.view.popupChanged();
}

void menuStop_Click(Program& p)
{
    p.log.WriteDebugLog(QStringLiteral("Click : Stop "));
    if (p.flags.PopupShown)
        HidePopup(p.flags, p.view);
    DisplayResult(p, DisplayClosingReport);
    LoggingControl(p, LoggingStop);
    p.log.WriteDebugLog(QStringLiteral("Loging Stop ･･･ End "));
    resetTempStop(p);
}

void AutoStartLogging(Program& p)
{
    setMenus(p, false);
    if (!p.settings.AutoStart)
        return;
    LoggingControl(p, LoggingStart);
    p.log.WriteDebugLog(QStringLiteral("Log AutoStart ･･･ "));
}

} // namespace kesmaro
