#include "records/Popup.h"

#include <string>

namespace kesmaro {

void ShowPopup(PopupState& popup, RuntimeFlags& flags, ProgramView& view, std::string_view message,
               std::string_view caption, int fontSize)
{
    popup.caption = std::string(caption.empty() ? "メッセージ " : caption);
    popup.fontSize = fontSize;
    popup.message = std::string(message);
    flags.PopupShown = true;
    view.changed(ViewPart::Popup);
}

void HidePopup(RuntimeFlags& flags, ProgramView& view)
{
    flags.PopupShown = false;
    view.changed(ViewPart::Popup);
}

} // namespace kesmaro
