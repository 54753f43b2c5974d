#include "common/DebugLog.h"

#include "common/Paths.h"
#include "common/TextFile.h"

#include <QFile>
#include <QTimeZone>

namespace kesmaro {

QDateTime ToQDateTime(LocalDateTime value)
{
    const auto ms = value.time_since_epoch().count();
    // The local reading is built field by field: adding an offset to an instant would be
    // off by an hour on the day daylight saving changes.
    const QDateTime utcFields = QDateTime::fromMSecsSinceEpoch(ms, QTimeZone::utc());
    return QDateTime(utcFields.date(), utcFields.time());
}

QString NowStampText(const Clock& clock)
{
    return ToQDateTime(clock.Now()).toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
}

DebugLog::DebugLog(QString programFolder, const Clock& clock)
    : m_path(JoinPath(programFolder, QStringLiteral("debug.txt"))),
      m_backupPath(JoinPath(programFolder, QStringLiteral("debugBackUp.txt"))), m_clock(clock)
{}

void DebugLog::WriteDebugLog(const QString& message, int restart) noexcept
{
    Trap write(TrapPolicy::Silent);
    m_failed = !write([&] {
        const QString line = NowStampText(m_clock) + QLatin1Char(' ') + message;
        const bool exists = QFile::exists(m_path);
        if (!exists || restart == 1) {
            if (exists) {
                QFile::remove(m_backupPath);
                QFile::copy(m_path, m_backupPath);
            }
            RewriteTextLine(m_path, line);
        } else {
            AppendTextLine(m_path, line);
        }
    });
}

} // namespace kesmaro
