#include "platform/pulse/PulseBeeper.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <pulse/error.h>
#include <pulse/simple.h>

namespace kesmaro {

namespace {

// No tone is longer than this: a bad value must not hold the sound device for hours.
constexpr int kMaxToneMs = 5000;
// The stream stays open this long after the last tone so that a rhythm does not reconnect.
constexpr auto kIdleClose = std::chrono::seconds(2);

} // namespace

PulseBeeper::PulseBeeper(std::function<void()> bell, std::string server)
    : m_bell(std::move(bell)), m_server(std::move(server)), m_worker([this] { run(); })
{}

PulseBeeper::~PulseBeeper()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
        m_queue.clear();
    }
    m_wake.notify_all();
    m_worker.join();
}

void PulseBeeper::SystemBeep()
{
    if (m_bell)
        m_bell();
    else
        Tone(800, 120);
}

void PulseBeeper::Tone(int frequencyHz, int durationMs)
{
    if (frequencyHz <= 0 || durationMs <= 0)
        return;
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(
            {frequencyHz, std::min(durationMs, kMaxToneMs), std::chrono::steady_clock::now()});
    }
    m_wake.notify_all();
}

void PulseBeeper::Drain()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_queue.empty() && !m_busy; });
}

std::vector<std::int16_t> PulseBeeper::Samples(int frequencyHz, int durationMs)
{
    const int count = static_cast<int>(static_cast<long long>(kSampleRate) *
                                       std::clamp(durationMs, 0, kMaxToneMs) / 1000);
    std::vector<std::int16_t> samples(static_cast<std::size_t>(count));
    // Above the Nyquist limit a sine cannot be represented: silence instead of aliasing.
    if (frequencyHz <= 0 || frequencyHz >= kSampleRate / 2)
        return samples;
    const int fade = std::min(count / 2, kSampleRate / 200); // 5 ms
    const double step = 2.0 * std::numbers::pi * frequencyHz / kSampleRate;
    for (int i = 0; i < count; ++i) {
        double gain = 0.5;
        if (i < fade)
            gain *= static_cast<double>(i) / fade;
        else if (i >= count - fade)
            gain *= static_cast<double>(count - 1 - i) / fade;
        samples[static_cast<std::size_t>(i)] =
            static_cast<std::int16_t>(std::lround(32767.0 * gain * std::sin(step * i)));
    }
    return samples;
}

void PulseBeeper::run()
{
    pa_simple* stream = nullptr;
    SteadyTime lastEnd{};       // when the previous tone ended (in our timeline)
    SteadyTime lastRequested{}; // when the previous tone was asked for
    bool havePrevious = false;
    std::unique_lock lock(m_mutex);
    while (true) {
        if (m_queue.empty()) {
            m_busy = false;
            m_idle.notify_all();
            if (stream) {
                if (!m_wake.wait_for(lock, kIdleClose,
                                     [this] { return m_quit || !m_queue.empty(); })) {
                    lock.unlock();
                    pa_simple_free(stream);
                    lock.lock();
                    stream = nullptr;
                }
            } else {
                m_wake.wait(lock, [this] { return m_quit || !m_queue.empty(); });
            }
            if (m_quit)
                break;
            continue;
        }
        const Request request = m_queue.front();
        m_queue.pop_front();
        m_busy = true;
        lock.unlock();

        // Each tone starts as late as it would have if every earlier call had lasted as long
        // as its tone: the pause between two calls stays a pause.
        SteadyTime start = request.requested;
        if (havePrevious)
            start = std::max(start, lastEnd + (request.requested - lastRequested));
        lastRequested = request.requested;
        lastEnd = start + std::chrono::milliseconds(request.durationMs);
        havePrevious = true;

        if (!stream) {
            const pa_sample_spec format{PA_SAMPLE_S16LE, kSampleRate, 1};
            // A small target buffer so that a tone sounds when it is due.
            pa_buffer_attr attr{};
            attr.maxlength = static_cast<std::uint32_t>(-1);
            attr.tlength = static_cast<std::uint32_t>(kSampleRate * 2 / 50); // 20 ms
            attr.prebuf = static_cast<std::uint32_t>(-1);
            attr.minreq = static_cast<std::uint32_t>(-1);
            attr.fragsize = static_cast<std::uint32_t>(-1);
            int error = 0;
            stream =
                pa_simple_new(m_server.empty() ? nullptr : m_server.c_str(), "Kesmaro",
                              PA_STREAM_PLAYBACK, nullptr, "beep", &format, nullptr, &attr, &error);
        }
        if (stream) {
            lock.lock();
            const bool quit = m_wake.wait_until(lock, start, [this] { return m_quit; });
            lock.unlock();
            if (quit)
                break;
            const auto samples = Samples(request.frequencyHz, request.durationMs);
            int error = 0;
            if (pa_simple_write(stream, samples.data(), samples.size() * sizeof(std::int16_t),
                                &error) < 0 ||
                pa_simple_drain(stream, &error) < 0) {
                // The server went away: reconnect for the next tone.
                pa_simple_free(stream);
                stream = nullptr;
            }
            // The next pause counts from when this tone really ended (connecting and the
            // server's latency make it later than planned).
            lastEnd = std::max(lastEnd, std::chrono::steady_clock::now());
        }
        lock.lock();
    }
    if (lock.owns_lock())
        lock.unlock();
    if (stream)
        pa_simple_free(stream);
}

} // namespace kesmaro
