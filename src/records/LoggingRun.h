#pragma once

#include <string_view>

namespace kesmaro {

struct Program;

enum class LoggingMode { Start, Stop };

// The column titles above the result lines in the text log.
inline constexpr std::string_view kLogColumnHeader =
    " 月日 時刻    Lv    獲得Exp        獲得ｺｲﾝ   経過    Exp時給     ｺｲﾝ時給 ";

// Starts (4096) or stops (8192) a logging run; any other mode does nothing. The start launches
// the companion applications and waits inside (ticks and clicks run meanwhile); a close of the
// program during one of its waits abandons it before the capture timer is enabled.
void LoggingControl(Program& p, LoggingMode mode);

// The run and stop commands of the menu bar.
void menuRun_Click(Program& p);
void menuStop_Click(Program& p);

// The end of loading the main window: the menus' idle state, then the automatic start when
// AutoStart is on.
void AutoStartLogging(Program& p);

} // namespace kesmaro
