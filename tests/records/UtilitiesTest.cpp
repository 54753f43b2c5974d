#include "ProgramFixture.h"
#include "records/Beep.h"
#include "records/Documents.h"
#include "records/Popup.h"
#include "records/RandomSeed.h"
#include "state/Context.h"
#include "state/RuntimeFlags.h"

#include <QFile>

using namespace kesmaro;
using namespace kesmaro::test;

class UtilitiesTest : public ProgramFixture {
protected:
    Context m_ctx = m_program.context();
};

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
    ShowPopup(m_program.popup, m_program.flags, m_view, QStringLiteral("not running"), QString(),
              14);
    EXPECT_EQ(m_program.popup.caption, QStringLiteral("メッセージ "));
    HidePopup(m_program.flags, m_view);
    HidePopup(m_program.flags, m_view); // hiding a hidden popup is harmless
    EXPECT_FALSE(m_program.flags.PopupShown);
    EXPECT_EQ(m_view.popups, 3);
}

TEST_F(UtilitiesTest, RandomizeSeedAtMidnightDoesNotDivideByZero)
{
    SimServices midnight{std::chrono::local_days(std::chrono::year(2024) / 5 / 2)};
    RandomGenerator& random = m_program.random;
    Context atMidnight{midnight.services, m_log, m_view, random};
    RandomizeSeed(atMidnight);
    EXPECT_EQ(random.lastSeed(), 3600.0F * 1000.0F);
    RandomizeSeed(m_ctx); // 21:30: 3,600,000 ms / 77,400 s
    EXPECT_FLOAT_EQ(random.lastSeed(), 3600.0F * 1000.0F / 77400.0F);
}
