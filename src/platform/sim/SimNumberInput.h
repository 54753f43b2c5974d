#pragma once

#include "platform/NumberInput.h"

#include <deque>
#include <vector>

namespace kesmaro {

// Answers numeric input dialogs from a script and records every request. With the queue empty
// a dialog is cancelled.
class SimNumberInput : public NumberInput {
public:
    void queue(std::optional<double> answer) { m_answers.push_back(answer); }
    std::optional<double> Ask(const NumberRequest& request) override
    {
        m_asked.push_back(request);
        if (m_answers.empty())
            return std::nullopt;
        std::optional<double> answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

    const std::vector<NumberRequest>& asked() const { return m_asked; }
    std::size_t pendingAnswers() const { return m_answers.size(); }

private:
    std::deque<std::optional<double>> m_answers;
    std::vector<NumberRequest> m_asked;
};

} // namespace kesmaro
