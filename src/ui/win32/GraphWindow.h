#pragma once

// windows.h ahead of the core's headers, so that its macros (FindWindow, ...) rename a base
// class's functions and their overrides alike.
// clang-format off
#include <windows.h>
// clang-format on

namespace kesmaro {

struct Program;

// frmGraph: a child window showing what the graph operations last laid out and drew. A click
// goes to the click handler of the graph widget under the pointer; hovering shows that widget's
// tool tip. The parent places and sizes it and lays the graph out for its size.
HWND CreateGraphWindow(HWND parent, Program& program, int controlId);

// Repaints from the program's graph picture (after a layout or a redraw of the data).
void RefreshGraph(HWND graph);

// The tool tip control of a graph window (for tests); null for any other window.
HWND GraphToolTipWindow(HWND graph);

} // namespace kesmaro
