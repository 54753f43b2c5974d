#pragma once

#include "common/TrappedError.h"
#include "platform/Clock.h"

#include <QDateTime>
#include <QString>
#include <optional>
#include <utility>

namespace kesmaro {

// A local wall-clock reading as a QDateTime in the local time zone.
QDateTime ToQDateTime(LocalDateTime value);

// "yyyy/MM/dd hh:mm:ss" of the clock's local time, whatever the regional settings.
QString NowStampText(const Clock& clock);

// The debug log "debug.txt" in the program folder: one line per message, opened, appended and
// closed for every line so that it survives an abrupt end. The first line after a program
// start (restart = 1) moves the previous log to "debugBackUp.txt" and starts a new one.
class DebugLog {
public:
    DebugLog(QString programFolder, const Clock& clock);

    // Never fails and never throws: a log that cannot be written must not stop the operation
    // that logs. A failure is remembered (lastWriteFailed) and the next line tries again.
    void WriteDebugLog(const QString& message, int restart = 0) noexcept;

    QString path() const { return m_path; }
    QString backupPath() const { return m_backupPath; }
    bool lastWriteFailed() const { return m_failed; }

private:
    QString m_path;
    QString m_backupPath;
    const Clock& m_clock;
    bool m_failed = false;
};

// Runs the statements of one operation, each on its own: a statement that fails is skipped and
// the next one runs; at the end the last failure, if any, is written to the debug log as
// "Error Trap : <operation> : CODE<n>  <description>".
class Trap {
public:
    Trap(DebugLog& log, QString operation) : m_log(log), m_operation(std::move(operation)) {}
    Trap(const Trap&) = delete;
    Trap& operator=(const Trap&) = delete;
    ~Trap() { report(); }

    // Runs one statement; false when it failed.
    template <class Statement> bool operator()(Statement&& statement) noexcept
    {
        return RunStatement(std::forward<Statement>(statement), m_error);
    }

    bool failed() const { return m_error.has_value(); }
    const std::optional<TrappedError>& error() const { return m_error; }
    // Writes the error-trap line now (once); later failures are reported by a later call.
    void report() noexcept;

private:
    DebugLog& m_log;
    QString m_operation;
    std::optional<TrappedError> m_error;
};

} // namespace kesmaro
