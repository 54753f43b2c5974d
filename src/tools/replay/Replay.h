#pragma once

#include "state/GraphPicture.h"
#include "tools/replay/Scenario.h"

#include <functional>
#include <string>

namespace kesmaro {

// Saves the graph's picture as a PNG file; false when it could not. Each platform's replay tool
// passes its graph painter, or none where there is none yet.
using GraphPngWriter = std::function<bool(const GraphPicture&, const std::string& path)>;

// Runs the program's start-up, main window and measuring code over a scenario on the simulated
// clock. `outFolder` is the program folder: the settings file, the debug log, log/, ss/ and
// pattern images land there, and at the end txtLog.txt, results.txt, prompts.txt, graph.csv
// and (with the graph on and a writer given) graph.png. Returns false with `error` set when the
// folder cannot be prepared or an output cannot be written.
bool RunReplay(const Scenario& scenario, const std::string& outFolder, std::string& error,
               const GraphPngWriter& writeGraph = {});

} // namespace kesmaro
