#include "graph/GraphCurves.h"

#include "common/Numeric.h"
#include "common/Trap.h"
#include "state/GraphBuffer.h"

#include <algorithm>
#include <cmath>

namespace kesmaro {

namespace {

// The pixels per rate unit of an axis; a top of 0 is the failure that skips that rate's curves.
float ScaleFactor(int height, std::int32_t top)
{
    if (top == 0)
        Raise(height == 0 ? ErrOverflow : ErrDivisionByZero);
    return static_cast<float>(static_cast<double>(height) / top);
}

} // namespace

std::vector<GraphCurve> ComputeGraphCurves(const clsGraphBuffer& buffer, std::int32_t timeScale,
                                           std::int32_t offset, std::int32_t topE,
                                           std::int32_t topM, int scaleWidth, int scaleHeight,
                                           Trap& errors)
{
    std::vector<GraphCurve> curves;
    if (timeScale < 2)
        return curves;
    const int wd = scaleWidth;
    const int hh = scaleHeight - 1;
    const float dx = static_cast<float>(wd) / static_cast<float>(timeScale - 1);
    const double low = -2.0 * std::abs(hh);
    const double high = 2.0 * std::abs(hh);

    float kE = 0;
    float kM = 0;
    errors([&] { kE = ScaleFactor(hh, topE); });
    errors([&] { kM = ScaleFactor(hh, topM); });

    // Only the window positions that have a sample are visited: a window reaching past the
    // history (an unchecked GraphTimeScale or offset) skips the rest as failed statements do,
    // without walking millions of missing samples.
    const std::int64_t size = buffer.BufferSize();
    const std::int64_t first = std::max<std::int64_t>(0, -std::int64_t{offset});
    const std::int64_t last = std::min<std::int64_t>(timeScale - 1, size - 1 - offset);
    if (first > 0 || last < timeScale - 1)
        errors([] { Raise(ErrSubscript); });
    if (first > last)
        return curves;

    const auto sample = [&](std::int64_t k) -> const clsGraphFormat& {
        return buffer.Value(static_cast<std::int32_t>(offset + k));
    };
    const auto xAt = [&](std::int64_t k) {
        return static_cast<double>(static_cast<float>(wd) - dx * static_cast<float>(k));
    };
    const auto yAt = [&](Currency rate, float factor) {
        return std::clamp(RoundHalfEven(hh - rate.toDouble() * double{factor}), low, high);
    };
    const auto startAt = [&](Currency rate, float factor) {
        return CurvePoint{xAt(first), hh - rate.toDouble() * double{factor}};
    };
    const Currency missing = Currency::FromInteger(-1);

    const auto addRate = [&](float factor, Currency clsGraphFormat::*rate,
                             Currency clsGraphFormat::*average, GraphRate which,
                             bool hideMissingStart) {
        GraphCurve solid{which, false, false, {}};
        solid.points.push_back(startAt(sample(first).*rate, factor));
        solid.firstSegmentHidden = hideMissingStart && sample(first).*rate == missing;
        for (std::int64_t k = first + 1; k <= last; ++k) {
            const Currency r = sample(k).*rate;
            if (r != missing)
                solid.points.push_back({xAt(k), yAt(r, factor)});
        }
        GraphCurve dotted{which, true, false, {}};
        dotted.points.push_back(startAt(sample(first).*average, factor));
        for (std::int64_t k = first + 1; k <= last; ++k)
            dotted.points.push_back({xAt(k), yAt(sample(k).*average, factor)});
        curves.push_back(std::move(solid));
        curves.push_back(std::move(dotted));
    };

    if (topE > 0)
        addRate(kE, &clsGraphFormat::RateE, &clsGraphFormat::RateAveE, GraphRate::Exp, false);
    if (topM >= 1)
        addRate(kM, &clsGraphFormat::RateM, &clsGraphFormat::RateAveM, GraphRate::Money, true);
    return curves;
}

} // namespace kesmaro
