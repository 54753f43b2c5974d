#include "graph/GraphDisplay.h"

#include "common/Format.h"
#include "common/Numeric.h"
#include "state/GraphBuffer.h"
#include "state/Program.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kesmaro {

namespace {

constexpr int kErrInvalidPropertyValue = 380;

void Report(DebugLog& log, const QString& operation, const StatementErrors& errors)
{
    if (!errors.last)
        return;
    Trap trap(log, operation);
    trap([&] { throw *errors.last; });
}

TwipsRect At(int left, int top, int width, int height)
{
    return TwipsRect{left, top, width, height};
}

// The pixels per rate unit of an axis; a top of 0 is the failure that skips that rate's curves.
float ScaleFactor(int height, std::int32_t top)
{
    if (top == 0)
        Raise(height == 0 ? ErrOverflow : ErrDivisionByZero);
    return static_cast<float>(static_cast<double>(height) / top);
}

std::int32_t ClampToInt32(std::int64_t value)
{
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(value, 0, std::numeric_limits<std::int32_t>::max()));
}

} // namespace

QRect TwipsRect::toPixels() const
{
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                 height / kTwipsPerPixel);
}

GridStyle linGraphYStyle(int index)
{
    if (index == 0 || index == 8)
        return GridStyle::Solid;
    return index % 2 == 0 ? GridStyle::DottedBlack : GridStyle::DottedGrey;
}

GridStyle linGraphXStyle(int index)
{
    return index == 0 || index == 4 ? GridStyle::Solid : GridStyle::DottedBlack;
}

void LayoutGraphFrame(GraphLayout& layout, QSize frame, const GraphLabelSizes& sizes,
                      StatementErrors& errors)
{
    const int fw = frame.width();
    const int fh = frame.height();
    layout.frame = frame;
    errors([&] {
        if (fw - 76 < 0 || fh - 24 < 0)
            throw TrappedError(kErrInvalidPropertyValue, QStringLiteral("Invalid property value"));
        layout.picGraph = At(570, 90, (fw - 76) * kTwipsPerPixel, (fh - 24) * kTwipsPerPixel);
        layout.scaleWidth = fw - 76;
        layout.scaleHeight = fh - 24;
    });
    const int ph = (fh - 24) * kTwipsPerPixel;
    const int rightColumn = (fw - 36) * kTwipsPerPixel;
    const int tops[4] = {0, ph / 4, ph / 2, (ph / 4) * 3};
    for (int i = 0; i < 4; ++i) {
        layout.lblGraph_El[i] = At(0, tops[i], sizes.axisLabelWidth, sizes.labelHeight);
        layout.lblGraph_Ml[i] = At(rightColumn, tops[i], sizes.axisLabelWidth, sizes.labelHeight);
    }
    layout.lblGraph_Et = At(0, ph - 120, sizes.axisLabelWidth, sizes.labelHeight);
    layout.lblGraph_Mt = At(rightColumn, ph - 120, sizes.axisLabelWidth, sizes.labelHeight);

    const TwipsRect& plot = layout.picGraph;
    const int bottomTop = fh * kTwipsPerPixel - sizes.labelHeight;
    layout.lblGraph_Tt = At(plot.left + 60 + (plot.width - sizes.timeTitleWidth) / 2, bottomTop,
                            sizes.timeTitleWidth, sizes.labelHeight);
    layout.lblGraph_Tl[0] = At(plot.left + plot.width - sizes.timeButtonWidth / 2, bottomTop,
                               sizes.timeButtonWidth, sizes.labelHeight);
    layout.lblGraph_Tl[1] = At(plot.left - sizes.timeButtonWidth / 2, bottomTop,
                               sizes.timeButtonWidth, sizes.labelHeight);

    const int h = layout.scaleHeight - 1;
    const int w = layout.scaleWidth - 1;
    for (int i = 0; i <= 8; ++i) {
        const int y = i == 8 ? h : (h / 8) * i;
        layout.linGraphY[i] = QLine(0, y, w, y);
    }
    for (int j = 0; j <= 4; ++j) {
        const int x = j == 4 ? w : (w / 4) * j;
        layout.linGraphX[j] = QLine(x, 0, x, h);
    }
}

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
                        StatementErrors& errors)
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

std::vector<GraphCurve> ComputeGraphCurves(const clsGraphBuffer& buffer, std::int32_t timeScale,
                                           std::int32_t offset, std::int32_t topE,
                                           std::int32_t topM, int scaleWidth, int scaleHeight,
                                           StatementErrors& errors)
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
        errors.last = TrappedError(ErrSubscript);
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
        return QPointF(xAt(first), hh - rate.toDouble() * double{factor});
    };
    const Currency missing = Currency::FromInteger(-1);

    const auto addRate = [&](float factor, Currency clsGraphFormat::*rate,
                             Currency clsGraphFormat::*average, const QColor& colour,
                             bool hideMissingStart) {
        GraphCurve solid{colour, false, false, {}};
        solid.points.push_back(startAt(sample(first).*rate, factor));
        solid.firstSegmentHidden = hideMissingStart && sample(first).*rate == missing;
        for (std::int64_t k = first + 1; k <= last; ++k) {
            const Currency r = sample(k).*rate;
            if (r != missing)
                solid.points.emplace_back(xAt(k), yAt(r, factor));
        }
        GraphCurve dotted{colour, true, false, {}};
        dotted.points.push_back(startAt(sample(first).*average, factor));
        for (std::int64_t k = first + 1; k <= last; ++k)
            dotted.points.emplace_back(xAt(k), yAt(sample(k).*average, factor));
        curves.push_back(std::move(solid));
        curves.push_back(std::move(dotted));
    };

    if (topE > 0)
        addRate(kE, &clsGraphFormat::RateE, &clsGraphFormat::RateAveE, kExpCurveColour, false);
    if (topM >= 1)
        addRate(kM, &clsGraphFormat::RateM, &clsGraphFormat::RateAveM, kMoneyCurveColour, true);
    return curves;
}

GraphPicture& GraphPictureOf(Program& p)
{
    if (!p.graph.picture)
        p.graph.picture = std::make_shared<GraphPicture>();
    return *p.graph.picture;
}

void AddGraphSample(Program& p, Currency rateE, Currency rateM)
{
    if (!p.graph.GraphData)
        return;
    p.graph.GraphData->AddGraphData(rateE, rateM, p.settings.GraphAveNum, p.settings.GraphTimeScale,
                                    0);
    if (p.graph.sampleAdded)
        p.graph.sampleAdded(p.graph.GraphData->Value(0));
}

void GraphFrameDisplay(Program& p, QSize frame)
{
    if (!p.settings.GraphEnabled)
        return;
    GraphPicture& picture = GraphPictureOf(p);
    StatementErrors errors;
    LayoutGraphFrame(picture.layout, frame, picture.sizes, errors);
    Report(p.log, QStringLiteral("GraphFrameDisplay"), errors);
    p.view.graphChanged();
    GraphDataDisplay(p, p.graph.GraphOffset, p.graph.GraphZoom);
}

void GraphDataDisplay(Program& p, std::int32_t offset, float zoom)
{
    if (!p.settings.GraphEnabled || p.menus.menuRunEnabled == p.menus.menuStopEnabled)
        return;
    // The buffer exists whenever the graph is enabled; without one there is nothing to show.
    if (!p.graph.GraphData)
        return;
    const clsGraphBuffer& buffer = *p.graph.GraphData;
    GraphPicture& picture = GraphPictureOf(p);
    const Settings& s = p.settings;

    StatementErrors labelErrors;
    ComputeGraphLabels(picture.labels, buffer, s.CaptureInterval, s.GraphTimeScale, zoom,
                       labelErrors);
    Report(p.log, QStringLiteral("GraphDataDisplay"), labelErrors);

    // Values below the settings' minimums (read unchecked from the file) would divide by zero
    // or make no sense: the plot stays empty instead.
    if (s.GraphTimeScale < 10 || s.GraphAveNum < 2) {
        picture.curves.clear();
        p.view.graphChanged();
        return;
    }
    StatementErrors drawErrors;
    picture.curves.clear();
    picture.curves = ComputeGraphCurves(buffer, s.GraphTimeScale, offset, picture.labels.topE,
                                        picture.labels.topM, picture.layout.scaleWidth,
                                        picture.layout.scaleHeight, drawErrors);
    Report(p.log, QStringLiteral("GraphDataDisplay 2"), drawErrors);
    p.view.graphChanged();
}

GraphHit GraphWidgetAt(const GraphLayout& layout, QPoint framePixel)
{
    const auto on = [&](const TwipsRect& r) { return r.toPixels().contains(framePixel); };
    for (int i = 0; i < 4; ++i) {
        if (on(layout.lblGraph_El[i]))
            return {GraphWidget::lblGraph_El, i};
        if (on(layout.lblGraph_Ml[i]))
            return {GraphWidget::lblGraph_Ml, i};
    }
    if (on(layout.lblGraph_Et))
        return {GraphWidget::lblGraph_Et, 0};
    if (on(layout.lblGraph_Mt))
        return {GraphWidget::lblGraph_Mt, 0};
    for (int i = 0; i < 2; ++i) {
        if (on(layout.lblGraph_Tl[i]))
            return {GraphWidget::lblGraph_Tl, i};
    }
    if (on(layout.lblGraph_Tt))
        return {GraphWidget::lblGraph_Tt, 0};
    if (on(layout.picGraph))
        return {GraphWidget::picGraph, 0};
    return {};
}

QString GraphToolTipAt(const GraphLayout& layout, QPoint framePixel)
{
    const GraphHit hit = GraphWidgetAt(layout, framePixel);
    switch (hit.widget) {
    case GraphWidget::lblGraph_El:
    case GraphWidget::lblGraph_Ml:
        return hit.index == 0 ? kZoomInTip : QString();
    case GraphWidget::lblGraph_Et:
    case GraphWidget::lblGraph_Mt:
        return kZoomOutTip;
    case GraphWidget::lblGraph_Tl:
        return kTimeButtonTips[static_cast<std::size_t>(hit.index)];
    case GraphWidget::None:
    case GraphWidget::picGraph:
    case GraphWidget::lblGraph_Tt:
        break;
    }
    return QString();
}

void GraphClickAt(Program& p, QPoint framePixel)
{
    const GraphHit hit = GraphWidgetAt(GraphPictureOf(p).layout, framePixel);
    switch (hit.widget) {
    case GraphWidget::picGraph:
        picGraph_Click(p);
        break;
    case GraphWidget::lblGraph_El:
        lblGraph_El_Click(p, hit.index);
        break;
    case GraphWidget::lblGraph_Ml:
        lblGraph_Ml_Click(p, hit.index);
        break;
    case GraphWidget::lblGraph_Et:
        lblGraph_Et_Click(p);
        break;
    case GraphWidget::lblGraph_Mt:
        lblGraph_Mt_Click(p);
        break;
    case GraphWidget::lblGraph_Tl:
        lblGraph_Tl_Click(p, hit.index);
        break;
    case GraphWidget::None:
    case GraphWidget::lblGraph_Tt:
        break;
    }
}

float ZoomedIn(float zoom)
{
    const auto z = static_cast<float>(double{zoom} + 0.1);
    return z <= 2.0f ? z : 2.0f;
}

float ZoomedOut(float zoom)
{
    const auto z = static_cast<float>(double{zoom} - 0.1);
    return z >= 0.2f ? z : 0.2f;
}

std::int32_t OlderOffset(std::int32_t offset, std::int32_t timeScale, std::int32_t bufferSize)
{
    std::int64_t o = std::int64_t{offset} + timeScale / 4;
    if (std::int64_t{timeScale} + o >= bufferSize)
        o = std::int64_t{bufferSize} - timeScale - 1;
    return ClampToInt32(o);
}

std::int32_t NewerOffset(std::int32_t offset, std::int32_t timeScale)
{
    return ClampToInt32(std::int64_t{offset} - timeScale / 4);
}

void lblGraph_El_Click(Program& p, int index)
{
    if (index != 0)
        return;
    p.graph.GraphZoom = ZoomedIn(p.graph.GraphZoom);
    GraphDataDisplay(p, p.graph.GraphOffset, p.graph.GraphZoom);
}

void lblGraph_Ml_Click(Program& p, int index)
{
    lblGraph_El_Click(p, index);
}

void lblGraph_Et_Click(Program& p)
{
    p.graph.GraphZoom = ZoomedOut(p.graph.GraphZoom);
    GraphDataDisplay(p, p.graph.GraphOffset, p.graph.GraphZoom);
}

void lblGraph_Mt_Click(Program& p)
{
    lblGraph_Et_Click(p);
}

void lblGraph_Tl_Click(Program& p, int index)
{
    const std::int32_t timeScale = p.settings.GraphTimeScale;
    if (index == 1) {
        p.log.WriteDebugLog(QStringLiteral("Click : Graph Old View "));
        if (p.graph.GraphData)
            p.graph.GraphOffset =
                OlderOffset(p.graph.GraphOffset, timeScale, p.graph.GraphData->BufferSize());
    } else {
        p.log.WriteDebugLog(QStringLiteral("Click : Graph New View "));
        p.graph.GraphOffset = NewerOffset(p.graph.GraphOffset, timeScale);
    }
    GraphDataDisplay(p, p.graph.GraphOffset, p.graph.GraphZoom);
}

void picGraph_Click(Program& p)
{
    if (!p.settings.GraphEnabled)
        return;
    p.log.WriteDebugLog(QStringLiteral("Click : Graph Refresh "));
    GraphDataDisplay(p, p.graph.GraphOffset, p.graph.GraphZoom);
}

} // namespace kesmaro
