#pragma once

// Game frames for tests of the measuring loop: the numbers drawn in the default glyphs at the
// capture areas of `settings`, each closed by its delimiter; an empty text leaves its area blank.

#include "config/Settings.h"
#include "platform/PixelBuffer.h"
#include "recognition/GlyphRenderer.h"
#include "recognition/Recognition.h"

#include <string>

inline kesmaro::PixelBuffer TestFrame(const kesmaro::Settings& s, const std::string& level,
                                      const std::string& exp, const std::string& coins,
                                      int coinArea = 4)
{
    using namespace kesmaro;
    PixelBuffer frame(1100, 800);
    const struct {
        int category;
        int area;
        const std::string& text;
    } parts[] = {{0, 0, level}, {1, 1, exp}, {2, coinArea, coins}};
    for (const auto& part : parts) {
        const GlyphFont font = GlyphFontOf(s, part.category);
        const CaptureRect& a = s.CaptureArea[static_cast<std::size_t>(part.area)];
        FillGlyphBackground(frame, Rect{a.X, a.Y, a.Width, a.Height}, font);
        if (!part.text.empty())
            DrawNumber(frame, a.X + 2, a.Y, part.text, font);
    }
    return frame;
}
