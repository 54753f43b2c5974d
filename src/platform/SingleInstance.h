#pragma once

#include <memory>
#include <string>

namespace kesmaro {

// The per-user lock that keeps a second copy of the program from starting: one implementation
// a platform, chosen by the build (a lock file on Linux, a named mutex on Windows).
//
// Contract:
// - tryAcquire takes the lock at once or not at all; once taken it is held until this object
//   goes, and asking again answers Acquired.
// - A lock left by a process that died (killed, crashed) is taken over: the first instance runs
//   for hours, so a lock is never stale by age, only when its owner is gone.
// - Finding a live owner's lock leaves it as it was.
// - When no lock can be made at all, the answer is Unavailable and the program runs without one.
class SingleInstance {
public:
    enum class Result {
        Acquired,       // this process runs as the only instance
        AlreadyRunning, // another live instance holds the lock
        Unavailable,    // no lock could be made (folder not writable): run without one
    };

    // `scope` (UTF-8) says where the lock lives, so that tests keep theirs apart: the folder of
    // the lock file on Linux, a part of the mutex's name on Windows. Empty: the per-user one.
    explicit SingleInstance(const std::string& scope = {});
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    Result tryAcquire();

private:
    struct Lock;
    std::unique_ptr<Lock> m_lock;
};

} // namespace kesmaro
