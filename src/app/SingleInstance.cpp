#include "app/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kesmaro {

QString SingleInstance::DefaultFolder()
{
    // Asked only when the session names one: Qt would otherwise invent a folder and warn.
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/kesmaro");
}

SingleInstance::SingleInstance(const QString& folder)
    : m_path(QDir(folder).filePath(QStringLiteral("kesmaro.lock"))), m_lock(m_path)
{
    // Never stale by age, only when its process is gone: the first instance runs for hours.
    m_lock.setStaleLockTime(0);
}

SingleInstance::Result SingleInstance::tryAcquire()
{
    if (m_lock.isLocked())
        return Result::Acquired;
    QDir().mkpath(QFileInfo(m_path).path());
    if (m_lock.tryLock(0))
        return Result::Acquired;
    return m_lock.error() == QLockFile::LockFailedError ? Result::AlreadyRunning
                                                        : Result::Unavailable;
}

} // namespace kesmaro
