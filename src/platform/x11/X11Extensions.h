#pragma once

#include <string>

namespace kesmaro {

// What the X server offers of the extensions the backend uses.
struct X11Extensions {
    bool connected = false;
    bool xinput2 = false; // XInput 2 with generic events: the mouse buttons
    bool mitShm = false;  // shared-memory images: the fast grabs
};

// Asks the server over a connection of its own (`display` empty: $DISPLAY); everything false
// when no server can be reached. Never prints and never fails.
X11Extensions QueryX11Extensions(const std::string& display = {});

} // namespace kesmaro
