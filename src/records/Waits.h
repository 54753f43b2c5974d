#pragma once

#include "platform/Scheduler.h"

#include <cstdint>

namespace kesmaro {

// Waits `seconds` (a setting taken as it comes): a count whose milliseconds do not fit waits as
// long as a wait can.
void WaitSeconds(Scheduler& scheduler, std::int32_t seconds);

} // namespace kesmaro
