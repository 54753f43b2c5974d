#pragma once

// Game frames for tests of the measuring loop: the numbers drawn in the default glyphs at the
// capture areas of `settings`, each closed by its delimiter; an empty text leaves its area blank.

#include "config/Settings.h"
#include "platform/PixelBuffer.h"
#include "recognition/GlyphRenderer.h"
#include "recognition/Recognition.h"

#include <QString>

inline kesmaro::PixelBuffer TestFrame(const kesmaro::Settings& s, const QString& level,
                                      const QString& exp, const QString& coins, int coinArea = 4)
{
    using namespace kesmaro;
    PixelBuffer frame(1100, 800);
    const struct {
        int category;
        int area;
        const QString& text;
    } parts[] = {{0, 0, level}, {1, 1, exp}, {2, coinArea, coins}};
    for (const auto& part : parts) {
        const GlyphFont font = GlyphFontOf(s, part.category);
        const CaptureRect& a = s.CaptureArea[static_cast<std::size_t>(part.area)];
        FillGlyphBackground(frame, Rect{a.X, a.Y, a.Width, a.Height}, font);
        if (!part.text.isEmpty())
            DrawNumber(frame, a.X + 2, a.Y, part.text.toStdString(), font);
    }
    return frame;
}
