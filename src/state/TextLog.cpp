#include "state/TextLog.h"

#include "common/Format.h"
#include "common/Utf8.h"
#include "state/ProgramView.h"

#include <algorithm>

namespace kesmaro {

void TextLog::AppendToTextBox(std::string_view text, int maxLines, bool caretToEnd)
{
    const std::string_view crlf = "\r\n";
    std::string combined = m_text;
    combined += text;
    const int count = CountOccurrences(combined, crlf);
    if (maxLines >= 1 && count > maxLines) {
        const int p = FindNthOccurrence(combined, crlf, count - maxLines);
        combined = std::string(Utf8Mid(combined, static_cast<std::size_t>(p - 1)));
    }
    // Without caret-to-end the caret stays where the old text ended, counted before trimming
    // as the text box did; clamped to the kept text.
    const std::size_t oldEnd = m_length;
    m_text = std::move(combined);
    m_length = Utf8Length(m_text);
    const std::size_t caret = caretToEnd ? m_length : oldEnd;
    m_caret = static_cast<int>(std::min(caret, m_length));
    if (m_view)
        m_view->changed(ViewPart::Log);
}

void TextLog::setText(std::string text)
{
    m_text = std::move(text);
    m_length = Utf8Length(m_text);
    m_caret = static_cast<int>(m_length);
    if (m_view)
        m_view->changed(ViewPart::Log);
}

} // namespace kesmaro
