#pragma once

#include <string>
#include <vector>

namespace kesmaro {

// A program's arguments as main receives them, without the program name; read before any
// application object exists, so that options which need no display work without one. The
// bytes are taken as UTF-8, the locale of the Linux desktops we run on; a Windows entry point
// converts its wide command line instead.
inline std::vector<std::string> ArgumentsOf(int argc, char* argv[])
{
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    return arguments;
}

} // namespace kesmaro
