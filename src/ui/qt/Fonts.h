#pragma once

#include <QFont>

namespace kesmaro {

// The interface's Japanese face and its monospaced companion. The designed layout was made for
// 12-pixel text, so both are sized in pixels: a half-width character of the monospaced face
// is then exactly 6 pixels and a CP932 double-width one 12, and txtLog's columns line up.
QFont InterfaceFont();
QFont LogFont();

} // namespace kesmaro
