#include "ui/qt/GraphPainter.h"

#include "graph/GraphDisplay.h"

#include <QFont>
#include <QLine>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <cmath>
#include <string_view>

namespace kesmaro {

namespace {

const QColor kFrameBackground{240, 240, 240};
const QColor kPlotBackground{255, 255, 255};

QColor ToQColor(RgbColour c)
{
    return QColor(c.red, c.green, c.blue);
}

QLine ToQLine(const PixelLine& l)
{
    return QLine(l.from.x, l.from.y, l.to.x, l.to.y);
}

QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QPen LinePen(const QColor& colour, bool dotted)
{
    QPen pen(colour);
    pen.setWidth(1);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::FlatCap);
    if (dotted)
        pen.setDashPattern({1, 1});
    return pen;
}

QPen GridPen(GridStyle style)
{
    switch (style) {
    case GridStyle::Solid:
        return LinePen(Qt::black, false);
    case GridStyle::DottedBlack:
        return LinePen(Qt::black, true);
    case GridStyle::DottedGrey:
        break;
    }
    return LinePen(ToQColor(kGridGrey), true);
}

// Liang-Barsky: keeps the part of the segment inside `box`; false when nothing is inside.
bool ClipSegment(QPointF& a, QPointF& b, const QRectF& box)
{
    double t0 = 0;
    double t1 = 1;
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - box.left(), box.right() - a.x(), a.y() - box.top(),
                         box.bottom() - a.y()};
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
    const QPointF start = a;
    a = start + QPointF(dx * t0, dy * t0);
    b = start + QPointF(dx * t1, dy * t1);
    return true;
}

void PaintCurve(QPainter& painter, const GraphCurve& curve, const QRectF& reach)
{
    QPolygonF line;
    line.reserve(static_cast<qsizetype>(curve.points.size()));
    for (const CurvePoint& point : curve.points)
        line.append(QPointF(point.x, point.y));
    if (line.size() < 2)
        return;
    // Only the starting point is unbounded; bring a far-off one back along its own segment so
    // the rasterizer never sees huge coordinates.
    if (!reach.contains(line[0])) {
        QPointF a = line[0];
        QPointF b = line[1];
        if (ClipSegment(a, b, reach))
            line[0] = a;
        else
            line.removeFirst();
    }
    if (curve.firstSegmentHidden && !line.isEmpty())
        line.removeFirst();
    painter.setPen(LinePen(ToQColor(CurveColour(curve.rate)), curve.dotted));
    painter.drawPolyline(line);
}

void PaintLabel(QPainter& painter, const TwipsRect& where, std::string_view text,
                const QColor& colour, Qt::Alignment alignment)
{
    painter.setPen(colour);
    painter.drawText(ToQRect(where.toPixels()),
                     int(alignment | Qt::AlignVCenter) | Qt::TextDontClip, ToQString(text));
}

} // namespace

void PaintGraph(QPainter& painter, const GraphPicture& picture)
{
    const GraphLayout& layout = picture.layout;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(0, 0, layout.frame.width, layout.frame.height), kFrameBackground);

    const QRect plot = ToQRect(layout.picGraph.toPixels());
    painter.save();
    painter.translate(plot.topLeft());
    painter.setClipRect(QRect(0, 0, layout.scaleWidth, layout.scaleHeight));
    painter.fillRect(QRect(0, 0, layout.scaleWidth, layout.scaleHeight), kPlotBackground);
    const QRectF reach(-1000.0, -1000.0, layout.scaleWidth + 2000.0, layout.scaleHeight + 2000.0);
    for (const GraphCurve& curve : picture.curves)
        PaintCurve(painter, curve, reach);
    // The grid lines are widgets above the drawing, so they cover the curves.
    for (int i = 0; i < int(layout.linGraphY.size()); ++i) {
        painter.setPen(GridPen(linGraphYStyle(i)));
        painter.drawLine(ToQLine(layout.linGraphY[i]));
    }
    for (int j = 0; j < int(layout.linGraphX.size()); ++j) {
        painter.setPen(GridPen(linGraphXStyle(j)));
        painter.drawLine(ToQLine(layout.linGraphX[j]));
    }
    painter.restore();

    QFont font = painter.font();
    font.setPixelSize(10);
    painter.setFont(font);
    const GraphLabels& labels = picture.labels;
    const QColor expColour = ToQColor(kExpCurveColour);
    const QColor moneyColour = ToQColor(kMoneyCurveColour);
    for (int i = 0; i < 4; ++i) {
        PaintLabel(painter, layout.lblGraph_El[i], labels.lblGraph_El[i], expColour,
                   Qt::AlignRight);
        PaintLabel(painter, layout.lblGraph_Ml[i], labels.lblGraph_Ml[i], moneyColour,
                   Qt::AlignLeft);
    }
    PaintLabel(painter, layout.lblGraph_Et, kExpAxisTitle, expColour, Qt::AlignLeft);
    PaintLabel(painter, layout.lblGraph_Mt, kMoneyAxisTitle, moneyColour, Qt::AlignLeft);
    PaintLabel(painter, layout.lblGraph_Tt, labels.lblGraph_Tt, Qt::black, Qt::AlignHCenter);
    for (int i = 0; i < 2; ++i)
        PaintLabel(painter, layout.lblGraph_Tl[i], kTimeButtonTexts[i], Qt::black,
                   Qt::AlignHCenter);
    painter.restore();
}

QImage RenderGraph(const GraphPicture& picture)
{
    const QSize size =
        QSize(picture.layout.frame.width, picture.layout.frame.height).expandedTo(QSize(1, 1));
    QImage image(size, QImage::Format_RGB32);
    image.fill(kFrameBackground);
    QPainter painter(&image);
    PaintGraph(painter, picture);
    painter.end();
    return image;
}

} // namespace kesmaro
