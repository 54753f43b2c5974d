#include "ui/win32/FormInputCheck.h"

#include "platform/Prompter.h"
#include "ui/win32/Controls.h"

#include <windows.h>

namespace kesmaro {

using win32::Box;

namespace {

constexpr const wchar_t* kWindowClass = L"KesmaroFormInputCheck";
constexpr int kClientWidth = 300;
constexpr int kClientHeight = 150;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// Editing shortcuts reach the box as control characters: select all, copy, paste, cut, undo.
bool EditingControlCharacter(WPARAM c)
{
    return c == 0x01 || c == 0x03 || c == 0x16 || c == 0x18 || c == 0x1A;
}

} // namespace

std::string FormInputCheck::DesignCaption()
{
    return "パラメータ入力";
}

FormInputCheck::FormInputCheck(Prompter& prompter) : m_prompter(prompter)
{
    win32::RegisterFormClass({kWindowClass});
    m_window = CreateWindowExW(kExStyle, kWindowClass, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FormInputCheck::Proc));
    m_dpi = win32::WindowDpi(m_window);
    win32::SetText(m_window, DesignCaption());
    build();
}

FormInputCheck::~FormInputCheck()
{
    if (m_window) {
        SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
        DestroyWindow(m_window);
    }
}

void FormInputCheck::build()
{
    RECT frame{0, 0, win32::Scaled(kClientWidth, m_dpi), win32::Scaled(kClientHeight, m_dpi)};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    SetWindowPos(m_window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    // The guide text wraps onto a second line, so it is no single centred line.
    m_lblmsg = win32::CreateControl(m_window, L"STATIC", "インプットガイド", SS_LEFT | SS_NOPREFIX,
                                    {12, 8, 276, 40}, IdInputLblMsg, m_dpi);
    win32::CreateLabel(m_window, "最小：", {12, 54, 40, 18}, IdInputLblMin, m_dpi);
    m_lblminV = win32::CreateLabel(m_window, "", {52, 54, 90, 18}, IdInputLblMinV, m_dpi);
    win32::CreateLabel(m_window, "最大：", {156, 54, 40, 18}, IdInputLblMax, m_dpi);
    m_lblmaxv = win32::CreateLabel(m_window, "", {196, 54, 90, 18}, IdInputLblMaxV, m_dpi);
    win32::CreateButton(m_window, "<", {12, 78, 28, 24}, IdInputCmdDec, m_dpi);
    m_txtInput = win32::CreateControl(m_window, L"EDIT", "",
                                      ES_RIGHT | ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP,
                                      {44, 78, 212, 24}, IdInputTxtInput, m_dpi, WS_EX_CLIENTEDGE);
    win32::CreateButton(m_window, ">", {260, 78, 28, 24}, IdInputCmdInc, m_dpi);
    m_cmdEnter = win32::CreateButton(m_window, "決 定", {60, 114, 80, 26}, IdInputCmdEnter, m_dpi);
    win32::CreateButton(m_window, "キャンセル", {160, 114, 80, 26}, IdInputCmdCancel, m_dpi);
    win32::SetFontTree(m_window, win32::InterfaceFont(m_dpi));

    // The key filter sits in front of the box's own procedure.
    SetWindowLongPtrW(m_txtInput, GWLP_USERDATA,
                      SetWindowLongPtrW(m_txtInput, GWLP_WNDPROC,
                                        reinterpret_cast<LONG_PTR>(&FormInputCheck::InputProc)));
}

void FormInputCheck::placeOverOwner()
{
    HWND owner = reinterpret_cast<HWND>(GetWindowLongPtrW(m_window, GWLP_HWNDPARENT));
    RECT over{};
    if (!owner || !GetWindowRect(owner, &over))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
    RECT mine;
    GetWindowRect(m_window, &mine);
    const int width = mine.right - mine.left;
    const int height = mine.bottom - mine.top;
    SetWindowPos(m_window, nullptr, (over.left + over.right - width) / 2,
                 (over.top + over.bottom - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::optional<double> FormInputCheck::Ask(const NumberRequest& request)
{
    if (m_open)
        return std::nullopt; // one question at a time
    m_check = InputCheck(request.min, request.max, request.step);
    m_value.reset();
    win32::SetText(m_lblminV, InputCheck::NumberText(m_check.minValue()));
    win32::SetText(m_lblmaxv, InputCheck::NumberText(m_check.maxValue()));
    win32::SetText(m_lblmsg, request.message);
    win32::SetText(m_window, request.title.empty() ? DesignCaption() : request.title);
    win32::SetText(m_txtInput, InputCheck::NumberText(request.initial));

    // Owned by the window that asked, so that it stays in front of it.
    HWND owner = GetActiveWindow();
    SetWindowLongPtrW(m_window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    placeOverOwner();
    m_open = true;
    ShowWindow(m_window, SW_SHOW);
    SetForegroundWindow(m_window);
    SetFocus(m_txtInput);
    SendMessageW(m_txtInput, EM_SETSEL, 0, -1);
    win32::RunModal(
        m_window, [this] { return !m_open; }, [this](MSG& message) { return filter(message); });
    if (m_open)
        finish(std::nullopt, {}); // the program is quitting
    ShowWindow(m_window, SW_HIDE);
    SetWindowLongPtrW(m_window, GWLP_HWNDPARENT, 0);
    if (owner && IsWindow(owner))
        SetActiveWindow(owner);
    return m_value;
}

bool FormInputCheck::filter(MSG& message)
{
    if (message.hwnd != m_window && !IsChild(m_window, message.hwnd))
        return false;
    if (message.message != WM_KEYDOWN)
        return false;
    if (message.wParam == VK_ESCAPE) {
        cmdCancel_Click();
        return true;
    }
    if (message.wParam != VK_RETURN)
        return false;
    // Enter in the box only moves on to 決 定; on a button it presses that button.
    if (message.hwnd == m_txtInput) {
        SetFocus(m_cmdEnter);
        return true;
    }
    const int id = GetDlgCtrlID(message.hwnd);
    if (id >= IdInputCmdDec && id <= IdInputCmdCancel) {
        handle(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(message.hwnd));
        return true;
    }
    return false;
}

LRESULT CALLBACK FormInputCheck::InputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self =
        reinterpret_cast<FormInputCheck*>(GetWindowLongPtrW(GetParent(window), GWLP_USERDATA));
    const auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_CHAR:
        if (wParam == VK_RETURN) {
            if (self)
                SetFocus(self->m_cmdEnter);
            return 0;
        }
        if (wParam == VK_BACK || wParam == 127 || EditingControlCharacter(wParam) ||
            InputCheck::KeyPasses(static_cast<char32_t>(wParam)))
            break;
        return 0; // discarded
    case WM_SETFOCUS: {
        const LRESULT result = CallWindowProcW(original, window, message, wParam, lParam);
        // After the click that gave the focus has placed the caret.
        PostMessageW(window, EM_SETSEL, 0, -1);
        return result;
    }
    default:
        break;
    }
    return CallWindowProcW(original, window, message, wParam, lParam);
}

LRESULT CALLBACK FormInputCheck::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<FormInputCheck*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT FormInputCheck::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED)
            break;
        switch (LOWORD(wParam)) {
        case IdInputCmdDec:
            cmdDec_Click();
            return 0;
        case IdInputCmdInc:
            cmdInc_Click();
            return 0;
        case IdInputCmdEnter:
            cmdEnter_Click();
            return 0;
        case IdInputCmdCancel:
            cmdCancel_Click();
            return 0;
        default:
            break;
        }
        break;
    case WM_CLOSE:
        closeControl();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

void FormInputCheck::tell(const char* title, const char* text)
{
    m_prompter.Ask(Prompt{title, text, PromptButtons::Ok, PromptIcon::None});
}

bool FormInputCheck::charactersValid()
{
    if (InputCheck::ValidCharacters(win32::GetText(m_txtInput)))
        return true;
    tell("入力チェック", "無効文字が含まれています。");
    return false;
}

void FormInputCheck::cmdDec_Click()
{
    if (charactersValid())
        win32::SetText(m_txtInput, m_check.Dec(win32::GetText(m_txtInput)));
}

void FormInputCheck::cmdInc_Click()
{
    if (charactersValid())
        win32::SetText(m_txtInput, m_check.Inc(win32::GetText(m_txtInput)));
}

void FormInputCheck::cmdEnter_Click()
{
    double value = 0;
    switch (m_check.Confirm(win32::GetText(m_txtInput), &value)) {
    case InputCheck::Verdict::InvalidCharacters:
        tell("入力チェック", "無効文字が含まれています。");
        return;
    case InputCheck::Verdict::BelowMinimum:
        tell("入力エラー", "入力下限を超えています");
        SetFocus(m_txtInput);
        return;
    case InputCheck::Verdict::AboveMaximum:
        tell("入力エラー", "入力上限を超えています");
        SetFocus(m_txtInput);
        return;
    case InputCheck::Verdict::Confirmed:
        finish(value, {});
        return;
    }
}

void FormInputCheck::cmdCancel_Click()
{
    finish(std::nullopt, {});
}

void FormInputCheck::closeControl()
{
    // A cancel, and the next call finds the window as designed.
    finish(std::nullopt, DesignCaption());
}

void FormInputCheck::finish(std::optional<double> value, const std::string& caption)
{
    if (!m_open)
        return;
    m_value = value;
    win32::SetText(m_window, caption);
    m_open = false;
}

} // namespace kesmaro
