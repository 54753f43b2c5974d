#pragma once

#include "common/DebugLog.h"
#include "common/Random.h"
#include "config/ExtraSettings.h"
#include "config/Settings.h"
#include "platform/PixelBuffer.h"
#include "platform/Services.h"
#include "state/CaptureHealth.h"
#include "state/Context.h"
#include "state/GestureState.h"
#include "state/GraphBuffer.h"
#include "state/GraphPicture.h"
#include "state/MeasurementState.h"
#include "state/ProgramView.h"
#include "state/RecordFileState.h"
#include "state/RuntimeFlags.h"
#include "state/TextLog.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kesmaro {

// The texts of the main window's result labels: the working memory of the result display.
struct ResultLabels {
    std::string lblStartTime, lblEndTime, lblElapseTime;
    std::string lblStartLv, lblEndLv, lblElapseLv;
    std::string lblStartExp, lblEndExp, lblElapseExp;
    std::string lblStartMoney, lblEndMoney, lblElapseMoney;
    std::array<std::string, kCaptureAreaCount> lblCapture; // recognition progress per category
    std::string lblElapse;                                 // recognition test time
};

// The column words of a slot as CaptureColumnText binarized them, with the column text it wrote
// out from them; `text` shares the characters of ColumnText(slot) until something else is
// written there, and the words stand for the slot only while it does.
struct ColumnWords {
    std::string text;
    std::vector<std::uint16_t> words;
};

// Regions of one capture grabbed together (one request to the window system), which its column
// texts take their pixels from.
struct GrabbedRegions {
    WindowId window = kNoWindow;
    std::vector<Rect> regions;
    std::vector<PixelBuffer> pixels;
};

// Colours as the main window stores them: 0x80000000 | index is a system colour.
constexpr std::uint32_t kButtonFaceColour = 0x8000000F;

struct MenuState {
    bool menuRunEnabled = true;
    std::string menuRunCaption = "開始";
    bool menuStopEnabled = false;
    std::uint32_t cmdTempStopBackColor = kButtonFaceColour;
    bool frmDebugVisible = false;
    // The capture and recognition test buttons on frmDebug; off while either test runs.
    bool cmdCaptureEnabled = true;
    bool cmdRecognizeEnabled = true;
    // The main window's inner height in pixels, which places the debug items.
    int innerHeight = 385;
};

struct GraphState {
    std::optional<clsGraphBuffer> GraphData; // only while the graph is on
    std::int32_t GraphOffset = 0;
    float GraphZoom = 1.0f;
    // What the graph frame last showed (layout, labels, curves); kept for the views to repaint.
    GraphPicture picture;
    // Told of every sample added (the replay tool keeps the whole history).
    std::function<void(const clsGraphFormat&)> sampleAdded;
};

struct Timers {
    std::unique_ptr<Timer> timCaptureInterval;
    std::unique_ptr<Timer> timDoHLInterval;
    // The capture timer's tick handler, for the resume that runs it once at once; set by
    // whoever creates timCaptureInterval.
    std::function<void()> captureTick;
};

// The whole state of the running program, passed by reference to every operation; the windows
// are views of it.
struct Program {
    Program(Services& s, DebugLog& l, ProgramView& v, std::string folder)
        : services(s), log(l), view(v), programFolder(std::move(folder)),
          documentFolder(programFolder), txtLog(&v)
    {}
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    Context context() { return Context{services, log, view, random}; }

    Services& services;
    DebugLog& log;
    ProgramView& view;
    std::string programFolder;
    std::string documentFolder; // where the help documents are opened from

    Settings settings;
    ScreenSizeList ScreenSizes{};
    RuntimeFlags flags;
    MeasurementState measurement;
    CaptureHealth captureHealth;
    RateHistory rates;
    ExtraSettings extra;
    std::string LogStartStamp; // "yyyyMMddhhmm" of the run's start; empty = no run in progress
    std::array<std::string, kCaptureAreaCount> ColumnText;
    GrabbedRegions grabbed;
    std::array<ColumnWords, kCaptureAreaCount> columnWords;
    std::array<PixelBuffer, kCaptureAreaCount> picCapture; // empty = no picture
    ResultLabels results;
    TextLog txtLog;
    RecordFileState recordFile;
    GraphState graph;
    MenuState menus;
    Timers timers;
    PopupState popup;
    GestureState gestures;
    RandomGenerator random;
};

} // namespace kesmaro
