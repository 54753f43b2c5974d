#pragma once

#include "platform/Shell.h"

namespace kesmaro {

// The desktop's file and URL handlers (QDesktopServices) and detached processes. An
// executable file is started rather than opened, as the Windows shell's "open" does with
// programs; this is how companion applications given as documents start.
class QtShell : public Shell {
public:
    bool OpenDocument(const std::string& path) override;
    bool OpenUrl(const std::string& url) override;
    bool Launch(const std::string& program) override;
};

} // namespace kesmaro
