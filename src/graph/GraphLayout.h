#pragma once

#include "state/GraphPicture.h"

#include <QColor>
#include <QLine>
#include <QRect>
#include <QSize>
#include <array>

namespace kesmaro {

class Trap;

inline const QColor kGridGrey{128, 128, 128};

enum class GridStyle { Solid, DottedBlack, DottedGrey };
GridStyle linGraphYStyle(int index);
GridStyle linGraphXStyle(int index);

// Lays out a frame of `frame` pixels statement by statement: a failing statement (a plot of
// negative size, error 380) leaves its widget where it was and the next one runs.
void LayoutGraphFrame(GraphLayout& layout, QSize frame, const GraphLabelSizes& sizes, Trap& errors);

} // namespace kesmaro
