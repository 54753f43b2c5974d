#pragma once

#include "tools/replay/Replay.h"

#include <memory>
#include <string>
#include <vector>

namespace kesmaro {

// What the replay tool takes from its platform beyond the core: whatever must run for the
// program's lifetime (the Qt application on Linux), and the graph painter where one exists.
class ReplayPlatform {
public:
    ReplayPlatform(int& argc, char** argv);
    ~ReplayPlatform();
    ReplayPlatform(const ReplayPlatform&) = delete;
    ReplayPlatform& operator=(const ReplayPlatform&) = delete;

    // The arguments without the program name, as UTF-8.
    std::vector<std::string> arguments() const;

    // Empty where the platform has no graph painter yet: the replay then leaves graph.png out.
    GraphPngWriter graphWriter() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace kesmaro
