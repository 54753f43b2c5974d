#pragma once

#include "common/Currency.h"

#include <QColor>
#include <QLine>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace kesmaro {

struct Program;
struct Settings;
class Trap;
class clsGraphBuffer;

constexpr int kTwipsPerPixel = 15;

inline const QColor kExpCurveColour{0, 0, 255};
inline const QColor kMoneyCurveColour{255, 0, 0};
inline const QColor kGridGrey{128, 128, 128};

inline const QString kExpAxisTitle = QStringLiteral(" % EXP");
inline const QString kMoneyAxisTitle = QStringLiteral(" k ｺｲﾝ");
inline const std::array<QString, 2> kTimeButtonTexts{QStringLiteral("現在"),
                                                     QStringLiteral("思ひ出")};
inline const QString kZoomInTip = QStringLiteral(" 縦軸を一時的に拡大 ");
inline const QString kZoomOutTip = QStringLiteral(" 縦軸を一時的に縮小 ");
inline const std::array<QString, 2> kTimeButtonTips{
    QStringLiteral(" 時間軸を一時的に現在にひとメモリ移動する "),
    QStringLiteral(" 時間軸を一時的に過去にひとメモリ移動する ")};

// A position inside the graph frame in twips, as the frame's widgets keep it.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    QRect toPixels() const;
    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

// The widgets' own sizes (twips): fixed in the window design, not computed.
struct GraphLabelSizes {
    int axisLabelWidth = 36 * kTwipsPerPixel; // lblGraph_El, lblGraph_Ml, lblGraph_Et, lblGraph_Mt
    int labelHeight = 12 * kTwipsPerPixel;    // every label is one text line
    int timeTitleWidth = 160 * kTwipsPerPixel;
    int timeButtonWidth = 40 * kTwipsPerPixel;
};

enum class GridStyle { Solid, DottedBlack, DottedGrey };
GridStyle linGraphYStyle(int index);
GridStyle linGraphXStyle(int index);

// Where the frame's widgets are; grid lines in the plot's pixels.
struct GraphLayout {
    QSize frame; // pixels
    TwipsRect picGraph;
    int scaleWidth = 0; // picGraph's pixel scale
    int scaleHeight = 0;
    std::array<TwipsRect, 4> lblGraph_El{};
    std::array<TwipsRect, 4> lblGraph_Ml{};
    TwipsRect lblGraph_Et, lblGraph_Mt, lblGraph_Tt;
    std::array<TwipsRect, 2> lblGraph_Tl{};
    std::array<QLine, 9> linGraphY{};
    std::array<QLine, 5> linGraphX{};
};

// Lays out a frame of `frame` pixels statement by statement: a failing statement (a plot of
// negative size, error 380) leaves its widget where it was and the next one runs.
void LayoutGraphFrame(GraphLayout& layout, QSize frame, const GraphLabelSizes& sizes, Trap& errors);

// The axis tops: the smallest ladder step above the value; 0 when the value is beyond the
// ladder (the curves of that rate are then not drawn).
std::int32_t ExpAxisTop(Currency value);
std::int32_t MoneyAxisTop(double value);
// "   #0.0#" cut to its last six characters.
QString ExpAxisText(double value);
// "#,##0".
QString MoneyAxisText(double value);

struct GraphLabels {
    QString lblGraph_Tt;
    std::array<QString, 4> lblGraph_El{};
    std::array<QString, 4> lblGraph_Ml{};
    std::int32_t topE = 0;
    std::int32_t topM = 0;
};

// The label phase: span title, axis tops and values, statement by statement.
void ComputeGraphLabels(GraphLabels& labels, const clsGraphBuffer& buffer,
                        std::int32_t captureInterval, std::int32_t timeScale, float zoom,
                        Trap& errors);

// One polyline of the plot, in the plot's pixels. A hidden first segment only moves the pen.
struct GraphCurve {
    QColor colour;
    bool dotted = false;
    bool firstSegmentHidden = false;
    std::vector<QPointF> points;
};

// The drawing phase's curves: Exp solid and dotted average, then money solid and dotted average,
// each rate only when its top allows. Samples outside the history are skipped (error 9).
std::vector<GraphCurve> ComputeGraphCurves(const clsGraphBuffer& buffer, std::int32_t timeScale,
                                           std::int32_t offset, std::int32_t topE,
                                           std::int32_t topM, int scaleWidth, int scaleHeight,
                                           Trap& errors);

// What the graph frame shows: kept by the program and repainted by its views.
struct GraphPicture {
    GraphLabelSizes sizes;
    GraphLayout layout;
    GraphLabels labels;
    std::vector<GraphCurve> curves;
};

// The program's picture, created on first use.
GraphPicture& GraphPictureOf(Program& p);

// Adds the newest sample to GraphData (when it exists) with the configured averaging and time
// scale, and tells GraphState::sampleAdded.
void AddGraphSample(Program& p, Currency rateE, Currency rateM);

// Lays out the frame at `frame` pixels, then draws the data with the current view.
void GraphFrameDisplay(Program& p, QSize frame);
// Sets the axis labels and redraws the curves for a view `offset` samples into the past with
// the vertical factor `zoom`; only while the graph is enabled and exactly one of Run and Stop
// is available.
void GraphDataDisplay(Program& p, std::int32_t offset, float zoom);

// Clicks on the graph's widgets; each redraws with the new view.
void lblGraph_El_Click(Program& p, int index);
void lblGraph_Ml_Click(Program& p, int index);
void lblGraph_Et_Click(Program& p);
void lblGraph_Mt_Click(Program& p);
void lblGraph_Tl_Click(Program& p, int index);
void picGraph_Click(Program& p);

// Which of the frame's widgets a frame pixel falls on (labels lie above the plot).
enum class GraphWidget {
    None,
    picGraph,
    lblGraph_El,
    lblGraph_Ml,
    lblGraph_Et,
    lblGraph_Mt,
    lblGraph_Tt,
    lblGraph_Tl
};
struct GraphHit {
    GraphWidget widget = GraphWidget::None;
    int index = 0;
    friend bool operator==(const GraphHit&, const GraphHit&) = default;
};
GraphHit GraphWidgetAt(const GraphLayout& layout, QPoint framePixel);
// The tool tip of the widget under a frame pixel; empty where there is none.
QString GraphToolTipAt(const GraphLayout& layout, QPoint framePixel);
// A click on a frame pixel, handed to the click handler of the widget there.
void GraphClickAt(Program& p, QPoint framePixel);

// The pure parts of the clicks.
float ZoomedIn(float zoom);
float ZoomedOut(float zoom);
std::int32_t OlderOffset(std::int32_t offset, std::int32_t timeScale, std::int32_t bufferSize);
std::int32_t NewerOffset(std::int32_t offset, std::int32_t timeScale);

} // namespace kesmaro
