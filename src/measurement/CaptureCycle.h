#pragma once

#include "state/MeasurementState.h"

namespace kesmaro {

struct Program;

// A tick of timCaptureInterval: captures when one is due during a run, switches itself off
// when no run is in progress.
void timCaptureInterval_Timer(Program& p);

// One capture: finds the game window; while it is in front reads level, Exp and coins (the
// coin area that works) and hands over to the measurement update. In the background the next
// attempt comes 15 seconds later; without the game, a popup says so during a run.
void CaptureImage(Program& p);

// The test capture button: ten seconds to bring the game to the front, then one capture.
void cmdCapture_Click(Program& p);

} // namespace kesmaro
