#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kesmaro {

// Small text steps of the core over UTF-8.

// Without the spaces and tabs at either end.
std::string_view TrimBlanks(std::string_view text);

// Without ASCII white space (space, \t \n \v \f \r) at either end.
std::string_view TrimAsciiSpaces(std::string_view text);

// Without white space at either end: the ASCII controls \t \n \v \f \r, the space, and the
// Unicode spaces (the ideographic space U+3000 among them) that users type in Japanese text.
std::string_view TrimSpaces(std::string_view text);

// A whole decimal number, optionally signed, with nothing else around it; empty when the text
// is no such number or it does not fit 64 bits.
std::optional<std::int64_t> ParseInteger(std::string_view text);

bool StartsWith(std::string_view text, std::string_view prefix);
bool EndsWith(std::string_view text, std::string_view suffix);

// Every occurrence of `from` replaced by `to`.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// ASCII letters compared without case; other characters exactly.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

} // namespace kesmaro
