#pragma once

#include <string>
#include <string_view>

namespace kesmaro {

// Reads any bytes as a settings file, with both readers, and checks what must hold whatever
// the input: no crash or hang, a known result code, and settings that once read save to a file
// which reads back without failure, without question and to the very same values. Returns the
// first rule broken, empty when all hold. Shared by the robustness test and the fuzz target.
std::string ProbeSettingsFile(std::string_view bytes);

} // namespace kesmaro
