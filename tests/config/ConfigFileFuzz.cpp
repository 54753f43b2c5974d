#include "SettingsFileProbe.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// libFuzzer entry: any bytes as a settings file; a broken rule aborts with its description.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string broken =
        kesmaro::ProbeSettingsFile(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!broken.empty()) {
        std::fprintf(stderr, "%s\n", broken.c_str());
        std::abort();
    }
    return 0;
}
