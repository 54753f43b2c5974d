#include "records/Utilities.h"

#include "common/TextFile.h"
#include "measurement/MeasurementState.h"
#include "platform/sim/SimServices.h"
#include "records/Program.h"

#include <QFile>
#include <QTemporaryDir>
#include <gmock/gmock.h>
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

TEST_F(UtilitiesTest, OpenDocumentOnAMissingFileSaysSoAndOpensNothing)
{
    OpenDocument(m_ctx, m_dir.filePath(QStringLiteral("ReadMe.txt")), 500);
    ASSERT_EQ(m_sim.prompter.asked().size(), 1u);
    EXPECT_EQ(m_sim.prompter.asked()[0].prompt.title, "実行エラー");
    EXPECT_EQ(m_sim.prompter.asked()[0].prompt.text, "ReadMe.txtファイルが見つかりません。");
    EXPECT_TRUE(m_sim.shell.requests.empty());
    EXPECT_EQ(logLines(), QStringList{QStringLiteral("Execution File Not Find  ") +
                                      m_dir.filePath(QStringLiteral("ReadMe.txt"))});
}

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
    EXPECT_TRUE(flags.PopupShown);
    EXPECT_EQ(popup.caption, QStringLiteral("メッセージ "));
    EXPECT_EQ(popup.fontSize, 14);
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
    const double first = m_random.next();
    EXPECT_GE(first, 0.0);
    EXPECT_LT(first, 1.0);
    RandomizeSeed(m_ctx); // noon: 3,600,000 ms / 43,200 s
    EXPECT_FLOAT_EQ(m_random.lastSeed(), 3600.0F * 1000.0F / 43200.0F);
}

TEST(MeasurementStateTest, StartsAtZeroEverywhere)
{
    const MeasurementState m;
    EXPECT_EQ(m.ReadLv, 0);
    EXPECT_EQ(m.ReadMoney, Currency());
    EXPECT_EQ(m.ExpClock[TrackPrevious], 0);
    EXPECT_EQ(m.MoneyAreaMode, MoneyAreaDetect);
    EXPECT_FALSE(m.NextCaptureTime.isValid());
    EXPECT_EQ(m.MoneyPair[1], Currency());
}

TEST(ProgramTest, StartsIdleWithTheLogReportingToTheView)
{
    struct LogView : ProgramView {
        void logChanged() override { ++changes; }
        int changes = 0;
    } view;
    SimServices sim{LocalDateTime{}};
    QTemporaryDir dir;
    DebugLog log(dir.path(), sim.clock);
    Program p(sim.services, log, view, dir.path());
    EXPECT_TRUE(p.LogStartStamp.isEmpty());
    EXPECT_TRUE(p.menus.menuRunEnabled);
    EXPECT_EQ(p.menus.menuRunCaption, QStringLiteral("開始"));
    EXPECT_FALSE(p.menus.menuStopEnabled);
    p.txtLog.AppendToTextBox(QStringLiteral("x\r\n"));
    EXPECT_EQ(view.changes, 1);
}
