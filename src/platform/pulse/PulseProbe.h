#pragma once

#include <string>

namespace kesmaro {

// True when a sound server answers at `server` (empty: the session's default) within
// `timeoutMs`. Never starts a server of its own and never prints.
bool SoundServerReachable(const std::string& server = {}, int timeoutMs = 2000);

} // namespace kesmaro
