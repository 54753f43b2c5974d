#include "state/TestButtonsBusy.h"

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

TestButtonsBusy::TestButtonsBusy(Program& p) : m_program(p)
{
    setTestButtons(p, false);
}

TestButtonsBusy::~TestButtonsBusy()
{
    setTestButtons(m_program, true);
}

} // namespace kesmaro
