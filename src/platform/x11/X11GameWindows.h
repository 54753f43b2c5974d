#pragma once

#include "platform/GameWindows.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kesmaro {

namespace x11 {
class XcbConnection;
struct ImageFormat;
} // namespace x11

// The game's windows on an X11 server, through a connection of its own.
class X11GameWindows : public GameWindows {
public:
    struct Options {
        std::string display = {}; // empty: $DISPLAY
        bool useShm = true;       // MIT-SHM when the server offers it
    };
    X11GameWindows();
    explicit X11GameWindows(Options options);
    ~X11GameWindows() override;

    // A region of more pixels than this (a garbled setting) gives an empty buffer instead of
    // gigabytes of black; no screen comes near it.
    static constexpr std::int64_t kMaxGrabPixels = std::int64_t{1} << 26;

    // Window ids are the client windows, as _NET_CLIENT_LIST and _NET_ACTIVE_WINDOW name them.
    WindowId FindWindow(const std::string& windowClass) override;
    WindowId ForegroundWindow() override;
    PixelBuffer GrabClientRegion(WindowId window, const Rect& region) override;
    PixelBuffer GrabPicture(WindowId window, PictureArea area, const Rect& region) override;
    Rect WindowRect(WindowId window) override;

    // False when no X server could be reached.
    bool isConnected();
    // True while grabs go through shared memory.
    bool usesShm() const;

private:
    struct Shm;
    PixelBuffer grab(std::uint32_t drawable, const Rect& region, bool withBorder);
    bool fetch(std::uint32_t drawable, int x, int y, int width, int height, PixelBuffer& out,
               int dx, int dy);
    bool formatFor(std::uint8_t depth, std::uint32_t visual, x11::ImageFormat& format) const;
    bool classMatches(std::uint32_t window, const std::string& windowClass);
    std::uint32_t clientBelow(std::uint32_t window, int depth);
    std::uint32_t topLevelOf(std::uint32_t window);
    bool ewmhManagerRunning();

    Options m_options;
    std::unique_ptr<x11::XcbConnection> m_conn;
    std::unique_ptr<Shm> m_shm;
};

} // namespace kesmaro
