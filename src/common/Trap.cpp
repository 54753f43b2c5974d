#include "common/Trap.h"

#include "common/DebugLog.h"

namespace kesmaro {

void Trap::keep(const TrappedError& error) noexcept
{
    if (m_policy != TrapPolicy::Silent)
        m_error = error;
}

void Trap::report() noexcept
{
    if (m_policy != TrapPolicy::Report || !m_log || !m_error)
        return;
    const TrappedError error = *m_error;
    m_error.reset();
    // Building the line may run out of memory; the log then misses it and the caller goes on.
    Trap line(TrapPolicy::Silent);
    line([&] {
        m_log->WriteDebugLog("Error Trap : " + m_operation + " : CODE" +
                             std::to_string(error.number) + "  " + error.description);
    });
}

} // namespace kesmaro
