#include "ui/win32/FormVersion.h"

#include "ProgramFixture.h"
#include "common/Paths.h"
#include "common/Utf8.h"
#include "config/Settings.h"
#include "records/Documents.h"

#include <fstream>

using namespace kesmaro;

namespace {

std::string Text(HWND hwnd)
{
    wchar_t text[256] = {};
    GetWindowTextW(hwnd, text, 256);
    return WideToUtf8(text);
}

class FormVersionTest : public test::ProgramFixture {
protected:
    FormVersionTest()
    {
        // A build without a support site links to the quick-start document beside the program.
        std::ofstream(
            std::filesystem::path(Utf8ToWide(JoinPath(p.documentFolder, kQuickReferenceDocument))));
    }
    std::string expectedTarget() const
    {
        return SupportLink::SiteAddress().empty()
                   ? JoinPath(p.documentFolder, kQuickReferenceDocument)
                   : SupportLink::SiteAddress();
    }
};

TEST_F(FormVersionTest, ShowsTheProgramAndOpensTheSiteOnEverySecondClick)
{
    FormVersion window(p, nullptr);
    ASSERT_NE(window.hwnd(), nullptr);
    EXPECT_EQ(Text(window.hwnd()), "バージョン情報");
    EXPECT_EQ(Text(window.control("lblName")), "Kesmaro  for  Dragonica");
    EXPECT_EQ(Text(window.control("lblVer")), kProgramVersion);
    EXPECT_EQ(Text(window.control("Label1")), "Support Site");
    HWND link = window.control("lblHomePage");
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(Text(link), SupportLink::Name());

    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    const auto hover = [&] {
        SendMessageW(window.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(link),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    };
    const auto click = [&] {
        SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    };
    hover();
    EXPECT_EQ(window.linkCursor(), hand);
    click();
    EXPECT_TRUE(sim.shell.requests.empty()) << "the first click only arms the link";
    hover();
    EXPECT_EQ(window.linkCursor(), hand) << "armed, still a link";
    click();
    ASSERT_EQ(sim.shell.requests.size(), 1u);
    EXPECT_EQ(sim.shell.requests[0].target, expectedTarget());
    EXPECT_EQ(window.linkCursor(), arrow) << "opened: the default pointer";
    hover();
    EXPECT_EQ(window.linkCursor(), hand) << "back over the idle link";
    click();
    EXPECT_EQ(sim.shell.requests.size(), 1u);
    click();
    EXPECT_EQ(sim.shell.requests.size(), 2u);

    SendMessageW(window.hwnd(), WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(window.closed());
}

// The modal loop: the owner takes no input while the window is up and gets it back after.
HWND g_owner = nullptr;
bool g_ownerDisabled = false;

void CALLBACK CloseVersionWindow(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    HWND window = FindWindowW(L"KesmaroVersion", nullptr);
    g_ownerDisabled = !IsWindowEnabled(g_owner);
    if (window)
        PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST_F(FormVersionTest, IsModalOverItsOwnerUntilClosed)
{
    g_owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300,
                              200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetTimer(nullptr, 0, 200, CloseVersionWindow);
    ShowVersionWindow(g_owner, p);
    EXPECT_TRUE(g_ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(g_owner));
    EXPECT_EQ(FindWindowW(L"KesmaroVersion", nullptr), nullptr);
    DestroyWindow(g_owner);
}

} // namespace
