#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace kesmaro {

namespace {

bool StartDetached(const QString& program)
{
    // The whole text is the program: paths with blanks are common and take no arguments here.
    QProcess process;
    process.setProgram(program);
    process.setStandardInputFile(QProcess::nullDevice());
    return process.startDetached();
}

} // namespace

bool QtShell::OpenDocument(const std::string& path)
{
    const QFileInfo file(QString::fromStdString(path));
    if (path.empty() || !file.exists())
        return false;
    if (file.isFile() && file.isExecutable())
        return StartDetached(file.absoluteFilePath());
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
}

bool QtShell::OpenUrl(const std::string& url)
{
    const QUrl address(QString::fromStdString(url), QUrl::TolerantMode);
    if (url.empty() || !address.isValid())
        return false;
    return QDesktopServices::openUrl(address);
}

bool QtShell::Launch(const std::string& program)
{
    if (program.empty())
        return false;
    return StartDetached(QString::fromStdString(program));
}

} // namespace kesmaro
