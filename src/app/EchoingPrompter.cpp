#include "app/EchoingPrompter.h"

#include <string_view>

namespace kesmaro {

std::string EchoText(const Prompt& prompt)
{
    std::string echo = "kesmaro: message box \u201c" + prompt.title + "\u201d:\n";
    std::string_view rest = prompt.text;
    // A text's last line end starts no empty line.
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        echo.append("  ").append(line).append("\n");
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return echo;
}

PromptAnswer EchoingPrompter::Ask(const Prompt& prompt)
{
    if (m_echoing)
        m_echo << EchoText(prompt) << std::flush;
    return m_shown.Ask(prompt);
}

} // namespace kesmaro
