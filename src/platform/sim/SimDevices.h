#pragma once

#include "platform/Beeper.h"
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

// Records sounds: a system beep is frequency 0, duration 0.
class SimBeeper : public Beeper {
public:
    struct Sound {
        int frequencyHz;
        int durationMs;
        friend bool operator==(const Sound&, const Sound&) = default;
    };

    void SystemBeep() override { sounds.push_back(Sound{0, 0}); }
    void Tone(int frequencyHz, int durationMs) override
    {
        sounds.push_back(Sound{frequencyHz, durationMs});
    }

    std::vector<Sound> sounds;
};

class FixedSystemInfo : public SystemInfo {
public:
    SystemFacts Facts() override { return facts; }
    SystemFacts facts;
};

} // namespace kesmaro
