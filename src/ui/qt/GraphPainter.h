#pragma once

#include "state/GraphPicture.h"

#include <QImage>
#include <QPoint>
#include <QRect>

class QPainter;

namespace kesmaro {

// The graph's plain geometry in Qt's terms, and a frame pixel back.
inline QRect ToQRect(const PixelRect& r)
{
    return QRect(r.left, r.top, r.width, r.height);
}
inline PixelPoint ToPixelPoint(QPoint p)
{
    return PixelPoint{p.x(), p.y()};
}

// Draws the whole graph frame (background, plot, curves, grid, labels) with its top-left corner
// at the painter's origin, at the size the picture was laid out for.
void PaintGraph(QPainter& painter, const GraphPicture& picture);

// The graph frame as an image of the laid-out size (needs a QGuiApplication for the texts).
QImage RenderGraph(const GraphPicture& picture);

} // namespace kesmaro
