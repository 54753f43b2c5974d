#pragma once

#include "ProgramFixture.h"
#include "recognition/GlyphRenderer.h"

#include <string>
#include <string_view>

namespace kesmaro::test {

// A program with the default glyph tables and full-screen capture areas.
class RecognitionFixture : public ProgramFixture {
protected:
    RecognitionFixture()
    {
        LoadDefaultGlyphTables(p.settings, InterfaceColour::Yellow);
        SetDefaultCaptureAreas(p.settings, ScreenMode::FullScreen);
        p.settings.LagCancelTime = 0;
    }

    const std::string& glyph(int category, int index) const
    {
        return p.settings
            .PatternString[static_cast<std::size_t>(category)][static_cast<std::size_t>(index)];
    }

    // Glyph texts of the digits of `number`, each followed by nothing: adjacent glyphs.
    std::string digitsText(int category, std::string_view number) const
    {
        std::string text;
        for (const char ch : number)
            text += glyph(category, ch - '0');
        return text;
    }

    // Columns that match no glyph of the default tables.
    static std::string blank(int columns)
    {
        std::string text;
        for (int i = 0; i < columns; ++i)
            text += "0000";
        return text;
    }

    // Sets slot `category` and the width of its capture area to the text.
    void setSlot(int category, const std::string& text)
    {
        p.ColumnText[static_cast<std::size_t>(category)] = text;
        p.settings.CaptureArea[static_cast<std::size_t>(category)].Width =
            static_cast<std::int32_t>(text.size() / 4);
    }
};

} // namespace kesmaro::test
