#pragma once

#include "state/Context.h"

namespace kesmaro {

// Reseeds the program's random numbers from the clock.
void RandomizeSeed(Context& ctx);

} // namespace kesmaro
