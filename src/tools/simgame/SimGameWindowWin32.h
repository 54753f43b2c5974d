#pragma once

#include "tools/simgame/GameFrame.h"

#include <string>

namespace kesmaro {

// The live game on Windows: a fixed-size top-level window of the given class whose client
// area is the frame --render draws, pixel for pixel. The scene is drawn once; the numbers are
// redrawn onto it only when they change.
class SimGameWindowWin32 {
public:
    SimGameWindowWin32(const GameFrameSpec& frameSpec, const std::string& windowClass);
    ~SimGameWindowWin32();
    SimGameWindowWin32(const SimGameWindowWin32&) = delete;
    SimGameWindowWin32& operator=(const SimGameWindowWin32&) = delete;

    // Registers the class and shows the window; false when either fails.
    bool show();

    // Shows the level, Exp, coins and coin area of `values` (the rest of the frame description
    // stays).
    void showValues(const GameFrameSpec& values);

    const GameFrameSpec& frameSpec() const { return m_spec; }
    const PixelBuffer& frame() const { return m_frame; }
    // The window's HWND as a number; 0 before show().
    std::uintptr_t handle() const { return m_handle; }

private:
    struct Procedure;

    GameFrameSpec m_spec;
    std::wstring m_class;
    PixelBuffer m_background;
    PixelBuffer m_frame;
    std::uintptr_t m_handle = 0;
};

} // namespace kesmaro
