#include "ui/win32/GraphWindow.h"

// clang-format off
#include <commctrl.h>
// clang-format on

#include "GraphTestSupport.h"
#include "common/Utf8.h"
#include "graph/GraphClicks.h"
#include "ui/win32/GdiGraphPainter.h"

using namespace kesmaro;

namespace {

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

LPARAM At(PixelPoint point)
{
    return MAKELPARAM(point.x, point.y);
}

PixelPoint Centre(const TwipsRect& r)
{
    const PixelRect px = r.toPixels();
    return PixelPoint{px.left + px.width / 2, px.top + px.height / 2};
}

// frmGraph in a top-level window, laid out at 385 x 361 with a history of samples.
class GraphWindowTest : public GraphProgramTest {
protected:
    GraphWindowTest()
    {
        for (int i = 0; i < 40; ++i)
            buffer().AddGraphData(C(3 + i % 3), C(200 + 10 * i), 10, 20, 0);
        m_host = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                 420, 420, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        graph = CreateGraphWindow(m_host, p, 77);
        MoveWindow(graph, 0, 0, 385, 361, TRUE);
        GraphFrameDisplay(p, PixelSize{385, 361});
        RefreshGraph(graph);
        Pump();
    }
    ~GraphWindowTest() override { DestroyWindow(m_host); }

    void click(PixelPoint point)
    {
        SendMessageW(graph, WM_LBUTTONDOWN, MK_LBUTTON, At(point));
        SendMessageW(graph, WM_LBUTTONUP, 0, At(point));
    }
    std::string tipAt(PixelPoint point)
    {
        SendMessageW(graph, WM_MOUSEMOVE, 0, At(point));
        NMTTDISPINFOW info{};
        info.hdr.hwndFrom = GraphToolTipWindow(graph);
        info.hdr.idFrom = reinterpret_cast<UINT_PTR>(graph);
        info.hdr.code = TTN_GETDISPINFOW;
        SendMessageW(graph, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        return info.lpszText ? WideToUtf8(info.lpszText) : std::string();
    }
    const GraphLayout& layout() { return GraphPictureOf(p).layout; }

    HWND graph = nullptr;

private:
    HWND m_host = nullptr;
};

TEST_F(GraphWindowTest, ClicksOnTheAxisLabelsZoomAndScrollAsTheCoreSays)
{
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(GetDlgCtrlID(graph), 77);
    const std::int32_t step = p.settings.GraphTimeScale / 4;
    const struct {
        const char* name;
        PixelPoint at;
        float zoom;
        std::int32_t offset;
        const char* logged; // the last debug-log line, if the click writes one
    } rows[] = {
        {"top Exp value", Centre(layout().lblGraph_El[0]), 1.1F, 0, nullptr},
        {"lower Exp value: no effect", Centre(layout().lblGraph_El[2]), 1.1F, 0, nullptr},
        {"top money value", Centre(layout().lblGraph_Ml[0]), 1.2F, 0, nullptr},
        {"Exp title", Centre(layout().lblGraph_Et), 1.1F, 0, nullptr},
        {"money title", Centre(layout().lblGraph_Mt), 1.0F, 0, nullptr},
        {"past", Centre(layout().lblGraph_Tl[1]), 1.0F, step, "Click : Graph Old View "},
        {"past again", Centre(layout().lblGraph_Tl[1]), 1.0F, 2 * step, "Click : Graph Old View "},
        {"present", Centre(layout().lblGraph_Tl[0]), 1.0F, step, "Click : Graph New View "},
        {"plot", PixelPoint{150, 100}, 1.0F, step, "Click : Graph Refresh "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        click(row.at);
        EXPECT_FLOAT_EQ(p.graph.GraphZoom, row.zoom);
        EXPECT_EQ(p.graph.GraphOffset, row.offset);
        if (row.logged) {
            EXPECT_EQ(logLines().back(), row.logged);
        }
    }
    // The labels show the zoomed axis: the highest Exp rate 5 at 1.3 lifts the top from 6 to 8.
    EXPECT_EQ(GraphPictureOf(p).labels.lblGraph_El[0], "   6.0");
    for (int i = 0; i < 3; ++i)
        click(Centre(layout().lblGraph_El[0]));
    EXPECT_EQ(GraphPictureOf(p).labels.lblGraph_El[0], "   8.0");
    // A release outside the frame after a press inside is no click.
    SendMessageW(graph, WM_LBUTTONDOWN, MK_LBUTTON, At(Centre(layout().lblGraph_Et)));
    SendMessageW(graph, WM_LBUTTONUP, 0, MAKELPARAM(500, 10));
    EXPECT_FLOAT_EQ(p.graph.GraphZoom, 1.3F);
}

TEST_F(GraphWindowTest, ToolTipsFollowTheWidgetUnderThePointer)
{
    ASSERT_NE(GraphToolTipWindow(graph), nullptr);
    EXPECT_EQ(GraphToolTipWindow(nullptr), nullptr);
    EXPECT_EQ(tipAt(Centre(layout().lblGraph_El[0])), kZoomInTip);
    EXPECT_EQ(tipAt(Centre(layout().lblGraph_Ml[0])), kZoomInTip);
    EXPECT_EQ(tipAt(Centre(layout().lblGraph_Et)), kZoomOutTip);
    EXPECT_EQ(tipAt(Centre(layout().lblGraph_Mt)), kZoomOutTip);
    EXPECT_EQ(tipAt(Centre(layout().lblGraph_Tl[0])), kTimeButtonTips[0]);
    EXPECT_EQ(tipAt(Centre(layout().lblGraph_Tl[1])), kTimeButtonTips[1]);
    EXPECT_EQ(tipAt(PixelPoint{150, 100}), "") << "the plot has none";
    EXPECT_EQ(tipAt(Centre(layout().lblGraph_El[1])), "");
}

TEST_F(GraphWindowTest, TheWindowShowsThePaintedPicture)
{
    UpdateWindow(graph);
    const PixelBuffer expected = RenderGraph(GraphPictureOf(p));
    HDC dc = GetDC(graph);
    for (const PixelPoint point : {PixelPoint{2, 358}, PixelPoint{150, 60}, PixelPoint{38, 150},
                                   PixelPoint{38 + 150, 6 + 336}}) {
        SCOPED_TRACE(testing::Message() << point.x << "," << point.y);
        const std::uint8_t* px = expected.pixel(point.x, point.y);
        EXPECT_EQ(GetPixel(dc, point.x, point.y), RGB(px[2], px[1], px[0]));
    }
    ReleaseDC(graph, dc);
}

} // namespace
