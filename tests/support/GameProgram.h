#pragma once

// A program on simulated seams with the default settings (full screen, yellow glyphs) and an
// image-backed game window, for tests of the measuring loop and the level-up/death check.

#include "TestFrames.h"
#include "config/Defaults.h"
#include "platform/sim/SimGameWindows.h"
#include "platform/sim/SimServices.h"
#include "state/Program.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

class GameProgramTest : public ::testing::Test {
protected:
    GameProgramTest()
    {
        using namespace kesmaro;
        Settings& s = p.settings;
        s.SearchWindowClass = kDefaultWindowClass;
        ApplyDefaults(s, m_dir.path());
        SetDefaultCaptureAreas(s, ScreenMode::FullScreen);
        LoadDefaultGlyphTables(s, InterfaceColour::Yellow);
    }

    // Shows a frame in the game window, opening it (in front) on first use.
    void show(const QString& lv, const QString& exp, const QString& coins, int area = 4)
    {
        using namespace kesmaro;
        PixelBuffer frame = TestFrame(p.settings, lv, exp, coins, area);
        if (m_game == kNoWindow) {
            m_game = m_windows.addWindow(kDefaultWindowClass.toStdString(), std::move(frame));
            m_windows.setForeground(m_game);
        } else {
            m_windows.setImage(m_game, std::move(frame));
        }
    }

    QTemporaryDir m_dir;
    kesmaro::SimGameWindows m_windows;
    kesmaro::SimServices m_sim{std::chrono::local_days(std::chrono::year(2024) / 5 / 1) +
                                   std::chrono::hours(10),
                               3600 * 1000, &m_windows};
    kesmaro::DebugLog m_log{m_dir.path(), m_sim.clock};
    kesmaro::NullView m_view;
    kesmaro::WindowId m_game = kesmaro::kNoWindow;

public:
    kesmaro::Program p{m_sim.services, m_log, m_view, m_dir.path()};
};
