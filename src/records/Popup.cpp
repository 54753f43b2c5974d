#include "records/Popup.h"

namespace kesmaro {

void ShowPopup(PopupState& popup, RuntimeFlags& flags, ProgramView& view, const QString& message,
               const QString& caption, int fontSize)
{
    popup.caption = caption.isEmpty() ? QStringLiteral("メッセージ ") : caption;
    popup.fontSize = fontSize;
    popup.message = message;
    flags.PopupShown = true;
    view.changed(ViewPart::Popup);
}

void HidePopup(RuntimeFlags& flags, ProgramView& view)
{
    flags.PopupShown = false;
    view.changed(ViewPart::Popup);
}

} // namespace kesmaro
