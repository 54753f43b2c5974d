#pragma once

#include "platform/GameWindows.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kesmaro {

namespace x11 {
class XcbConnection;
struct ImageFormat;
struct Placement;
struct Clip;
struct PendingImage;

// Where a window is: its size and border, its origin on the screen and the screen's size.
struct Place {
    int width = 0, height = 0, border = 0;
    int x = 0, y = 0;
    int screenWidth = 0, screenHeight = 0;
};
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
    // All regions in one round trip when each lies wholly inside the window on the screen; a
    // region that does not is asked again, clipped, in a second one.
    std::vector<PixelBuffer> GrabClientRegions(WindowId window,
                                               const std::vector<Rect>& regions) override;
    PixelBuffer GrabPicture(WindowId window, PictureArea area, const Rect& region) override;
    Rect WindowRect(WindowId window) override;

    // False when no X server could be reached.
    bool isConnected();
    // True while grabs go through shared memory.
    bool usesShm() const;

private:
    struct Shm;
    PixelBuffer grab(std::uint32_t drawable, const Rect& region, bool withBorder);
    x11::Placement requestPlacement(std::uint32_t drawable);
    bool shmReady(std::size_t bytes);
    x11::PendingImage requestImage(std::uint32_t drawable, const x11::Clip& clip, bool shm,
                                   std::size_t offset);
    bool receiveImage(x11::PendingImage& pending, PixelBuffer& out);
    void discardImage(const x11::PendingImage& pending);
    bool formatFor(std::uint8_t depth, std::uint32_t visual, x11::ImageFormat& format) const;
    bool classMatches(std::uint32_t window, const std::string& windowClass);
    std::uint32_t clientBelow(std::uint32_t window, int depth);
    std::uint32_t topLevelOf(std::uint32_t window);
    bool ewmhManagerRunning();

    Options m_options;
    std::unique_ptr<x11::XcbConnection> m_conn;
    std::unique_ptr<Shm> m_shm;
    // Where the window of the last batch was: the next batch clips its requests by it before
    // it has the window's present place (and asks again what that place says otherwise).
    WindowId m_placedWindow = kNoWindow;
    x11::Place m_place;
};

} // namespace kesmaro
