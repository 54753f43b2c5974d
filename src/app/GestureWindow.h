#pragma once

namespace kesmaro {

struct Program;

// The gesture input window, loaded while gestures are on: its commands reach the capture cycle
// and the screenshots, which the gesture library cannot see from its floor.
void LoadGestureInput(Program& p);
void UnloadGestureInput(Program& p);

} // namespace kesmaro
