#pragma once

// A program on simulated seams in a fresh program folder: a view that records what the logic
// tells the windows, a game window the test scripts, and the debug log read back.

#include "TempFolder.h"
#include "TestFrames.h"
#include "common/DebugLog.h"
#include "common/TextFile.h"
#include "config/Defaults.h"
#include "platform/sim/SimGameWindows.h"
#include "platform/sim/SimServices.h"
#include "state/Program.h"

#include <cctype>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kesmaro::test {

// Counts and records the notifications the windows would get.
struct RecordingView : ProgramView {
    void changed(ViewPart part, int slot) override
    {
        switch (part) {
        case ViewPart::Results:
            ++results;
            break;
        case ViewPart::Graph:
            ++graphChanges;
            break;
        case ViewPart::CaptureSlot:
            captions.push_back(program->results.lblCapture[static_cast<std::size_t>(slot)]);
            break;
        case ViewPart::Picture:
            pictures.push_back(slot);
            break;
        case ViewPart::Menus:
            ++menus;
            buttons.push_back(program->menus.cmdCaptureEnabled &&
                              program->menus.cmdRecognizeEnabled);
            break;
        case ViewPart::Popup:
            ++popups;
            break;
        case ViewPart::Log:
            break;
        }
    }
    void busyCursor(bool on) override
    {
        if (on)
            busyAt.push_back(clock->elapsedMs());
    }
    void showWindow(SubWindow window) override { windows.push_back(window); }
    void refreshAll() override { ++refreshes; }

    const Program* program = nullptr;
    const SimClock* clock = nullptr;
    int results = 0;
    int graphChanges = 0;
    int menus = 0;
    int popups = 0;
    int refreshes = 0;
    std::vector<std::string> captions; // the capture caption of each slot change
    std::vector<int> pictures;         // the slots whose debug picture changed
    std::vector<bool> buttons;         // capture and recognize buttons both on, at each menu change
    std::vector<std::int64_t> busyAt;  // when the busy pointer came on
    std::vector<SubWindow> windows;    // asked for, in order
};

inline LocalDateTime At(int y, unsigned mo, unsigned d, int h, int mi = 0, int s = 0)
{
    using namespace std::chrono;
    return local_days(year(y) / static_cast<int>(mo) / static_cast<int>(d)) + hours(h) +
           minutes(mi) + seconds(s);
}

struct ProgramOptions {
    LocalDateTime start = At(2024, 5, 1, 12);
    std::int64_t bootTickMs = 3600 * 1000;
    // The settings the first start leaves: default values, full-screen areas, yellow glyphs.
    bool defaults = false;
    // The capture timer as the main window creates it (10 s, off), its ticks recorded.
    bool captureTimer = false;
    // Another view (the desktop windows) instead of the recording one; it must outlive p.
    ProgramView* view = nullptr;
    // Other game windows (a real X server) instead of the scripted ones.
    GameWindows* gameWindows = nullptr;
};

class ProgramHarness {
public:
    explicit ProgramHarness(ProgramOptions options = {})
        : sim(options.start, options.bootTickMs,
              options.gameWindows ? options.gameWindows : &windows),
          log(dir.folder(), sim.clock),
          p(sim.services, log, options.view ? *options.view : view, dir.folder())
    {
        view.program = &p;
        view.clock = &sim.clock;
        if (options.defaults) {
            Settings& s = p.settings;
            s.SearchWindowClass = kDefaultWindowClass;
            ApplyDefaults(s, dir.folder());
            SetDefaultCaptureAreas(s, ScreenMode::FullScreen);
            LoadDefaultGlyphTables(s, InterfaceColour::Yellow);
        }
        if (options.captureTimer) {
            auto tick = [this] { tickAt.push_back(sim.clock.elapsedMs()); };
            p.timers.timCaptureInterval = sim.scheduler.CreateTimer(tick);
            p.timers.timCaptureInterval->setInterval(10000);
            p.timers.captureTick = tick;
        }
    }

    // Shows a frame of these values in the game window, opening it in front on first use.
    void show(const std::string& lv, const std::string& exp, const std::string& coins,
              int coinArea = 4)
    {
        PixelBuffer frame = TestFrame(p.settings, lv, exp, coins, coinArea);
        if (gameWindow == kNoWindow || !windows.exists(gameWindow)) {
            gameWindow = windows.addWindow(kDefaultWindowClass, std::move(frame));
            windows.setForeground(gameWindow);
        } else {
            windows.setImage(gameWindow, std::move(frame));
        }
    }
    void background() { windows.setForeground(kNoWindow); }
    void foreground() { windows.setForeground(gameWindow); }
    void closeGame() { windows.removeWindow(gameWindow); }

    void at(int seconds) { sim.scheduler.runUntil(std::int64_t{seconds} * 1000); }
    bool timerOn() const { return p.timers.timCaptureInterval->isEnabled(); }

    // Debug log lines without their time stamps (the further lines of an entry have none).
    std::vector<std::string> logLines() const
    {
        std::vector<std::string> lines;
        if (FileExists(log.path()))
            for (TextLineReader reader(log.path()); !reader.atEnd();) {
                std::string line = reader.readLine();
                if (HasTimeStamp(line))
                    line.erase(0, kTimeStamp.size());
                lines.push_back(std::move(line));
            }
        return lines;
    }

    TempFolder dir;
    SimGameWindows windows;
    SimServices sim;
    DebugLog log;
    RecordingView view;
    WindowId gameWindow = kNoWindow;
    std::vector<std::int64_t> tickAt; // capture timer ticks

    Program p;

private:
    // "yyyy/MM/dd hh:mm:ss " with digits where the pattern has letters.
    static constexpr std::string_view kTimeStamp = "0000/00/00 00:00:00 ";
    static bool HasTimeStamp(std::string_view line)
    {
        if (line.size() < kTimeStamp.size())
            return false;
        for (std::size_t i = 0; i < kTimeStamp.size(); ++i) {
            const bool digit = std::isdigit(static_cast<unsigned char>(line[i])) != 0;
            if (kTimeStamp[i] == '0' ? !digit : line[i] != kTimeStamp[i])
                return false;
        }
        return true;
    }
};

} // namespace kesmaro::test
