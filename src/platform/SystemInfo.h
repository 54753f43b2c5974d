#pragma once

#include <string>
#include <vector>

namespace kesmaro {

// Facts about the computer for the environment report. Every value is text as the system
// gives it (numbers in decimal, date-times as "yyyymmddHHMMSS"); a fact the system does not
// tell is an empty string, never a failure.
struct SystemFacts {
    struct Processor {
        std::string name, revision, description;
    };
    struct Cache {
        std::string maxCacheSizeKb, purpose, deviceId;
    };
    struct VideoController {
        std::string name, adapterRam, driverVersion, modeDescription;
    };
    std::string osCaption, osVersion, servicePackMajor, servicePackMinor;
    std::string localDateTime, lastBootUpTime, buildType, numberOfUsers;
    std::string freePhysicalMemoryKb, totalVisibleMemoryKb, freeVirtualMemoryKb,
        totalVirtualMemoryKb;
    std::vector<Processor> processors;
    std::vector<Cache> caches;
    std::vector<VideoController> videoControllers; // the one showing the desktop first
    std::string manufacturer, model;
    std::string memoryLoadPercent, availablePhysicalBytes;
};

class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    virtual SystemFacts Facts() = 0;
};

} // namespace kesmaro
