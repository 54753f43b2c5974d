#include "ui/win32/FormPopup.h"

#include "ProgramFixture.h"
#include "common/Utf8.h"
#include "config/Defaults.h"
#include "records/Popup.h"

#include <initializer_list>
#include <vector>

using namespace kesmaro;

namespace {

std::string Caption(HWND hwnd)
{
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    return WideToUtf8(text);
}

// The popup as the program's view drives it: ShowPopup and HidePopup tell it to show its state.
class FormPopupTest : public test::ProgramFixture {
protected:
    FormPopupTest()
    {
        p.settings.SearchWindowClass = kDefaultWindowClass;
        show("ゲームが見つかりません", "エラー", 14);
    }
    void show(const char* message, const char* caption, int fontSize)
    {
        ShowPopup(p.popup, p.flags, view, message, caption, fontSize);
        popup.showState();
    }
    void hide()
    {
        HidePopup(p.flags, view);
        popup.showState();
    }

    // Closes through the close box once and returns the texts shown at the given times into
    // the refusal.
    std::vector<std::string> refuse(std::initializer_list<int> sampleMs)
    {
        std::vector<std::string> seen;
        const std::int64_t now = sim.clock.elapsedMs();
        for (int ms : sampleMs)
            sim.scheduler.at(now + ms, [&] { seen.push_back(popup.text()); });
        SendMessageW(popup.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
        return seen;
    }

    FormPopup popup{p};
};

TEST_F(FormPopupTest, RefusedClosesShowTheirRemarksAndPutTheMessageBack)
{
    ASSERT_TRUE(IsWindowVisible(popup.hwnd()));
    EXPECT_TRUE(GetWindowLongPtrW(popup.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(Caption(popup.hwnd()), "エラー");
    EXPECT_EQ(popup.text(), "ゲームが見つかりません");
    EXPECT_EQ(refuse({500}), std::vector<std::string>{"閉じないでください。"});
    EXPECT_EQ(popup.text(), "ゲームが見つかりません");
    EXPECT_EQ(refuse({500}),
              std::vector<std::string>{"Gamebryo Applicationを起動すれば勝手に閉じますよ"});
    EXPECT_EQ(popup.closeAttempts(), 2);
    for (int i = 3; i < 19; ++i)
        refuse({});
    // The first animation: three texts two seconds each, then the face for the usual second.
    const std::vector<std::string> frames = refuse({1000, 3000, 5000, 6500});
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0], "ハードディスクフォーマット\r\n始めるよ！");
    EXPECT_EQ(frames[1], "Ｂドライブフォーマット開始・・・");
    EXPECT_EQ(frames[2], "え、Ｂドライブなんて無い？");
    EXPECT_NE(frames[3], frames[2]);
    EXPECT_EQ(popup.text(), "ゲームが見つかりません");
    while (popup.closeAttempts() < 299)
        refuse({});
    EXPECT_EQ(refuse({500}), std::vector<std::string>{" っ 「キング・オブ・ひまじん」"});
    EXPECT_TRUE(IsWindowVisible(popup.hwnd()));
}

TEST_F(FormPopupTest, ALongRemarkWidensTheWindowAndTheLabelStaysCentred)
{
    show("待機中", "", 9);
    RECT before{};
    GetWindowRect(popup.hwnd(), &before);
    const std::string wide(120, 'W');
    show(wide.c_str(), "", 9);
    RECT after{};
    GetWindowRect(popup.hwnd(), &after);
    EXPECT_GT(after.right - after.left, before.right - before.left);
    EXPECT_EQ(p.popup.widthTwips, (after.right - after.left) * kTwipsPerPixel);
    HWND label = GetWindow(popup.hwnd(), GW_CHILD);
    RECT client{};
    GetClientRect(popup.hwnd(), &client);
    RECT placed{};
    GetWindowRect(label, &placed);
    MapWindowPoints(nullptr, popup.hwnd(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, 0) << "the window grew to the label";
    EXPECT_NEAR(placed.top, client.bottom - placed.bottom, 1) << "centred vertically";
}

TEST_F(FormPopupTest, TheProgramsOwnClosesAreAcceptedAndRunsHideIt)
{
    // The capture cycle may hide the window in the middle of a joke.
    const std::int64_t now = sim.clock.elapsedMs();
    sim.scheduler.at(now + 500, [&] { hide(); });
    EXPECT_FALSE(popup.userClose());
    EXPECT_FALSE(IsWindowVisible(popup.hwnd()));

    show("待機中", "", 9);
    EXPECT_EQ(Caption(popup.hwnd()), "メッセージ ");
    popup.close();
    EXPECT_FALSE(IsWindowVisible(popup.hwnd())) << "a close by the program";
    EXPECT_EQ(popup.closeAttempts(), 1);

    show("待機中", "", 9);
    p.flags.ProgramClosing = true;
    SendMessageW(popup.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindowVisible(popup.hwnd())) << "the close box while the program closes";
    show("待機中", "", 9);
    EXPECT_TRUE(popup.userClose());
    EXPECT_FALSE(IsWindowVisible(popup.hwnd()));
    EXPECT_EQ(popup.closeAttempts(), 1);
    EXPECT_TRUE(IsWindow(popup.hwnd())) << "hidden, not destroyed";
}

} // namespace
