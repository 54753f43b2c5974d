#include "records/Menus.h"

#include "state/Program.h"

namespace kesmaro {

void SetRunMenus(Program& p, bool running)
{
    p.menus.menuRunEnabled = !running;
    p.menus.menuStopEnabled = running;
    p.menus.menuRunCaption = running ? "ロギング" : "開始";
    p.view.changed(ViewPart::Menus);
}

} // namespace kesmaro
