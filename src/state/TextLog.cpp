#include "state/TextLog.h"

#include "common/Format.h"
#include "state/ProgramView.h"

#include <algorithm>

namespace kesmaro {

void TextLog::AppendToTextBox(const QString& text, int maxLines, bool caretToEnd)
{
    const QString crlf = QStringLiteral("\r\n");
    QString combined = m_text + text;
    const int count = CountOccurrences(combined, crlf);
    if (maxLines >= 1 && count > maxLines) {
        const int p = FindNthOccurrence(combined, crlf, count - maxLines);
        combined.remove(0, p - 1);
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
