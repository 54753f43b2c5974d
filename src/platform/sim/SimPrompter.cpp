#include "platform/sim/SimPrompter.h"

namespace kesmaro {

PromptAnswer SimPrompter::Ask(const Prompt& prompt)
{
    PromptAnswer answer = PromptAnswer::Ok;
    if (prompt.buttons != PromptButtons::Ok) {
        bool positive = true;
        if (!m_answers.empty()) {
            const PromptAnswer queued = m_answers.front();
            m_answers.pop_front();
            positive = queued == PromptAnswer::Yes || queued == PromptAnswer::Ok;
        }
        if (prompt.buttons == PromptButtons::YesNo)
            answer = positive ? PromptAnswer::Yes : PromptAnswer::No;
        else
            answer = positive ? PromptAnswer::Ok : PromptAnswer::Cancel;
    }
    m_asked.push_back(Asked{prompt, answer, m_clock ? m_clock->TickMs() : 0});
    return answer;
}

} // namespace kesmaro
