#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kesmaro {

// An image as the recognizer sees it: BGRA, 4 bytes a pixel, rows top to bottom, no padding.
struct PixelBuffer {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgra;

    PixelBuffer() = default;
    // A black, opaque image; a negative size counts as zero.
    PixelBuffer(int w, int h)
        : width(w > 0 ? w : 0), height(h > 0 ? h : 0),
          bgra(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 0)
    {
        for (std::size_t i = 3; i < bgra.size(); i += 4)
            bgra[i] = 0xFF;
    }

    bool isEmpty() const { return width <= 0 || height <= 0; }
    // Not empty, and the bytes cover every pixel (a buffer filled by hand may fall short).
    bool isWhole() const
    {
        return !isEmpty() && bgra.size() >= static_cast<std::size_t>(width) *
                                                static_cast<std::size_t>(height) * 4;
    }
    const std::uint8_t* pixel(int x, int y) const
    {
        return bgra.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                              static_cast<std::size_t>(x)) *
                                 4;
    }
    std::uint8_t* pixel(int x, int y)
    {
        return bgra.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                              static_cast<std::size_t>(x)) *
                                 4;
    }
};

} // namespace kesmaro
