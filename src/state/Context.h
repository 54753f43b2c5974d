#pragma once

#include "common/DebugLog.h"
#include "common/Random.h"
#include "platform/Services.h"
#include "state/ProgramView.h"

namespace kesmaro {

// What every operation reaches the world through.
struct Context {
    Services& services;
    DebugLog& log;
    ProgramView& view;
    RandomGenerator& random;
};

} // namespace kesmaro
