#include "platform/qt/QtClockScheduler.h"

#include <QDateTime>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>

namespace kesmaro {

LocalDateTime QtClock::Now() const
{
    const QDateTime now = QDateTime::currentDateTime();
    const qint64 localMs = now.toMSecsSinceEpoch() + qint64{now.offsetFromUtc()} * 1000;
    return LocalDateTime(std::chrono::milliseconds(localMs));
}

std::int64_t QtClock::TickMs() const
{
    // steady_clock is CLOCK_MONOTONIC on Linux: time since boot, never adjusted.
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

namespace {

class QtTimer : public Timer {
public:
    explicit QtTimer(std::function<void()> onTick)
    {
        // Precise: ticks keep their interval instead of drifting to coarse 5% slots.
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [f = std::move(onTick)] { f(); });
    }

    void setInterval(int ms) override
    {
        m_interval = ms;
        restart();
    }
    int interval() const override { return m_interval; }

    void setEnabled(bool enabled) override
    {
        if (enabled == m_enabled)
            return;
        m_enabled = enabled;
        restart();
    }
    bool isEnabled() const override { return m_enabled; }

private:
    void restart()
    {
        // A QTimer of interval 0 fires whenever the loop is idle; ours never fires instead.
        if (m_enabled && m_interval > 0)
            m_timer.start(m_interval);
        else
            m_timer.stop();
    }

    QTimer m_timer;
    int m_interval = 0;
    bool m_enabled = false;
};

} // namespace

std::unique_ptr<Timer> QtScheduler::CreateTimer(std::function<void()> onTick)
{
    return std::make_unique<QtTimer>(std::move(onTick));
}

void QtScheduler::WaitMs(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(std::max(ms, 1) + 1, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace kesmaro
