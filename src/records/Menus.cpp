#include "records/Menus.h"

#include "state/Program.h"

namespace kesmaro {

namespace {

void setTestButtons(Program& p, bool enabled)
{
    p.menus.cmdCaptureEnabled = enabled;
    p.menus.cmdRecognizeEnabled = enabled;
    p.view.changed(ViewPart::Menus);
}

} // namespace

void SetRunMenus(Program& p, bool running)
{
    p.menus.menuRunEnabled = !running;
    p.menus.menuStopEnabled = running;
    p.menus.menuRunCaption = running ? QStringLiteral("ロギング") : QStringLiteral("開始");
    p.view.changed(ViewPart::Menus);
}

TestButtonsBusy::TestButtonsBusy(Program& p) : m_program(p)
{
    setTestButtons(p, false);
}

TestButtonsBusy::~TestButtonsBusy()
{
    setTestButtons(m_program, true);
}

} // namespace kesmaro
