#pragma once

#include "app/SystemCheck.h"

#include <string>

namespace kesmaro {

// Which of the libraries this build loads at run time load from the system folder, and
// whether a Japanese font is installed; for CheckSystemFiles.
SystemPartsFound ProbeSystemParts();

// The user's temporary folder (GetTempPathW) in UTF-8, without the trailing separator, for
// the start-up refusal; empty when the system gives none.
std::string Win32TempFolder();

} // namespace kesmaro
