#include "graph/GraphAxes.h"

#include "common/Format.h"
#include "common/Numeric.h"
#include "common/Trap.h"
#include "common/Utf8.h"
#include "state/GraphBuffer.h"

#include <initializer_list>

namespace kesmaro {

namespace {

// A stretch of a ladder: the steps from `first` to `last`, `step` apart.
struct Rungs {
    int first;
    int last;
    int step;
};

std::int32_t climb(std::initializer_list<Rungs> ladder, double value)
{
    for (const Rungs& rungs : ladder) {
        for (int top = rungs.first; top <= rungs.last; top += rungs.step) {
            if (top > value)
                return top;
        }
    }
    return 0;
}

} // namespace

std::int32_t ExpAxisTop(Currency value)
{
    return climb({{1, 2, 1}, {4, 8, 2}, {10, 400, 10}, {500, 1000, 100}}, value.toDouble());
}

std::int32_t MoneyAxisTop(double value)
{
    return climb({{10, 20, 10},
                  {40, 80, 20},
                  {100, 200, 100},
                  {400, 1000, 200},
                  {2000, 10000, 1000},
                  {15000, 100000, 5000}},
                 value);
}

std::string ExpAxisText(double value)
{
    std::string text = FormatNumber(value, 2, false);
    if (text.ends_with('0'))
        text.pop_back();
    return std::string(Utf8Right("   " + text, 6));
}

std::string MoneyAxisText(double value)
{
    return FormatNumber(value, 0, true);
}

void ComputeGraphLabels(GraphLabels& labels, const clsGraphBuffer& buffer,
                        std::int32_t captureInterval, std::int32_t timeScale, float zoom,
                        Trap& errors)
{
    const std::int64_t span = std::int64_t{captureInterval} * timeScale;
    std::int32_t topE = 0;
    std::int32_t topM = 0;
    errors([&] { topE = ExpAxisTop(Currency::FromDouble(buffer.MaxValueRateE() * double{zoom})); });
    errors([&] { topM = MoneyAxisTop(buffer.MaxValueRateM() * double{zoom}); });
    labels.topE = topE;
    labels.topM = topM;
    labels.lblGraph_Tt = "経過時間(" + std::to_string(IntDivide(span, 4)) + "分間隔)";

    const double e = topE;
    labels.lblGraph_El = {ExpAxisText(e), ExpAxisText(e / 4 * 3), ExpAxisText(e / 2),
                          ExpAxisText(e / 4)};
    const std::int64_t m10 = std::int64_t{topM} * 10;
    labels.lblGraph_Ml = {MoneyAxisText(topM), MoneyAxisText(static_cast<double>(m10 / 4 * 3) / 10),
                          MoneyAxisText(static_cast<double>(m10 / 2) / 10),
                          MoneyAxisText(static_cast<double>(m10 / 4) / 10)};
}

} // namespace kesmaro
