#pragma once

#include "state/GraphPicture.h"

namespace kesmaro {

class Trap;

inline constexpr RgbColour kGridGrey{128, 128, 128};

enum class GridStyle { Solid, DottedBlack, DottedGrey };
GridStyle linGraphYStyle(int index);
GridStyle linGraphXStyle(int index);

// Lays out a frame of `frame` pixels statement by statement: a failing statement (a plot of
// negative size, error 380) leaves its widget where it was and the next one runs.
void LayoutGraphFrame(GraphLayout& layout, PixelSize frame, const GraphLabelSizes& sizes,
                      Trap& errors);

} // namespace kesmaro
