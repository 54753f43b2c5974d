#pragma once

// windows.h ahead of the core's headers, so that its macros (FindWindow, ...) rename a base
// class's functions and their overrides alike.
// clang-format off
#include <windows.h>
// clang-format on

#include <string>

namespace kesmaro {

// The face of the windows' texts: the first installed of the Japanese interface faces every
// Windows ships (Meiryo, then MS UI Gothic), else an installed CJK face, so that kana and kanji
// never fall back to boxes.
const std::wstring& InterfaceFontFace();

// A font of that face `pixelHeight` pixels high (character height, as the painters size it).
// The caller deletes it.
HFONT CreateInterfaceFont(int pixelHeight, bool bold = false);

} // namespace kesmaro
