#pragma once

#include <QString>

namespace kesmaro {

// True when a file or folder of that path exists.
bool FileExists(const QString& path);

// The final component of a path: the text after the last separator, the whole text when there
// is none, empty when the path ends in a separator.
QString GetFileName(const QString& path);

// Makes every folder level of `path` exist and leaves `path` ending in a separator. On systems
// with network shares a missing share root stops it silently. Error 76 or 70 when a level
// cannot be created.
void CreateFolderPath(QString& path);

// `folder` + separator + `name`, with the platform's separators.
QString JoinPath(const QString& folder, const QString& name);

// True when the program folder and the system temporary folder are nested in one another
// (or the same): a program started from an archive viewer's temporary copy.
bool IsInTempFolder(const QString& programFolder);
bool IsInTempFolder(const QString& programFolder, const QString& tempFolder);

// The program folder: the executable's folder when it is writable (a portable install),
// otherwise the per-user data folder, created when missing.
QString ResolveProgramFolder(const QString& executableFolder);

} // namespace kesmaro
