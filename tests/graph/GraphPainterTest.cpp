#include "graph/GraphPainter.h"

#include "GraphTestSupport.h"

#include <QImage>
#include <cmath>

using namespace kesmaro;

namespace {

// A 385 x 361 frame: the plot is 309 x 337 pixels at (38, 6); with the Exp top 6 and the money
// top 400 a rate r sits at row 336 - 56 r (Exp) or 336 - 0.84 r (money), sample k at column
// 309 - 16.26 k.
class GraphPainterTest : public GraphProgramTest {
protected:
    static constexpr int kLeft = 38;
    static constexpr int kTop = 6;
    static constexpr double kDx = 309.0 / 19.0;

    GraphPainterTest()
    {
        clsGraphBuffer& b = *p.graph.GraphData;
        for (int i = 0; i < 30; ++i)
            b.AddGraphData(C(5), C(300), 10, 20, 0);
        // Known curves: Exp 4 (row 112) with average 2.5 (row 196); money 180 (row 185) with
        // average 130 (row 227), missing at k = 3 and 4 between 110 (k = 2) and 290 (k = 5).
        for (int k = 0; k < 20; ++k) {
            b.Value(k).RateE = C(4);
            b.Value(k).RateAveE = C(2.5);
            b.Value(k).RateM = C(180);
            b.Value(k).RateAveM = C(130);
        }
        b.Value(2).RateM = C(110);
        b.Value(3).RateM = C(-1);
        b.Value(4).RateM = C(-1);
        b.Value(5).RateM = C(290);
    }

    QImage render()
    {
        GraphFrameDisplay(p, QSize(385, 361));
        const QString path = dir.filePath(QStringLiteral("graph.png"));
        EXPECT_TRUE(RenderGraph(GraphPictureOf(p)).save(path, "PNG"));
        QImage png(path);
        EXPECT_EQ(png.size(), QSize(385, 361));
        return png.convertToFormat(QImage::Format_RGB32);
    }

    // The colour at a position of the plot.
    static QRgb at(const QImage& image, int x, int y)
    {
        return image.pixel(kLeft + x, kTop + y) & 0xFFFFFF;
    }
    static bool isGridColumn(int x) { return x % 77 == 0; }

    // Pixels of `colour` along a plot row over columns from..to, leaving out the grid columns.
    static std::pair<int, int> countRow(const QImage& image, int y, int from, int to, QRgb colour)
    {
        int hits = 0;
        int total = 0;
        for (int x = from; x <= to; ++x) {
            if (isGridColumn(x))
                continue;
            ++total;
            hits += at(image, x, y) == colour ? 1 : 0;
        }
        return {hits, total};
    }
    // Whether any pixel of the area passes `test`.
    template <typename Test> static bool any(const QImage& image, QRect area, Test test)
    {
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (test(image.pixel(x, y)))
                    return true;
        return false;
    }
    static bool anyIn(const QImage& image, QRect area, QRgb colour)
    {
        return any(image, area, [&](QRgb c) { return (c & 0xFFFFFF) == colour; });
    }
    // Text is smoothed: its pixels lean towards the colour without being exactly it.
    static bool anyTinted(const QImage& image, QRect area, bool wantBlue)
    {
        return any(image, area, [&](QRgb c) {
            return (wantBlue ? qBlue(c) : qRed(c)) > 150 && (wantBlue ? qRed(c) : qBlue(c)) < 100 &&
                   qGreen(c) < 100;
        });
    }

    const QRgb blue = qRgb(0, 0, 255) & 0xFFFFFF;
    const QRgb red = qRgb(255, 0, 0) & 0xFFFFFF;
    const QRgb white = qRgb(255, 255, 255) & 0xFFFFFF;
};

} // namespace

TEST_F(GraphPainterTest, SolidCurvesRunThroughTheirSamples)
{
    const QImage image = render();
    const auto [blueHits, blueTotal] = countRow(image, 112, 10, 200, blue);
    EXPECT_EQ(blueHits, blueTotal);
    const auto [redHits, redTotal] = countRow(image, 185, 10, 200, red);
    EXPECT_EQ(redHits, redTotal);
    EXPECT_EQ(at(image, 100, 150), white);
    // Drawn from the newest sample at the right edge (its start at row 184.8 is not rounded).
    EXPECT_EQ(at(image, 305, 112), blue);
    EXPECT_TRUE(anyIn(image, QRect(kLeft + 305, kTop + 184, 1, 3), red));
}

TEST_F(GraphPainterTest, AveragesAreDotted)
{
    const QImage image = render();
    for (const auto& [row, colour] : {std::pair{196, blue}, {227, red}}) {
        SCOPED_TRACE(row);
        const auto [hits, total] = countRow(image, row, 10, 200, colour);
        EXPECT_GT(hits, total * 3 / 10);
        EXPECT_LT(hits, total * 7 / 10);
        EXPECT_EQ(hits + countRow(image, row, 10, 200, white).first, total);
    }
}

TEST_F(GraphPainterTest, MissingMoneySamplesAreBridgedStraight)
{
    const QImage image = render();
    const double x5 = 309 - kDx * 5;
    const double x2 = 309 - kDx * 2;
    for (int x = static_cast<int>(x5) + 2; x < static_cast<int>(x2) - 1; ++x) {
        SCOPED_TRACE(x);
        const double y = 92 + (x - x5) * (244.0 - 92.0) / (x2 - x5);
        const int row = static_cast<int>(std::lround(y));
        EXPECT_TRUE(at(image, x, row - 1) == red || at(image, x, row) == red ||
                    at(image, x, row + 1) == red);
    }
    // Nothing dips towards the bottom where the missing samples would lie.
    EXPECT_FALSE(anyIn(
        image,
        QRect(kLeft + static_cast<int>(x5) + 1, kTop + 260, static_cast<int>(x2 - x5) - 1, 77),
        red));
}

TEST_F(GraphPainterTest, NothingIsDrawnFromAMissingNewestMoneySample)
{
    p.graph.GraphData->Value(0).RateM = C(-1);
    const QImage image = render();
    // Columns right of sample k = 1 hold only the dotted money average (rows 226 to 228).
    EXPECT_FALSE(anyIn(image, QRect(kLeft + 294, kTop, 15, 226), red));
    EXPECT_FALSE(anyIn(image, QRect(kLeft + 294, kTop + 229, 15, 108), red));
    EXPECT_TRUE(anyIn(image, QRect(kLeft + 294, kTop + 112, 15, 1), blue));
}

TEST_F(GraphPainterTest, AxisLabelsAreWrittenInTheirColours)
{
    const QImage image = render();
    const GraphLayout& layout = GraphPictureOf(p).layout;
    EXPECT_TRUE(anyTinted(image, layout.lblGraph_El[0].toPixels(), true));
    EXPECT_TRUE(anyTinted(image, layout.lblGraph_Ml[0].toPixels(), false));
    EXPECT_FALSE(anyTinted(image, layout.lblGraph_Et.toPixels(), false));
    EXPECT_EQ(GraphPictureOf(p).labels.lblGraph_El[0], "   6.0");
    EXPECT_EQ(GraphPictureOf(p).labels.lblGraph_Ml[0], "400");
}

TEST_F(GraphPainterTest, GridBorderIsSolidAndInnerLinesDotted)
{
    const QImage image = render();
    const QRgb black = qRgb(0, 0, 0) & 0xFFFFFF;
    const auto [borderHits, borderTotal] = countRow(image, 336, 1, 307, black);
    EXPECT_EQ(borderHits, borderTotal);
    EXPECT_EQ(at(image, 308, 100), black);
    const auto [blackHits, total] = countRow(image, 168, 1, 70, black);
    EXPECT_GT(blackHits, total / 3);
    EXPECT_EQ(blackHits + countRow(image, 168, 1, 70, white).first, total);
}

TEST_F(GraphPainterTest, AnyFrameSizePaintsWithoutFailing)
{
    for (QSize size : {QSize(0, 0), QSize(10, 10), QSize(77, 25), QSize(2000, 1200)}) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        p.graph.picture = GraphPicture{};
        GraphFrameDisplay(p, size);
        const QImage image = RenderGraph(GraphPictureOf(p));
        EXPECT_EQ(image.size(), size.expandedTo(QSize(1, 1)));
    }
}
