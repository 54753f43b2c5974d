#include "ui/qt/SystemProbes.h"

#include "platform/pulse/PulseProbe.h"
#include "platform/x11/X11Extensions.h"

#include <QFontDatabase>
#include <QStandardPaths>

namespace kesmaro {

SystemPartsFound ProbeSystemParts(bool japaneseFont, const std::string& display)
{
    const X11Extensions x11 = QueryX11Extensions(display);
    SystemPartsFound found{};
    found[SystemPartXInput2] = x11.xinput2;
    found[SystemPartMitShm] = x11.mitShm;
    found[SystemPartSoundServer] = SoundServerReachable();
    found[SystemPartJapaneseFont] = japaneseFont;
    found[SystemPartDesktopOpener] =
        !QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty();
    return found;
}

bool HasJapaneseFont()
{
    return !QFontDatabase::families(QFontDatabase::Japanese).isEmpty();
}

} // namespace kesmaro
