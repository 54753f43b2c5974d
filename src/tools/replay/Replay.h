#pragma once

#include "tools/replay/Scenario.h"

#include <QString>

namespace kesmaro {

// Runs the program's start-up, main window and measuring code over a scenario on the simulated
// clock. `outFolder` is the program folder: the settings file, the debug log, log/, ss/ and
// pattern images land there, and at the end txtLog.txt, results.txt, prompts.txt, graph.csv
// and (with the graph on) graph.png. Returns false with `error` set when the folder cannot be
// prepared.
bool RunReplay(const Scenario& scenario, const QString& outFolder, QString& error);

} // namespace kesmaro
