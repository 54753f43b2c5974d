#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace kesmaro {

enum class MouseButton { Left, Right };

struct MouseButtonEvent {
    MouseButton button = MouseButton::Left;
    bool pressed = false;    // true: down, false: up
    std::int64_t tickMs = 0; // Clock::TickMs() when the event happened
    friend bool operator==(const MouseButtonEvent&, const MouseButtonEvent&) = default;
};

// How a start went. The two failures are told apart because the user is told different things:
// no connection to the input system at all, or a connection without a usable pointer device.
enum class MouseStart { Started, NoInputSystem, NoPointerDevice };

// Left and right mouse buttons anywhere on the desktop, whichever window has the focus. Events
// arrive in order, in batches, on the program's one thread; other buttons and motion never do.
class MouseButtons {
public:
    using Handler = std::function<void(const std::vector<MouseButtonEvent>&)>;
    virtual ~MouseButtons() = default;

    // Starts delivering events to `handler`; on a failure nothing is delivered (the caller says
    // so). Starting again replaces the handler.
    virtual MouseStart Start(Handler handler) = 0;
    // Stops delivering; harmless when not started.
    virtual void Stop() = 0;
};

} // namespace kesmaro
