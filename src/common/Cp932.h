#pragma once

#include <string>
#include <string_view>

namespace kesmaro {

// Windows code page 932 (Japanese Shift-JIS as Windows writes it) <-> the core's UTF-8:
// "～" is U+FF5E <-> 0x8160. Characters without a code become '?', as the system conversion
// does; ill-formed UTF-8 counts as one such character per ill-formed sequence.
std::string EncodeCp932(std::string_view text);
// Bytes without a character become U+FFFD.
std::string DecodeCp932(std::string_view bytes);

// Width of the text in byte columns of a fixed-pitch font: its CP932 byte count (half-width
// characters, half-width katakana included, count 1, everything else 2).
int ByteWidth(std::string_view text);

} // namespace kesmaro
