#pragma once

#include "platform/Clock.h"
#include "platform/MouseButtons.h"

#include <functional>
#include <memory>

// The interface of dinput.h, declared here so that users of this header need no Windows headers.
struct IDirectInput8W;

namespace kesmaro {

// Left and right buttons of the system mouse through DirectInput 8: buffered, non-exclusive and
// in the background, so that a game keeps its mouse and we still see every press and release.
// The device signals an event; a thread-pool wait on it posts a message to a hidden window of
// the thread that first started us, and that thread reads the buffer when its message loop
// (GetMessage, or the scheduler's WaitMs) dispatches the message. Batches therefore always come
// on that one thread.
class Win32MouseButtons : public MouseButtons {
public:
    // Makes the DirectInput object (an HRESULT and the object, which the seam then owns).
    using DirectInputFactory = std::function<long(IDirectInput8W** made)>;

    // With no factory, DirectInput8Create.
    explicit Win32MouseButtons(const Clock& clock, DirectInputFactory factory = {});
    ~Win32MouseButtons() override;
    Win32MouseButtons(const Win32MouseButtons&) = delete;
    Win32MouseButtons& operator=(const Win32MouseButtons&) = delete;

    MouseStart Start(Handler handler) override;
    void Stop() override;

    struct State;

private:
    std::unique_ptr<State> m_state;
};

} // namespace kesmaro
