#include "FormsFixture.h"

using namespace kesmaro;
using namespace Qt::StringLiterals;

namespace {

class FormPopupTest : public FormsTest {
protected:
    FormPopupTest()
    {
        load();
        ShowPopup(p.popup, p.flags, m_view, "ゲームが見つかりません", "エラー", 14);
        settle();
    }
    FormPopup& popup() { return *m_view.popup(); }

    // Closes by the user once and returns the texts shown at the given times into the refusal.
    QStringList refuse(std::initializer_list<int> sampleMs)
    {
        QStringList seen;
        const std::int64_t now = sim.clock.elapsedMs();
        for (int ms : sampleMs)
            sim.scheduler.at(now + ms, [&] { seen << popup().text(); });
        EXPECT_FALSE(popup().userClose());
        return seen;
    }
};

TEST_F(FormPopupTest, RefusedClosesShowTheirRemarksAndPutTheMessageBack)
{
    ASSERT_TRUE(popup().isVisible());
    EXPECT_EQ(popup().windowTitle(), u"エラー"_s);
    EXPECT_EQ(refuse({500}), QStringList{u"閉じないでください。"_s});
    EXPECT_EQ(popup().text(), u"ゲームが見つかりません"_s);
    EXPECT_EQ(refuse({500}), QStringList{u"Gamebryo Applicationを起動すれば勝手に閉じますよ"_s});
    for (int i = 3; i < 19; ++i)
        refuse({});
    // The first animation: three texts two seconds each, then the face for the usual second.
    const QStringList frames = refuse({1000, 3000, 5000, 6500});
    ASSERT_EQ(frames.size(), 4);
    EXPECT_EQ(frames[0], u"ハードディスクフォーマット\n始めるよ！"_s);
    EXPECT_EQ(frames[1], u"Ｂドライブフォーマット開始・・・"_s);
    EXPECT_EQ(frames[2], u"え、Ｂドライブなんて無い？"_s);
    EXPECT_NE(frames[3], frames[2]);
    EXPECT_EQ(popup().text(), u"ゲームが見つかりません"_s);
    while (popup().closeAttempts() < 299)
        refuse({});
    EXPECT_EQ(refuse({500}), QStringList{u" っ 「キング・オブ・ひまじん」"_s});
    EXPECT_TRUE(popup().isVisible());
}

TEST_F(FormPopupTest, TheProgramsOwnClosesAreAcceptedAndRunsHideIt)
{
    // The capture cycle may hide the window in the middle of a joke.
    const std::int64_t now = sim.clock.elapsedMs();
    sim.scheduler.at(now + 500, [&] { HidePopup(p.flags, m_view); });
    EXPECT_FALSE(popup().userClose());
    EXPECT_FALSE(popup().isVisible());

    ShowPopup(p.popup, p.flags, m_view, "待機中", "", 9);
    EXPECT_EQ(popup().windowTitle(), u"メッセージ "_s);
    p.flags.ProgramClosing = true;
    EXPECT_TRUE(popup().userClose());
    EXPECT_FALSE(popup().isVisible());
    EXPECT_EQ(popup().closeAttempts(), 1);
}

} // namespace
