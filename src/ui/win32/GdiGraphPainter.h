#pragma once

// windows.h ahead of the core's headers, so that its macros (FindWindow, ...) rename a base
// class's functions and their overrides alike.
// clang-format off
#include <windows.h>
// clang-format on

#include "platform/PixelBuffer.h"
#include "state/GraphPicture.h"

namespace kesmaro {

// Draws the whole graph frame (background, plot, curves, grid, labels) with its top-left corner
// at the DC's origin, at the size the picture was laid out for. The DC's state is restored.
void PaintGraph(HDC dc, const GraphPicture& picture);

// The graph frame as an opaque BGRA picture, rows top to bottom, of the laid-out size (at least
// one pixel each way), painted off screen through a DIB section.
PixelBuffer RenderGraph(const GraphPicture& picture);

} // namespace kesmaro
