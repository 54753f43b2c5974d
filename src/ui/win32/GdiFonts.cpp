#include "ui/win32/GdiFonts.h"

#include <array>

namespace kesmaro {

namespace {

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FaceInstalled(HDC dc, const wchar_t* face)
{
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    EnumFontFamiliesExW(dc, &wanted, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

std::wstring ChooseFace()
{
    // Wine has none of the Windows faces but finds the host's Noto CJK fonts.
    static constexpr std::array<const wchar_t*, 5> kFaces{
        L"Meiryo", L"MS UI Gothic", L"Yu Gothic UI", L"Noto Sans CJK JP", L"Noto Sans JP"};
    HDC screen = GetDC(nullptr);
    std::wstring chosen = L"MS Shell Dlg 2";
    for (const wchar_t* face : kFaces)
        if (FaceInstalled(screen, face)) {
            chosen = face;
            break;
        }
    ReleaseDC(nullptr, screen);
    return chosen;
}

} // namespace

const std::wstring& InterfaceFontFace()
{
    static const std::wstring face = ChooseFace();
    return face;
}

HFONT CreateInterfaceFont(int pixelHeight, bool bold)
{
    return CreateFontW(-pixelHeight, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, InterfaceFontFace().c_str());
}

} // namespace kesmaro
