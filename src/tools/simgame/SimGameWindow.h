#pragma once

#include "tools/simgame/GameFrame.h"

#include <QImage>
#include <QRasterWindow>

namespace kesmaro {

// The live game: a fixed-size window whose client area is the frame --render draws. The
// scene is drawn once; the numbers are redrawn onto it only when they change.
class SimGameWindow : public QRasterWindow {
public:
    explicit SimGameWindow(const GameFrameSpec& frameSpec);

    // Shows the level, Exp, coins and coin area of `values` (the rest of the frame description
    // stays).
    void showValues(const GameFrameSpec& values);

    const GameFrameSpec& frameSpec() const { return m_spec; }
    // The pixels the window paints.
    const PixelBuffer& frame() const { return m_frame; }
    // How many times the numbers were redrawn.
    int redraws() const { return m_redraws; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    GameFrameSpec m_spec;
    PixelBuffer m_background;
    PixelBuffer m_frame;
    QImage m_image; // m_frame as painted
    int m_redraws = 0;
};

} // namespace kesmaro
