#include "platform/pulse/PulseProbe.h"

#include <chrono>
#include <pulse/context.h>
#include <pulse/mainloop.h>

namespace kesmaro {

bool SoundServerReachable(const std::string& server, int timeoutMs)
{
    pa_mainloop* loop = pa_mainloop_new();
    if (!loop)
        return false;
    pa_context* context = pa_context_new(pa_mainloop_get_api(loop), "Kesmaro");
    bool ready = false;
    // Autospawn would start a server for the question and so answer it wrongly.
    if (context && pa_context_connect(context, server.empty() ? nullptr : server.c_str(),
                                      PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0) {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (true) {
            const pa_context_state_t state = pa_context_get_state(context);
            if (state == PA_CONTEXT_READY) {
                ready = true;
                break;
            }
            if (!PA_CONTEXT_IS_GOOD(state))
                break;
            const auto left = std::chrono::duration_cast<std::chrono::microseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                break;
            // One bounded wait at a time, so that a server that never answers cannot hold
            // the start.
            if (pa_mainloop_prepare(loop, static_cast<int>(left.count())) < 0 ||
                pa_mainloop_poll(loop) < 0 || pa_mainloop_dispatch(loop) < 0)
                break;
        }
        pa_context_disconnect(context);
    }
    if (context)
        pa_context_unref(context);
    pa_mainloop_free(loop);
    return ready;
}

} // namespace kesmaro
