#include "records/Suspend.h"

#include "records/Program.h"

#include <algorithm>
#include <climits>

namespace kesmaro {

void ChangeSuspend(Program& p, int WaitSec)
{
    Trap run(p.log, QStringLiteral("ChangeSuspend"));
    Timer* timer = p.timers.timCaptureInterval.get();
    if (p.flags.SuspendMode) {
        run([&] {
            p.menus.cmdTempStopBackColor = kButtonFaceColour;
            p.flags.SuspendMode = false;
            p.view.menusChanged();
        });
        p.log.WriteDebugLog(QStringLiteral("Suspend Mode Off "));
        if (!p.LogStartStamp.isEmpty()) {
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
                p.view.menusChanged();
            });
        }
        p.log.WriteDebugLog(QStringLiteral("Suspend Mode On "));
    }
}

void cmdTempStop_Click(Program& p)
{
    p.log.WriteDebugLog(QStringLiteral("Click : Temporarily Stop "));
    ChangeSuspend(p, 10);
}

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
    p.view.menusChanged();
    return layout;
}

} // namespace kesmaro
