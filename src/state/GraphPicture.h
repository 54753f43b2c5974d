#pragma once

#include <QLine>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace kesmaro {

// What the graph frame shows, as plain data: the graph layer computes it, the program keeps it
// and the views paint it.

constexpr int kTwipsPerPixel = 15;

// A position inside the graph frame in twips, as the frame's widgets keep it.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    QRect toPixels() const
    {
        return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                     height / kTwipsPerPixel);
    }
    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

// The widgets' own sizes (twips): fixed in the window design, not computed.
struct GraphLabelSizes {
    int axisLabelWidth = 36 * kTwipsPerPixel; // lblGraph_El, lblGraph_Ml, lblGraph_Et, lblGraph_Mt
    int labelHeight = 12 * kTwipsPerPixel;    // every label is one text line
    int timeTitleWidth = 160 * kTwipsPerPixel;
    int timeButtonWidth = 40 * kTwipsPerPixel;
};

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

// The axis labels' texts and the tops of the two axes.
struct GraphLabels {
    QString lblGraph_Tt;
    std::array<QString, 4> lblGraph_El{};
    std::array<QString, 4> lblGraph_Ml{};
    std::int32_t topE = 0;
    std::int32_t topM = 0;
};

// One polyline of the plot, in the plot's pixels. A hidden first segment only moves the pen.
enum class GraphRate { Exp, Money };

struct GraphCurve {
    GraphRate rate = GraphRate::Exp;
    bool dotted = false;
    bool firstSegmentHidden = false;
    std::vector<QPointF> points;
};

struct GraphPicture {
    GraphLabelSizes sizes;
    GraphLayout layout;
    GraphLabels labels;
    std::vector<GraphCurve> curves;
};

} // namespace kesmaro
