#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kesmaro {

// Files of the core through std::filesystem. Paths come from the core's UTF-8 text: on
// Windows they go through UTF-16, so Japanese folder names work whatever the ANSI code page.
//
// Failures come back as the error numbers of common/ErrorNumbers.h (0 on success), the ones a
// trapped file error carries: 53 file not found, 61 disk full, 70 permission denied, 75 path
// or file access error, 76 path not found. Nothing here throws.

std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);

// Opens (creating when missing), appends the line and CR LF, closes: the line is in the file
// before this returns.
[[nodiscard]] int AppendLineAndClose(const std::filesystem::path& path, std::string_view line);
// The same into an emptied or new file.
[[nodiscard]] int RewriteLineAndClose(const std::filesystem::path& path, std::string_view line);

// Replaces the file's content in one step: readers see the old file or the whole new one,
// never a part, also when the program or the system stops half-way. The new content goes to a
// temporary file beside the target, reaches the disk, then takes the target's name.
[[nodiscard]] int ReplaceFileAtomic(const std::filesystem::path& path, std::string_view bytes);

struct FileBytes {
    std::string bytes;
    int error = 0;
};
FileBytes ReadWholeFile(const std::filesystem::path& path);

} // namespace kesmaro
