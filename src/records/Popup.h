#pragma once

#include "state/ProgramView.h"
#include "state/RuntimeFlags.h"

#include <string_view>

namespace kesmaro {

// Shows the popup window modeless; an empty caption becomes "メッセージ ".
void ShowPopup(PopupState& popup, RuntimeFlags& flags, ProgramView& view, std::string_view message,
               std::string_view caption, int fontSize);
void HidePopup(RuntimeFlags& flags, ProgramView& view);

} // namespace kesmaro
