#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kesmaro {

// What the graph frame shows, as plain data: the graph layer computes it, the program keeps it
// and the views paint it.

constexpr int kTwipsPerPixel = 15;

struct PixelPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

struct PixelSize {
    int width = 0;
    int height = 0;
    bool isEmpty() const { return width <= 0 || height <= 0; }
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// A rectangle of whole pixels; its last column is left + width - 1.
struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    // As the toolkit's rectangles answer: an empty side holds nothing, a negative one counts
    // back from its start.
    bool contains(PixelPoint p) const
    {
        return within(p.x, left, width) && within(p.y, top, height);
    }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;

private:
    static bool within(int v, int start, int size)
    {
        const std::int64_t last = std::int64_t{start} + size - 1;
        if (last < std::int64_t{start} - 1)
            return v >= last && v <= start;
        return v >= start && v <= last;
    }
};

struct PixelLine {
    PixelPoint from;
    PixelPoint to;
    friend bool operator==(const PixelLine&, const PixelLine&) = default;
};

// A point of a curve in the plot's pixels, fractional: a starting point is not rounded.
struct CurvePoint {
    double x = 0;
    double y = 0;
};

struct RgbColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const RgbColour&, const RgbColour&) = default;
};

// A position inside the graph frame in twips, as the frame's widgets keep it.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    PixelRect toPixels() const
    {
        return PixelRect{left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                         height / kTwipsPerPixel};
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
    PixelSize frame;
    TwipsRect picGraph;
    int scaleWidth = 0; // picGraph's pixel scale
    int scaleHeight = 0;
    std::array<TwipsRect, 4> lblGraph_El{};
    std::array<TwipsRect, 4> lblGraph_Ml{};
    TwipsRect lblGraph_Et, lblGraph_Mt, lblGraph_Tt;
    std::array<TwipsRect, 2> lblGraph_Tl{};
    std::array<PixelLine, 9> linGraphY{};
    std::array<PixelLine, 5> linGraphX{};
};

// The axis labels' texts (UTF-8) and the tops of the two axes.
struct GraphLabels {
    std::string lblGraph_Tt;
    std::array<std::string, 4> lblGraph_El{};
    std::array<std::string, 4> lblGraph_Ml{};
    std::int32_t topE = 0;
    std::int32_t topM = 0;
};

// One polyline of the plot, in the plot's pixels. A hidden first segment only moves the pen.
enum class GraphRate { Exp, Money };

struct GraphCurve {
    GraphRate rate = GraphRate::Exp;
    bool dotted = false;
    bool firstSegmentHidden = false;
    std::vector<CurvePoint> points;
};

struct GraphPicture {
    GraphLabelSizes sizes;
    GraphLayout layout;
    GraphLabels labels;
    std::vector<GraphCurve> curves;
};

} // namespace kesmaro
