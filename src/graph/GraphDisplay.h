#pragma once

#include "common/Currency.h"
#include "graph/GraphAxes.h"
#include "graph/GraphCurves.h"
#include "graph/GraphLayout.h"

#include <cstdint>
#include <vector>

namespace kesmaro {

struct Program;

// The program's picture, created on first use.
GraphPicture& GraphPictureOf(Program& p);

// Adds the newest sample to GraphData (when it exists) with the configured averaging and time
// scale, and tells GraphState::sampleAdded.
void AddGraphSample(Program& p, Currency rateE, Currency rateM);

// Lays out the frame at `frame` pixels, then draws the data with the current view.
void GraphFrameDisplay(Program& p, PixelSize frame);
// Sets the axis labels and redraws the curves for a view `offset` samples into the past with
// the vertical factor `zoom`; only while the graph is enabled and exactly one of Run and Stop
// is available.
void GraphDataDisplay(Program& p, std::int32_t offset, float zoom);

} // namespace kesmaro
