#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kesmaro {

// Paths are UTF-8 text with the platform's separators ('/' here, '\' on Windows, where '/' is
// taken too).

// True when a file or folder of that path exists.
bool FileExists(std::string_view path);

// The final component of a path: the text after the last separator, the whole text when there
// is none, empty when the path ends in a separator.
std::string GetFileName(std::string_view path);

// Makes every folder level of `path` exist and leaves `path` ending in a separator. On systems
// with network shares a missing share root stops it silently. Error 76 or 70 when a level
// cannot be created.
void CreateFolderPath(std::string& path);

// `folder` + separator + `name`, with the platform's separators.
std::string JoinPath(std::string_view folder, std::string_view name);

// True when the program folder and the system temporary folder are nested in one another
// (or the same): a program started from an archive viewer's temporary copy.
bool IsInTempFolder(std::string_view programFolder);
bool IsInTempFolder(std::string_view programFolder, std::string_view tempFolder);

// Where an installed copy keeps its documents, seen from the executable's folder:
// <prefix>/bin -> <prefix>/share/doc/kesmaro.
std::string InstalledDocumentFolder(std::string_view executableFolder);

// The per-user data folder of the program: $XDG_DATA_HOME/kesmaro (~/.local/share/kesmaro when
// unset) here, %LOCALAPPDATA%\kesmaro on Windows. Not created.
std::string UserDataFolder();

// The program folder: the per-user data folder, created when missing, for an installed copy
// (its documents folder exists) or when the executable's folder is not writable; otherwise the
// executable's folder (a portable install).
std::string ResolveProgramFolder(std::string_view executableFolder);

// The folder the help documents are opened from: the executable's folder when any of
// `documents` is there (build tree, portable install), else the installed documents folder
// when it exists, else the executable's folder, where a missing document is then reported.
std::string ResolveDocumentFolder(std::string_view executableFolder,
                                  const std::vector<std::string>& documents);

} // namespace kesmaro
