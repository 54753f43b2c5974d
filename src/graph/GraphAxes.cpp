#include "graph/GraphAxes.h"

#include "common/Format.h"
#include "common/Numeric.h"
#include "common/Trap.h"
#include "graph/GraphBuffer.h"

namespace kesmaro {

std::int32_t ExpAxisTop(Currency value)
{
    const double v = value.toDouble();
    for (int step : {1, 2, 4, 6, 8}) {
        if (step > v)
            return step;
    }
    for (int step = 10; step <= 400; step += 10) {
        if (step > v)
            return step;
    }
    for (int step = 500; step <= 1000; step += 100) {
        if (step > v)
            return step;
    }
    return 0;
}

std::int32_t MoneyAxisTop(double value)
{
    for (int step : {10, 20, 40, 60, 80, 100, 200, 400, 600, 800, 1000}) {
        if (step > value)
            return step;
    }
    for (int step = 2000; step <= 10000; step += 1000) {
        if (step > value)
            return step;
    }
    for (int step = 15000; step <= 100000; step += 5000) {
        if (step > value)
            return step;
    }
    return 0;
}

QString ExpAxisText(double value)
{
    QString text = FormatNumber(value, 2, false);
    if (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    return (QStringLiteral("   ") + text).right(6);
}

QString MoneyAxisText(double value)
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
    labels.lblGraph_Tt = QStringLiteral("経過時間(") + QString::number(IntDivide(span, 4)) +
                         QStringLiteral("分間隔)");

    const double e = topE;
    labels.lblGraph_El = {ExpAxisText(e), ExpAxisText(e / 4 * 3), ExpAxisText(e / 2),
                          ExpAxisText(e / 4)};
    const std::int64_t m10 = std::int64_t{topM} * 10;
    labels.lblGraph_Ml = {MoneyAxisText(topM), MoneyAxisText(static_cast<double>(m10 / 4 * 3) / 10),
                          MoneyAxisText(static_cast<double>(m10 / 2) / 10),
                          MoneyAxisText(static_cast<double>(m10 / 4) / 10)};
}

} // namespace kesmaro
