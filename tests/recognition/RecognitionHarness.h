#pragma once

#include "common/DebugLog.h"
#include "common/TextFile.h"
#include "config/Defaults.h"
#include "platform/sim/SimGameWindows.h"
#include "platform/sim/SimServices.h"
#include "recognition/GlyphRenderer.h"
#include "state/Program.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kesmaro::test_support {

// Remembers what the logic told the windows.
struct RecordingView : ProgramView {
    void captureSlotChanged(int slot) override
    {
        captions.push_back(program->results.lblCapture[static_cast<std::size_t>(slot)]);
    }
    void menusChanged() override
    {
        buttons.push_back(program->menus.cmdCaptureEnabled && program->menus.cmdRecognizeEnabled);
    }

    const Program* program = nullptr;
    QStringList captions;
    std::vector<bool> buttons;
};

// A program on simulated services, with default glyph tables and full-screen capture areas,
// whose debug log lives in a temporary folder.
class ProgramFixture : public ::testing::Test {
protected:
    ProgramFixture()
    {
        LoadDefaultGlyphTables(p.settings, InterfaceColour::Yellow);
        SetDefaultCaptureAreas(p.settings, ScreenMode::FullScreen);
        p.settings.LagCancelTime = 0;
        view.program = &p;
    }

    // Debug log lines without their time stamps (the further lines of a multi-line entry
    // have none).
    QStringList logLines() const
    {
        static const QRegularExpression stamp(
            QStringLiteral("^\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d "));
        QStringList lines;
        if (!QFile::exists(log.path()))
            return lines;
        TextLineReader reader(log.path());
        while (!reader.atEnd())
            lines << reader.readLine().remove(stamp);
        return lines;
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
    static QString blank(int columns) { return QStringLiteral("0000").repeated(columns); }

    // Sets slot `category` and the width of its capture area to the text.
    void setSlot(int category, const QString& text)
    {
        p.ColumnText[static_cast<std::size_t>(category)] = text;
        p.settings.CaptureArea[static_cast<std::size_t>(category)].Width =
            static_cast<std::int32_t>(text.size() / 4);
    }

    QTemporaryDir dir;
    SimGameWindows windows;
    SimServices sim{std::chrono::local_days(std::chrono::year(2024) / 5 / 1) +
                        std::chrono::hours(12),
                    3600 * 1000, &windows};
    DebugLog log{dir.path(), sim.clock};
    RecordingView view;
    Program p{sim.services, log, view, dir.path()};
};

} // namespace kesmaro::test_support
