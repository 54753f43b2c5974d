#pragma once

#include "state/GraphPicture.h"

#include <cstdint>
#include <vector>

namespace kesmaro {

class Trap;
class clsGraphBuffer;

inline constexpr RgbColour kExpCurveColour{0, 0, 255};
inline constexpr RgbColour kMoneyCurveColour{255, 0, 0};
constexpr RgbColour CurveColour(GraphRate rate)
{
    return rate == GraphRate::Exp ? kExpCurveColour : kMoneyCurveColour;
}

// The drawing phase's curves: Exp solid and dotted average, then money solid and dotted average,
// each rate only when its top allows. Samples outside the history are skipped (error 9).
std::vector<GraphCurve> ComputeGraphCurves(const clsGraphBuffer& buffer, std::int32_t timeScale,
                                           std::int32_t offset, std::int32_t topE,
                                           std::int32_t topM, int scaleWidth, int scaleHeight,
                                           Trap& errors);

} // namespace kesmaro
