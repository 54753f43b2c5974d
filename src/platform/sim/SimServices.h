#pragma once

#include "platform/NullDevices.h"
#include "platform/Services.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimDevices.h"
#include "platform/sim/SimNumberInput.h"
#include "platform/sim/SimPrompter.h"
#include "platform/sim/SimScheduler.h"

namespace kesmaro {

// Every seam simulated, for tests and the replay tool. Game windows start as a null stand-in and
// mouse buttons as scripted ones; pass others to replace them.
class SimServices {
public:
    explicit SimServices(LocalDateTime start, std::int64_t bootTickMs = 3600 * 1000,
                         GameWindows* windows = nullptr, MouseButtons* mouse = nullptr)
        : clock(start, bootTickMs), scheduler(clock), prompter(&clock), mouseButtons(clock),
          services{clock,      scheduler, windows ? *windows : m_nullWindows, prompter,
                   shell,      beeper,    mouse ? *mouse : mouseButtons,      systemInfo,
                   numberInput}
    {
        beeper.clock = &clock;
    }

    SimClock clock;
    SimScheduler scheduler;
    SimPrompter prompter;
    SimShell shell;
    SimBeeper beeper;
    FixedSystemInfo systemInfo;
    SimNumberInput numberInput;
    SimMouseButtons mouseButtons;

private:
    NullGameWindows m_nullWindows;

public:
    Services services;
};

} // namespace kesmaro
