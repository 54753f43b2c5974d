#include "tools/simgame/SimGameWindow.h"

#include "platform/qt/Pictures.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace kesmaro {

namespace {

bool sameValues(const GameFrameSpec& a, const GameFrameSpec& b)
{
    return a.level == b.level && FrameExpText(a.expPercent) == FrameExpText(b.expPercent) &&
           a.coins == b.coins && a.coinArea == b.coinArea && a.hideLevel == b.hideLevel &&
           a.hideExp == b.hideExp;
}

} // namespace

SimGameWindow::SimGameWindow(const GameFrameSpec& frameSpec)
    : m_spec(frameSpec), m_background(RenderGameBackground(frameSpec)), m_frame(m_background)
{
    DrawHudValues(m_frame, m_spec);
    m_image = ToQImage(m_frame);
    const FrameExtent frameSize = FrameSize(frameSpec);
    const QSize size(frameSize.width, frameSize.height);
    setMinimumSize(size);
    setMaximumSize(size);
    resize(size);
    setTitle(QStringLiteral("kesmaro-simgame"));
}

void SimGameWindow::showValues(const GameFrameSpec& values)
{
    GameFrameSpec next = m_spec;
    next.level = values.level;
    next.expPercent = values.expPercent;
    next.coins = values.coins;
    next.coinArea = values.coinArea;
    next.hideLevel = values.hideLevel;
    next.hideExp = values.hideExp;
    if (sameValues(next, m_spec) || !CheckGameFrameSpec(next).empty())
        return;
    m_spec = next;
    std::copy(m_background.bgra.begin(), m_background.bgra.end(), m_frame.bgra.begin());
    DrawHudValues(m_frame, m_spec);
    m_image = ToQImage(m_frame);
    ++m_redraws;
    update();
}

void SimGameWindow::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& rect : event->region())
        painter.drawImage(rect.topLeft(), m_image, rect);
}

} // namespace kesmaro
