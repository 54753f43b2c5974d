#pragma once

#include <functional>

namespace kesmaro {

struct Program;

// The main window's own events and the commands of its menus, as logic over the program state;
// the window (or the replay tool) calls them and shows the state.

// The designed inner height of the main window, for the debug-item layout without a window.
constexpr int kDesignedInnerHeight = 385;

// Loading the main window: clears the results, creates the two timers (the capture tick and the
// level-up/death check), the graph buffer when the graph is on, sets the menus idle and starts
// a run when AutoStart is on.
void FormMain_Load(Program& p);

// Closing: never cancelled. Stops both timers, writes the closing report of a run in progress
// and releases the graph buffer. Returns when the program may end.
void FormMain_QueryUnload(Program& p);
// The last words of the program: the log line and a short wait for pending sounds and files.
void FormMain_Unload(Program& p);

// The End command: the close sequence above, then the view is told the program has ended.
void menuEnd_Click(Program& p);

// Debug mode on or off from the Config menu; `innerHeight` places the debug items.
void menuDebugMode_Click(Program& p, int innerHeight = kDesignedInnerHeight);

// Mouse gestures on or off from the Config menu.
void menuGesture_Click(Program& p);

// Start-up after the checks that guard only the desktop program: identity, a fresh debug log,
// the settings file (asking the first-start questions when there is none), the screen sizes
// and the main window. `checkSystemFiles` runs between the log and the settings when given.
void Main(Program& p, const std::function<void(Program&)>& checkSystemFiles = {});

} // namespace kesmaro
