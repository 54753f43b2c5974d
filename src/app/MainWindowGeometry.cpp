#include "app/MainWindowGeometry.h"

#include <algorithm>

namespace kesmaro {

QRect LoadGeometry(const CaptureRect& saved, const QRect& designed,
                   const std::vector<QRect>& screens)
{
    QRect r = designed;
    if (saved.Width != 0 && saved.Height != 0) {
        r = QRect(saved.X, saved.Y, saved.Width, saved.Height);
    } else {
        if (saved.X != 0)
            r.moveLeft(saved.X);
        if (saved.Y != 0)
            r.moveTop(saved.Y);
    }
    const bool visible = std::any_of(screens.begin(), screens.end(),
                                     [&](const QRect& screen) { return screen.intersects(r); });
    if (!screens.empty() && !visible)
        r.moveTopLeft(designed.topLeft());
    return r;
}

ResizeRules ApplyResizeRules(QSize inner, bool graphEnabled)
{
    ResizeRules rules;
    int w = inner.width();
    int h = inner.height();
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
        rules.graphFrame = QSize(w - (kGraphFrameLeft + 12), h - 6);
    } else if (w != kNoGraphWidth) {
        w = kNoGraphWidth;
        rules.outerWidth = kNoGraphWidth;
    }
    rules.inner = QSize(w, h);
    return rules;
}

CaptureRect RememberedPosition(const QRect& outer)
{
    return CaptureRect{outer.x(), outer.y(), outer.width(), outer.height()};
}

} // namespace kesmaro
