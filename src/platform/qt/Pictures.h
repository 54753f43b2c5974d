#pragma once

#include "platform/PixelBuffer.h"

#include <QImage>

namespace kesmaro {

// Pixel buffers to and from Qt images, shared by the Qt image files, the Qt windows and the tools.

// The pixels as an opaque 32-bit image (the fourth byte of a grab is ignored); an empty or
// short buffer gives a null image.
QImage ToQImage(const PixelBuffer& pixels);
// An image's pixels as BGRA; a null image gives an empty buffer.
PixelBuffer FromQImage(const QImage& image);

} // namespace kesmaro
