#include "graph/GraphDisplay.h"

#include "GraphTestSupport.h"
#include "graph/GraphClicks.h"

#include <array>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

using namespace kesmaro;
using namespace std::chrono;

namespace {

std::string Joined(const std::array<std::string, 4>& labels)
{
    std::string text;
    for (const std::string& label : labels)
        text += (text.empty() ? "" : "|") + label;
    return text;
}

class GraphDisplayTest : public GraphProgramTest {
protected:
    GraphDisplayTest()
    {
        picture().layout.scaleWidth = 309;
        picture().layout.scaleHeight = 337;
    }
};

// A buffer of `timeScale` samples drawn on a plot of 91 x 101 pixels: Wd = 91, Hh = 100.
class GraphCurvesTest : public ::testing::Test {
protected:
    std::vector<GraphCurve> curves(std::int32_t topE, std::int32_t topM, std::int32_t offset = 0,
                                   std::int32_t timeScale = 10)
    {
        return ComputeGraphCurves(m_buffer, timeScale, offset, topE, topM, 91, 101, m_errors);
    }
    void setRates(Currency clsGraphFormat::*field, std::initializer_list<double> values)
    {
        int k = 0;
        for (double v : values)
            m_buffer.Value(k++).*field = C(v);
    }
    static double xAt(int k) { return 91.0f - (91.0f / 9.0f) * static_cast<float>(k); }

    SimClock m_clock{local_days(year(2024) / 5 / 1), 0};
    clsGraphBuffer m_buffer{m_clock};
    Trap m_errors{TrapPolicy::Collect};
};

} // namespace

TEST(GraphGeometry, PixelRectsHoldTheirLastRowAndColumnAndNothingWhenEmpty)
{
    const struct {
        PixelRect rect;
        PixelPoint at;
        bool inside;
    } rows[] = {
        {{10, 20, 5, 3}, {10, 20}, true},
        {{10, 20, 5, 3}, {14, 22}, true},
        {{10, 20, 5, 3}, {15, 22}, false},
        {{10, 20, 5, 3}, {14, 23}, false},
        {{10, 20, 5, 3}, {9, 21}, false},
        {{10, 20, 0, 3}, {10, 20}, false},
        {{10, 20, 5, 0}, {10, 20}, false},
        {{10, 20, 1, 1}, {10, 20}, true},
        // A negative side counts back from its start, both ends included.
        {{10, 20, -3, 3}, {6, 20}, true},
        {{10, 20, -3, 3}, {10, 20}, true},
        {{10, 20, -3, 3}, {5, 20}, false},
        {{10, 20, -3, 3}, {11, 20}, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << row.rect.left << "," << row.rect.top << " " << row.rect.width << "x"
                     << row.rect.height << " at " << row.at.x << "," << row.at.y);
        EXPECT_EQ(row.rect.contains(row.at), row.inside);
    }
    // Twips become pixels by whole divisions, remainders dropped.
    EXPECT_EQ((TwipsRect{570, 89, 4649, 14}.toPixels()), (PixelRect{38, 5, 309, 0}));
}

TEST(GraphGeometry, GridLinesDivideThePlotAndTheLastOnesSitOnItsEdges)
{
    GraphLayout layout;
    Trap errors{TrapPolicy::Collect};
    LayoutGraphFrame(layout, PixelSize{380, 350}, GraphLabelSizes{}, errors);
    EXPECT_FALSE(errors.failed());
    EXPECT_EQ(layout.frame, (PixelSize{380, 350}));
    // A plot of 304 x 326 pixels: rows 40 apart, the last on row 325; columns 75 apart, the
    // last on column 303.
    EXPECT_EQ(layout.linGraphY[0], (PixelLine{{0, 0}, {303, 0}}));
    EXPECT_EQ(layout.linGraphY[7], (PixelLine{{0, 280}, {303, 280}}));
    EXPECT_EQ(layout.linGraphY[8], (PixelLine{{0, 325}, {303, 325}}));
    EXPECT_EQ(layout.linGraphX[3], (PixelLine{{225, 0}, {225, 325}}));
    EXPECT_EQ(layout.linGraphX[4], (PixelLine{{303, 0}, {303, 325}}));
}

TEST(GraphAxisTop, ExpLadder)
{
    const struct {
        double value;
        int top;
    } rows[] = {{0, 1},           {0.9999, 1},  {1, 2},      {5, 6},     {5.5, 6},   {6, 8},
                {8, 10},          {9.9999, 10}, {10, 20},    {395, 400}, {400, 500}, {950, 1000},
                {999.9999, 1000}, {1000, 0},    {123456, 0}, {-3, 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.value);
        EXPECT_EQ(ExpAxisTop(C(row.value)), row.top);
    }
}

TEST(GraphAxisTop, MoneyLadder)
{
    const struct {
        double value;
        int top;
    } rows[] = {{0, 10},         {9.99, 10},    {10, 20},       {250, 400},     {800, 1000},
                {1000, 2000},    {9999, 10000}, {10000, 15000}, {14999, 15000}, {15000, 20000},
                {99999, 100000}, {100000, 0},   {2147483, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.value);
        EXPECT_EQ(MoneyAxisTop(row.value), row.top);
    }
}

// Labels top to bottom, joined by '|'.
TEST_F(GraphDisplayTest, AxisLabelsFollowTheMaximaAndTheZoom)
{
    const struct {
        const char* name;
        double maxE, maxM;
        float zoom;
        const char *exp, *money;
    } rows[] = {
        {"typical", 5, 250, 1.0f, "   6.0|   4.5|   3.0|   1.5", "400|300|200|100"},
        {"empty history", 0, 0, 1.0f, "   1.0|  0.75|   0.5|  0.25", "10|8|5|3"},
        {"ladder ends", 999, 99999, 1.0f, "1000.0| 750.0| 500.0| 250.0",
         "100,000|75,000|50,000|25,000"},
        {"beyond the ladders", 1000, 100000, 1.0f, "   0.0|   0.0|   0.0|   0.0", "0|0|0|0"},
        {"doubled", 5, 250, 2.0f, "  20.0|  15.0|  10.0|   5.0", "600|450|300|150"},
        {"just below one", 6, 50, 0.99999994f, "   8.0|   6.0|   4.0|   2.0", "60|45|30|15"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        p.graph.GraphData.emplace(sim.clock);
        buffer().AddGraphData(C(row.maxE), C(row.maxM), 10, 20, 0);
        GraphDataDisplay(p, 0, row.zoom);
        const GraphLabels& l = picture().labels;
        EXPECT_EQ(Joined(l.lblGraph_El), row.exp);
        EXPECT_EQ(Joined(l.lblGraph_Ml), row.money);
    }
}

TEST_F(GraphDisplayTest, TimeTitleShowsTheMinutesPerDivision)
{
    const struct {
        int interval, scale;
        const char* text;
    } rows[] = {{6, 20, "経過時間(30分間隔)"},
                {1440, 250, "経過時間(90000分間隔)"},
                {-7, 20, "経過時間(-35分間隔)"},
                {2147483647, 250, "経過時間(134217727937分間隔)"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        p.settings.CaptureInterval = row.interval;
        p.settings.GraphTimeScale = row.scale;
        GraphDataDisplay(p, 0, 1.0f);
        EXPECT_EQ(picture().labels.lblGraph_Tt, row.text);
    }
}

TEST_F(GraphDisplayTest, FrameTooSmallForThePlotKeepsThePlotAndSaysSo)
{
    GraphFrameDisplay(p, PixelSize{385, 361});
    GraphFrameDisplay(p, PixelSize{60, 20});
    EXPECT_EQ(picture().layout.picGraph, (TwipsRect{570, 90, 309 * 15, 337 * 15}));
    EXPECT_EQ(picture().layout.lblGraph_Ml[0].left, 24 * 15);
    EXPECT_EQ(logLines(), std::vector<std::string>{
                              "Error Trap : GraphFrameDisplay : CODE380  Invalid property value"});
}

TEST_F(GraphDisplayTest, FrameDisplayDrawsWithTheCurrentView)
{
    buffer().AddGraphData(C(5), C(100), 10, 20, 0);
    p.graph.GraphZoom = 2.0f;
    GraphFrameDisplay(p, PixelSize{385, 361});
    EXPECT_EQ(picture().labels.topE, 20);
    EXPECT_EQ(view.graphChanges, 2); // the layout, then the data
}

TEST_F(GraphDisplayTest, DrawnOnlyWhileExactlyOneOfRunAndStopIsAvailable)
{
    const struct {
        const char* name;
        bool enabled, run, stop, drawn;
    } rows[] = {{"running", true, false, true, true},
                {"idle", true, true, false, true},
                {"both available", true, true, true, false},
                {"neither", true, false, false, false},
                {"graph disabled", false, false, true, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        p.graph.picture = GraphPicture{};
        view.graphChanges = 0;
        p.settings.GraphEnabled = row.enabled;
        p.menus.menuRunEnabled = row.run;
        p.menus.menuStopEnabled = row.stop;
        GraphDataDisplay(p, 0, 1.0f);
        EXPECT_EQ(view.graphChanges, row.drawn ? 1 : 0);
        EXPECT_EQ(!picture().labels.lblGraph_Tt.empty(), row.drawn);
    }
}

TEST_F(GraphDisplayTest, TopOfZeroLeavesThatRateUndrawnAndReportsIt)
{
    buffer().AddGraphData(C(1500), C(100), 10, 20, 0);
    GraphDataDisplay(p, 0, 1.0f);
    ASSERT_EQ(picture().curves.size(), 2u);
    EXPECT_EQ(picture().labels.lblGraph_El[0], "   0.0");
    EXPECT_EQ(logLines(), std::vector<std::string>{
                              "Error Trap : GraphDataDisplay 2 : CODE11  Division by zero"});
}

TEST_F(GraphDisplayTest, UncheckedGraphSettingsDrawNothing)
{
    const int kMin = std::numeric_limits<int>::min();
    const struct {
        int timeScale, aveNum;
    } rows[] = {{0, 10}, {1, 10}, {-5, 10}, {9, 10}, {20, 0}, {20, 1}, {20, -3}, {kMin, kMin}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.timeScale << ", " << row.aveNum);
        p.settings.GraphTimeScale = 20;
        p.settings.GraphAveNum = 10;
        buffer().AddGraphData(C(5), C(100), row.aveNum, row.timeScale, 0);
        GraphDataDisplay(p, 0, 1.0f);
        ASSERT_FALSE(picture().curves.empty());

        p.settings.GraphTimeScale = row.timeScale;
        p.settings.GraphAveNum = row.aveNum;
        GraphDataDisplay(p, 0, 1.0f);
        EXPECT_TRUE(picture().curves.empty());
        EXPECT_FALSE(picture().labels.lblGraph_Tt.empty());
    }
    EXPECT_TRUE(logLines().empty());
}

TEST_F(GraphDisplayTest, TimeScaleBeyondTheHistoryDrawsWhatThereIs)
{
    p.settings.GraphTimeScale = std::numeric_limits<int>::max();
    buffer().AddGraphData(C(5), C(100), 10, 20, 0);
    GraphDataDisplay(p, 0, 1.0f);
    ASSERT_EQ(picture().curves.size(), 4u);
    EXPECT_EQ(picture().curves[1].points.size(), 512u);
    EXPECT_EQ(logLines(), std::vector<std::string>{
                              "Error Trap : GraphDataDisplay 2 : CODE9  Subscript out of range"});
}

TEST_F(GraphDisplayTest, WithoutABufferNothingHappens)
{
    p.graph.GraphData.reset();
    GraphDataDisplay(p, 0, 1.0f);
    lblGraph_Tl_Click(p, 1);
    EXPECT_EQ(p.graph.GraphOffset, 0);
    EXPECT_EQ(view.graphChanges, 0);
}

TEST_F(GraphCurvesTest, PointsAreRoundedAndHeldWithinTwiceTheHeight)
{
    setRates(&clsGraphFormat::RateE, {2.25, 2.25, 2.35, 50, -100, 0, 10, 0.04, 0.05, 0.06});
    const auto c = curves(10, 10);
    ASSERT_EQ(c.size(), 4u);
    const GraphCurve& solid = c[0];
    EXPECT_EQ(solid.rate, GraphRate::Exp);
    EXPECT_FALSE(solid.dotted);
    const double ys[10] = {77.5, 78, 76, -200, 200, 100, 0, 100, 100, 99};
    ASSERT_EQ(solid.points.size(), 10u);
    for (int k = 0; k < 10; ++k) {
        EXPECT_DOUBLE_EQ(solid.points[k].x, xAt(k)) << k;
        EXPECT_DOUBLE_EQ(solid.points[k].y, ys[k]) << k;
    }
    // The starting point is neither rounded nor limited.
    m_buffer.Value(0).RateAveE = C(-100.01);
    EXPECT_NEAR(curves(10, 10)[1].points[0].y, 1100.1, 1e-9);
}

TEST_F(GraphCurvesTest, MissingSamplesAreBridgedButAveragesAreNot)
{
    setRates(&clsGraphFormat::RateE, {1, 2, -1, -1, 5});
    setRates(&clsGraphFormat::RateM, {1, 2, -1, -1, 5});
    setRates(&clsGraphFormat::RateAveM, {1, 1, 1, 1, 1});
    const auto c = curves(10, 10);
    ASSERT_EQ(c.size(), 4u);
    for (int i : {0, 2}) {
        SCOPED_TRACE(i);
        ASSERT_EQ(c[i].points.size(), 8u);
        EXPECT_DOUBLE_EQ(c[i].points[1].x, xAt(1));
        EXPECT_DOUBLE_EQ(c[i].points[2].x, xAt(4)); // from k = 1 straight to k = 4
        EXPECT_DOUBLE_EQ(c[i].points[2].y, 50);
        EXPECT_FALSE(c[i].firstSegmentHidden);
    }
    EXPECT_EQ(c[3].rate, GraphRate::Money);
    EXPECT_TRUE(c[3].dotted);
    ASSERT_EQ(c[3].points.size(), 10u);
    EXPECT_DOUBLE_EQ(c[3].points[5].y, 100);
}

TEST_F(GraphCurvesTest, OffsetWindowKeepsTheSamplesThereAre)
{
    setRates(&clsGraphFormat::RateE, {9, 9, 9, 9, 9, 1, 2});
    EXPECT_DOUBLE_EQ(curves(10, 10, 5)[0].points[1].y, 80);
    EXPECT_FALSE(m_errors.failed());

    const auto old = curves(10, 10, 505);
    EXPECT_EQ(old.at(1).points.size(), 7u);
    ASSERT_TRUE(m_errors.failed());
    EXPECT_EQ(m_errors.error()->number, ErrSubscript);

    m_errors.clear();
    const auto future = curves(10, 10, -3);
    EXPECT_EQ(future.at(1).points.size(), 7u);
    EXPECT_DOUBLE_EQ(future[1].points[0].x, xAt(3));
    EXPECT_EQ(m_errors.error()->number, ErrSubscript);

    EXPECT_TRUE(curves(10, 10, 600).empty());
}

TEST_F(GraphDisplayTest, ZoomClicksStopAtTheirLimits)
{
    for (int i = 0; i < 11; ++i)
        lblGraph_El_Click(p, 0);
    EXPECT_EQ(p.graph.GraphZoom, 2.0f);
    EXPECT_EQ(view.graphChanges, 11);

    for (int i = 0; i < 19; ++i)
        lblGraph_Mt_Click(p);
    EXPECT_EQ(p.graph.GraphZoom, 0.2f);

    const int redraws = view.graphChanges;
    for (int index : {1, 2, 3}) { // only the top labels zoom
        lblGraph_El_Click(p, index);
        lblGraph_Ml_Click(p, index);
    }
    EXPECT_EQ(p.graph.GraphZoom, 0.2f);
    EXPECT_EQ(view.graphChanges, redraws);
}

TEST_F(GraphDisplayTest, PastButtonStepsBackToTheOldestFullWindow)
{
    std::vector<int> offsets;
    for (int i = 0; i < 101; ++i) {
        lblGraph_Tl_Click(p, 1);
        offsets.push_back(p.graph.GraphOffset);
    }
    EXPECT_EQ(offsets[0], 5);
    EXPECT_EQ(offsets[97], 490);
    EXPECT_EQ(offsets[100], 491);
    ASSERT_FALSE(logLines().empty());
    EXPECT_EQ(logLines().front(), "Click : Graph Old View ");

    for (int i = 0; i < 99; ++i)
        lblGraph_Tl_Click(p, 0);
    EXPECT_EQ(p.graph.GraphOffset, 0);
    ASSERT_FALSE(logLines().empty());
    EXPECT_EQ(logLines().back(), "Click : Graph New View ");
}

TEST_F(GraphDisplayTest, PastButtonNeverGoesBeforeTheFirstSampleOrNegative)
{
    p.settings.GraphTimeScale = 600; // more than the history holds
    lblGraph_Tl_Click(p, 1);
    EXPECT_EQ(p.graph.GraphOffset, 0);
    EXPECT_EQ(OlderOffset(std::numeric_limits<int>::max(), 40, 512), 471);
    EXPECT_EQ(NewerOffset(std::numeric_limits<int>::max(), std::numeric_limits<int>::min()),
              std::numeric_limits<int>::max());
}

TEST_F(GraphDisplayTest, FramePixelsFindTheirWidgets)
{
    GraphFrameDisplay(p, PixelSize{385, 361});
    const GraphLayout& l = picture().layout;
    const struct {
        PixelPoint at;
        GraphHit hit;
        std::string_view tip;
    } rows[] = {
        {{10, 3}, {GraphWidget::lblGraph_El, 0}, kZoomInTip},
        {{10, 335}, {GraphWidget::lblGraph_Et, 0}, kZoomOutTip},
        {{370, 335}, {GraphWidget::lblGraph_Mt, 0}, kZoomOutTip},
        {{345, 355}, {GraphWidget::lblGraph_Tl, 0}, kTimeButtonTips[0]},
        {{30, 355}, {GraphWidget::lblGraph_Tl, 1}, kTimeButtonTips[1]},
        {{200, 100}, {GraphWidget::picGraph, 0}, ""},
        {{37, 200}, {}, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.at.x << "," << row.at.y);
        EXPECT_EQ(GraphWidgetAt(l, row.at), row.hit);
        EXPECT_EQ(GraphToolTipAt(l, row.at), row.tip);
    }
}

TEST_F(GraphDisplayTest, ClicksOnFramePixelsReachTheirHandlers)
{
    GraphFrameDisplay(p, PixelSize{385, 361});
    GraphClickAt(p, {370, 335});
    EXPECT_NEAR(p.graph.GraphZoom, 0.9f, 1e-6);
    GraphClickAt(p, {30, 355});
    EXPECT_EQ(p.graph.GraphOffset, 5);
    GraphClickAt(p, {200, 355}); // the time title does nothing
    p.settings.GraphEnabled = false;
    GraphClickAt(p, {200, 100}); // only an enabled graph is refreshed
    p.settings.GraphEnabled = true;
    GraphClickAt(p, {200, 100});
    EXPECT_EQ(logLines(),
              (std::vector<std::string>{"Click : Graph Old View ", "Click : Graph Refresh "}));
}

TEST_F(GraphDisplayTest, MaximaBeyondWholeNumbersAreReportedByTheLabelPhase)
{
    buffer().Value(0).RateE = C(3e9); // only a direct write gets past the cap
    buffer().AddGraphData(C(1), C(1), 10, 20, 0);
    GraphDataDisplay(p, 0, 1.0f);
    EXPECT_EQ(picture().labels.lblGraph_El[0], "   0.0");
    EXPECT_EQ(picture().labels.lblGraph_Ml[0], "10");
    EXPECT_EQ(logLines(), (std::vector<std::string>{
                              "Error Trap : GraphDataDisplay : CODE6  Overflow",
                              "Error Trap : GraphDataDisplay 2 : CODE11  Division by zero"}));
}
