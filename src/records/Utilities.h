#pragma once

#include "common/DebugLog.h"
#include "common/Random.h"
#include "platform/Services.h"
#include "records/ProgramView.h"

#include <QString>

namespace kesmaro {

// The flags of the running program; none is saved.
struct RuntimeFlags {
    bool DebugMode = false;
    bool SuspendMode = false;
    bool ProgramClosing = false;
    bool PopupShown = false;
    // A screenshot failed and was reported; the next failure stays quiet until one succeeds.
    bool ScreenshotFailing = false;
};

// The popup message window's content while it is shown.
struct PopupState {
    QString caption;
    QString message;
    int fontSize = 9;
    int widthTwips = 6000; // the window's size, reset by each manual run start
    int heightTwips = 1095;
};

// What every operation reaches the world through.
struct Context {
    Services& services;
    DebugLog& log;
    ProgramView& view;
    RandomGenerator& random;
};

// Waits `seconds` (a setting taken as it comes): a count whose milliseconds do not fit waits as
// long as a wait can.
void WaitSeconds(Scheduler& scheduler, std::int32_t seconds);

// Opens an existing file with its associated program: busy pointer, log lines around the
// request and a wait of `waitMs`; a missing file is reported in a message box and the log.
void OpenDocument(Context& ctx, const QString& path, int waitMs);
// The same for a web address; only an empty address counts as missing.
void OpenUrl(Context& ctx, const QString& address, int waitMs);

// The sound `beepMode` selects: 0 none, 1 the system beep, 2-5 tones; anything else none.
void PlayBeep(Beeper& beeper, int beepMode);

// Reseeds the program's random numbers from the clock.
void RandomizeSeed(Context& ctx);

// Shows the popup window modeless; an empty caption becomes "メッセージ ".
void ShowPopup(PopupState& popup, RuntimeFlags& flags, ProgramView& view, const QString& message,
               const QString& caption, int fontSize);
void HidePopup(RuntimeFlags& flags, ProgramView& view);

} // namespace kesmaro
