// The single-instance lock as a lock file, through QLockFile: the file names its process, so a
// file left by one that died is recognised and taken over.
#include "platform/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace kesmaro {

namespace {

// The per-user runtime folder, or the per-user data folder when the session has none.
QString defaultFolder()
{
    // Asked only when the session names one: Qt would otherwise invent a folder and warn.
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/kesmaro");
}

} // namespace

struct SingleInstance::Lock {
    explicit Lock(const QString& lockPath) : path(lockPath), file(lockPath) {}
    QString path;
    QLockFile file;
};

SingleInstance::SingleInstance(const std::string& scope)
    : m_lock(std::make_unique<Lock>(
          QDir(scope.empty() ? defaultFolder() : QString::fromStdString(scope))
              .filePath(QStringLiteral("kesmaro.lock"))))
{
    m_lock->file.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Result SingleInstance::tryAcquire()
{
    if (m_lock->file.isLocked())
        return Result::Acquired;
    QDir().mkpath(QFileInfo(m_lock->path).path());
    if (m_lock->file.tryLock(0))
        return Result::Acquired;
    return m_lock->file.error() == QLockFile::LockFailedError ? Result::AlreadyRunning
                                                              : Result::Unavailable;
}

} // namespace kesmaro
