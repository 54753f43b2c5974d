#include "records/Utilities.h"

#include "common/TextFile.h"
#include "platform/sim/SimServices.h"
#include "records/Program.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kesmaro;
using namespace std::chrono;

namespace {

struct RecordingView : ProgramView {
    void busyCursor(bool on) override { cursor.push_back(on); }
    void popupChanged() override { ++popups; }
    std::vector<bool> cursor;
    int popups = 0;
};

class UtilitiesTest : public ::testing::Test {
protected:
    QStringList logLines() const
    {
        QStringList lines;
        TextLineReader reader(m_log.path());
        while (!reader.atEnd())
            lines << reader.readLine().mid(20);
        return lines;
    }

    QTemporaryDir m_dir;
    SimServices m_sim{local_days(year(2024) / 5 / 1) + hours(12)};
    DebugLog m_log{m_dir.path(), m_sim.clock};
    RecordingView m_view;
    RandomGenerator m_random;
    Context m_ctx{m_sim.services, m_log, m_view, m_random};
};

} // namespace

TEST_F(UtilitiesTest, OpenDocumentHandsTheFileToTheShellAndWaits)
{
    const QString path = m_dir.filePath(QStringLiteral("help.html"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    OpenDocument(m_ctx, path, 500);
    EXPECT_EQ(m_sim.shell.requests,
              (std::vector<SimShell::Request>{{SimShell::Kind::Document, path.toStdString()}}));
    EXPECT_EQ(m_sim.clock.elapsedMs(), 501);
    EXPECT_EQ(m_view.cursor, (std::vector<bool>{true, false}));
    EXPECT_EQ(logLines(), (QStringList{QStringLiteral("Execution File Start ･･･  ") + path,
                                       QStringLiteral("Execution File Finish ")}));
}

TEST_F(UtilitiesTest, OpenUrlOnlyRefusesAnEmptyAddress)
{
    OpenUrl(m_ctx, QString(), 500);
    ASSERT_EQ(m_sim.prompter.asked().size(), 1u);
    EXPECT_EQ(m_sim.prompter.asked()[0].prompt.text, "サイトが見つかりません。");
    OpenUrl(m_ctx, QStringLiteral("https://example.org/kesmaro"), 500);
    ASSERT_EQ(m_sim.shell.requests.size(), 1u);
    EXPECT_EQ(m_sim.shell.requests[0].kind, SimShell::Kind::Url);
    EXPECT_EQ(logLines(), (QStringList{QStringLiteral("Execution File Not Find  "),
                                       QStringLiteral("Execution Url Start ･･･  "
                                                      "https://example.org/kesmaro"),
                                       QStringLiteral("Execution Url Finish ")}));
}

TEST_F(UtilitiesTest, PlayBeepFollowsTheModeTable)
{
    for (int mode : {0, 1, 2, 3, 4, 5, 6, 7, -1})
        PlayBeep(m_sim.beeper, mode);
    EXPECT_EQ(m_sim.beeper.sounds, (std::vector<SimBeeper::Sound>{
                                       {0, 0}, {500, 75}, {2000, 75}, {500, 200}, {2000, 200}}));
}

TEST_F(UtilitiesTest, PopupShowsWithADefaultCaptionAndHides)
{
    RuntimeFlags flags;
    PopupState popup;
    ShowPopup(popup, flags, m_view, QStringLiteral("Gamebryo Applicationが起動していません"),
              QString(), 14);
    EXPECT_EQ(popup.caption, QStringLiteral("メッセージ "));
    HidePopup(flags, m_view);
    HidePopup(flags, m_view); // hiding a hidden popup is harmless
    EXPECT_FALSE(flags.PopupShown);
    EXPECT_EQ(m_view.popups, 3);
}

TEST_F(UtilitiesTest, RandomizeSeedAtMidnightDoesNotDivideByZero)
{
    SimServices midnight{local_days(year(2024) / 5 / 2)};
    Context ctx{midnight.services, m_log, m_view, m_random};
    RandomizeSeed(ctx);
    EXPECT_EQ(m_random.lastSeed(), 3600.0F * 1000.0F);
    RandomizeSeed(m_ctx); // noon: 3,600,000 ms / 43,200 s
    EXPECT_FLOAT_EQ(m_random.lastSeed(), 3600.0F * 1000.0F / 43200.0F);
}
