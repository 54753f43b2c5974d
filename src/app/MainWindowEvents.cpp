#include "app/MainWindowEvents.h"

#include "graph/GraphDisplay.h"
#include "records/DebugItems.h"
#include "records/Popup.h"
#include "records/RandomSeed.h"
#include "state/Program.h"

namespace kesmaro {

void Form_Activate(Program& p, PixelSize graphFrame)
{
    if (p.flags.PopupShown)
        HidePopup(p.flags, p.view);
    if (p.settings.GraphEnabled)
        GraphFrameDisplay(p, graphFrame);
    Context ctx = p.context();
    RandomizeSeed(ctx);
}

std::optional<ResizeRules> Form_Resize(Program& p, PixelSize inner, const PixelRect& outer,
                                       bool minimised)
{
    if (minimised)
        return std::nullopt;
    ResizeRules rules;
    {
        Trap run(p.log, "Form_Resize");
        run([&] { rules = ApplyResizeRules(inner, p.settings.GraphEnabled); });
        if (rules.graphVisible)
            run([&] { GraphFrameDisplay(p, rules.graphFrame); });
        if (p.settings.WindowMemory) {
            run([&] {
                PixelRect corrected = outer;
                if (rules.outerWidth)
                    corrected.width = *rules.outerWidth;
                if (rules.outerHeight)
                    corrected.height = *rules.outerHeight;
                p.settings.WindowPosition = RememberedPosition(corrected);
            });
        }
    }
    p.menus.innerHeight = inner.height;
    DebugItemDisplay(p, p.flags.DebugMode, p.menus.innerHeight);
    p.log.WriteDebugLog("Resaizing Form ･･･ End ");
    return rules;
}

} // namespace kesmaro
