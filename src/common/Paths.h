#pragma once

#include <QString>
#include <QStringList>

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

// Where an installed copy keeps its documents, seen from the executable's folder:
// <prefix>/bin -> <prefix>/share/doc/kesmaro.
QString InstalledDocumentFolder(const QString& executableFolder);

// The program folder: the per-user data folder, created when missing, for an installed copy
// (its documents folder exists) or when the executable's folder is not writable; otherwise the
// executable's folder (a portable install).
QString ResolveProgramFolder(const QString& executableFolder);

// The folder the help documents are opened from: the executable's folder when any of
// `documents` is there (build tree, portable install), else the installed documents folder
// when it exists, else the executable's folder, where a missing document is then reported.
QString ResolveDocumentFolder(const QString& executableFolder, const QStringList& documents);

} // namespace kesmaro
