#pragma once

namespace kesmaro {

// What the logic tells the windows: coarse "this changed" events. A view reads the program
// state back and repaints; every method does nothing by default.
class ProgramView {
public:
    virtual ~ProgramView() = default;
    virtual void resultsChanged() {}
    virtual void logChanged() {}
    virtual void graphChanged() {}
    virtual void captureSlotChanged(int /*slot*/) {}
    virtual void pictureChanged(int /*slot*/) {}
    virtual void menusChanged() {}
    virtual void popupChanged() {}
    // Bring the main window to the front (after a screenshot of the game).
    virtual void activateMainWindow() {}
    // The busy (hourglass) pointer over the whole screen, on or off.
    virtual void busyCursor(bool /*on*/) {}
};

// The view of a program without windows.
class NullView : public ProgramView {};

} // namespace kesmaro
