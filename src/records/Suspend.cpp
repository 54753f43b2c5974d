#include "records/Suspend.h"

#include "records/Waits.h"
#include "state/Program.h"

#include <algorithm>
#include <climits>

namespace kesmaro {

void ChangeSuspend(Program& p, int WaitSec)
{
    Trap run(p.log, "ChangeSuspend");
    Timer* timer = p.timers.timCaptureInterval.get();
    if (p.flags.SuspendMode) {
        run([&] {
            p.menus.cmdTempStopBackColor = kButtonFaceColour;
            p.flags.SuspendMode = false;
            p.view.changed(ViewPart::Menus);
        });
        p.log.WriteDebugLog("Suspend Mode Off ");
        if (!p.LogStartStamp.empty()) {
            run([&] {
                if (timer)
                    timer->setEnabled(true);
            });
            WaitSeconds(p.services.scheduler, WaitSec);
            // A program that closed during the wait gets no capture; the tick applies its own
            // conditions otherwise, also when the button suspended again meanwhile.
            if (!p.flags.ProgramClosing && p.timers.captureTick)
                run([&] { p.timers.captureTick(); });
        }
    } else {
        if (timer && timer->isEnabled()) {
            run([&] {
                p.flags.SuspendMode = true;
                timer->setEnabled(false);
                p.menus.cmdTempStopBackColor = kSuspendedColour;
                p.view.changed(ViewPart::Menus);
            });
        }
        p.log.WriteDebugLog("Suspend Mode On ");
    }
}

void cmdTempStop_Click(Program& p)
{
    p.log.WriteDebugLog("Click : Temporarily Stop ");
    ChangeSuspend(p, 10);
}

} // namespace kesmaro
