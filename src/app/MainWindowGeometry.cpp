#include "app/MainWindowGeometry.h"

#include <algorithm>
#include <cstdint>

namespace kesmaro {

namespace {

// The span a side covers, as the toolkit's rectangles count it: a negative size counts back
// from the start, an empty one still stands at its start.
struct Span {
    std::int64_t first;
    std::int64_t last;
};

Span spanOf(int start, int size)
{
    const std::int64_t end = std::int64_t{start} + size - 1;
    return size < 0 ? Span{end, start} : Span{start, end};
}

bool overlaps(Span a, Span b)
{
    return a.first <= b.last && b.first <= a.last;
}

// A rectangle with neither width nor height meets nothing; otherwise the sides' spans must
// overlap on both axes.
bool intersects(const PixelRect& a, const PixelRect& b)
{
    const auto null = [](const PixelRect& r) { return r.width == 0 && r.height == 0; };
    if (null(a) || null(b))
        return false;
    return overlaps(spanOf(a.left, a.width), spanOf(b.left, b.width)) &&
           overlaps(spanOf(a.top, a.height), spanOf(b.top, b.height));
}

} // namespace

PixelRect LoadGeometry(const CaptureRect& saved, const PixelRect& designed,
                       const std::vector<PixelRect>& screens)
{
    PixelRect r = designed;
    if (saved.Width != 0 && saved.Height != 0) {
        r = PixelRect{saved.X, saved.Y, saved.Width, saved.Height};
    } else {
        if (saved.X != 0)
            r.left = saved.X;
        if (saved.Y != 0)
            r.top = saved.Y;
    }
    const bool visible = std::any_of(screens.begin(), screens.end(), [&](const PixelRect& screen) {
        return intersects(screen, r);
    });
    if (!screens.empty() && !visible) {
        r.left = designed.left;
        r.top = designed.top;
    }
    return r;
}

ResizeRules ApplyResizeRules(PixelSize inner, bool graphEnabled)
{
    ResizeRules rules;
    int w = inner.width;
    int h = inner.height;
    if (h < kMinInnerHeight) {
        h = kMinInnerHeight;
        rules.outerHeight = kMinOuterHeight;
    }
    if (graphEnabled) {
        if (w < kMinGraphInnerWidth) {
            w = kMinGraphInnerWidth;
            rules.outerWidth = kMinGraphOuterWidth;
        }
        rules.graphVisible = true;
        rules.graphFrame = PixelSize{w - (kGraphFrameLeft + 12), h - 6};
    } else if (w != kNoGraphWidth) {
        w = kNoGraphWidth;
        rules.outerWidth = kNoGraphWidth;
    }
    rules.inner = PixelSize{w, h};
    return rules;
}

CaptureRect RememberedPosition(const PixelRect& outer)
{
    return CaptureRect{outer.left, outer.top, outer.width, outer.height};
}

} // namespace kesmaro
