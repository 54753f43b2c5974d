#include "records/Popup.h"

namespace kesmaro {

void ShowPopup(PopupState& popup, RuntimeFlags& flags, ProgramView& view, const QString& message,
               const QString& caption, int fontSize)
{
    popup.caption = caption.isEmpty() ? QStringLiteral("メッセージ ") : caption;
    popup.fontSize = fontSize;
    popup.message = message;
    flags.PopupShown = true;
    view.popupChanged();
}

void HidePopup(RuntimeFlags& flags, ProgramView& view)
{
    flags.PopupShown = false;
    view.popupChanged();
}

} // namespace kesmaro
