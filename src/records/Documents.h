#pragma once

#include "state/Context.h"

#include <string_view>

namespace kesmaro {

// The names of the program's help documents, in the document folder.
inline constexpr std::string_view kQuickReferenceDocument = "とりあえず始めよう.html";
inline constexpr std::string_view kHowToUseDocument = "使用方法D.html";
inline constexpr std::string_view kReadMeDocument = "ReadMeD.txt";

// Opens an existing file with its associated program: busy pointer, log lines around the
// request and a wait of `waitMs`; a missing file is reported in a message box and the log.
void OpenDocument(Context& ctx, std::string_view path, int waitMs);
// The same for a web address; only an empty address counts as missing.
void OpenUrl(Context& ctx, std::string_view address, int waitMs);

} // namespace kesmaro
