#include "screenshots/LevelUpCheck.h"

#include "common/DateTime.h"
#include "recognition/Recognition.h"
#include "records/Beep.h"
#include "records/ResultDisplay.h"
#include "screenshots/ImageFiles.h"
#include "state/Program.h"

namespace kesmaro {

namespace {

constexpr int kBurstGapMs = 300;

} // namespace

void timDoHLInterval_Timer(Program& p)
{
    if (!p.LogStartStamp.empty() && !p.measurement.CaptureBusy)
        DoHLCheck(p);
}

void DoHLCheck(Program& p)
{
    if (p.flags.ProgramClosing)
        return;
    const Settings& s = p.settings;
    GameWindows& windows = p.services.windows;
    const WindowId window = windows.FindWindow(s.SearchWindowClass);
    if (window == kNoWindow || windows.ForegroundWindow() != window)
        return;
    p.measurement.DoHLReadExp = ReadExpArea(p, window);
    DoHLScreenshot(p);
}

void DoHLScreenshot(Program& p)
{
    MeasurementState& m = p.measurement;
    if (m.DoHLReadExp < Currency())
        return;
    std::array<Currency, 4>& track = m.DoHLTrack;
    track[DoHLCurrent] = ExpPercent(m.DoHLReadExp);
    if (track[DoHLCurrent] == track[DoHLPrevious])
        return;
    track[DoHLChange] = track[DoHLCurrent] - track[DoHLPrevious];
    track[DoHLPrevious] = track[DoHLCurrent];
    if (track[DoHLChange] > Currency()) {
        track[DoHLLastRise] = track[DoHLChange];
        return;
    }
    if (track[DoHLLastRise] == Currency())
        return;

    PlayBeep(p.services.beeper, p.settings.BeepMode);
    const std::string base =
        ScreenshotFolder(p) + "LvUP" + DateTime(p.services.clock.Now()).format("_yyyyMMddhhmmss");
    const char* suffixes[] = {"_a", "_b", "_c", "_d"};
    for (int i = 0; i < 4; ++i) {
        if (i > 0)
            p.services.scheduler.WaitMs(kBurstGapMs);
        SaveScreenshot(p, base + suffixes[i], p.settings.SaveFormat);
    }
    p.txtLog.AppendToTextBox(DateTime(p.services.clock.Now()).format("MM/dd hh:mm") +
                             "  LvUP or Dead 検出 \r\n");
    DisplayResult(p, DisplayMode::Update);
    p.log.WriteDebugLog("DEAD OR HAPPY LIVE Print Screen ･･･ End ");
}

} // namespace kesmaro
