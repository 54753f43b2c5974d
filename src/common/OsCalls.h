#pragma once

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

// The few operating-system calls under the standard C++ helpers of common/, one definition in
// OsCallsPosix.cpp and one in OsCallsWin32.cpp; the build picks the file. Callers are the
// helpers' own .cpp files.
namespace kesmaro::os {

// The local calendar time of a time_t, with the zone and daylight saving rules of the system;
// false when the system cannot convert it.
bool LocalTime(std::time_t time, std::tm& fields);

// UTF-8 <-> a path. On Windows this goes through UTF-16, whatever the ANSI code page.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);

// fopen with a path of any characters; errno tells why it failed.
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

// Pushes a flushed file's data to the disk; false (errno set) when it fails.
bool SyncToDisk(std::FILE* file);

// True for errno values that mean the disk or the user's quota is full.
bool IsDiskFull(int error);

// Renames `from` over `to` in one step, replacing it; 0 or the error number of the failure.
int ReplaceWith(const std::filesystem::path& from, const std::filesystem::path& to);

// The separator of the platform's paths.
char PathSeparator();

// The system's temporary folder.
std::string TempFolder();

// The folder per-user program data goes under (UTF-8): $XDG_DATA_HOME, else
// $HOME/.local/share, here; %LOCALAPPDATA% on Windows.
std::string UserDataRoot();

// True when the user may write into that folder, as the system's permission check says.
bool IsWritable(const std::filesystem::path& folder);

// Tries to create a file of a fresh name in the folder and removes it again: true when that
// worked.
bool CanCreateFileIn(const std::filesystem::path& folder);

} // namespace kesmaro::os
