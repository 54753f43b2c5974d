#pragma once

#include "platform/Clock.h"
#include "platform/Prompter.h"

#include <cstdint>
#include <deque>
#include <vector>

namespace kesmaro {

// Answers message boxes from a script and records every box asked. Queued answers are taken in
// order by boxes with a choice (OK/Cancel, Yes/No); Yes and OK, No and Cancel stand for each
// other. With the queue empty, a choice is answered Yes or OK. OK-only boxes take no answer.
class SimPrompter : public Prompter {
public:
    struct Asked {
        Prompt prompt;
        PromptAnswer answer;
        std::int64_t tickMs;
    };

    explicit SimPrompter(const Clock* clock = nullptr) : m_clock(clock) {}

    void queue(PromptAnswer answer) { m_answers.push_back(answer); }
    PromptAnswer Ask(const Prompt& prompt) override;

    const std::vector<Asked>& asked() const { return m_asked; }
    std::size_t pendingAnswers() const { return m_answers.size(); }
    // Forgets the boxes asked so far; queued answers stay queued.
    void clearAsked() { m_asked.clear(); }

private:
    const Clock* m_clock;
    std::deque<PromptAnswer> m_answers;
    std::vector<Asked> m_asked;
};

} // namespace kesmaro
