#pragma once

#include <cstdint>
#include <deque>
#include <string>

namespace kesmaro {

// A batch of button codes ("LdLu...", ASCII only, so bytes are characters) and when it was read.
struct GestureBatch {
    std::string codes;
    std::int64_t tickMs = 0;
};

// The gesture input window (`FormDirectX`) and what its event handler keeps between events.
struct GestureState {
    // The window is loaded (also when its input could not be started).
    bool loaded = false;
    // The mouse buttons are being listened to.
    bool listening = false;
    // Changes with every load, so that a listener of an earlier load recognises itself as stale.
    std::uint32_t eventId = 0;

    std::string GestureHistory;       // the newest codes, at most 20 characters, oldest first
    std::int64_t GestureLastTime = 0; // TickMs when the last batch was read

    // A recognised gesture's command and rhythm are running; batches that come meanwhile (its
    // waits process events) wait in `queued` and are handled, in order, once it has ended.
    bool handling = false;
    std::deque<GestureBatch> queued;
};

} // namespace kesmaro
