#include "records/DebugItems.h"

#include "state/Program.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace kesmaro {

DebugItemLayout DebugItemGeometry(bool show, int innerHeight, int frmDebugHeight, int txtLogTop)
{
    DebugItemLayout layout;
    layout.debugItemsVisible = show;
    const std::int64_t h = innerHeight;
    std::int64_t logHeight = 0;
    if (show) {
        layout.frmDebugTop =
            static_cast<int>(std::clamp<std::int64_t>(h - frmDebugHeight - 8, INT_MIN, INT_MAX));
        logHeight = h - frmDebugHeight - txtLogTop - 16;
    } else {
        logHeight = h - txtLogTop - 8;
    }
    layout.txtLogHeight = static_cast<int>(std::clamp<std::int64_t>(logHeight, 0, INT_MAX));
    return layout;
}

DebugItemLayout DebugItemDisplay(Program& p, bool show, int innerHeight, int frmDebugHeight,
                                 int txtLogTop)
{
    const DebugItemLayout layout = DebugItemGeometry(show, innerHeight, frmDebugHeight, txtLogTop);
    p.menus.frmDebugVisible = layout.debugItemsVisible;
    p.view.changed(ViewPart::Menus);
    return layout;
}

} // namespace kesmaro
