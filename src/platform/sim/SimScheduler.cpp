#include "platform/sim/SimScheduler.h"

#include <algorithm>

namespace kesmaro {

struct SimScheduler::TimerState {
    std::function<void()> onTick;
    int interval = 0;
    bool enabled = false;
    bool running = false;
    bool alive = true;
    std::int64_t regular = 0; // the tick's time without jitter
    std::int64_t due = 0;
    std::uint64_t seq = 0;

    bool ticking() const { return alive && enabled && interval > 0; }
};

class SimTimer : public Timer {
public:
    SimTimer(SimScheduler& scheduler, std::shared_ptr<SimScheduler::TimerState> state)
        : m_scheduler(scheduler), m_state(std::move(state))
    {}
    ~SimTimer() override
    {
        m_state->alive = false;
        auto& timers = m_scheduler.m_timers;
        timers.erase(std::remove(timers.begin(), timers.end(), m_state), timers.end());
    }

    void setInterval(int ms) override
    {
        m_state->interval = ms;
        restart();
    }
    int interval() const override { return m_state->interval; }

    void setEnabled(bool enabled) override
    {
        if (enabled == m_state->enabled)
            return;
        m_state->enabled = enabled;
        restart();
    }
    bool isEnabled() const override { return m_state->enabled; }

private:
    void restart()
    {
        m_state->regular = m_scheduler.m_clock.elapsedMs() + m_state->interval;
        m_state->due = m_scheduler.jittered(m_state->regular);
        m_state->seq = ++m_scheduler.m_seq;
    }

    SimScheduler& m_scheduler;
    std::shared_ptr<SimScheduler::TimerState> m_state;
};

SimScheduler::~SimScheduler()
{
    for (auto& t : m_timers)
        t->alive = false;
}

std::unique_ptr<Timer> SimScheduler::CreateTimer(std::function<void()> onTick)
{
    auto state = std::make_shared<TimerState>();
    state->onTick = std::move(onTick);
    m_timers.push_back(state);
    return std::make_unique<SimTimer>(*this, std::move(state));
}

void SimScheduler::setTimerJitter(int maxMs, std::uint32_t seed)
{
    m_jitterMs = std::max(maxMs, 0);
    m_jitter.seed(seed);
}

std::int64_t SimScheduler::jittered(std::int64_t regularMs)
{
    if (m_jitterMs == 0)
        return regularMs;
    std::uniform_int_distribution<int> offset(-m_jitterMs, m_jitterMs);
    return regularMs + offset(m_jitter);
}

void SimScheduler::at(std::int64_t elapsedMs, std::function<void()> event)
{
    m_events.emplace(std::make_pair(elapsedMs, ++m_seq), std::move(event));
}

std::int64_t SimScheduler::nextDueMs() const
{
    std::int64_t next = m_events.empty() ? -1 : m_events.begin()->first.first;
    for (const auto& t : m_timers)
        if (t->ticking() && !t->running && (next < 0 || t->due < next))
            next = t->due;
    return next;
}

bool SimScheduler::runNext(std::int64_t deadline)
{
    // Earliest scripted event: events win ties against timers, then the order of scheduling.
    auto event = m_events.begin();
    if (event != m_events.end() && event->first.first > deadline)
        event = m_events.end();
    std::shared_ptr<TimerState> timer;
    for (const auto& t : m_timers)
        if (t->ticking() && !t->running && t->due <= deadline &&
            (!timer || t->due < timer->due || (t->due == timer->due && t->seq < timer->seq)))
            timer = t;

    if (event != m_events.end() && (!timer || event->first.first <= timer->due)) {
        m_clock.advanceTo(event->first.first);
        const std::function<void()> run = std::move(event->second);
        m_events.erase(event);
        run();
        return true;
    }
    if (!timer)
        return false;

    // A tick that comes late (its callback waited past it) fires now and the count resumes
    // from now, as a real event loop does.
    m_clock.advanceTo(timer->due);
    const std::int64_t now = m_clock.elapsedMs();
    timer->regular += timer->interval;
    if (timer->regular <= now)
        timer->regular = now + timer->interval;
    timer->due = std::max(jittered(timer->regular), now + 1);
    timer->seq = ++m_seq;
    timer->running = true;
    const std::function<void()> onTick = timer->onTick; // the callback may destroy the timer
    onTick();
    timer->running = false;
    return true;
}

void SimScheduler::advance(std::int64_t deadline)
{
    ++m_depth;
    while (runNext(deadline)) {
    }
    --m_depth;
    m_clock.advanceTo(deadline);
}

void SimScheduler::WaitMs(int ms)
{
    advance(m_clock.elapsedMs() + std::max(ms, 1) + 1);
}

void SimScheduler::runUntil(std::int64_t elapsedMs)
{
    while (runNext(elapsedMs)) {
    }
    m_clock.advanceTo(elapsedMs);
}

} // namespace kesmaro
