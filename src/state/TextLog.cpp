#include "state/TextLog.h"

#include "common/Format.h"
#include "common/Utf8.h"
#include "state/ProgramView.h"

#include <algorithm>

namespace kesmaro {

void TextLog::AppendToTextBox(const QString& text, int maxLines, bool caretToEnd)
{
    const std::string crlf = "\r\n";
    QString combined = m_text + text;
    const std::string all = combined.toStdString();
    const int count = CountOccurrences(all, crlf);
    if (maxLines >= 1 && count > maxLines) {
        const int p = FindNthOccurrence(all, crlf, count - maxLines);
        combined =
            QString::fromStdString(std::string(Utf8Mid(all, static_cast<std::size_t>(p - 1))));
    }
    // Without caret-to-end the caret stays where the old text ended, counted before trimming
    // as the text box did; clamped to the kept text.
    const qsizetype oldEnd = m_text.size();
    m_text = std::move(combined);
    const qsizetype caret = caretToEnd ? m_text.size() : oldEnd;
    m_caret = static_cast<int>(std::min(caret, m_text.size()));
    if (m_view)
        m_view->changed(ViewPart::Log);
}

void TextLog::setText(const QString& text)
{
    m_text = text;
    m_caret = static_cast<int>(m_text.size());
    if (m_view)
        m_view->changed(ViewPart::Log);
}

} // namespace kesmaro
