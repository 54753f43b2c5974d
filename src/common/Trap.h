#pragma once

#include "common/TrappedError.h"

#include <new>
#include <optional>
#include <string>
#include <utility>

namespace kesmaro {

class DebugLog;

// What a Trap does with the failures of its statements.
enum class TrapPolicy {
    Report,  // keeps the last one and writes it to the debug log at the end
    Collect, // keeps the last one for the caller, writes nothing
    Silent,  // forgets them
};

// Runs the statements of one operation, each on its own: a statement that fails is skipped and
// the next one runs. With the Report policy the last failure, if any, is written to the debug
// log at the end as "Error Trap : <operation> : CODE<n>  <description>". The one place that
// catches: no exception gets past it, whatever a statement throws.
class Trap {
public:
    // Reports to `log` as `operation`.
    Trap(DebugLog& log, std::string operation)
        : m_policy(TrapPolicy::Report), m_log(&log), m_operation(std::move(operation))
    {}
    // Collects or stays silent (reporting needs the log and the operation's name).
    explicit Trap(TrapPolicy policy) : m_policy(policy) {}
    Trap(const Trap&) = delete;
    Trap& operator=(const Trap&) = delete;
    ~Trap() { report(); }

    // Runs one statement; false when it failed (anything unexpected counts as error 51).
    template <class Statement> bool operator()(Statement&& statement) noexcept
    {
        try {
            std::forward<Statement>(statement)();
            return true;
        } catch (const TrappedError& e) {
            keep(e);
        } catch (const std::bad_alloc&) {
            keep(TrappedError(ErrOutOfMemory));
        } catch (...) {
            keep(TrappedError(ErrInternal));
        }
        return false;
    }

    bool failed() const { return m_error.has_value(); }
    const std::optional<TrappedError>& error() const { return m_error; }
    void clear() { m_error.reset(); }
    // Report policy: writes the error-trap line now (once); later failures are reported by a
    // later call. Otherwise nothing.
    void report() noexcept;

private:
    void keep(const TrappedError& error) noexcept;

    TrapPolicy m_policy;
    DebugLog* m_log = nullptr;
    std::string m_operation;
    std::optional<TrappedError> m_error;
};

} // namespace kesmaro
