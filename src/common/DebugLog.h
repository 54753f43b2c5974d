#pragma once

// Operations trap their failures and report them here: the log comes with its Trap.
#include "common/Trap.h"
#include "platform/Clock.h"

#include <string>
#include <string_view>

namespace kesmaro {

// "yyyy/MM/dd hh:mm:ss" of the clock's local time, whatever the regional settings.
std::string NowStampText(const Clock& clock);

// The debug log "debug.txt" in the program folder: one line per message, opened, appended and
// closed for every line so that it survives an abrupt end. The first line after a program
// start (restart = 1) moves the previous log to "debugBackUp.txt" and starts a new one.
class DebugLog {
public:
    DebugLog(std::string_view programFolder, const Clock& clock);

    // Never fails and never throws: a log that cannot be written must not stop the operation
    // that logs. A failure is remembered (lastWriteFailed) and the next line tries again.
    void WriteDebugLog(std::string_view message, int restart = 0) noexcept;

    const std::string& path() const { return m_path; }
    const std::string& backupPath() const { return m_backupPath; }
    bool lastWriteFailed() const { return m_failed; }

private:
    std::string m_path;
    std::string m_backupPath;
    const Clock& m_clock;
    bool m_failed = false;
};

} // namespace kesmaro
