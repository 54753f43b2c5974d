#pragma once

#include "common/TextFile.h"
#include "platform/sim/SimServices.h"
#include "state/Program.h"

#include <QStringList>
#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>

namespace kesmaro::test {

// Counts the notifications the windows would get.
struct CountingView : ProgramView {
    void resultsChanged() override { ++results; }
    void menusChanged() override { ++menus; }
    void popupChanged() override { ++popups; }
    void showWindow(SubWindow window) override { windows.push_back(window); }
    void refreshAll() override { ++refreshes; }
    void busyCursor(bool on) override
    {
        if (on && clock)
            busyAt.push_back(clock->elapsedMs());
    }
    const SimClock* clock = nullptr;
    std::vector<std::int64_t> busyAt; // when each document was handed to the shell
    int results = 0;
    int menus = 0;
    int popups = 0;
    std::vector<SubWindow> windows; // asked for, in order
    int refreshes = 0;
};

// A program on simulated seams in a fresh folder, with its capture timer created as the main
// window does (10 s, disabled) and a tick handler that counts.
class ProgramFixture : public ::testing::Test {
protected:
    explicit ProgramFixture(std::chrono::local_time<std::chrono::milliseconds> start =
                                std::chrono::local_days(std::chrono::year(2009) / 5 / 17) +
                                std::chrono::hours(21) + std::chrono::minutes(30))
        : m_sim(start), m_log(m_dir.path(), m_sim.clock),
          m_program(m_sim.services, m_log, m_view, m_dir.path())
    {
        m_view.clock = &m_sim.clock;
        m_program.timers.timCaptureInterval = m_sim.scheduler.CreateTimer([this] { tick(); });
        m_program.timers.timCaptureInterval->setInterval(10000);
        m_program.timers.captureTick = [this] { tick(); };
    }

    virtual void tick() { ++m_ticks; }

    // Debug log messages without their time stamps.
    QStringList logLines() const
    {
        QStringList lines;
        if (!QFile::exists(m_log.path()))
            return lines;
        TextLineReader reader(m_log.path());
        while (!reader.atEnd())
            lines << reader.readLine().mid(20);
        return lines;
    }

    bool timerOn() const { return m_program.timers.timCaptureInterval->isEnabled(); }

    QTemporaryDir m_dir;
    SimServices m_sim;
    DebugLog m_log;
    CountingView m_view;
    Program m_program;
    int m_ticks = 0;
};

} // namespace kesmaro::test
