#pragma once

#include <cstdint>

namespace kesmaro {

struct Program;

// Pure red, as the suspended temporary-stop button shows it.
constexpr std::uint32_t kSuspendedColour = 255;

// Suspends the measuring of a run (the capture timer stops) or resumes it: the timer again,
// a wait of `WaitSec` seconds, then one capture tick at once.
void ChangeSuspend(Program& p, int WaitSec = 0);

// The temporary-stop button.
void cmdTempStop_Click(Program& p);

} // namespace kesmaro
