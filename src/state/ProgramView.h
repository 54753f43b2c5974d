#pragma once

#include <optional>

namespace kesmaro {

// The program's other windows, which the commands open.
enum class SubWindow { Options, Version };

// The parts of the program state that the windows show.
enum class ViewPart {
    Results,     // the result labels
    Log,         // txtLog
    Graph,       // the graph picture
    CaptureSlot, // lblCapture(slot)
    Picture,     // picCapture(slot)
    Menus,       // menus, buttons, the suspend colour, the debug items
    Popup,       // the popup's content and visibility
};

// The main window's outer rectangle in pixels.
struct WindowFrame {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A move or resize of the main window: what is not given stays as it is.
struct FrameChange {
    std::optional<int> left;
    std::optional<int> top;
    std::optional<int> width;
    std::optional<int> height;
};

// What the logic tells the windows: coarse "this changed" events. A view reads the program
// state back and repaints; every method does nothing by default.
class ProgramView {
public:
    virtual ~ProgramView() = default;
    // `slot` names the capture slot for CaptureSlot and Picture, -1 otherwise.
    virtual void changed(ViewPart /*part*/, int /*slot*/ = -1) {}
    // The main window's own part of loading: caption, debug pictures hidden outside debug mode,
    // its position from WindowPosition, shown.
    virtual void showMainWindow() {}
    // Bring the main window to the front (after a screenshot of the game).
    virtual void activateMainWindow() {}
    // The busy (hourglass) pointer over the whole screen, on or off.
    virtual void busyCursor(bool /*on*/) {}
    // A command asks for one of the other windows; a view without it ignores the request.
    virtual void showWindow(SubWindow /*window*/) {}
    // The main window's frame, for the options window that remembers and restores it.
    virtual WindowFrame mainWindowFrame() const { return {}; }
    virtual void setMainWindowFrame(const FrameChange& /*change*/) {}
    // Repaint everything (a click on the window background).
    virtual void refreshAll() {}
    // The close sequence is about to release the graph: the last moment to read it.
    virtual void closing() {}
    // The close sequence unloads the other windows (options, popup), before its last lines.
    virtual void unloadWindows() {}
    // The close sequence has run to its end; the view goes away.
    virtual void programEnded() {}
};

// The view of a program without windows.
class NullView : public ProgramView {};

} // namespace kesmaro
