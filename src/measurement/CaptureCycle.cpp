#include "measurement/CaptureCycle.h"

#include "graph/GraphDisplay.h"
#include "measurement/MeasurementUpdate.h"
#include "measurement/StatusLine.h"
#include "recognition/Recognition.h"
#include "records/Popup.h"
#include "state/GraphBuffer.h"
#include "state/Program.h"
#include "state/TestButtonsBusy.h"

namespace kesmaro {

namespace {

constexpr std::int32_t kBackgroundTicksPerSample = 480;

const Currency kNotRead = Currency::FromInteger(-1);

// Coins: the area that worked last time, or the second area then the first until one works.
// An area works when it gives an amount: a reading beyond the coin range counts as none.
void readCoins(Program& p, WindowId window)
{
    MeasurementState& m = p.measurement;
    auto readArea = [&](int area) {
        CaptureAreaColumnText(p, window, area, CategoryMoney);
        if (area != AreaMoney)
            CopyColumnSlot(p, area, AreaMoney);
        return AmountFromText(RecognizeNumber(p, CategoryMoney));
    };

    if (m.MoneyAreaMode == MoneyAreaFirst || m.MoneyAreaMode == MoneyAreaSecond) {
        m.ReadMoney = readArea(m.MoneyAreaMode == MoneyAreaFirst ? AreaMoney : AreaMoneySecond);
        if (m.ReadMoney == kNotRead)
            m.MoneyAreaMode = MoneyAreaDetect;
        return;
    }
    m.ReadMoney = readArea(AreaMoneySecond);
    if (m.ReadMoney != kNotRead) {
        m.MoneyAreaMode = MoneyAreaSecond;
        p.log.WriteDebugLog("Normal EnhancedPosition ");
        return;
    }
    m.ReadMoney = readArea(AreaMoney);
    if (m.ReadMoney != kNotRead) {
        m.MoneyAreaMode = MoneyAreaFirst;
        p.log.WriteDebugLog("Detect EnhancedPosition ");
    }
}

void gameMissing(Program& p)
{
    // Players must hear that the game is not running, whatever dialogs they used before.
    if (!p.LogStartStamp.empty() && !p.flags.PopupShown)
        ShowPopup(p.popup, p.flags, p.view, p.settings.SearchWindowClass + "が起動していません",
                  "エラー", 14);
    if (p.LogStartStamp.empty() && p.flags.DebugMode)
        p.log.WriteDebugLog("Lost " + p.settings.SearchWindowClass + " Then Capture Stop ");
}

void inBackground(Program& p)
{
    MeasurementState& m = p.measurement;
    m.scheduleCapture(p.services.clock, kRetryDelayMs);
    if (!p.settings.GraphEnabled)
        return;
    if (++m.BackgroundTicks <= kBackgroundTicksPerSample)
        return;
    // About two hours in the background: one zero sample so that the graph shows the pause.
    m.BackgroundTicks = 0;
    AddGraphSample(p, Currency(), Currency());
    GraphDataDisplay(p, p.graph.GraphOffset, p.graph.GraphZoom);
}

} // namespace

void timCaptureInterval_Timer(Program& p)
{
    if (!p.measurement.captureDue(p.services.clock))
        return;
    if (p.LogStartStamp.empty()) {
        if (p.timers.timCaptureInterval)
            p.timers.timCaptureInterval->setEnabled(false);
        return;
    }
    p.measurement.CaptureBusy = true;
    CaptureImage(p);
    p.measurement.CaptureBusy = false;
}

void CaptureImage(Program& p)
{
    if (p.flags.ProgramClosing)
        return;
    MeasurementState& m = p.measurement;
    const Settings& s = p.settings;
    GameWindows& windows = p.services.windows;
    m.scheduleCapture(p.services.clock, std::int64_t{s.CaptureInterval} * 60 * 1000);

    const WindowId window = windows.FindWindow(s.SearchWindowClass);
    if (window == kNoWindow) {
        RecordCaptureOutcome(p, CaptureOutcome::WindowMissing);
        gameMissing(p);
        return;
    }
    if (p.flags.PopupShown)
        HidePopup(p.flags, p.view);
    if (windows.ForegroundWindow() != window) {
        RecordCaptureOutcome(p, CaptureOutcome::Background);
        inBackground(p);
        return;
    }
    m.BackgroundTicks = 0;
    m.CaptureBusy = true;
    if (p.flags.DebugMode)
        ShowCapturePictures(p, window);

    // Every region this capture may read, in one round trip to the window system.
    const RegionBatch batch(p, window, {AreaLevel, AreaExp, AreaMoney, AreaMoneySecond});
    CaptureAreaColumnText(p, window, AreaLevel, CategoryLevel);
    m.ReadLv = LevelFromText(RecognizeNumber(p, CategoryLevel));
    m.ReadExp = ReadExpArea(p, window);
    // The coin area a failed read tried last: a fixed one, or the first after the second.
    const int coinArea = m.MoneyAreaMode == MoneyAreaSecond ? AreaMoneySecond : AreaMoney;
    readCoins(p, window);
    RecordCapturedNumbers(p, window, coinArea);

    if (m.ReadMoney != kNotRead)
        m.MoneyPair[MoneyPairLatest] = m.ReadMoney;
    m.CaptureBusy = false;
    UpdateMeasurement(p);
}

void cmdCapture_Click(Program& p)
{
    p.log.WriteDebugLog("Click : Test Capture ");
    {
        TestButtonsBusy busy(p);
        p.services.scheduler.WaitMs(10000);
        CaptureImage(p);
        p.view.activateMainWindow();
    }
    p.log.WriteDebugLog("SingleCapture ･･･ End ");
}

} // namespace kesmaro
