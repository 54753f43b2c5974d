#include "ui/win32/AreaFinderDialog.h"

#include "common/Utf8.h"
#include "ui/win32/Controls.h"

#include <algorithm>
#include <windows.h>

namespace kesmaro {

using win32::Box;
using win32::Scaled;

namespace {

constexpr const wchar_t* kWindowClass = L"KesmaroAreaFinder";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// Large frames are shown at most this big; the areas are a few pixels high, so each also gets
// an enlarged picture of its own.
constexpr int kViewWidth = 800;
constexpr int kViewHeight = 500;
constexpr int kZoom = 3;
constexpr int kMargin = 8;
constexpr int kNameWidth = 70;
constexpr int kTextWidth = 330;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;

std::string Describe(const FoundNumber& number)
{
    switch (number.status) {
    case FindStatus::Found:
        return number.digits + "  (X " + std::to_string(number.area.x) + ", Y " +
               std::to_string(number.area.y) + ", 幅 " + std::to_string(number.area.width) +
               ", 高さ " + std::to_string(number.area.height) + ")";
    case FindStatus::Ambiguous:
        return "候補が " + std::to_string(number.all.size()) + " か所あります（設定しません）";
    case FindStatus::NotFound:
        break;
    }
    return "見つかりません（設定しません）";
}

// The name's colour darkened for text on the dialog's face.
COLORREF Darker(COLORREF colour)
{
    return RGB(GetRValue(colour) * 10 / 13, GetGValue(colour) * 10 / 13,
               GetBValue(colour) * 10 / 13);
}

} // namespace

AreaFinderDialog::AreaFinderDialog(HWND owner, const PixelBuffer& frame,
                                   const AreaProposal& proposal)
    : m_frame(frame), m_entries{{
                          {"Lv", &proposal.level, RGB(255, 64, 64), {}},
                          {"Exp", &proposal.exp, RGB(40, 220, 90), {}},
                          {"Money", &proposal.coins, RGB(60, 160, 255), {}},
                          {"Money(2)", &proposal.coins2, RGB(255, 120, 255), {}},
                      }}
{
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        Entry& e = m_entries[i];
        // A second coin display that is not there is no news.
        if (e.number == &proposal.coins2 && e.number->status == FindStatus::NotFound)
            continue;
        if (e.number->status == FindStatus::Found)
            e.crop = CropFrame(frame, e.number->area);
        m_rows.push_back(i);
        m_summary.push_back(std::string(e.name) + ": " + Describe(*e.number));
    }
    build(owner);
    const bool any = proposal.level.status == FindStatus::Found ||
                     proposal.exp.status == FindStatus::Found ||
                     proposal.coins.status == FindStatus::Found;
    EnableWindow(win32::FindControl(m_window, IdFinderApply), any ? TRUE : FALSE);
}

AreaFinderDialog::~AreaFinderDialog()
{
    if (m_window) {
        SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
        DestroyWindow(m_window);
    }
}

void AreaFinderDialog::build(HWND owner)
{
    win32::RegisterFormClass({kWindowClass});
    m_owner = owner;
    m_window = CreateWindowExW(kExStyle, kWindowClass, L"", kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AreaFinderDialog::Proc));
    m_dpi = win32::WindowDpi(m_window);
    win32::SetText(m_window, "自動検出");

    if (m_frame.isWhole()) {
        const double scale = std::min({1.0, static_cast<double>(kViewWidth) / m_frame.width,
                                       static_cast<double>(kViewHeight) / m_frame.height});
        m_view = {static_cast<LONG>(m_frame.width * scale),
                  static_cast<LONG>(m_frame.height * scale)};
    }
    int cropWidth = 100;
    for (std::size_t i : m_rows)
        if (!m_entries[i].crop.isEmpty())
            cropWidth = std::max(cropWidth, m_entries[i].crop.width * kZoom);
    const int rowsWidth = kNameWidth + cropWidth + kMargin + kTextWidth;
    const int width = std::max<int>(m_view.cx, rowsWidth);

    win32::CreateControl(
        m_window, L"STATIC", "", SS_OWNERDRAW,
        {kMargin, kMargin, static_cast<int>(m_view.cx), static_cast<int>(m_view.cy)}, IdFinderFrame,
        m_dpi);
    int top = kMargin + static_cast<int>(m_view.cy) + kMargin;
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        const Entry& e = m_entries[m_rows[row]];
        const int cropHeight = e.crop.isEmpty() ? 0 : e.crop.height * kZoom;
        const int height = std::max(cropHeight, 18) + 6;
        const int id = static_cast<int>(row);
        win32::CreateLabel(m_window, e.name, {kMargin, top, kNameWidth, height},
                           IdFinderNameFirst + id, m_dpi);
        win32::CreateControl(m_window, L"STATIC", "", SS_OWNERDRAW,
                             {kMargin + kNameWidth, top + (height - cropHeight) / 2, cropWidth,
                              std::max(cropHeight, 1)},
                             IdFinderCropFirst + id, m_dpi);
        win32::CreateLabel(m_window, m_summary[row].substr(std::string(e.name).size() + 2),
                           {kMargin + kNameWidth + cropWidth + kMargin, top, kTextWidth, height},
                           IdFinderTextFirst + id, m_dpi);
        top += height;
    }
    top += kMargin;
    win32::CreateLabel(m_window, "見つかった領域をキャプチャ領域に設定しますか？",
                       {kMargin, top, width, 20}, IdFinderQuestion, m_dpi);
    top += 20 + kMargin;
    const int right = kMargin + width;
    win32::CreateButton(m_window, "適用",
                        {right - 2 * kButtonWidth - kMargin, top, kButtonWidth, kButtonHeight},
                        IdFinderApply, m_dpi);
    win32::CreateButton(m_window, "キャンセル",
                        {right - kButtonWidth, top, kButtonWidth, kButtonHeight}, IdFinderCancel,
                        m_dpi);
    top += kButtonHeight + kMargin;
    win32::SetFontTree(m_window, win32::InterfaceFont(m_dpi));

    RECT frame{0, 0, Scaled(width + 2 * kMargin, m_dpi), Scaled(top, m_dpi)};
    AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
    RECT over{};
    if (!owner || !GetWindowRect(owner, &over))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
    const int outerWidth = frame.right - frame.left;
    const int outerHeight = frame.bottom - frame.top;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    // Centred over the owner, kept on the work area.
    const int left = std::clamp<int>((over.left + over.right - outerWidth) / 2, work.left,
                                     std::max<int>(work.left, work.right - outerWidth));
    const int topEdge = std::clamp<int>((over.top + over.bottom - outerHeight) / 2, work.top,
                                        std::max<int>(work.top, work.bottom - outerHeight));
    SetWindowPos(m_window, nullptr, left, topEdge, outerWidth, outerHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

bool AreaFinderDialog::confirm(HWND owner, const PixelBuffer& frame, const AreaProposal& proposal)
{
    AreaFinderDialog dialog(owner, frame, proposal);
    return dialog.run();
}

bool AreaFinderDialog::run()
{
    m_open = true;
    m_applied = false;
    ShowWindow(m_window, SW_SHOW);
    SetForegroundWindow(m_window);
    HWND apply = win32::FindControl(m_window, IdFinderApply);
    SetFocus(IsWindowEnabled(apply) ? apply : win32::FindControl(m_window, IdFinderCancel));
    win32::RunModal(
        m_window, [this] { return !m_open; }, [this](MSG& message) { return filter(message); });
    m_open = false;
    ShowWindow(m_window, SW_HIDE);
    if (m_owner && IsWindow(m_owner))
        SetActiveWindow(m_owner);
    return m_applied;
}

bool AreaFinderDialog::filter(MSG& message)
{
    if (message.message != WM_KEYDOWN ||
        (message.hwnd != m_window && !IsChild(m_window, message.hwnd)))
        return false;
    if (message.wParam == VK_ESCAPE) {
        finish(false);
        return true;
    }
    if (message.wParam == VK_RETURN) {
        const int id = GetDlgCtrlID(message.hwnd);
        finish(id == IdFinderApply);
        return true;
    }
    return false;
}

void AreaFinderDialog::finish(bool applied)
{
    m_applied = applied;
    m_open = false;
}

void AreaFinderDialog::drawFrame(const DRAWITEMSTRUCT& item)
{
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    if (!m_frame.isWhole())
        return;
    win32::DrawPixels(item.hDC, item.rcItem, m_frame);
    const double scale = static_cast<double>(item.rcItem.right - item.rcItem.left) / m_frame.width;
    const auto shown = [&](const Rect& r) {
        return RECT{static_cast<LONG>(r.x * scale) - 3, static_cast<LONG>(r.y * scale) - 3,
                    static_cast<LONG>((r.x + r.width) * scale) + 3,
                    static_cast<LONG>((r.y + r.height) * scale) + 3};
    };
    HGDIOBJ oldBrush = SelectObject(item.hDC, GetStockObject(NULL_BRUSH));
    HGDIOBJ oldFont = SelectObject(item.hDC, win32::InterfaceFont(m_dpi));
    for (const Entry& e : m_entries) {
        const FoundNumber& n = *e.number;
        if (n.status == FindStatus::NotFound)
            continue;
        LOGBRUSH brush{BS_SOLID, e.colour, 0};
        // A geometric pen: GDI draws wide cosmetic pens solid whatever their style.
        HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_MITER |
                                    (n.status == FindStatus::Found ? PS_SOLID : PS_DASH),
                                2, &brush, 0, nullptr);
        HGDIOBJ oldPen = SelectObject(item.hDC, pen);
        if (n.status == FindStatus::Found) {
            const RECT box = shown(n.area);
            Rectangle(item.hDC, box.left, box.top, box.right, box.bottom);
            // The name on a dark tag above the box, readable over sky and panel alike.
            const std::wstring name = Utf8ToWide(e.name);
            SIZE extent{};
            GetTextExtentPoint32W(item.hDC, name.c_str(), static_cast<int>(name.size()), &extent);
            RECT tag{box.left, box.top - extent.cy - 2, box.left + extent.cx + 6, box.top - 1};
            if (tag.top < 0)
                OffsetRect(&tag, 0, box.bottom - box.top + extent.cy + 3);
            HBRUSH dark = CreateSolidBrush(RGB(32, 32, 32));
            FillRect(item.hDC, &tag, dark);
            DeleteObject(dark);
            SetBkMode(item.hDC, TRANSPARENT);
            SetTextColor(item.hDC, e.colour);
            DrawTextW(item.hDC, name.c_str(), static_cast<int>(name.size()), &tag,
                      DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        } else {
            for (const Rect& r : n.all) {
                const RECT box = shown(r);
                Rectangle(item.hDC, box.left, box.top, box.right, box.bottom);
            }
        }
        SelectObject(item.hDC, oldPen);
        DeleteObject(pen);
    }
    SelectObject(item.hDC, oldFont);
    SelectObject(item.hDC, oldBrush);
}

LRESULT CALLBACK AreaFinderDialog::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<AreaFinderDialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT AreaFinderDialog::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED &&
            (LOWORD(wParam) == IdFinderApply || LOWORD(wParam) == IdFinderCancel)) {
            finish(LOWORD(wParam) == IdFinderApply);
            return 0;
        }
        break;
    case WM_CLOSE:
        finish(false);
        return 0;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlID == IdFinderFrame) {
            drawFrame(item);
            return TRUE;
        }
        const int row = static_cast<int>(item.CtlID) - IdFinderCropFirst;
        if (row >= 0 && row < static_cast<int>(m_rows.size())) {
            FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
            win32::DrawPixels(item.hDC, item.rcItem, m_entries[m_rows[std::size_t(row)]].crop);
            return TRUE;
        }
        break;
    }
    case WM_CTLCOLORSTATIC: {
        const int row = GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) - IdFinderNameFirst;
        if (row >= 0 && row < static_cast<int>(m_rows.size())) {
            auto* dc = reinterpret_cast<HDC>(wParam);
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            SetTextColor(dc, Darker(m_entries[m_rows[std::size_t(row)]].colour));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    }
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

} // namespace kesmaro
