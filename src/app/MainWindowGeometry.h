#pragma once

#include "config/Settings.h"
#include "state/GraphPicture.h" // PixelRect, PixelSize

#include <optional>
#include <vector>

namespace kesmaro {

// The main window's size rules. The window was designed with its outer size in twips at a fixed
// 15 twips per pixel, so every twips figure here is the pixel figure times 15 and the rules are
// kept in pixels. "Outer" is the whole window as the window manager frames it (Qt's
// frameGeometry); "inner" is the area below the menu bar that holds the widgets.

constexpr int kMinInnerHeight = 300;
// 300 inner pixels plus the 46 the caption, menu bar and borders were reckoned to take.
constexpr int kMinOuterHeight = kMinInnerHeight + 46;
constexpr int kMinGraphInnerWidth = 710;
constexpr int kMinGraphOuterWidth = 710;
constexpr int kNoGraphWidth = 488;
// The graph frame fills the window right of the 480-pixel left column and its margin.
constexpr int kGraphFrameLeft = 480;
constexpr int kGraphFrameTop = 2;

// The designed inner size: left column, graph frame and the debug frame at the bottom.
constexpr PixelSize kDesignedInnerSize{877, 385};

// Where the window goes when it loads: the saved WindowPosition when both its width and height
// are set; otherwise the designed rectangle with only the non-zero edges of the saved one moved.
// A result that lies entirely off every screen (a monitor was unplugged) goes back to the
// designed position; a partly visible one stays. `screens` empty means unknown: no check.
PixelRect LoadGeometry(const CaptureRect& saved, const PixelRect& designed,
                       const std::vector<PixelRect>& screens);

// What one resize asks of the window, for an inner size the user or the system set.
struct ResizeRules {
    std::optional<int> outerWidth; // a new outer width (pixels) when the rules correct it
    std::optional<int> outerHeight;
    PixelSize inner; // the inner size the rules work on after the corrections
    bool graphVisible = false;
    PixelSize graphFrame; // the graph frame's size while it is visible
};

// The inner height is tested against 300 and corrected through the outer height; with the
// graph the inner width must reach 710 (outer width 710), without it the window is 488 wide.
ResizeRules ApplyResizeRules(PixelSize inner, bool graphEnabled);

// WindowPosition as the settings keep it: the outer rectangle in whole pixels.
CaptureRect RememberedPosition(const PixelRect& outer);

} // namespace kesmaro
