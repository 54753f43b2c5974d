#include "ui/qt/GraphPainter.h"

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
        GraphFrameDisplay(p, PixelSize{385, 361});
        const QString path = QString::fromStdString(dir.file("graph.png"));
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
    const QRgb blue = qRgb(0, 0, 255) & 0xFFFFFF;
    const QRgb red = qRgb(255, 0, 0) & 0xFFFFFF;
};

} // namespace

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

TEST_F(GraphPainterTest, AnyFrameSizePaintsWithoutFailing)
{
    for (QSize size : {QSize(0, 0), QSize(10, 10), QSize(77, 25), QSize(2000, 1200)}) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        p.graph.picture = GraphPicture{};
        GraphFrameDisplay(p, PixelSize{size.width(), size.height()});
        const QImage image = RenderGraph(GraphPictureOf(p));
        EXPECT_EQ(image.size(), size.expandedTo(QSize(1, 1)));
    }
}
