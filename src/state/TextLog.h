#pragma once

#include <string>
#include <string_view>

namespace kesmaro {

class ProgramView;

// The running log of the main window (`txtLog`): its text and caret, kept here so that the
// logic owns it and the text box only shows it.
class TextLog {
public:
    static constexpr int kMaxLines = 512;

    explicit TextLog(ProgramView* view = nullptr) : m_view(view) {}
    void setView(ProgramView* view) { m_view = view; }

    // Appends `text`, keeps at most `maxLines` line breaks (dropping the oldest lines, so that
    // the kept text starts with the break that ended the last dropped line), places the caret.
    void AppendToTextBox(std::string_view text, int maxLines = kMaxLines, bool caretToEnd = true);

    const std::string& text() const { return m_text; }
    void setText(std::string text);
    // In characters.
    int caretPosition() const { return m_caret; }

private:
    std::string m_text;
    std::size_t m_length = 0; // characters
    int m_caret = 0;
    ProgramView* m_view;
};

} // namespace kesmaro
