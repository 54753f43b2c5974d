#pragma once

#include <QLockFile>
#include <QString>

namespace kesmaro {

// The per-user lock that keeps a second copy of the program from starting. The lock file
// names its process; a file left by a process that died (killed, crashed) is taken over, and
// a live owner's file is never touched by the one that finds it.
class SingleInstance {
public:
    enum class Result {
        Acquired,       // this process runs as the only instance
        AlreadyRunning, // another live instance holds the lock
        Unavailable,    // no lock could be made (folder not writable): run without one
    };

    // The per-user runtime folder, or the per-user data folder when the session has none.
    static QString DefaultFolder();

    explicit SingleInstance(const QString& folder = DefaultFolder());
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Takes the lock at once or not at all; it is held until this object goes.
    Result tryAcquire();
    QString lockPath() const { return m_path; }

private:
    QString m_path;
    QLockFile m_lock;
};

} // namespace kesmaro
