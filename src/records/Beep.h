#pragma once

#include "platform/Beeper.h"

namespace kesmaro {

// The sound `beepMode` selects: 0 none, 1 the system beep, 2-5 tones; anything else none.
void PlayBeep(Beeper& beeper, int beepMode);

} // namespace kesmaro
