#pragma once

#include "state/ProgramView.h"
#include "state/RuntimeFlags.h"

#include <QString>

namespace kesmaro {

// Shows the popup window modeless; an empty caption becomes "メッセージ ".
void ShowPopup(PopupState& popup, RuntimeFlags& flags, ProgramView& view, const QString& message,
               const QString& caption, int fontSize);
void HidePopup(RuntimeFlags& flags, ProgramView& view);

} // namespace kesmaro
