#pragma once

#include "platform/GameWindows.h"

#include <string>
#include <vector>

namespace kesmaro {

// Frame thickness around a client area; all zero for a borderless (full-screen) window.
struct SimWindowFrame {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Game windows made of images, for tests and the replay tool: each window shows one image as
// its client area, optionally inside a frame, and the script decides which window has the
// focus. Images and focus can change at any time, also inside a running wait.
class SimGameWindows : public GameWindows {
public:
    // A grab larger than this in either direction yields an empty buffer: no real window
    // system delivers more, and the test must not be able to exhaust memory by a typo.
    static constexpr int kMaxGrabSide = 32767;

    // Opens a window of `windowClass` at desktop position (x, y) of its outer rectangle. It
    // does not take the focus.
    WindowId addWindow(const std::string& windowClass, PixelBuffer client, int x = 0, int y = 0,
                       SimWindowFrame frame = {});
    // Replaces what the window shows; the client area takes the new image's size.
    void setImage(WindowId window, PixelBuffer client);
    // Closes the window; grabs of it give black pixels from now on.
    void removeWindow(WindowId window);
    // Gives the focus to `window`, or to a window that is not ours (kNoWindow).
    void setForeground(WindowId window);
    bool exists(WindowId window) const;
    // How many grabs and pictures were taken, for tests that count captures.
    int grabCount() const { return m_grabs; }
    // How many requests reached the window system: a batch of regions counts once.
    int requestCount() const { return m_requests; }

    WindowId FindWindow(const std::string& windowClass) override;
    WindowId ForegroundWindow() override;
    PixelBuffer GrabClientRegion(WindowId window, const Rect& region) override;
    std::vector<PixelBuffer> GrabClientRegions(WindowId window,
                                               const std::vector<Rect>& regions) override;
    PixelBuffer GrabPicture(WindowId window, PictureArea area, const Rect& region) override;
    Rect WindowRect(WindowId window) override;

private:
    struct Window {
        WindowId id;
        std::string windowClass;
        PixelBuffer client;
        int x;
        int y;
        SimWindowFrame frame;
    };

    const Window* find(WindowId window) const;
    Window* find(WindowId window);

    int m_requests = 0;
    std::vector<Window> m_windows;
    WindowId m_foreground = kNoWindow;
    WindowId m_nextId = 0x1000;
    int m_grabs = 0;
};

} // namespace kesmaro
