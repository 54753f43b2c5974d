#include "tools/replay/Scenario.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kesmaro;
using Kind = ScenarioEvent::Kind;

namespace {

class ScenarioTest : public ::testing::Test {
protected:
    ScenarioTest()
    {
        for (const char* name : {"a.png", "b.png", "KM2DConfig.ini"}) {
            QFile f(m_dir.filePath(QString::fromLatin1(name)));
            f.open(QIODevice::WriteOnly);
        }
    }
    std::optional<Scenario> parse(const QString& text)
    {
        m_error.clear();
        return ParseScenarioText(text, m_dir.path(), QStringLiteral("play.txt"), m_error);
    }

    QTemporaryDir m_dir;
    QString m_error;
};

} // namespace

TEST_F(ScenarioTest, ReadsHeaderAndTimedLines)
{
    const auto s = parse(QStringLiteral("# a session\r\n"
                                        "start 2024-05-01 12:00:00\r\n"
                                        "boot 7200.5\n"
                                        "settings KM2DConfig.ini   # copied in\n"
                                        "answer no\nanswer cancel\n"
                                        "at 0 window a.png\n"
                                        "at 10.25 frame b.png\n"
                                        "at 10.25 background\n"
                                        "at 20 foreground\n"
                                        "at 30 click recognize\n"
                                        "at 40 close\n"));
    ASSERT_TRUE(s) << m_error.toStdString();
    EXPECT_EQ(s->start, QDateTime(QDate(2024, 5, 1), QTime(12, 0, 0)));
    EXPECT_EQ(s->bootMs, 7200500);
    EXPECT_EQ(s->settingsFile, m_dir.filePath(QStringLiteral("KM2DConfig.ini")));
    EXPECT_EQ(s->answers, (std::vector<PromptAnswer>{PromptAnswer::No, PromptAnswer::Cancel}));
    ASSERT_EQ(s->events.size(), 6u);
    EXPECT_EQ(s->events[0].kind, Kind::Window);
    EXPECT_EQ(s->events[0].argument, m_dir.filePath(QStringLiteral("a.png")));
    EXPECT_EQ(s->events[1].timeMs, 10250);
    EXPECT_EQ(s->events[2].kind, Kind::Background);
    EXPECT_EQ(s->events[4].command, Command::Recognize);
    EXPECT_EQ(s->events[5].kind, Kind::Close);
    EXPECT_EQ(s->events[5].line, 12);
}

TEST_F(ScenarioTest, RefusesInvalidScenariosNamingFileLineAndFault)
{
    struct Row {
        const char* text;
        const char* error;
    };
    const Row rows[] = {
        {"at 0 click run\n", "play.txt:1: missing start line"},
        {"start 2024-05-01 12:00:00\nbogus 1\n", "play.txt:2: unknown directive bogus"},
        {"start 2024-13-01 12:00:00\n", "play.txt:1: invalid start time 2024-13-01 12:00:00"},
        {"start 2024-05-01 12:00:00\nat 5 close\nat 4 foreground\n",
         "play.txt:3: time goes back from 5"},
        {"start 2024-05-01 12:00:00\nat 1 window missing.png\n",
         "play.txt:2: missing file missing.png"},
        {"start 2024-05-01 12:00:00\nat 1 click fly\n", "play.txt:2: unknown click fly"},
        {"start 2024-05-01 12:00:00\nat -1 close\n", "play.txt:2: invalid time -1"},
        {"start 2024-05-01 12:00:00\nat x close\n", "play.txt:2: invalid time x"},
        {"start 2024-05-01 12:00:00\nat 1 close now\n", "play.txt:2: close takes no argument"},
        {"start 2024-05-01 12:00:00\nanswer maybe\n",
         "play.txt:2: answer must be yes, no, ok or cancel"},
        {"start 2024-05-01 12:00:00\nat 1 jump\n", "play.txt:2: unknown command jump"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_FALSE(parse(QString::fromUtf8(r.text)));
        EXPECT_EQ(m_error, QString::fromUtf8(r.error));
    }
}

TEST_F(ScenarioTest, AMissingScenarioFileIsAnError)
{
    QString error;
    EXPECT_FALSE(ParseScenario(m_dir.filePath(QStringLiteral("none.txt")), error));
    EXPECT_TRUE(error.endsWith(QStringLiteral("cannot read the scenario")));
}
