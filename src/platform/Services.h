#pragma once

#include "platform/Beeper.h"
#include "platform/Clock.h"
#include "platform/GameWindows.h"
#include "platform/MouseButtons.h"
#include "platform/NumberInput.h"
#include "platform/Prompter.h"
#include "platform/Scheduler.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"

namespace kesmaro {

// Every way out of the logic, chosen once by the program (real) or the test (simulated).
struct Services {
    Clock& clock;
    Scheduler& scheduler;
    GameWindows& windows;
    Prompter& prompter;
    Shell& shell;
    Beeper& beeper;
    MouseButtons& mouse;
    SystemInfo& systemInfo;
    NumberInput& numberInput;
};

} // namespace kesmaro
