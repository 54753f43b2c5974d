#pragma once

#include <string>

namespace kesmaro {

// The flags of the running program; none is saved.
struct RuntimeFlags {
    bool DebugMode = false;
    bool SuspendMode = false;
    bool ProgramClosing = false;
    bool PopupShown = false;
    // A screenshot failed and was reported; the next failure stays quiet until one succeeds.
    bool ScreenshotFailing = false;
};

// The popup message window's content while it is shown.
struct PopupState {
    std::string caption;
    std::string message;
    int fontSize = 9;
    int widthTwips = 6000; // the window's size, reset by each manual run start
    int heightTwips = 1095;
};

} // namespace kesmaro
