#include "graph/GraphClicks.h"

#include "graph/GraphDisplay.h"
#include "state/GraphBuffer.h"
#include "state/Program.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace kesmaro {

namespace {

std::int32_t ClampToInt32(std::int64_t value)
{
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(value, 0, std::numeric_limits<std::int32_t>::max()));
}

} // namespace

GraphHit GraphWidgetAt(const GraphLayout& layout, PixelPoint framePixel)
{
    // Tried topmost first; the first widget under the pixel is the one hit.
    std::optional<GraphHit> hit;
    const auto tryWidget = [&](GraphWidget widget, const TwipsRect& where, int index) {
        if (!hit && where.toPixels().contains(framePixel))
            hit = GraphHit{widget, index};
    };
    for (int i = 0; i < 4; ++i) {
        tryWidget(GraphWidget::lblGraph_El, layout.lblGraph_El[i], i);
        tryWidget(GraphWidget::lblGraph_Ml, layout.lblGraph_Ml[i], i);
    }
    tryWidget(GraphWidget::lblGraph_Et, layout.lblGraph_Et, 0);
    tryWidget(GraphWidget::lblGraph_Mt, layout.lblGraph_Mt, 0);
    for (int i = 0; i < 2; ++i)
        tryWidget(GraphWidget::lblGraph_Tl, layout.lblGraph_Tl[i], i);
    tryWidget(GraphWidget::lblGraph_Tt, layout.lblGraph_Tt, 0);
    tryWidget(GraphWidget::picGraph, layout.picGraph, 0);
    return hit.value_or(GraphHit{});
}

std::string GraphToolTipAt(const GraphLayout& layout, PixelPoint framePixel)
{
    const GraphHit hit = GraphWidgetAt(layout, framePixel);
    switch (hit.widget) {
    case GraphWidget::lblGraph_El:
    case GraphWidget::lblGraph_Ml:
        return std::string(hit.index == 0 ? kZoomInTip : std::string_view());
    case GraphWidget::lblGraph_Et:
    case GraphWidget::lblGraph_Mt:
        return std::string(kZoomOutTip);
    case GraphWidget::lblGraph_Tl:
        return std::string(kTimeButtonTips[static_cast<std::size_t>(hit.index)]);
    case GraphWidget::None:
    case GraphWidget::picGraph:
    case GraphWidget::lblGraph_Tt:
        break;
    }
    return {};
}

void GraphClickAt(Program& p, PixelPoint framePixel)
{
    const GraphHit hit = GraphWidgetAt(GraphPictureOf(p).layout, framePixel);
    switch (hit.widget) {
    case GraphWidget::picGraph:
        return picGraph_Click(p);
    case GraphWidget::lblGraph_El:
        return lblGraph_El_Click(p, hit.index);
    case GraphWidget::lblGraph_Ml:
        return lblGraph_Ml_Click(p, hit.index);
    case GraphWidget::lblGraph_Et:
        return lblGraph_Et_Click(p);
    case GraphWidget::lblGraph_Mt:
        return lblGraph_Mt_Click(p);
    case GraphWidget::lblGraph_Tl:
        return lblGraph_Tl_Click(p, hit.index);
    case GraphWidget::None:
    case GraphWidget::lblGraph_Tt:
        break;
    }
}

float ZoomedIn(float zoom)
{
    const auto z = static_cast<float>(double{zoom} + 0.1);
    return z <= 2.0f ? z : 2.0f;
}

float ZoomedOut(float zoom)
{
    const auto z = static_cast<float>(double{zoom} - 0.1);
    return z >= 0.2f ? z : 0.2f;
}

std::int32_t OlderOffset(std::int32_t offset, std::int32_t timeScale, std::int32_t bufferSize)
{
    std::int64_t o = std::int64_t{offset} + timeScale / 4;
    if (std::int64_t{timeScale} + o >= bufferSize)
        o = std::int64_t{bufferSize} - timeScale - 1;
    return ClampToInt32(o);
}

std::int32_t NewerOffset(std::int32_t offset, std::int32_t timeScale)
{
    return ClampToInt32(std::int64_t{offset} - timeScale / 4);
}

void lblGraph_El_Click(Program& p, int index)
{
    if (index != 0)
        return;
    p.graph.GraphZoom = ZoomedIn(p.graph.GraphZoom);
    GraphDataDisplay(p, p.graph.GraphOffset, p.graph.GraphZoom);
}

void lblGraph_Ml_Click(Program& p, int index)
{
    lblGraph_El_Click(p, index);
}

void lblGraph_Et_Click(Program& p)
{
    p.graph.GraphZoom = ZoomedOut(p.graph.GraphZoom);
    GraphDataDisplay(p, p.graph.GraphOffset, p.graph.GraphZoom);
}

void lblGraph_Mt_Click(Program& p)
{
    lblGraph_Et_Click(p);
}

void lblGraph_Tl_Click(Program& p, int index)
{
    const std::int32_t timeScale = p.settings.GraphTimeScale;
    if (index == 1) {
        p.log.WriteDebugLog("Click : Graph Old View ");
        if (p.graph.GraphData)
            p.graph.GraphOffset =
                OlderOffset(p.graph.GraphOffset, timeScale, p.graph.GraphData->BufferSize());
    } else {
        p.log.WriteDebugLog("Click : Graph New View ");
        p.graph.GraphOffset = NewerOffset(p.graph.GraphOffset, timeScale);
    }
    GraphDataDisplay(p, p.graph.GraphOffset, p.graph.GraphZoom);
}

void picGraph_Click(Program& p)
{
    if (!p.settings.GraphEnabled)
        return;
    p.log.WriteDebugLog("Click : Graph Refresh ");
    GraphDataDisplay(p, p.graph.GraphOffset, p.graph.GraphZoom);
}

} // namespace kesmaro
