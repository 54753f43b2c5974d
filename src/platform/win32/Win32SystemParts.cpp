// clang-format off
#include <windows.h>
// clang-format on

#include "platform/win32/Win32SystemParts.h"

#include "common/Utf8.h"

namespace kesmaro {

namespace {

// From the system folder only: a library of that name beside the program must not count.
bool libraryLoads(const wchar_t* name)
{
    HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr)
        return false;
    FreeLibrary(module);
    return true;
}

int CALLBACK countFont(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0; // one is enough
}

bool japaneseFontInstalled()
{
    HDC screen = GetDC(nullptr);
    if (screen == nullptr)
        return false;
    LOGFONTW wanted{};
    wanted.lfCharSet = SHIFTJIS_CHARSET;
    bool found = false;
    EnumFontFamiliesExW(screen, &wanted, countFont, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

} // namespace

std::array<bool, kWin32SystemPartCount> ProbeSystemParts()
{
    std::array<bool, kWin32SystemPartCount> found{};
    found[Win32PartGdiplus] = libraryLoads(L"gdiplus.dll");
    found[Win32PartDirectInput8] = libraryLoads(L"dinput8.dll");
    // Version 6 is the one the manifest asks for; the loader picks it from the side-by-side
    // store for a program that carries the manifest, so the name alone is what can be checked.
    found[Win32PartCommonControls] = libraryLoads(L"comctl32.dll");
    found[Win32PartJapaneseFont] = japaneseFontInstalled();
    return found;
}

std::string Win32TempFolder()
{
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH)
        return {};
    std::wstring path(buffer, length);
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/'))
        path.pop_back();
    return WideToUtf8(path);
}

} // namespace kesmaro
