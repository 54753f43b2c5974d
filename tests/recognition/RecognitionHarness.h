#pragma once

#include "ProgramFixture.h"
#include "recognition/GlyphRenderer.h"

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

    const QString& glyph(int category, int index) const
    {
        return p.settings
            .PatternString[static_cast<std::size_t>(category)][static_cast<std::size_t>(index)];
    }

    // Glyph texts of the digits of `number`, each followed by nothing: adjacent glyphs.
    QString digitsText(int category, const QString& number) const
    {
        QString text;
        for (const QChar ch : number)
            text += glyph(category, ch.digitValue());
        return text;
    }

    // Columns that match no glyph of the default tables.
    static QString blank(int columns) { return "0000".repeated(columns); }

    // Sets slot `category` and the width of its capture area to the text.
    void setSlot(int category, const QString& text)
    {
        p.ColumnText[static_cast<std::size_t>(category)] = text;
        p.settings.CaptureArea[static_cast<std::size_t>(category)].Width =
            static_cast<std::int32_t>(text.size() / 4);
    }
};

} // namespace kesmaro::test
