#pragma once

#include "platform/Beeper.h"
#include "platform/Clock.h"
#include "platform/MouseButtons.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"

#include <string>
#include <vector>

namespace kesmaro {

// Records what would have been opened or launched; `accept` decides what the calls return.
class SimShell : public Shell {
public:
    enum class Kind { Document, Url, Launch };
    struct Request {
        Kind kind;
        std::string target;
        friend bool operator==(const Request&, const Request&) = default;
    };

    bool OpenDocument(const std::string& path) override { return record(Kind::Document, path); }
    bool OpenUrl(const std::string& url) override { return record(Kind::Url, url); }
    bool Launch(const std::string& program) override { return record(Kind::Launch, program); }

    std::vector<Request> requests;
    bool accept = true;

private:
    bool record(Kind kind, const std::string& target)
    {
        requests.push_back(Request{kind, target});
        return accept;
    }
};

// Records sounds: a system beep is frequency 0, duration 0. Given a clock, also when each
// sound started.
class SimBeeper : public Beeper {
public:
    struct Sound {
        int frequencyHz;
        int durationMs;
        friend bool operator==(const Sound&, const Sound&) = default;
    };

    void SystemBeep() override { record(Sound{0, 0}); }
    void Tone(int frequencyHz, int durationMs) override { record(Sound{frequencyHz, durationMs}); }

    std::vector<Sound> sounds;
    std::vector<std::int64_t> soundAt; // TickMs of each sound, with a clock
    const Clock* clock = nullptr;

private:
    void record(Sound sound)
    {
        sounds.push_back(sound);
        if (clock)
            soundAt.push_back(clock->TickMs());
    }
};

// Mouse buttons a test scripts: `startResult` decides how a start goes, `send` delivers one
// batch (stamped with the clock's time) to the listener while it is started.
class SimMouseButtons : public MouseButtons {
public:
    explicit SimMouseButtons(const Clock& clock) : m_clock(clock) {}

    MouseStart Start(Handler handler) override
    {
        ++starts;
        m_handler = startResult == MouseStart::Started ? std::move(handler) : nullptr;
        return startResult;
    }
    void Stop() override
    {
        if (m_handler)
            ++stops;
        m_handler = nullptr;
    }
    bool listening() const { return static_cast<bool>(m_handler); }

    // False when nobody listens (the events are lost, as on a real desktop).
    bool send(std::vector<MouseButtonEvent> batch)
    {
        if (!m_handler)
            return false;
        for (MouseButtonEvent& e : batch)
            e.tickMs = m_clock.TickMs();
        // A copy: the handler may stop or restart us.
        const Handler handler = m_handler;
        handler(batch);
        return true;
    }

    MouseStart startResult = MouseStart::Started;
    int starts = 0;
    int stops = 0;

private:
    const Clock& m_clock;
    Handler m_handler;
};

class FixedSystemInfo : public SystemInfo {
public:
    SystemFacts Facts() override { return facts; }
    SystemFacts facts;
};

} // namespace kesmaro
