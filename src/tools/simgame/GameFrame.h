#pragma once

#include "config/Defaults.h"
#include "config/Settings.h"
#include "platform/PixelBuffer.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kesmaro {

// A frame's size in pixels; zero by zero stands for "not given".
struct FrameExtent {
    int width = 0;
    int height = 0;
    bool isEmpty() const { return width <= 0 || height <= 0; }
    friend bool operator==(const FrameExtent&, const FrameExtent&) = default;
};

// A pixel position in a frame.
struct FramePoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const FramePoint&, const FramePoint&) = default;
};

// Which of the two coin displays the frame shows the coins in.
enum class CoinArea { Area2, Area4, Both, None };

// The names the command line and the scripts give them ("2", "4", "both", "none"; "yellow",
// "red", "blue", "white"); nothing for any other text.
std::optional<CoinArea> CoinAreaFromName(std::string_view name);
std::optional<InterfaceColour> ColourFromName(std::string_view name);

struct GameFrameSpec {
    int level = 1;
    double expPercent = 0.0; // shown with two decimals
    std::int64_t coins = 0;
    CoinArea coinArea = CoinArea::Area2;
    bool windowMode = false;
    InterfaceColour colour = InterfaceColour::Yellow;
    FrameExtent size; // zero: the mode's default size
    // The value is not drawn (the panel stays empty), as when something covers it.
    bool hideLevel = false;
    bool hideExp = false;
    // Where the level, Exp and coin (area 2) capture areas start instead of their defaults,
    // in the frame's pixels; the HUD around them stays where it is.
    std::array<std::optional<FramePoint>, 3> at;
};

constexpr int kMinFrameLevel = 1;
constexpr int kMaxFrameLevel = 999; // three glyphs and the delimiter fill the level area
constexpr int kMaxFrameSide = 4096; // keeps a frame and its PNG conversion within 128 MB
// The frame of a window-mode game: client area plus the frame the window-mode areas are
// offset by.
constexpr int kWindowBorder = 3;
constexpr int kWindowTitle = 22;

// 1024 x 768 full-screen; in window mode that client area inside its window frame.
FrameExtent DefaultFrameSize(bool windowMode);
// The size the frame is drawn at: the frame's size, or the default when it has none.
FrameExtent FrameSize(const GameFrameSpec& frameSpec);
// The smallest frame that holds the capture areas the frame description draws into. The last column
// of an area may lie outside (as the default coin areas do on a 1024-wide screen): it reads black.
FrameExtent MinimumFrameSize(const GameFrameSpec& frameSpec);

// The settings the frame is drawn for and read back with: the default glyph tables in the
// frameSpec's colour and the default capture areas of its screen mode, moved by `at`.
Settings FrameSettings(const GameFrameSpec& frameSpec);

// The Exp text drawn: the percentage rounded to two decimals, e.g. "12.34" (clamped to
// 0..100, a NaN as 0).
std::string FrameExpText(double expPercent);

// Empty when the frame description can be drawn exactly; otherwise what is wrong with it, one line.
std::string CheckGameFrameSpec(const GameFrameSpec& frameSpec);

// The game scene without the numbers: textured HUD panels under every capture area, which
// binarize to nothing for every category (the Exp area to its set background), and a scene
// around them. Depends only on the size, screen mode and colour.
PixelBuffer RenderGameBackground(const GameFrameSpec& frameSpec);

// Draws the level, the Exp percentage (with its bar) and the coins, each closed by its
// delimiter, onto a background of the same frameSpec.
void DrawHudValues(PixelBuffer& frame, const GameFrameSpec& frameSpec);

// The whole frame; an empty buffer when CheckGameFrameSpec refuses the frame description.
PixelBuffer RenderGameFrame(const GameFrameSpec& frameSpec);

// Writes the frame as a PNG file (a UTF-8 path); false when it cannot be written.
bool SaveFramePng(const PixelBuffer& frame, const std::string& path);

} // namespace kesmaro
