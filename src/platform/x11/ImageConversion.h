#pragma once

#include "platform/PixelBuffer.h"

#include <cstddef>
#include <cstdint>

namespace kesmaro::x11 {

// How the server lays out a ZPixmap image: bits per pixel, row padding and the channel masks
// of the drawable's visual.
struct ImageFormat {
    int bitsPerPixel = 32;
    int scanlinePad = 32;
    bool lsbFirst = true;
    std::uint32_t redMask = 0xFF0000;
    std::uint32_t greenMask = 0x00FF00;
    std::uint32_t blueMask = 0x0000FF;
};

// Bytes in one row of a `width`-pixel image.
std::size_t RowStride(const ImageFormat& format, int width);

// Copies a `width` x `height` server image into `out` at (`dx`, `dy`) as opaque BGRA.
// Returns false, leaving `out` untouched, when the data is too short for the size or the
// format is one we cannot read (then the caller keeps its black pixels).
bool CopyImage(const std::uint8_t* data, std::size_t size, int width, int height,
               const ImageFormat& format, PixelBuffer& out, int dx, int dy);

} // namespace kesmaro::x11
