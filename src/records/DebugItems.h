#pragma once

#include <optional>

namespace kesmaro {

struct Program;

// Where the debug frame and the text log go for a main window of inner height `innerHeight`
// (pixels): the frame 8 pixels above the bottom, the log ending 8 pixels above the frame, or
// above the bottom when the frame is hidden. Heights never go below 0.
struct DebugItemLayout {
    bool debugItemsVisible = false; // frmDebug and picCapture(0..4)
    std::optional<int> frmDebugTop; // unchanged when the items are hidden
    int txtLogHeight = 0;
};

constexpr int kFrmDebugHeight = 33;
constexpr int kTxtLogTop = 152;

DebugItemLayout DebugItemGeometry(bool show, int innerHeight, int frmDebugHeight = kFrmDebugHeight,
                                  int txtLogTop = kTxtLogTop);

// Shows or hides the debug items; returns the geometry for the window to apply.
DebugItemLayout DebugItemDisplay(Program& p, bool show, int innerHeight,
                                 int frmDebugHeight = kFrmDebugHeight, int txtLogTop = kTxtLogTop);

} // namespace kesmaro
