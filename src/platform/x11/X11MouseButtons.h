#pragma once

#include "platform/Clock.h"
#include "platform/MouseButtons.h"

#include <memory>
#include <string>

class QSocketNotifier;

namespace kesmaro {

namespace x11 {
class XcbConnection;
}

// Left and right buttons from XInput 2 raw events on the root window. Raw events reach every
// client that asks, whichever window has the focus or holds a grab. They are read on the
// calling thread's Qt event loop whenever the connection's socket has data.
class X11MouseButtons : public MouseButtons {
public:
    explicit X11MouseButtons(const Clock& clock, std::string display = {});
    ~X11MouseButtons() override;

    MouseStart Start(Handler handler) override;
    void Stop() override;

private:
    MouseStart connect();
    bool select(bool on);
    void readEvents();

    const Clock& m_clock;
    std::string m_display;
    std::unique_ptr<x11::XcbConnection> m_conn;
    std::unique_ptr<QSocketNotifier> m_notifier;
    Handler m_handler;
    std::uint8_t m_xiOpcode = 0;
    int m_readyGeneration = -1; // connection generation whose XI2 version was agreed
    bool m_started = false;
};

} // namespace kesmaro
