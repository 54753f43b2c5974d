#include "state/TextLog.h"

#include "state/ProgramView.h"

#include <QStringList>
#include <gtest/gtest.h>

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

} // namespace

TEST(TextLogTest, KeepsTheNewest512LinesAfterAnEmptyFirstLine)
{
    CountingView view;
    TextLog log(&view);
    for (int i = 1; i <= 600; ++i)
        log.AppendToTextBox(QStringLiteral("line %1\r\n").arg(i));
    const QStringList lines = log.text().split(QStringLiteral("\r\n"));
    // An empty first line, lines 89..600, and the empty text after the last break.
    ASSERT_EQ(lines.size(), 514);
    EXPECT_EQ(lines.front(), QString());
    EXPECT_EQ(lines[1], QStringLiteral("line 89"));
    EXPECT_EQ(lines[512], QStringLiteral("line 600"));
    EXPECT_EQ(log.caretPosition(), log.text().size());
    EXPECT_EQ(view.changes, 600);
}

TEST(TextLogTest, ALimitBelowOneKeepsEverythingAndTheCaretMayStayBehind)
{
    TextLog log;
    log.AppendToTextBox(QStringLiteral("a\r\nb\r\n"), 0, true);
    log.AppendToTextBox(QStringLiteral("c\r\n"), 1, false);
    EXPECT_EQ(log.text(), QStringLiteral("\r\nc\r\n"));
    EXPECT_LE(log.caretPosition(), log.text().size());
    log.AppendToTextBox(QStringLiteral("d"), 0, false);
    EXPECT_EQ(log.caretPosition(), 5);
}
