#include "common/DebugLog.h"

#include "common/DateTime.h"
#include "common/Files.h"
#include "common/Paths.h"
#include "common/TextFile.h"

#include <filesystem>

namespace kesmaro {

namespace fs = std::filesystem;

std::string NowStampText(const Clock& clock)
{
    return DateTime(clock.Now()).format("yyyy/MM/dd hh:mm:ss");
}

DebugLog::DebugLog(std::string_view programFolder, const Clock& clock)
    : m_path(JoinPath(programFolder, "debug.txt")),
      m_backupPath(JoinPath(programFolder, "debugBackUp.txt")), m_clock(clock)
{}

void DebugLog::WriteDebugLog(std::string_view message, int restart) noexcept
{
    Trap write(TrapPolicy::Silent);
    m_failed = !write([&] {
        const std::string line = NowStampText(m_clock) + ' ' + std::string(message);
        const bool exists = FileExists(m_path);
        if (!exists || restart == 1) {
            if (exists) {
                // Best effort, as before: a backup that cannot be made does not stop the log.
                std::error_code ec;
                const fs::path backup = PathFromUtf8(m_backupPath);
                fs::remove(backup, ec);
                fs::copy_file(PathFromUtf8(m_path), backup, ec);
            }
            RewriteTextLine(m_path, line);
        } else {
            AppendTextLine(m_path, line);
        }
    });
}

} // namespace kesmaro
