#pragma once

#include "platform/PixelBuffer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kesmaro {

using WindowId = std::uint64_t;
constexpr WindowId kNoWindow = 0;

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

enum class PictureArea { Client, WholeWindow };

// Where the game's pixels are read from (the setting [Capture] Source of the extra settings
// file). A game drawn through Direct3D can read black from its own window under a desktop
// compositor; the screen at the window's place shows it as seen. Backends with one way of
// reading ignore it.
enum class CaptureSource { Window, Screen };

// The game's windows and their pixels. Nothing here fails loudly: a window that is gone, a
// region outside the window or of no size gives black pixels or an empty buffer.
class GameWindows {
public:
    virtual ~GameWindows() = default;

    // A top-level window whose class (either string of the class hint) equals `windowClass`;
    // kNoWindow when there is none.
    virtual WindowId FindWindow(const std::string& windowClass) = 0;

    // The window that has the user's focus, as a top-level window; kNoWindow when unknown.
    virtual WindowId ForegroundWindow() = 0;

    // The pixels of `region` in client-area coordinates, BGRA top-down, exactly region.width x
    // region.height (an empty buffer for a size of 0 or less). Pixels outside the window are
    // black.
    virtual PixelBuffer GrabClientRegion(WindowId window, const Rect& region) = 0;

    // The pixels of several regions of one window, one buffer per region in the same order,
    // each exactly as GrabClientRegion gives it. A backend may fetch them together, in fewer
    // round trips to the display server, than one by one.
    virtual std::vector<PixelBuffer> GrabClientRegions(WindowId window,
                                                       const std::vector<Rect>& regions)
    {
        std::vector<PixelBuffer> buffers;
        buffers.reserve(regions.size());
        for (const Rect& region : regions)
            buffers.push_back(GrabClientRegion(window, region));
        return buffers;
    }

    // A picture of `region`, in coordinates of the client area or of the whole window with its
    // frame, same rules as GrabClientRegion.
    virtual PixelBuffer GrabPicture(WindowId window, PictureArea area, const Rect& region) = 0;

    // The whole window's rectangle on the desktop, frame included; all zero when it is gone.
    virtual Rect WindowRect(WindowId window) = 0;

    // From the next grab on, reads the pixels from `source`.
    virtual void SetCaptureSource(CaptureSource /*source*/) {}
};

} // namespace kesmaro
