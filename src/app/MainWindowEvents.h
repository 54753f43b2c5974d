#pragma once

#include "app/MainWindowGeometry.h"

#include <optional>

namespace kesmaro {

struct Program;

// The main window was activated: the popup goes away, the graph is laid out again at
// `graphFrame` pixels and the random numbers are reseeded.
void Form_Activate(Program& p, PixelSize graphFrame);

// The main window was resized to `inner` pixels inside the outer rectangle `outer`. Nothing at
// all happens while it is minimised. Otherwise the size rules run, the graph is laid out, the
// position is remembered when WindowMemory is on (with the corrections the window is about to
// make), the debug items are placed and the step is logged. Returns what the window applies.
std::optional<ResizeRules> Form_Resize(Program& p, PixelSize inner, const PixelRect& outer,
                                       bool minimised);

} // namespace kesmaro
