#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace kesmaro {

// Windows code page 932 (Japanese Shift-JIS as Windows writes it): "～" is U+FF5E <-> 0x8160.
// Characters without a code become '?', as the system conversion does.
QByteArray EncodeCp932(QStringView text);
// Bytes without a character become U+FFFD.
QString DecodeCp932(const QByteArray& bytes);

// Width of the text in byte columns of a fixed-pitch font: its CP932 byte count (half-width
// characters, half-width katakana included, count 1, everything else 2).
int ByteWidth(QStringView text);

} // namespace kesmaro
