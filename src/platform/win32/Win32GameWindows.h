#pragma once

// windows.h names FindWindow as a macro for FindWindowW; the seam's member keeps its own name
// (include this header before GameWindows.h, or after windows.h, never between the two).
#ifdef FindWindow
#undef FindWindow
#endif

#include "platform/GameWindows.h"

#include <atomic>
#include <string>
#include <vector>

namespace kesmaro {

// The game's windows through GDI. WindowId is the HWND's value.
//
// CaptureSource::Window reads the window's own device context (GetDC / GetWindowDC);
// CaptureSource::Screen reads the screen's (GetDC(nullptr)) at the window's place, which shows
// what a Direct3D game draws even where the compositor leaves its window DC black. The screen
// source reads whatever is on top there, so it is right only while the game is in front, as it
// is whenever the capture cycle grabs.
class Win32GameWindows : public GameWindows {
public:
    explicit Win32GameWindows(CaptureSource source = CaptureSource::Window);

    // Takes effect from the next grab; the options window may switch it at any time.
    void SetCaptureSource(CaptureSource source) override { m_source.store(source); }
    CaptureSource source() const { return m_source.load(); }

    // FindWindowA: the class name goes to the ANSI call in code page 932.
    WindowId FindWindow(const std::string& windowClass) override;
    // GetForegroundWindow's top-level window.
    WindowId ForegroundWindow() override;
    PixelBuffer GrabClientRegion(WindowId window, const Rect& region) override;
    // One source device context for all the regions.
    std::vector<PixelBuffer> GrabClientRegions(WindowId window,
                                               const std::vector<Rect>& regions) override;
    PixelBuffer GrabPicture(WindowId window, PictureArea area, const Rect& region) override;
    Rect WindowRect(WindowId window) override;

private:
    std::vector<PixelBuffer> grab(WindowId window, PictureArea area,
                                  const std::vector<Rect>& regions);

    std::atomic<CaptureSource> m_source;
};

} // namespace kesmaro
