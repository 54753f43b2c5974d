#include "ui/qt/Fonts.h"

namespace kesmaro {

namespace {

QFont pixelFont(const QString& family)
{
    QFont font(family);
    font.setPixelSize(12);
    font.setStyleHint(QFont::SansSerif);
    // Whole-pixel advances keep the monospaced cells on a 6-pixel grid.
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

} // namespace

QFont InterfaceFont()
{
    return pixelFont(QStringLiteral("Noto Sans CJK JP"));
}

QFont LogFont()
{
    QFont font = pixelFont(QStringLiteral("Noto Sans Mono CJK JP"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setKerning(false);
    return font;
}

} // namespace kesmaro
