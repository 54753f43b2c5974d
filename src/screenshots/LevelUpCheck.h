#pragma once

namespace kesmaro {

struct Program;

// A tick of timDoHLInterval: one reading of the Exp area during a run, never inside a capture.
void timDoHLInterval_Timer(Program& p);

// Reads the Exp area while the game is in front and hands the reading to DoHLScreenshot.
void DoHLCheck(Program& p);

// A fall of the Exp percentage after a rise (a level-up or a death) takes four screenshots of
// the foreground window about 300 ms apart and notes it in the text log.
void DoHLScreenshot(Program& p);

} // namespace kesmaro
