#pragma once

#include "platform/Beeper.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace kesmaro {

// Tones as sine waves through the sound server. Calls return at once; a worker plays the
// tones in order, keeping the pauses between the calls, so a rhythm of tones sounds as it
// would if each call lasted as long as its tone. Without a sound server tones are dropped.
class PulseBeeper : public Beeper {
public:
    // `bell` rings the desktop's bell for SystemBeep; without one a short tone stands in.
    explicit PulseBeeper(std::function<void()> bell = {}, std::string server = {});
    ~PulseBeeper() override;

    void SystemBeep() override;
    void Tone(int frequencyHz, int durationMs) override;

    // Blocks until every requested tone has been played or dropped; for tests and shutdown.
    void Drain();

    static constexpr int kSampleRate = 44100;
    // The samples of one tone, 16-bit mono, with short fades against clicks.
    static std::vector<std::int16_t> Samples(int frequencyHz, int durationMs);

private:
    using SteadyTime = std::chrono::steady_clock::time_point;
    struct Request {
        int frequencyHz;
        int durationMs;
        SteadyTime requested;
    };
    void run();

    std::function<void()> m_bell;
    std::string m_server;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Request> m_queue;
    bool m_busy = false;
    bool m_quit = false;
    std::thread m_worker;
};

} // namespace kesmaro
