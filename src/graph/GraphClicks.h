#pragma once

#include "state/GraphPicture.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kesmaro {

struct Program;

// Clicks on the graph's widgets; each redraws with the new view.
void lblGraph_El_Click(Program& p, int index);
void lblGraph_Ml_Click(Program& p, int index);
void lblGraph_Et_Click(Program& p);
void lblGraph_Mt_Click(Program& p);
void lblGraph_Tl_Click(Program& p, int index);
void picGraph_Click(Program& p);

// Which of the frame's widgets a frame pixel falls on (labels lie above the plot).
enum class GraphWidget {
    None,
    picGraph,
    lblGraph_El,
    lblGraph_Ml,
    lblGraph_Et,
    lblGraph_Mt,
    lblGraph_Tt,
    lblGraph_Tl
};
struct GraphHit {
    GraphWidget widget = GraphWidget::None;
    int index = 0;
    friend bool operator==(const GraphHit&, const GraphHit&) = default;
};
GraphHit GraphWidgetAt(const GraphLayout& layout, PixelPoint framePixel);

inline constexpr std::string_view kZoomInTip = " 縦軸を一時的に拡大 ";
inline constexpr std::string_view kZoomOutTip = " 縦軸を一時的に縮小 ";
inline constexpr std::array<std::string_view, 2> kTimeButtonTips{
    " 時間軸を一時的に現在にひとメモリ移動する ", " 時間軸を一時的に過去にひとメモリ移動する "};

// The tool tip (UTF-8) of the widget under a frame pixel; empty where there is none.
std::string GraphToolTipAt(const GraphLayout& layout, PixelPoint framePixel);
// A click on a frame pixel, handed to the click handler of the widget there.
void GraphClickAt(Program& p, PixelPoint framePixel);

// The pure parts of the clicks.
float ZoomedIn(float zoom);
float ZoomedOut(float zoom);
std::int32_t OlderOffset(std::int32_t offset, std::int32_t timeScale, std::int32_t bufferSize);
std::int32_t NewerOffset(std::int32_t offset, std::int32_t timeScale);

} // namespace kesmaro
