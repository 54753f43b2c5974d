#include "common/Paths.h"

#include "common/TrappedError.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace kesmaro {

namespace {

const QChar kSeparator = QDir::separator();

bool isSeparator(QChar c)
{
    return c == kSeparator || c == QLatin1Char('/');
}

bool isAncestorOrSame(const QString& ancestor, const QString& path)
{
    if (ancestor == path)
        return true;
    const QString prefix = ancestor.endsWith(QLatin1Char('/')) ? ancestor : ancestor + u'/';
    return path.startsWith(prefix);
}

} // namespace

bool FileExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

QString GetFileName(const QString& path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i)
        if (isSeparator(path[i]))
            return path.mid(i + 1);
    return path;
}

QString JoinPath(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return name;
    if (isSeparator(folder.back()))
        return folder + name;
    return folder + kSeparator + name;
}

void CreateFolderPath(QString& path)
{
    if (path.isEmpty() || !isSeparator(path.back()))
        path += kSeparator;
    qsizetype scan = 0;
    if (kSeparator == QLatin1Char('\\') && path.startsWith(QStringLiteral("\\\\"))) {
        while (path.size() > 2 && path[2] == QLatin1Char('\\'))
            path.remove(2, 1);
        const qsizetype serverEnd = path.indexOf(QLatin1Char('\\'), 2);
        const qsizetype shareEnd =
            serverEnd < 0 ? -1 : path.indexOf(QLatin1Char('\\'), serverEnd + 1);
        if (shareEnd < 0 || !QFileInfo(path.left(shareEnd + 1)).isDir())
            return;
        scan = shareEnd;
    }
    for (;;) {
        qsizetype next = -1;
        for (qsizetype i = scan; i < path.size(); ++i) {
            if (isSeparator(path[i])) {
                next = i;
                break;
            }
        }
        if (next < 0)
            return;
        const QString level = path.left(next + 1);
        const QFileInfo info(level);
        if (!info.exists()) {
            if (!QDir().mkdir(level)) {
                const QFileInfo parent(path.left(next));
                Raise(QFileInfo(parent.absolutePath()).isWritable() ? ErrPathNotFound
                                                                    : ErrPermissionDenied);
            }
        } else if (!info.isDir()) {
            Raise(ErrPathNotFound);
        }
        scan = next + 1;
    }
}

bool IsInTempFolder(const QString& programFolder, const QString& tempFolder)
{
    // Compared as whole path components: the temporary folder here is as short as "/tmp", and
    // a plain text search would refuse any folder whose name merely contains it.
    const QString program = QDir::cleanPath(QDir::fromNativeSeparators(programFolder));
    const QString temp = QDir::cleanPath(QDir::fromNativeSeparators(tempFolder));
    if (program.isEmpty() || temp.isEmpty())
        return false;
    if (isAncestorOrSame(program, temp) || isAncestorOrSame(temp, program))
        return true;
    // The temporary folder may also be reached through a link (macOS /var -> /private/var).
    const QString realTemp = QFileInfo(temp).canonicalFilePath();
    const QString realProgram = QFileInfo(program).canonicalFilePath();
    if (realTemp.isEmpty() || realProgram.isEmpty())
        return false;
    return isAncestorOrSame(realProgram, realTemp) || isAncestorOrSame(realTemp, realProgram);
}

bool IsInTempFolder(const QString& programFolder)
{
    return IsInTempFolder(programFolder, QDir::tempPath());
}

QString InstalledDocumentFolder(const QString& executableFolder)
{
    return QDir::toNativeSeparators(
        QDir::cleanPath(QDir(executableFolder).filePath(QStringLiteral("../share/doc/kesmaro"))));
}

QString ResolveProgramFolder(const QString& executableFolder)
{
    // An installed copy never writes beside itself, even where it could (root, a user install
    // in ~/.local/bin): settings and logs in a bin folder are lost to the next package update.
    const bool installed = QFileInfo(InstalledDocumentFolder(executableFolder)).isDir();
    // Writability is tried, not read from permission bits: ACLs and read-only mounts lie.
    QTemporaryFile probe(JoinPath(executableFolder, QStringLiteral(".kesmaro-probe-XXXXXX")));
    if (!installed && probe.open())
        return QDir::toNativeSeparators(QDir::cleanPath(executableFolder));
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return QDir::toNativeSeparators(QDir::cleanPath(data));
}

QString ResolveDocumentFolder(const QString& executableFolder, const QStringList& documents)
{
    const QString beside = QDir::toNativeSeparators(QDir::cleanPath(executableFolder));
    for (const QString& document : documents)
        if (FileExists(JoinPath(beside, document)))
            return beside;
    const QString installed = InstalledDocumentFolder(executableFolder);
    return QFileInfo(installed).isDir() ? installed : beside;
}

} // namespace kesmaro
