#pragma once

#include "platform/SystemInfo.h"

#include <string>

namespace kesmaro {

// The environment report's facts from /etc/os-release, /proc and /sys, plus the screen mode
// from the X server. Nothing here fails: an unreadable file leaves its facts empty.
class LinuxSystemInfo : public SystemInfo {
public:
    struct Options {
        std::string rootDir = {}; // prefix of every file read; empty: the real system
        std::string display = {}; // X display for the screen mode; empty: $DISPLAY
        bool queryX11 = true;     // false: leave the screen mode empty
    };
    LinuxSystemInfo();
    explicit LinuxSystemInfo(Options options);

    SystemFacts Facts() override;

private:
    Options m_options;
};

} // namespace kesmaro
