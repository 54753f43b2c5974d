#pragma once

// Scripts for modal windows: a step runs from a thread timer once the window's own message loop
// has taken over, as a user's input would arrive. Each step may schedule the next one.

#include <deque>
#include <functional>
#include <windows.h>

namespace kesmaro::test {

class ScriptedModal {
public:
    // Runs `step` from the modal loop that is about to start (or is running).
    static void Then(std::function<void()> step)
    {
        Steps().push_back(std::move(step));
        SetTimer(nullptr, 0, 1, &ScriptedModal::Run);
    }
    // Runs `step` once `ready` holds, checking again from the loop each time; gives up after
    // many turns and runs `step` anyway, so that its assertions report the failure.
    static void When(std::function<bool()> ready, std::function<void()> step, int turns = 5000)
    {
        Then([ready = std::move(ready), step = std::move(step), turns]() mutable {
            if (ready() || turns <= 0)
                return step();
            When(std::move(ready), std::move(step), turns - 1);
        });
    }

private:
    static std::deque<std::function<void()>>& Steps()
    {
        static std::deque<std::function<void()>> steps;
        return steps;
    }
    static void CALLBACK Run(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        if (Steps().empty())
            return;
        std::function<void()> step = std::move(Steps().front());
        Steps().pop_front();
        step();
    }
};

} // namespace kesmaro::test
