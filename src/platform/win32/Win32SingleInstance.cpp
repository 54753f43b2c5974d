// The single-instance lock as a named mutex of the session: Windows closes the handle of a
// process that dies, so a killed instance never leaves a lock behind.
#include "common/Utf8.h"
#include "platform/SingleInstance.h"

#include <windows.h>

namespace kesmaro {

struct SingleInstance::Lock {
    std::wstring name;
    HANDLE mutex = nullptr;
};

SingleInstance::SingleInstance(const std::string& scope) : m_lock(std::make_unique<Lock>())
{
    // Local\: one lock a logon session, as the lock file is one a user.
    m_lock->name = L"Local\\kesmaro.single-instance";
    if (!scope.empty())
        m_lock->name += L"." + Utf8ToWide(scope);
}

SingleInstance::~SingleInstance()
{
    if (m_lock->mutex != nullptr)
        CloseHandle(m_lock->mutex);
}

SingleInstance::Result SingleInstance::tryAcquire()
{
    if (m_lock->mutex != nullptr)
        return Result::Acquired;
    HANDLE mutex = CreateMutexW(nullptr, FALSE, m_lock->name.c_str());
    if (mutex == nullptr)
        return Result::Unavailable;
    // Opening an existing mutex opens it without changing it: the owner's lock stays.
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return Result::AlreadyRunning;
    }
    m_lock->mutex = mutex;
    return Result::Acquired;
}

} // namespace kesmaro
