// clang-format off
#include <windows.h>
// clang-format on

#include "platform/win32/Win32GameWindows.h"

#include "common/Cp932.h"

#include <algorithm>
#include <cstring>

namespace kesmaro {

namespace {

HWND handleOf(WindowId window)
{
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
}

WindowId idOf(HWND window)
{
    return static_cast<WindowId>(reinterpret_cast<std::uintptr_t>(window));
}

// Where the grabbed area lies in the source DC's coordinates and how big it is.
struct SourceArea {
    POINT origin{0, 0};
    int width = 0;
    int height = 0;
};

SourceArea areaOf(HWND window, PictureArea area, bool screen)
{
    SourceArea source;
    if (area == PictureArea::Client) {
        RECT client{};
        if (!GetClientRect(window, &client))
            return {};
        source.width = client.right - client.left;
        source.height = client.bottom - client.top;
        if (screen && !ClientToScreen(window, &source.origin))
            return {};
    } else {
        RECT outer{};
        if (!GetWindowRect(window, &outer))
            return {};
        source.width = outer.right - outer.left;
        source.height = outer.bottom - outer.top;
        if (screen)
            source.origin = POINT{outer.left, outer.top};
    }
    return source;
}

// Copies the part of `region` inside the area through the memory DC; the rest stays black.
PixelBuffer grabOne(HDC source, HDC memory, const SourceArea& area, const Rect& region)
{
    PixelBuffer pixels(region.width, region.height);
    if (pixels.isEmpty())
        return pixels;
    const int left = std::max(region.x, 0);
    const int top = std::max(region.y, 0);
    const int right = static_cast<int>(
        std::min<long long>(static_cast<long long>(region.x) + region.width, area.width));
    const int bottom = static_cast<int>(
        std::min<long long>(static_cast<long long>(region.y) + region.height, area.height));
    if (source == nullptr || memory == nullptr || right <= left || bottom <= top)
        return pixels;
    const int width = right - left;
    const int height = bottom - top;

    HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
    if (bitmap == nullptr)
        return pixels;
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, area.origin.x + left, area.origin.y + top, SRCCOPY);
    SelectObject(memory, previous);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(width) * height * 4);
    const int delivered =
        GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), rows.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);

    for (int y = 0; y < std::max(delivered, 0); ++y) {
        std::uint8_t* to = pixels.pixel(left - region.x, top - region.y + y);
        const std::uint8_t* from = rows.data() + static_cast<std::size_t>(y) * width * 4;
        std::memcpy(to, from, static_cast<std::size_t>(width) * 4);
        // GDI leaves the fourth byte undefined; the buffer's pixels are opaque.
        for (int x = 0; x < width; ++x)
            to[x * 4 + 3] = 0xFF;
    }
    return pixels;
}

} // namespace

Win32GameWindows::Win32GameWindows(CaptureSource source) : m_source(source) {}

WindowId Win32GameWindows::FindWindow(const std::string& windowClass)
{
    return idOf(FindWindowA(EncodeCp932(windowClass).c_str(), nullptr));
}

WindowId Win32GameWindows::ForegroundWindow()
{
    HWND window = GetForegroundWindow();
    if (window == nullptr)
        return kNoWindow;
    HWND root = GetAncestor(window, GA_ROOT);
    return idOf(root != nullptr ? root : window);
}

PixelBuffer Win32GameWindows::GrabClientRegion(WindowId window, const Rect& region)
{
    return std::move(grab(window, PictureArea::Client, {region}).front());
}

std::vector<PixelBuffer> Win32GameWindows::GrabClientRegions(WindowId window,
                                                             const std::vector<Rect>& regions)
{
    return grab(window, PictureArea::Client, regions);
}

PixelBuffer Win32GameWindows::GrabPicture(WindowId window, PictureArea area, const Rect& region)
{
    return std::move(grab(window, area, {region}).front());
}

Rect Win32GameWindows::WindowRect(WindowId window)
{
    RECT outer{};
    HWND handle = handleOf(window);
    if (window == kNoWindow || !IsWindow(handle) || !GetWindowRect(handle, &outer))
        return {};
    return Rect{outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top};
}

std::vector<PixelBuffer> Win32GameWindows::grab(WindowId window, PictureArea area,
                                                const std::vector<Rect>& regions)
{
    std::vector<PixelBuffer> buffers;
    buffers.reserve(regions.size());
    HWND handle = handleOf(window);
    const bool screen = m_source.load() == CaptureSource::Screen;
    const SourceArea sourceArea =
        window != kNoWindow && IsWindow(handle) ? areaOf(handle, area, screen) : SourceArea{};
    if (sourceArea.width <= 0 || sourceArea.height <= 0) {
        for (const Rect& region : regions)
            buffers.emplace_back(region.width, region.height);
        return buffers;
    }

    HWND dcWindow = screen ? nullptr : handle;
    HDC source = screen || area == PictureArea::Client ? GetDC(dcWindow) : GetWindowDC(handle);
    HDC memory = source != nullptr ? CreateCompatibleDC(source) : nullptr;
    for (const Rect& region : regions)
        buffers.push_back(grabOne(source, memory, sourceArea, region));
    if (memory != nullptr)
        DeleteDC(memory);
    if (source != nullptr)
        ReleaseDC(dcWindow, source);
    return buffers;
}

} // namespace kesmaro
