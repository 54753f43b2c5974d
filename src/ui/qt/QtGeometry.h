#pragma once

#include "state/GraphPicture.h"

#include <QPoint>
#include <QRect>
#include <QSize>

namespace kesmaro {

// The core's plain pixel geometry in Qt's terms, and back.
inline QSize ToQSize(PixelSize s)
{
    return QSize(s.width, s.height);
}
inline PixelSize ToPixelSize(QSize s)
{
    return PixelSize{s.width(), s.height()};
}
inline QPoint ToQPoint(PixelPoint p)
{
    return QPoint(p.x, p.y);
}
inline PixelRect ToPixelRect(const QRect& r)
{
    return PixelRect{r.x(), r.y(), r.width(), r.height()};
}

} // namespace kesmaro
