#include "platform/sim/SimGameWindows.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace kesmaro {

namespace {

// The grey of the simulated window frame, so that whole-window pictures show where it is.
constexpr std::uint8_t kFrameGrey = 0x80;

bool grabbable(const Rect& region)
{
    return region.width > 0 && region.height > 0 && region.width <= SimGameWindows::kMaxGrabSide &&
           region.height <= SimGameWindows::kMaxGrabSide;
}

// Copies the part of `source` (placed at `origin` in the grab's coordinates) that falls inside
// `out`; coordinates in 64 bits because a region may lie anywhere in the 32-bit plane.
void blit(const PixelBuffer& source, std::int64_t originX, std::int64_t originY, PixelBuffer& out)
{
    const std::int64_t x0 = std::max<std::int64_t>(0, originX);
    const std::int64_t y0 = std::max<std::int64_t>(0, originY);
    const std::int64_t x1 = std::min<std::int64_t>(out.width, originX + source.width);
    const std::int64_t y1 = std::min<std::int64_t>(out.height, originY + source.height);
    if (x0 >= x1 || y0 >= y1)
        return;
    const auto bytes = static_cast<std::size_t>(x1 - x0) * 4;
    for (std::int64_t y = y0; y < y1; ++y)
        std::memcpy(out.pixel(static_cast<int>(x0), static_cast<int>(y)),
                    source.pixel(static_cast<int>(x0 - originX), static_cast<int>(y - originY)),
                    bytes);
}

} // namespace

WindowId SimGameWindows::addWindow(const std::string& windowClass, PixelBuffer client, int x, int y,
                                   SimWindowFrame frame)
{
    const WindowId id = ++m_nextId;
    m_windows.push_back(Window{id, windowClass, std::move(client), x, y, frame});
    return id;
}

void SimGameWindows::setImage(WindowId window, PixelBuffer client)
{
    if (Window* w = find(window))
        w->client = std::move(client);
}

void SimGameWindows::removeWindow(WindowId window)
{
    std::erase_if(m_windows, [window](const Window& w) { return w.id == window; });
    if (m_foreground == window)
        m_foreground = kNoWindow;
}

void SimGameWindows::setForeground(WindowId window)
{
    m_foreground = exists(window) ? window : kNoWindow;
}

bool SimGameWindows::exists(WindowId window) const
{
    return find(window) != nullptr;
}

WindowId SimGameWindows::FindWindow(const std::string& windowClass)
{
    for (const Window& w : m_windows)
        if (w.windowClass == windowClass)
            return w.id;
    return kNoWindow;
}

WindowId SimGameWindows::ForegroundWindow()
{
    return m_foreground;
}

PixelBuffer SimGameWindows::GrabClientRegion(WindowId window, const Rect& region)
{
    return GrabPicture(window, PictureArea::Client, region);
}

std::vector<PixelBuffer> SimGameWindows::GrabClientRegions(WindowId window,
                                                           const std::vector<Rect>& regions)
{
    std::vector<PixelBuffer> buffers;
    buffers.reserve(regions.size());
    for (const Rect& region : regions)
        buffers.push_back(GrabPicture(window, PictureArea::Client, region));
    // GrabPicture counted each region as a request of its own.
    m_requests -= static_cast<int>(regions.size()) - 1;
    return buffers;
}

PixelBuffer SimGameWindows::GrabPicture(WindowId window, PictureArea area, const Rect& region)
{
    ++m_grabs;
    ++m_requests;
    if (!grabbable(region))
        return {};
    PixelBuffer out(region.width, region.height);
    const Window* w = find(window);
    if (!w)
        return out;
    std::int64_t clientX = -std::int64_t{region.x};
    std::int64_t clientY = -std::int64_t{region.y};
    if (area == PictureArea::WholeWindow) {
        const Rect outer = WindowRect(window);
        const std::int64_t x0 = std::max<std::int64_t>(0, clientX);
        const std::int64_t y0 = std::max<std::int64_t>(0, clientY);
        const std::int64_t x1 = std::min<std::int64_t>(out.width, clientX + outer.width);
        const std::int64_t y1 = std::min<std::int64_t>(out.height, clientY + outer.height);
        for (std::int64_t y = y0; y < y1; ++y)
            for (std::int64_t x = x0; x < x1; ++x)
                std::fill_n(out.pixel(static_cast<int>(x), static_cast<int>(y)), 3, kFrameGrey);
        clientX += w->frame.left;
        clientY += w->frame.top;
    }
    blit(w->client, clientX, clientY, out);
    return out;
}

Rect SimGameWindows::WindowRect(WindowId window)
{
    const Window* w = find(window);
    if (!w)
        return {};
    return Rect{w->x, w->y, w->client.width + w->frame.left + w->frame.right,
                w->client.height + w->frame.top + w->frame.bottom};
}

const SimGameWindows::Window* SimGameWindows::find(WindowId window) const
{
    for (const Window& w : m_windows)
        if (w.id == window)
            return &w;
    return nullptr;
}

SimGameWindows::Window* SimGameWindows::find(WindowId window)
{
    for (Window& w : m_windows)
        if (w.id == window)
            return &w;
    return nullptr;
}

} // namespace kesmaro
