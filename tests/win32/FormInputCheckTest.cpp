// The numeric input dialog, driven through window messages while its own modal loop runs.

#include "ui/win32/FormInputCheck.h"

#include "ScriptedModal.h"
#include "platform/sim/SimPrompter.h"
#include "ui/win32/Controls.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

using namespace kesmaro;
using test::ScriptedModal;

namespace {

class FormInputCheckTest : public ::testing::Test {
protected:
    // Runs `script` once the dialog is open, then returns what the dialog answered.
    std::optional<double> ask(const NumberRequest& request, std::function<void()> script)
    {
        ScriptedModal::Then([this, script = std::move(script)] {
            captionWhileOpen = win32::GetText(dialog.hwnd());
            script();
        });
        return dialog.Ask(request);
    }
    HWND w(int id) const { return GetDlgItem(dialog.hwnd(), id); }
    std::string text(int id) const { return win32::GetText(w(id)); }
    void setText(const std::string& text) { win32::SetText(w(IdInputTxtInput), text); }
    void click(int id)
    {
        SendMessageW(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(w(id)));
    }
    void typeChar(wchar_t c) { SendMessageW(w(IdInputTxtInput), WM_CHAR, c, 0); }
    // A key as the keyboard delivers it: through the dialog's loop, to the focused control.
    void pressKey(UINT key) { PostMessageW(GetFocus(), WM_KEYDOWN, key, 0); }
    std::vector<std::string> messages() const
    {
        std::vector<std::string> texts;
        for (const SimPrompter::Asked& a : prompter.asked())
            texts.push_back(a.prompt.text);
        return texts;
    }

    SimPrompter prompter;
    FormInputCheck dialog{prompter};
    std::string captionWhileOpen;
    const NumberRequest interval{"1",         "1440", 6, "5", "キャプチャー周期を入力してください",
                                 "設定値入力"};
};

TEST_F(FormInputCheckTest, ShowsTheRequestWithBoundsInEitherOrderAndConfirmsATypedNumber)
{
    EXPECT_EQ(win32::GetText(dialog.hwnd()), "パラメータ入力");
    const std::optional<double> answer =
        ask({"2048", "-2048", 0, "8", "一行目\r\n二行目", "設定値入力"}, [&] {
            EXPECT_TRUE(IsWindowVisible(dialog.hwnd()));
            EXPECT_EQ(text(IdInputLblMinV), "-2048");
            EXPECT_EQ(text(IdInputLblMaxV), "2048");
            EXPECT_EQ(text(IdInputLblMsg), "一行目\r\n二行目");
            EXPECT_EQ(text(IdInputLblMin), "最小：");
            EXPECT_EQ(text(IdInputCmdEnter), "決 定");
            EXPECT_EQ(text(IdInputTxtInput), "0");
            DWORD start = 1;
            DWORD end = 0;
            SendMessageW(w(IdInputTxtInput), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                         reinterpret_cast<LPARAM>(&end));
            EXPECT_EQ(start, 0u);
            EXPECT_EQ(end, 1u) << "the starting value is selected whole";
            EXPECT_EQ(GetFocus(), w(IdInputTxtInput));
            setText("1 5");
            click(IdInputCmdEnter);
        });
    EXPECT_EQ(answer, 15.0);
    EXPECT_EQ(captionWhileOpen, "設定値入力");
    EXPECT_EQ(win32::GetText(dialog.hwnd()), "") << "cleared after a confirm";
    EXPECT_FALSE(IsWindowVisible(dialog.hwnd()));
}

TEST_F(FormInputCheckTest, StepsStopAtTheBoundTheyMoveTowards)
{
    const std::optional<double> answer = ask({"100", "2000", 150, "-100", "", ""}, [&] {
        click(IdInputCmdDec);
        EXPECT_EQ(text(IdInputTxtInput), "100") << "clamped, not 50";
        click(IdInputCmdDec);
        EXPECT_EQ(text(IdInputTxtInput), "100");
        setText("1950");
        click(IdInputCmdInc);
        EXPECT_EQ(text(IdInputTxtInput), "2000");
        setText("50");
        click(IdInputCmdInc);
        EXPECT_EQ(text(IdInputTxtInput), "150") << "no test against the other bound";
        click(IdInputCmdEnter);
    });
    EXPECT_EQ(answer, 150.0);
    EXPECT_TRUE(messages().empty());
}

TEST_F(FormInputCheckTest, BoundAndCharacterMessagesKeepTheDialogOpenWithItsText)
{
    const std::optional<double> answer = ask(interval, [&] {
        for (const char* typed : {"0", "1441", "1E400"}) {
            SCOPED_TRACE(typed);
            setText(typed);
            click(IdInputCmdEnter);
            EXPECT_TRUE(dialog.isOpen());
            EXPECT_EQ(text(IdInputTxtInput), typed);
            EXPECT_EQ(GetFocus(), w(IdInputTxtInput)) << "the focus goes back to the box";
        }
        setText("12a"); // pasted
        click(IdInputCmdEnter);
        click(IdInputCmdInc);
        click(IdInputCmdDec);
        EXPECT_EQ(text(IdInputTxtInput), "12a");
        EXPECT_TRUE(dialog.isOpen());
        setText("1440");
        click(IdInputCmdEnter);
    });
    EXPECT_EQ(answer, 1440.0);
    EXPECT_EQ(messages(), (std::vector<std::string>{
                              "入力下限を超えています", "入力上限を超えています",
                              "入力上限を超えています", "無効文字が含まれています。",
                              "無効文字が含まれています。", "無効文字が含まれています。"}));
    ASSERT_EQ(prompter.asked().size(), 6u);
    EXPECT_EQ(prompter.asked()[0].prompt.title, "入力エラー");
    EXPECT_EQ(prompter.asked()[3].prompt.title, "入力チェック");
}

TEST_F(FormInputCheckTest, ALoneMinusConfirmsAsZeroWithinBoundsThatHoldIt)
{
    EXPECT_EQ(ask({"-5", "5", 1, "1", "", ""},
                  [&] {
                      setText("-");
                      click(IdInputCmdEnter);
                  }),
              0.0);
}

TEST_F(FormInputCheckTest, KeysAreFilteredAndEnterOnlyMovesTheFocus)
{
    const std::optional<double> answer = ask(interval, [&] {
        setText("");
        for (const wchar_t c : std::wstring(L"1a E,e+ x2-.\x3042"))
            typeChar(c);
        EXPECT_EQ(text(IdInputTxtInput), "1Ee2-.");
        typeChar(VK_BACK);
        EXPECT_EQ(text(IdInputTxtInput), "1Ee2-");
        setText("12");
        SendMessageW(w(IdInputTxtInput), EM_SETSEL, 2, 2);
        typeChar(VK_RETURN);
        EXPECT_TRUE(dialog.isOpen()) << "Enter does not confirm";
        EXPECT_EQ(GetFocus(), w(IdInputCmdEnter));
        EXPECT_EQ(text(IdInputTxtInput), "12");
        click(IdInputCmdDec);
        EXPECT_EQ(text(IdInputTxtInput), "7");
        click(IdInputCmdEnter);
    });
    EXPECT_EQ(answer, 7.0);
}

// Enter, Enter from the keyboard: the first moves to 決 定, the second confirms there.
TEST_F(FormInputCheckTest, ASecondEnterOnTheFocusedButtonConfirms)
{
    const std::optional<double> answer = ask(interval, [&] {
        setText("42");
        SetFocus(w(IdInputTxtInput));
        pressKey(VK_RETURN);
        ScriptedModal::Then([&] {
            EXPECT_TRUE(dialog.isOpen());
            EXPECT_EQ(GetFocus(), w(IdInputCmdEnter));
            pressKey(VK_RETURN);
        });
    });
    EXPECT_EQ(answer, 42.0);
}

TEST_F(FormInputCheckTest, CancelEscapeAndTheCloseControlAllCancel)
{
    EXPECT_EQ(ask(interval, [&] { click(IdInputCmdCancel); }), std::nullopt);
    EXPECT_EQ(win32::GetText(dialog.hwnd()), "");
    EXPECT_EQ(ask(interval,
                  [&] {
                      setText("33");
                      pressKey(VK_ESCAPE);
                  }),
              std::nullopt);
    EXPECT_EQ(ask(interval, [&] { SendMessageW(dialog.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); }),
              std::nullopt);
    EXPECT_EQ(win32::GetText(dialog.hwnd()), "パラメータ入力") << "as designed after a close";
    // 19999 within bounds that hold it is an answer like any other.
    EXPECT_EQ(ask({"2", "32000", 10, "1", "", ""},
                  [&] {
                      setText("19999");
                      click(IdInputCmdEnter);
                  }),
              19999.0);
    EXPECT_EQ(captionWhileOpen, "パラメータ入力") << "no title: the design caption";
    EXPECT_TRUE(messages().empty());
}

// The modal loop: the other windows take no input, and timers keep firing meanwhile.
TEST_F(FormInputCheckTest, OtherWindowsWaitWhileTheirTimersRun)
{
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    static int ticks = 0;
    ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) { ++ticks; });
    const std::optional<double> answer = ask(interval, [&] {
        EXPECT_FALSE(IsWindowEnabled(other));
        const int before = ticks;
        ScriptedModal::When([before] { return ticks >= before + 3; },
                            [&, before] {
                                EXPECT_GE(ticks, before + 3);
                                click(IdInputCmdEnter);
                            });
    });
    KillTimer(nullptr, timer);
    EXPECT_EQ(answer, 6.0);
    EXPECT_TRUE(IsWindowEnabled(other));
    DestroyWindow(other);
}

} // namespace
