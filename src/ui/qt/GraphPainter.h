#pragma once

#include <QImage>

class QPainter;

namespace kesmaro {

struct GraphPicture;

// Draws the whole graph frame (background, plot, curves, grid, labels) with its top-left corner
// at the painter's origin, at the size the picture was laid out for.
void PaintGraph(QPainter& painter, const GraphPicture& picture);

// The graph frame as an image of the laid-out size (needs a QGuiApplication for the texts).
QImage RenderGraph(const GraphPicture& picture);

} // namespace kesmaro
