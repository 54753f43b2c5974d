#include "graph/GraphLayout.h"

#include "common/Trap.h"

namespace kesmaro {

namespace {

constexpr int kErrInvalidPropertyValue = 380;

TwipsRect At(int left, int top, int width, int height)
{
    return TwipsRect{left, top, width, height};
}

} // namespace

GridStyle linGraphYStyle(int index)
{
    if (index == 0 || index == 8)
        return GridStyle::Solid;
    return index % 2 == 0 ? GridStyle::DottedBlack : GridStyle::DottedGrey;
}

GridStyle linGraphXStyle(int index)
{
    return index == 0 || index == 4 ? GridStyle::Solid : GridStyle::DottedBlack;
}

void LayoutGraphFrame(GraphLayout& layout, PixelSize frame, const GraphLabelSizes& sizes,
                      Trap& errors)
{
    const int fw = frame.width;
    const int fh = frame.height;
    layout.frame = frame;
    errors([&] {
        if (fw - 76 < 0 || fh - 24 < 0)
            throw TrappedError(kErrInvalidPropertyValue, "Invalid property value");
        layout.picGraph = At(570, 90, (fw - 76) * kTwipsPerPixel, (fh - 24) * kTwipsPerPixel);
        layout.scaleWidth = fw - 76;
        layout.scaleHeight = fh - 24;
    });
    const int ph = (fh - 24) * kTwipsPerPixel;
    const int rightColumn = (fw - 36) * kTwipsPerPixel;
    const int tops[4] = {0, ph / 4, ph / 2, (ph / 4) * 3};
    for (int i = 0; i < 4; ++i) {
        layout.lblGraph_El[i] = At(0, tops[i], sizes.axisLabelWidth, sizes.labelHeight);
        layout.lblGraph_Ml[i] = At(rightColumn, tops[i], sizes.axisLabelWidth, sizes.labelHeight);
    }
    layout.lblGraph_Et = At(0, ph - 120, sizes.axisLabelWidth, sizes.labelHeight);
    layout.lblGraph_Mt = At(rightColumn, ph - 120, sizes.axisLabelWidth, sizes.labelHeight);

    const TwipsRect& plot = layout.picGraph;
    const int bottomTop = fh * kTwipsPerPixel - sizes.labelHeight;
    layout.lblGraph_Tt = At(plot.left + 60 + (plot.width - sizes.timeTitleWidth) / 2, bottomTop,
                            sizes.timeTitleWidth, sizes.labelHeight);
    layout.lblGraph_Tl[0] = At(plot.left + plot.width - sizes.timeButtonWidth / 2, bottomTop,
                               sizes.timeButtonWidth, sizes.labelHeight);
    layout.lblGraph_Tl[1] = At(plot.left - sizes.timeButtonWidth / 2, bottomTop,
                               sizes.timeButtonWidth, sizes.labelHeight);

    const int h = layout.scaleHeight - 1;
    const int w = layout.scaleWidth - 1;
    for (int i = 0; i <= 8; ++i) {
        const int y = i == 8 ? h : (h / 8) * i;
        layout.linGraphY[i] = PixelLine{{0, y}, {w, y}};
    }
    for (int j = 0; j <= 4; ++j) {
        const int x = j == 4 ? w : (w / 4) * j;
        layout.linGraphX[j] = PixelLine{{x, 0}, {x, h}};
    }
}

} // namespace kesmaro
