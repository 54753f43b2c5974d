#pragma once

#include <QColor>
#include <QLine>
#include <QRect>
#include <QSize>
#include <array>

namespace kesmaro {

class Trap;

constexpr int kTwipsPerPixel = 15;

inline const QColor kGridGrey{128, 128, 128};

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

} // namespace kesmaro
