#include "ui/win32/GdiGraphPainter.h"

#include "common/Utf8.h"
#include "graph/GraphDisplay.h"
#include "ui/win32/GdiFonts.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>
#include <vector>

namespace kesmaro {

namespace {

constexpr COLORREF kFrameBackground = RGB(240, 240, 240);
constexpr COLORREF kPlotBackground = RGB(255, 255, 255);
constexpr int kLabelPixelHeight = 10;

COLORREF ToColorRef(RgbColour c)
{
    return RGB(c.red, c.green, c.blue);
}

// One pixel wide; dotted is every other pixel, as the frame's dotted widgets look.
HPEN CreateLinePen(COLORREF colour, bool dotted)
{
    if (!dotted)
        return CreatePen(PS_SOLID, 1, colour);
    LOGBRUSH brush{BS_SOLID, colour, 0};
    return ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &brush, 0, nullptr);
}

COLORREF GridColour(GridStyle style)
{
    return style == GridStyle::DottedGrey ? ToColorRef(kGridGrey) : RGB(0, 0, 0);
}

void FillRectangle(HDC dc, int left, int top, int width, int height, COLORREF colour)
{
    const RECT area{left, top, left + width, top + height};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

// As the frame's line widgets end: the last pixel is left out, so the bottom-right corner of the
// border stays open.
void DrawGridLine(HDC dc, const PixelLine& line, GridStyle style)
{
    HPEN pen = CreateLinePen(GridColour(style), style != GridStyle::Solid);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, line.from.x, line.from.y, nullptr);
    LineTo(dc, line.to.x, line.to.y);
    SelectObject(dc, old);
    DeleteObject(pen);
}

// Liang-Barsky: keeps the part of the segment inside the box; false when nothing is inside.
bool ClipSegment(CurvePoint& a, CurvePoint& b, double left, double top, double right, double bottom)
{
    double t0 = 0;
    double t1 = 1;
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - left, right - a.x, a.y - top, bottom - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1)
        return false;
    const CurvePoint start = a;
    a = CurvePoint{start.x + dx * t0, start.y + dy * t0};
    b = CurvePoint{start.x + dx * t1, start.y + dy * t1};
    return true;
}

void PaintCurve(HDC dc, const GraphCurve& curve, const GraphLayout& layout)
{
    std::vector<CurvePoint> line = curve.points;
    if (line.size() < 2)
        return;
    // Only the starting point is unbounded; bring a far-off one back along its own segment so
    // that GDI never sees coordinates beyond its range.
    const double left = -1000.0;
    const double top = -1000.0;
    const double right = layout.scaleWidth + 1000.0;
    const double bottom = layout.scaleHeight + 1000.0;
    const CurvePoint start = line[0];
    if (start.x < left || start.x > right || start.y < top || start.y > bottom) {
        CurvePoint a = line[0];
        CurvePoint b = line[1];
        if (ClipSegment(a, b, left, top, right, bottom))
            line[0] = a;
        else
            line.erase(line.begin());
    }
    if (curve.firstSegmentHidden && !line.empty())
        line.erase(line.begin());
    if (line.size() < 2)
        return;
    std::vector<POINT> points;
    points.reserve(line.size());
    for (const CurvePoint& point : line)
        points.push_back(POINT{static_cast<LONG>(std::lround(point.x)),
                               static_cast<LONG>(std::lround(point.y))});
    HPEN pen = CreateLinePen(ToColorRef(CurveColour(curve.rate)), curve.dotted);
    HGDIOBJ old = SelectObject(dc, pen);
    Polyline(dc, points.data(), static_cast<int>(points.size()));
    SelectObject(dc, old);
    DeleteObject(pen);
}

void PaintLabel(HDC dc, const TwipsRect& where, std::string_view text, COLORREF colour,
                UINT alignment)
{
    const PixelRect r = where.toPixels();
    RECT area{r.left, r.top, r.left + r.width, r.top + r.height};
    const std::wstring wide = Utf8ToWide(text);
    SetTextColor(dc, colour);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &area,
              alignment | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
}

} // namespace

void PaintGraph(HDC dc, const GraphPicture& picture)
{
    const GraphLayout& layout = picture.layout;
    const int saved = SaveDC(dc);
    FillRectangle(dc, 0, 0, layout.frame.width, layout.frame.height, kFrameBackground);

    const PixelRect plot = layout.picGraph.toPixels();
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    // The plot's pixels: its own origin, nothing outside it.
    SetViewportOrgEx(dc, origin.x + plot.left, origin.y + plot.top, nullptr);
    IntersectClipRect(dc, 0, 0, std::max(0, layout.scaleWidth), std::max(0, layout.scaleHeight));
    FillRectangle(dc, 0, 0, layout.scaleWidth, layout.scaleHeight, kPlotBackground);
    SetBkMode(dc, TRANSPARENT);
    for (const GraphCurve& curve : picture.curves)
        PaintCurve(dc, curve, layout);
    // The grid lines are widgets above the drawing, so they cover the curves.
    for (int i = 0; i < static_cast<int>(layout.linGraphY.size()); ++i)
        DrawGridLine(dc, layout.linGraphY[static_cast<std::size_t>(i)], linGraphYStyle(i));
    for (int j = 0; j < static_cast<int>(layout.linGraphX.size()); ++j)
        DrawGridLine(dc, layout.linGraphX[static_cast<std::size_t>(j)], linGraphXStyle(j));
    RestoreDC(dc, saved);

    const int labelsSaved = SaveDC(dc);
    SetBkMode(dc, TRANSPARENT);
    HFONT font = CreateInterfaceFont(kLabelPixelHeight);
    SelectObject(dc, font);
    const GraphLabels& labels = picture.labels;
    const COLORREF expColour = ToColorRef(kExpCurveColour);
    const COLORREF moneyColour = ToColorRef(kMoneyCurveColour);
    for (std::size_t i = 0; i < 4; ++i) {
        PaintLabel(dc, layout.lblGraph_El[i], labels.lblGraph_El[i], expColour, DT_RIGHT);
        PaintLabel(dc, layout.lblGraph_Ml[i], labels.lblGraph_Ml[i], moneyColour, DT_LEFT);
    }
    PaintLabel(dc, layout.lblGraph_Et, kExpAxisTitle, expColour, DT_LEFT);
    PaintLabel(dc, layout.lblGraph_Mt, kMoneyAxisTitle, moneyColour, DT_LEFT);
    PaintLabel(dc, layout.lblGraph_Tt, labels.lblGraph_Tt, RGB(0, 0, 0), DT_CENTER);
    for (std::size_t i = 0; i < 2; ++i)
        PaintLabel(dc, layout.lblGraph_Tl[i], kTimeButtonTexts[i], RGB(0, 0, 0), DT_CENTER);
    RestoreDC(dc, labelsSaved);
    DeleteObject(font);
}

PixelBuffer RenderGraph(const GraphPicture& picture)
{
    const int width = std::max(1, picture.layout.frame.width);
    const int height = std::max(1, picture.layout.frame.height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down, as PixelBuffer keeps its rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    if (!bitmap || !dc || !bits) {
        if (bitmap)
            DeleteObject(bitmap);
        if (dc)
            DeleteDC(dc);
        return PixelBuffer{};
    }
    HGDIOBJ old = SelectObject(dc, bitmap);
    PaintGraph(dc, picture);
    GdiFlush();
    PixelBuffer result(width, height);
    std::memcpy(result.bgra.data(), bits, result.bgra.size());
    // GDI leaves the fourth byte as it likes; the picture is opaque.
    for (std::size_t i = 3; i < result.bgra.size(); i += 4)
        result.bgra[i] = 0xFF;
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return result;
}

} // namespace kesmaro
