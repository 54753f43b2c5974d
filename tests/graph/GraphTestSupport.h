#pragma once

#include "Amounts.h"
#include "ProgramFixture.h"
#include "graph/GraphDisplay.h"
#include "state/GraphBuffer.h"

namespace kesmaro {

// A program in a run, with the graph at its default settings and an empty history.
class GraphProgramTest : public test::ProgramFixture {
protected:
    GraphProgramTest()
    {
        p.settings.GraphEnabled = true;
        p.settings.GraphTimeScale = 20;
        p.settings.GraphAveNum = 10;
        p.settings.CaptureInterval = 6;
        p.menus.menuRunEnabled = false;
        p.menus.menuStopEnabled = true;
        p.graph.GraphData.emplace(sim.clock);
    }

    clsGraphBuffer& buffer() { return *p.graph.GraphData; }
    GraphPicture& picture() { return GraphPictureOf(p); }
};

} // namespace kesmaro
