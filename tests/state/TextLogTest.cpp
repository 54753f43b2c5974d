#include "state/TextLog.h"

#include "common/Utf8.h"
#include "state/ProgramView.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace kesmaro;

namespace {

struct CountingView : ProgramView {
    void changed(ViewPart part, int) override
    {
        if (part == ViewPart::Log)
            ++changes;
    }
    int changes = 0;
};

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, at - start));
        start = at + 2;
    }
    lines.push_back(text.substr(start));
    return lines;
}

} // namespace

TEST(TextLogTest, KeepsTheNewest512LinesAfterAnEmptyFirstLine)
{
    CountingView view;
    TextLog log(&view);
    for (int i = 1; i <= 600; ++i)
        log.AppendToTextBox("line " + std::to_string(i) + "\r\n");
    const std::vector<std::string> lines = splitLines(log.text());
    // An empty first line, lines 89..600, and the empty text after the last break.
    ASSERT_EQ(lines.size(), 514u);
    EXPECT_EQ(lines.front(), "");
    EXPECT_EQ(lines[1], "line 89");
    EXPECT_EQ(lines[512], "line 600");
    EXPECT_EQ(log.caretPosition(), int(log.text().size()));
    EXPECT_EQ(view.changes, 600);
}

TEST(TextLogTest, ALimitBelowOneKeepsEverythingAndTheCaretMayStayBehind)
{
    TextLog log;
    log.AppendToTextBox("a\r\nb\r\n", 0, true);
    log.AppendToTextBox("c\r\n", 1, false);
    EXPECT_EQ(log.text(), "\r\nc\r\n");
    EXPECT_LE(log.caretPosition(), int(log.text().size()));
    log.AppendToTextBox("d", 0, false);
    EXPECT_EQ(log.caretPosition(), 5);
}

// The caret and the kept lines count characters: Japanese lines are three bytes a character.
TEST(TextLogTest, TrimmingAndTheCaretCountCharactersNotBytes)
{
    TextLog log;
    for (int i = 0; i < 3; ++i)
        log.AppendToTextBox("時給計測開始\r\n", 2, true);
    EXPECT_EQ(log.text(), "\r\n時給計測開始\r\n時給計測開始\r\n");
    EXPECT_EQ(log.caretPosition(), 2 + 8 + 8);
    log.AppendToTextBox("終了", 0, false);
    EXPECT_EQ(log.caretPosition(), 18); // where the text ended before, in characters
    log.setText("ログ");
    EXPECT_EQ(log.caretPosition(), 2);
    EXPECT_EQ(Utf8Length(log.text()), 2u);
}
