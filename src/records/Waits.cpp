#include "records/Waits.h"

#include <algorithm>
#include <climits>

namespace kesmaro {

void WaitSeconds(Scheduler& scheduler, std::int32_t seconds)
{
    const std::int64_t ms = std::int64_t{seconds} * 1000;
    scheduler.WaitMs(static_cast<int>(std::clamp<std::int64_t>(ms, INT_MIN, INT_MAX)));
}

} // namespace kesmaro
