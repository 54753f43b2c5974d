#pragma once

#include <string>

namespace kesmaro {

// The desktop shell. Each call only hands the request over and returns at once; false means
// the request could not even be made (no handler, no such program), not that it failed later.
class Shell {
public:
    virtual ~Shell() = default;

    // Opens a file with the program the desktop associates with it.
    virtual bool OpenDocument(const std::string& path) = 0;
    // Opens a web address in the default browser.
    virtual bool OpenUrl(const std::string& url) = 0;
    // Starts a companion application, detached from this program.
    virtual bool Launch(const std::string& program) = 0;
};

} // namespace kesmaro
