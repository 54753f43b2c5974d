#pragma once

#include "Amounts.h"
#include "common/Currency.h"
#include "common/TextFile.h"
#include "graph/GraphDisplay.h"
#include "platform/sim/SimServices.h"
#include "state/GraphBuffer.h"
#include "state/Program.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kesmaro {

struct GraphCountingView : ProgramView {
    void graphChanged() override { ++graphChanges; }
    int graphChanges = 0;
};

// A program in a run, with the graph at its default settings and an empty history.
class GraphProgramTest : public ::testing::Test {
protected:
    GraphProgramTest()
    {
        m_p.settings.GraphEnabled = true;
        m_p.settings.GraphTimeScale = 20;
        m_p.settings.GraphAveNum = 10;
        m_p.settings.CaptureInterval = 6;
        m_p.menus.menuRunEnabled = false;
        m_p.menus.menuStopEnabled = true;
        m_p.graph.GraphData.emplace(m_sim.clock);
    }

    clsGraphBuffer& buffer() { return *m_p.graph.GraphData; }
    GraphPicture& picture() { return GraphPictureOf(m_p); }

    // Debug log messages without their time stamps.
    QStringList logLines() const
    {
        QStringList lines;
        if (QFile::exists(m_log.path()))
            for (TextLineReader reader(m_log.path()); !reader.atEnd();)
                lines << reader.readLine().mid(20);
        return lines;
    }

    QTemporaryDir m_dir;
    SimServices m_sim{std::chrono::local_days(std::chrono::year(2024) / 5 / 1) +
                      std::chrono::hours(12)};
    DebugLog m_log{m_dir.path(), m_sim.clock};
    GraphCountingView m_view;
    Program m_p{m_sim.services, m_log, m_view, m_dir.path()};
};

} // namespace kesmaro
