#pragma once

// The desktop windows over a program on simulated seams: default settings, an image-backed
// game window and the main window loaded as start-up loads it.

#include "TestFrames.h"
#include "app/MainWindowLogic.h"
#include "app/forms/DesktopView.h"
#include "app/forms/FormMain.h"
#include "app/forms/FormPopup.h"
#include "common/TextFile.h"
#include "config/Defaults.h"
#include "platform/sim/SimGameWindows.h"
#include "platform/sim/SimServices.h"
#include "records/Popup.h"
#include "state/Program.h"

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class FormsHarness {
public:
    FormsHarness()
    {
        using namespace kesmaro;
        Settings& s = p.settings;
        s.SearchWindowClass = kDefaultWindowClass;
        ApplyDefaults(s, m_dir.path());
        SetDefaultCaptureAreas(s, ScreenMode::FullScreen);
        LoadDefaultGlyphTables(s, InterfaceColour::Yellow);
        s.StartDelay = 0;
        s.AutoStart = false;
        m_view.attach(p);
        m_view.onEnded = [this] { ++m_ended; };
    }

    void load()
    {
        kesmaro::FormMain_Load(p);
        settle();
    }
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    kesmaro::FormMain& main() { return *m_view.main(); }
    template <class T = QWidget> T* widget(const QString& name)
    {
        T* w = main().findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    QAction* action(const QString& name) { return widget<QAction>(name); }

    // Shows a frame in the game window, opening it (in front) on first use.
    void show(const QString& lv, const QString& exp, const QString& coins)
    {
        using namespace kesmaro;
        PixelBuffer frame = TestFrame(p.settings, lv, exp, coins);
        if (m_game == kNoWindow) {
            m_game = m_windows.addWindow(kDefaultWindowClass.toStdString(), std::move(frame));
            m_windows.setForeground(m_game);
        } else {
            m_windows.setImage(m_game, std::move(frame));
        }
    }
    void at(int seconds) { m_sim.scheduler.runUntil(std::int64_t{seconds} * 1000); }

    // Debug log messages without their time stamps.
    QStringList logLines() const
    {
        QStringList lines;
        if (!QFile::exists(m_log.path()))
            return lines;
        kesmaro::TextLineReader reader(m_log.path());
        while (!reader.atEnd())
            lines << reader.readLine().mid(20);
        return lines;
    }

    QTemporaryDir m_dir;
    kesmaro::SimGameWindows m_windows;
    kesmaro::SimServices m_sim{std::chrono::local_days(std::chrono::year(2024) / 5 / 1) +
                                   std::chrono::hours(10),
                               3600 * 1000, &m_windows};
    kesmaro::DebugLog m_log{m_dir.path(), m_sim.clock};
    kesmaro::DesktopView m_view;
    kesmaro::WindowId m_game = kesmaro::kNoWindow;
    int m_ended = 0;

    kesmaro::Program p{m_sim.services, m_log, m_view, m_dir.path()};
};

class FormsTest : public ::testing::Test, public FormsHarness {};
