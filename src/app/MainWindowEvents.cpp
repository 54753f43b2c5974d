#include "app/MainWindowEvents.h"

#include "graph/GraphDisplay.h"
#include "records/DebugItems.h"
#include "records/Popup.h"
#include "records/RandomSeed.h"
#include "state/Program.h"

namespace kesmaro {

void Form_Activate(Program& p, QSize graphFrame)
{
    if (p.flags.PopupShown)
        HidePopup(p.flags, p.view);
    if (p.settings.GraphEnabled)
        GraphFrameDisplay(p, PixelSize{graphFrame.width(), graphFrame.height()});
    Context ctx = p.context();
    RandomizeSeed(ctx);
}

std::optional<ResizeRules> Form_Resize(Program& p, QSize inner, const QRect& outer, bool minimised)
{
    if (minimised)
        return std::nullopt;
    ResizeRules rules;
    {
        Trap run(p.log, "Form_Resize");
        run([&] { rules = ApplyResizeRules(inner, p.settings.GraphEnabled); });
        if (rules.graphVisible)
            run([&] {
                GraphFrameDisplay(p,
                                  PixelSize{rules.graphFrame.width(), rules.graphFrame.height()});
            });
        if (p.settings.WindowMemory) {
            run([&] {
                QRect corrected = outer;
                if (rules.outerWidth)
                    corrected.setWidth(*rules.outerWidth);
                if (rules.outerHeight)
                    corrected.setHeight(*rules.outerHeight);
                p.settings.WindowPosition = RememberedPosition(corrected);
            });
        }
    }
    p.menus.innerHeight = inner.height();
    DebugItemDisplay(p, p.flags.DebugMode, p.menus.innerHeight);
    p.log.WriteDebugLog("Resaizing Form ･･･ End ");
    return rules;
}

} // namespace kesmaro
