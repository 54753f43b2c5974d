#include "graph/GraphDisplay.h"

#include "state/GraphBuffer.h"
#include "state/Program.h"

namespace kesmaro {

GraphPicture& GraphPictureOf(Program& p)
{
    return p.graph.picture;
}

void AddGraphSample(Program& p, Currency rateE, Currency rateM)
{
    if (!p.graph.GraphData)
        return;
    p.graph.GraphData->AddGraphData(rateE, rateM, p.settings.GraphAveNum, p.settings.GraphTimeScale,
                                    0);
    if (p.graph.sampleAdded)
        p.graph.sampleAdded(p.graph.GraphData->Value(0));
}

void GraphFrameDisplay(Program& p, PixelSize frame)
{
    if (!p.settings.GraphEnabled)
        return;
    GraphPicture& picture = GraphPictureOf(p);
    Trap errors(p.log, "GraphFrameDisplay");
    LayoutGraphFrame(picture.layout, frame, picture.sizes, errors);
    errors.report();
    p.view.changed(ViewPart::Graph);
    GraphDataDisplay(p, p.graph.GraphOffset, p.graph.GraphZoom);
}

void GraphDataDisplay(Program& p, std::int32_t offset, float zoom)
{
    if (!p.settings.GraphEnabled || p.menus.menuRunEnabled == p.menus.menuStopEnabled)
        return;
    // The buffer exists whenever the graph is enabled; without one there is nothing to show.
    if (!p.graph.GraphData)
        return;
    const clsGraphBuffer& buffer = *p.graph.GraphData;
    GraphPicture& picture = GraphPictureOf(p);
    const Settings& s = p.settings;

    Trap labelErrors(p.log, "GraphDataDisplay");
    ComputeGraphLabels(picture.labels, buffer, s.CaptureInterval, s.GraphTimeScale, zoom,
                       labelErrors);
    labelErrors.report();

    // Values below the settings' minimums (read unchecked from the file) would divide by zero
    // or make no sense: the plot stays empty instead.
    if (s.GraphTimeScale < 10 || s.GraphAveNum < 2) {
        picture.curves.clear();
        p.view.changed(ViewPart::Graph);
        return;
    }
    Trap drawErrors(p.log, "GraphDataDisplay 2");
    picture.curves.clear();
    picture.curves = ComputeGraphCurves(buffer, s.GraphTimeScale, offset, picture.labels.topE,
                                        picture.labels.topM, picture.layout.scaleWidth,
                                        picture.layout.scaleHeight, drawErrors);
    drawErrors.report();
    p.view.changed(ViewPart::Graph);
}

} // namespace kesmaro
