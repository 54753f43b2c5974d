#include "tools/simgame/GameFrame.h"

#include "common/Files.h"
#include "platform/ImageFiles.h"
#include "recognition/Binarization.h"
#include "recognition/GlyphRenderer.h"
#include "recognition/Recognition.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace kesmaro {

namespace {

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
};

int brightness(const Rgb& c)
{
    return c.r + 2 * c.g + c.b;
}

Rgb clampRgb(Rgb c)
{
    return {std::clamp(c.r, 0, 255), std::clamp(c.g, 0, 255), std::clamp(c.b, 0, 255)};
}

Rgb mix(const Rgb& a, const Rgb& b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return {static_cast<int>(std::lround(a.r + (b.r - a.r) * t)),
            static_cast<int>(std::lround(a.g + (b.g - a.g) * t)),
            static_cast<int>(std::lround(a.b + (b.b - a.b) * t))};
}

Rgb shade(const Rgb& c, int delta)
{
    return clampRgb({c.r + delta, c.g + delta, c.b + delta});
}

// Brings the weighted brightness into low..high (low <= high within 0..1020), keeping the hue
// as far as the range allows: darkened by scaling, brightened towards white.
Rgb fitBrightness(Rgb c, int low, int high)
{
    c = clampRgb(c);
    const int level = brightness(c);
    if (level > high) {
        const auto scale = [&](int channel) { return channel * high / level; };
        return {scale(c.r), scale(c.g), scale(c.b)};
    }
    for (int step = 1; brightness(c) < low && step <= 64; ++step)
        c = mix(c, {255, 255, 255}, step / 64.0);
    return c;
}

std::uint32_t hash(int x, int y, std::uint32_t seed)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8DA6B343U ^
                      static_cast<std::uint32_t>(y) * 0xD8163841U ^ seed * 0xCB1AB31FU;
    h ^= h >> 13;
    h *= 0x5BD1E995U;
    h ^= h >> 15;
    return h;
}

// 0..1, a new value every pixel.
double grain(int x, int y, std::uint32_t seed)
{
    return (hash(x, y, seed) & 0xFFFFU) / 65535.0;
}

// 0..1, smooth over cells of `cell` pixels.
double smoothNoise(int x, int y, int cell, std::uint32_t seed)
{
    const int cx = x / cell;
    const int cy = y / cell;
    const double fx = static_cast<double>(x % cell) / cell;
    const double fy = static_cast<double>(y % cell) / cell;
    const double sx = fx * fx * (3 - 2 * fx);
    const double sy = fy * fy * (3 - 2 * fy);
    const double top = grain(cx, cy, seed) + (grain(cx + 1, cy, seed) - grain(cx, cy, seed)) * sx;
    const double bottom =
        grain(cx, cy + 1, seed) + (grain(cx + 1, cy + 1, seed) - grain(cx, cy + 1, seed)) * sx;
    return top + (bottom - top) * sy;
}

struct Box {
    int x0 = 0; // inclusive
    int y0 = 0;
    int x1 = 0; // exclusive
    int y1 = 0;
};

Box areaBox(const CaptureRect& area, int margin)
{
    return {area.X - margin, area.Y - margin, area.X + area.Width + margin,
            area.Y + area.Height + margin};
}

class Canvas {
public:
    explicit Canvas(PixelBuffer& image) : m_image(image) {}

    int width() const { return m_image.width; }
    int height() const { return m_image.height; }

    void put(int x, int y, const Rgb& colour)
    {
        if (x < 0 || y < 0 || x >= m_image.width || y >= m_image.height)
            return;
        const Rgb c = clampRgb(colour);
        std::uint8_t* p = m_image.pixel(x, y);
        p[0] = static_cast<std::uint8_t>(c.b);
        p[1] = static_cast<std::uint8_t>(c.g);
        p[2] = static_cast<std::uint8_t>(c.r);
        p[3] = 0xFF;
    }

    Rgb get(int x, int y) const
    {
        const std::uint8_t* p = m_image.pixel(x, y);
        return {p[2], p[1], p[0]};
    }

    template <typename Paint> void fill(Box box, Paint&& paint)
    {
        box.x0 = std::max(box.x0, 0);
        box.y0 = std::max(box.y0, 0);
        box.x1 = std::min(box.x1, m_image.width);
        box.y1 = std::min(box.y1, m_image.height);
        for (int y = box.y0; y < box.y1; ++y)
            for (int x = box.x0; x < box.x1; ++x)
                put(x, y, paint(x, y));
    }

    template <typename Paint>
    void ellipse(double cx, double cy, double rx, double ry, Paint&& paint)
    {
        const Box box{static_cast<int>(std::floor(cx - rx)), static_cast<int>(std::floor(cy - ry)),
                      static_cast<int>(std::ceil(cx + rx)) + 1,
                      static_cast<int>(std::ceil(cy + ry)) + 1};
        fill(box, [&](int x, int y) {
            const double dx = (x - cx) / rx;
            const double dy = (y - cy) / ry;
            return dx * dx + dy * dy <= 1.0 ? paint(x, y) : get(x, y);
        });
    }

private:
    PixelBuffer& m_image;
};

// Weighted-brightness limits shared by all three categories: at or below `darkMax` every
// category reads clear, at or above `brightMin` every category reads set.
struct InkLimits {
    int darkMax = -1;
    int brightMin = kMaxBrightness + 1;
};

InkLimits inkLimits(const Settings& s)
{
    InkLimits limits;
    const auto setAnywhere = [&](int level) {
        for (int c = 0; c < kCategoryCount; ++c)
            if (IsSetBrightness(level, s.BinaryThreshold[static_cast<std::size_t>(c)],
                                s.BinaryMask[static_cast<std::size_t>(c)]))
                return true;
        return false;
    };
    const auto setEverywhere = [&](int level) {
        for (int c = 0; c < kCategoryCount; ++c)
            if (!IsSetBrightness(level, s.BinaryThreshold[static_cast<std::size_t>(c)],
                                 s.BinaryMask[static_cast<std::size_t>(c)]))
                return false;
        return true;
    };
    while (limits.darkMax < kMaxBrightness && !setAnywhere(limits.darkMax + 1))
        ++limits.darkMax;
    while (limits.brightMin > 0 && setEverywhere(limits.brightMin - 1))
        --limits.brightMin;
    return limits;
}

Rgb interfaceTint(InterfaceColour colour)
{
    switch (colour) {
    case InterfaceColour::Red:
        return {255, 150, 135};
    case InterfaceColour::Blue:
        return {125, 195, 255};
    case InterfaceColour::White:
        return {232, 234, 238};
    case InterfaceColour::Yellow:
        break;
    }
    return {250, 212, 70};
}

constexpr std::uint32_t kSceneSeed = 0x5EED1234U;

// The dark HUD panel: a brushed texture that every category reads as clear.
Rgb panelColour(int x, int y, const InkLimits& limits)
{
    const double cloud = smoothNoise(x, y, 12, kSceneSeed + 1);
    const int hatch = (x + y) % 7 == 0 ? 6 : 0;
    const int g = static_cast<int>(grain(x, y, kSceneSeed + 2) * 14);
    const Rgb c{22 + static_cast<int>(cloud * 16) + g + hatch,
                26 + static_cast<int>(cloud * 14) + g + hatch,
                40 + static_cast<int>(cloud * 20) + g + hatch};
    return fitBrightness(c, 0, std::max(0, limits.darkMax));
}

// The lit box behind glyphs drawn inverted: every category reads it as set.
Rgb litColour(int x, int y, const Rgb& tint, const InkLimits& limits)
{
    const double sheen = smoothNoise(x, y, 9, kSceneSeed + 3);
    const int g = static_cast<int>(grain(x, y, kSceneSeed + 4) * 24) - 12;
    const Rgb c = shade(tint, static_cast<int>(sheen * 30) - 15 + g);
    return fitBrightness(c, std::min(limits.brightMin, kMaxBrightness), kMaxBrightness);
}

struct Layout {
    Box content;       // the game's client picture
    Settings settings; // the areas the numbers are drawn in
    Settings hud;      // the default areas the HUD panels are laid out around
    InkLimits limits;
};

Layout layoutFor(const GameFrameSpec& frameSpec)
{
    Layout layout;
    const FrameExtent size = FrameSize(frameSpec);
    layout.content = frameSpec.windowMode
                         ? Box{kWindowBorder, kWindowTitle, size.width - kWindowBorder,
                               size.height - kWindowBorder}
                         : Box{0, 0, size.width, size.height};
    layout.settings = FrameSettings(frameSpec);
    GameFrameSpec unmoved = frameSpec;
    unmoved.at = {};
    layout.hud = FrameSettings(unmoved);
    layout.limits = inkLimits(layout.settings);
    return layout;
}

bool invertedCategory(const Settings& s, int category)
{
    return HasSetBackground(GlyphFontOf(s, category));
}

// Sky, hills, meadow, a path, trees, the player and a few monsters.
void drawScene(Canvas& canvas, const Box& content)
{
    const int w = std::max(1, content.x1 - content.x0);
    const int h = std::max(1, content.y1 - content.y0);
    const int horizon = content.y0 + h * 45 / 100;
    const auto ridge = [&](int x, double scale, double phase) {
        const double u = static_cast<double>(x - content.x0) / w;
        return horizon - static_cast<int>(h * scale *
                                          (0.55 + 0.25 * std::sin(u * 7.0 + phase) +
                                           0.2 * std::sin(u * 17.0 + phase * 2)));
    };
    canvas.fill(content, [&](int x, int y) {
        if (y < horizon) {
            const double t = static_cast<double>(y - content.y0) / (horizon - content.y0 + 1);
            Rgb sky = mix({64, 112, 196}, {176, 214, 240}, t);
            const double cloud = smoothNoise(x, y * 2, 48, kSceneSeed + 5);
            if (cloud > 0.62)
                sky = mix(sky, {250, 250, 252}, (cloud - 0.62) * 3.5);
            if (y >= ridge(x, 0.16, 1.3))
                sky = shade(mix({96, 118, 150}, sky, 0.3), static_cast<int>(grain(x, y, 6) * 8));
            if (y >= ridge(x, 0.08, 4.1))
                sky = shade({70, 104, 88}, static_cast<int>(grain(x, y, 7) * 10));
            return sky;
        }
        const double u = static_cast<double>(x - content.x0) / w;
        const double pathCentre = 0.5 + 0.18 * std::sin(static_cast<double>(y) / h * 9.0);
        const double pathHalf = 0.02 + 0.1 * (y - horizon) / (content.y1 - horizon + 1.0);
        const int g = static_cast<int>(grain(x, y, kSceneSeed + 8) * 30) - 15;
        if (std::abs(u - pathCentre) < pathHalf)
            return shade({164, 132, 88}, g);
        const double patch = smoothNoise(x, y, 24, kSceneSeed + 9);
        return shade(mix({52, 128, 48}, {96, 160, 60}, patch), g);
    });

    const auto at = [&](double fx, double fy) {
        return std::pair{content.x0 + fx * w, content.y0 + fy * h};
    };
    for (const auto& [fx, fy, size] :
         {std::tuple{0.12, 0.5, 1.0}, std::tuple{0.27, 0.47, 0.7}, std::tuple{0.74, 0.52, 1.1},
          std::tuple{0.9, 0.48, 0.8}, std::tuple{0.62, 0.46, 0.6}}) {
        const auto [x, y] = at(fx, fy);
        const double s = size * h / 768.0;
        canvas.fill(Box{static_cast<int>(x - 5 * s), static_cast<int>(y - 10 * s),
                        static_cast<int>(x + 5 * s), static_cast<int>(y + 40 * s)},
                    [&](int px, int py) {
                        return shade({92, 62, 34}, static_cast<int>(grain(px, py, 10) * 16));
                    });
        canvas.ellipse(x, y - 30 * s, 34 * s, 40 * s, [&](int px, int py) {
            return shade(mix({28, 96, 40}, {60, 140, 56}, smoothNoise(px, py, 6, 11)),
                         static_cast<int>(grain(px, py, 12) * 20) - 10);
        });
    }

    // The player in the middle, monsters around.
    const auto [px, py] = at(0.5, 0.68);
    const double s = h / 768.0;
    canvas.ellipse(px, py + 34 * s, 22 * s, 6 * s,
                   [&](int x, int y) { return shade(canvas.get(x, y), -40); });
    canvas.fill(Box{static_cast<int>(px - 10 * s), static_cast<int>(py - 8 * s),
                    static_cast<int>(px + 10 * s), static_cast<int>(py + 32 * s)},
                [](int, int) {
                    return Rgb{60, 74, 160};
                });
    canvas.ellipse(px, py - 18 * s, 10 * s, 11 * s, [](int, int) { return Rgb{240, 200, 160}; });
    canvas.ellipse(px, py - 25 * s, 11 * s, 6 * s, [](int, int) { return Rgb{110, 60, 30}; });
    for (const auto& [fx, fy, colour] :
         {std::tuple{0.3, 0.75, Rgb{220, 80, 120}}, std::tuple{0.68, 0.62, Rgb{90, 200, 90}},
          std::tuple{0.8, 0.8, Rgb{120, 140, 230}}}) {
        const auto [mx, my] = at(fx, fy);
        canvas.ellipse(mx, my, 18 * s, 13 * s, [&](int, int y) {
            return shade(colour, static_cast<int>((y - my) / s * 2));
        });
        canvas.ellipse(mx - 6 * s, my - 4 * s, 2.5 * s, 3 * s, [](int, int) { return Rgb{}; });
        canvas.ellipse(mx + 6 * s, my - 4 * s, 2.5 * s, 3 * s, [](int, int) { return Rgb{}; });
    }
}

void drawWindowFrame(Canvas& canvas, const Rgb& tint, const InkLimits& limits)
{
    const int w = canvas.width();
    const int h = canvas.height();
    const Rgb border{44, 48, 60};
    canvas.fill(Box{0, 0, w, h}, [&](int, int y) {
        if (y < kWindowTitle) {
            const double t = static_cast<double>(y) / kWindowTitle;
            return mix(shade(tint, -40), shade(tint, -110), t);
        }
        return fitBrightness(border, 0, std::max(0, limits.darkMax));
    });
    // Minimise, maximise and close buttons.
    for (int i = 0; i < 3; ++i) {
        const int x = w - kWindowBorder - 20 * (i + 1);
        canvas.fill(Box{x + 2, 4, x + 18, kWindowTitle - 4}, [&](int, int) {
            return i == 0 ? Rgb{200, 64, 56} : Rgb{210, 214, 224};
        });
    }
}

void drawHud(Canvas& canvas, const Layout& layout, const Rgb& tint)
{
    const Settings& s = layout.hud;
    const Box& c = layout.content;
    const InkLimits& limits = layout.limits;
    const auto panel = [&](int x, int y) { return panelColour(x, y, limits); };
    const CaptureRect& level = s.CaptureArea[0];
    const CaptureRect& exp = s.CaptureArea[1];

    // Bottom bar with the level, Exp, health and mana.
    const int barTop = std::min(level.Y, exp.Y) - 10;
    canvas.fill(Box{c.x0, barTop, c.x1, c.y1}, panel);
    canvas.fill(Box{c.x0, barTop, c.x1, barTop + 2}, [&](int x, int y) {
        return shade(tint, static_cast<int>(grain(x, y, 13) * 20) - 30);
    });
    const int gaugeRight = level.X - 40;
    for (int i = 0; i < 2; ++i) {
        const Rgb colour = i == 0 ? Rgb{210, 40, 40} : Rgb{40, 90, 220};
        const int top = level.Y + 1 + i * 8;
        canvas.fill(Box{c.x0 + 24, top, gaugeRight, top + 5},
                    [&](int x, int y) { return shade(colour, (x / 3 + y) % 2 == 0 ? 20 : -10); });
        canvas.fill(
            Box{c.x0 + 24 + (gaugeRight - c.x0 - 24) * (3 + 4 * i) / 10, top, gaugeRight, top + 5},
            [&](int x, int y) { return shade(panel(x, y), 40); });
    }

    // Coin counters on the right with the minimap between them.
    for (const std::size_t a : {std::size_t{2}, std::size_t{4}}) {
        const CaptureRect& coins = s.CaptureArea[a];
        canvas.fill(Box{coins.X - 20, coins.Y - 6, c.x1, coins.Y + coins.Height + 6}, panel);
        canvas.fill(Box{coins.X - 20, coins.Y - 6, c.x1, coins.Y - 5},
                    [&](int, int) { return shade(tint, -60); });
        canvas.ellipse(coins.X - 10.5, coins.Y + coins.Height / 2.0, 4.5, 4.5, [&](int x, int y) {
            return shade({236, 190, 60}, x + y < coins.X - 10 + coins.Y + 2 ? 18 : -12);
        });
    }
    const CaptureRect& upper = s.CaptureArea[4];
    const CaptureRect& lower = s.CaptureArea[2];
    const double mapRadius = std::min(60.0, (lower.Y - upper.Y - upper.Height) / 2.0 - 14.0);
    if (mapRadius > 8) {
        const double mx = lower.X + lower.Width / 2.0;
        const double my = (upper.Y + upper.Height + lower.Y) / 2.0;
        canvas.ellipse(mx, my, mapRadius + 3, mapRadius + 3,
                       [&](int, int) { return shade(tint, -50); });
        canvas.ellipse(mx, my, mapRadius, mapRadius, [&](int x, int y) {
            return mix({60, 110, 60}, {150, 170, 110}, smoothNoise(x, y, 10, 14));
        });
        canvas.ellipse(mx, my, 3, 3, [](int, int) { return Rgb{250, 250, 250}; });
    }

    // Every capture area sits in a quiet margin of its own background: dark for glyphs drawn
    // as set strokes, lit for inverted ones; area 3 (the extension origin) stays dark.
    const Settings& moved = layout.settings;
    for (std::size_t a = 0; a < static_cast<std::size_t>(kCaptureAreaCount); ++a) {
        const bool lit = (a == 1 && invertedCategory(s, CategoryExp)) ||
                         (a == 0 && invertedCategory(s, CategoryLevel)) ||
                         ((a == 2 || a == 4) && invertedCategory(s, CategoryMoney));
        const Box box = areaBox(moved.CaptureArea[a], 2);
        if (lit)
            canvas.fill(box, [&](int x, int y) { return litColour(x, y, tint, limits); });
        else
            canvas.fill(box, panel);
    }
}

enum class Align { Centre, Right };

// Draws `text` closed by the delimiter in the category's glyphs into `area`, painting only the
// glyph strokes so that the area's own texture shows through.
void drawValue(Canvas& canvas, const Layout& layout, int category, const CaptureRect& area,
               std::string_view text, Align align, const Rgb& ink, std::uint32_t seed)
{
    const GlyphFont font = GlyphFontOf(layout.settings, category);
    const bool inverted = HasSetBackground(font);
    const int rows = std::clamp(font.height, 0, kColumnRows);
    PixelBuffer measure;
    const std::string digits(text);
    const int width = DrawNumber(measure, 0, 0, digits, font);
    PixelBuffer strokes(width, rows);
    DrawNumber(strokes, 0, 0, digits, font);
    const int offset = align == Align::Centre ? std::max(0, (area.Width - width) / 2)
                                              : std::max(0, area.Width - 2 - width);
    const int low = inverted ? 0 : std::min(layout.limits.brightMin, kMaxBrightness);
    const int high = inverted ? std::max(0, layout.limits.darkMax) : kMaxBrightness;
    for (int row = 0; row < strokes.height; ++row) {
        for (int column = 0; column < strokes.width; ++column) {
            const std::uint8_t* p = strokes.pixel(column, row);
            const bool set = IsSetBrightness(p[2] + 2 * p[1] + p[0], font.threshold, font.mask);
            if (set == inverted)
                continue;
            const int x = area.X + offset + column;
            const int y = area.Y + row;
            const int g = static_cast<int>(grain(x, y, seed) * 40) - 20 - row * 3;
            canvas.put(x, y, fitBrightness(shade(ink, g), low, high));
        }
    }
}

} // namespace

FrameExtent DefaultFrameSize(bool windowMode)
{
    return windowMode ? FrameExtent{1024 + 2 * kWindowBorder, 768 + kWindowTitle + kWindowBorder}
                      : FrameExtent{1024, 768};
}

FrameExtent FrameSize(const GameFrameSpec& frameSpec)
{
    return frameSpec.size == FrameExtent{} ? DefaultFrameSize(frameSpec.windowMode)
                                           : frameSpec.size;
}

FrameExtent MinimumFrameSize(const GameFrameSpec& frameSpec)
{
    const Settings s = FrameSettings(frameSpec);
    std::vector<std::size_t> areas{0, 1};
    if (frameSpec.coinArea == CoinArea::Area2 || frameSpec.coinArea == CoinArea::Both)
        areas.push_back(2);
    if (frameSpec.coinArea == CoinArea::Area4 || frameSpec.coinArea == CoinArea::Both)
        areas.push_back(4);
    int width = 1;
    int height = 1;
    for (const std::size_t a : areas) {
        width = std::max(width, s.CaptureArea[a].X + s.CaptureArea[a].Width - 1);
        height = std::max(height, s.CaptureArea[a].Y + s.CaptureArea[a].Height);
    }
    return {width, height};
}

Settings FrameSettings(const GameFrameSpec& frameSpec)
{
    Settings s;
    LoadDefaultGlyphTables(s, frameSpec.colour);
    SetDefaultCaptureAreas(s, frameSpec.windowMode ? ScreenMode::Window : ScreenMode::FullScreen);
    for (std::size_t i = 0; i < frameSpec.at.size(); ++i)
        if (frameSpec.at[i]) {
            s.CaptureArea[i].X = frameSpec.at[i]->x;
            s.CaptureArea[i].Y = frameSpec.at[i]->y;
        }
    return s;
}

std::string FrameExpText(double expPercent)
{
    const double percent = std::isnan(expPercent) ? 0.0 : std::clamp(expPercent, 0.0, 100.0);
    const long long hundredths = std::llround(percent * 100.0);
    const std::string cents = std::to_string(hundredths % 100);
    return std::to_string(hundredths / 100) + '.' + (cents.size() < 2 ? "0" : "") + cents;
}

std::string CheckGameFrameSpec(const GameFrameSpec& frameSpec)
{
    if (frameSpec.level < kMinFrameLevel || frameSpec.level > kMaxFrameLevel)
        return "level must be " + std::to_string(kMinFrameLevel) + " to " +
               std::to_string(kMaxFrameLevel);
    if (!std::isfinite(frameSpec.expPercent) || frameSpec.expPercent < 0.0 ||
        std::llround(frameSpec.expPercent * 100.0) > 10000)
        return "Exp must be 0.00 to 100.00";
    if (frameSpec.coins < 0)
        return "coins must not be negative";
    switch (frameSpec.coinArea) {
    case CoinArea::Area2:
    case CoinArea::Area4:
    case CoinArea::Both:
    case CoinArea::None:
        break;
    default:
        return "unknown coin area";
    }
    switch (frameSpec.colour) {
    case InterfaceColour::Yellow:
    case InterfaceColour::Red:
    case InterfaceColour::Blue:
    case InterfaceColour::White:
        break;
    default:
        return "unknown interface colour";
    }
    for (const std::optional<FramePoint>& at : frameSpec.at)
        if (at && (at->x < 0 || at->y < 0 || at->x > kMaxFrameSide || at->y > kMaxFrameSide))
            return "a moved number must start inside the frame";
    const FrameExtent size = FrameSize(frameSpec);
    const FrameExtent minimum = MinimumFrameSize(frameSpec);
    if (size.width < minimum.width || size.height < minimum.height || size.width > kMaxFrameSide ||
        size.height > kMaxFrameSide)
        return "size must be from " + std::to_string(minimum.width) + 'x' +
               std::to_string(minimum.height) + " to " + std::to_string(kMaxFrameSide) + 'x' +
               std::to_string(kMaxFrameSide) + " for this screen mode";
    return {};
}

PixelBuffer RenderGameBackground(const GameFrameSpec& frameSpec)
{
    if (!CheckGameFrameSpec(frameSpec).empty())
        return {};
    const FrameExtent size = FrameSize(frameSpec);
    const Layout layout = layoutFor(frameSpec);
    const Rgb tint = interfaceTint(frameSpec.colour);
    PixelBuffer frame(size.width, size.height);
    Canvas canvas(frame);
    if (frameSpec.windowMode)
        drawWindowFrame(canvas, tint, layout.limits);
    drawScene(canvas, layout.content);
    drawHud(canvas, layout, tint);
    return frame;
}

void DrawHudValues(PixelBuffer& frame, const GameFrameSpec& frameSpec)
{
    if (!CheckGameFrameSpec(frameSpec).empty())
        return;
    const Layout layout = layoutFor(frameSpec);
    const Settings& s = layout.settings;
    Canvas canvas(frame);
    if (!frameSpec.hideLevel)
        drawValue(canvas, layout, CategoryLevel, s.CaptureArea[0], std::to_string(frameSpec.level),
                  Align::Centre, {255, 238, 180}, kSceneSeed + 20);
    if (!frameSpec.hideExp)
        drawValue(canvas, layout, CategoryExp, s.CaptureArea[1], FrameExpText(frameSpec.expPercent),
                  Align::Centre, {48, 30, 16}, kSceneSeed + 21);
    const std::string coins = std::to_string(frameSpec.coins);
    if (frameSpec.coinArea == CoinArea::Area2 || frameSpec.coinArea == CoinArea::Both)
        drawValue(canvas, layout, CategoryMoney, s.CaptureArea[2], coins, Align::Right,
                  {255, 214, 96}, kSceneSeed + 22);
    if (frameSpec.coinArea == CoinArea::Area4 || frameSpec.coinArea == CoinArea::Both)
        drawValue(canvas, layout, CategoryMoney, s.CaptureArea[4], coins, Align::Right,
                  {255, 214, 96}, kSceneSeed + 23);

    // The Exp gauge along the bottom edge, clear of the default Exp area's margin.
    const CaptureRect& exp = layout.hud.CaptureArea[1];
    const Box& c = layout.content;
    const int top = exp.Y + exp.Height + 3;
    const int bottom = std::min(top + 3, c.y1);
    const int left = c.x0 + 8;
    const int right = c.x1 - 8;
    const int filled =
        left + static_cast<int>(std::llround((right - left) *
                                             std::clamp(frameSpec.expPercent, 0.0, 100.0) / 100.0));
    const Rgb tint = interfaceTint(frameSpec.colour);
    canvas.fill(Box{left, top, right, bottom}, [&](int x, int y) {
        return x < filled ? shade(tint, (x + y) % 4 == 0 ? 10 : -10) : Rgb{70, 72, 80};
    });
}

PixelBuffer RenderGameFrame(const GameFrameSpec& frameSpec)
{
    PixelBuffer frame = RenderGameBackground(frameSpec);
    if (!frame.isEmpty())
        DrawHudValues(frame, frameSpec);
    return frame;
}

bool SaveFramePng(const PixelBuffer& frame, const std::string& path)
{
    return WriteImageFile(frame, PathFromUtf8(path), ImageFormat::Png) == ImageFileStatus::Ok;
}

namespace {

template <class T, std::size_t N>
std::optional<T> named(const std::pair<std::string_view, T> (&names)[N], std::string_view name)
{
    for (const auto& [text, value] : names)
        if (name == text)
            return value;
    return std::nullopt;
}

} // namespace

std::optional<CoinArea> CoinAreaFromName(std::string_view name)
{
    static const std::pair<std::string_view, CoinArea> names[] = {{"2", CoinArea::Area2},
                                                                  {"4", CoinArea::Area4},
                                                                  {"both", CoinArea::Both},
                                                                  {"none", CoinArea::None}};
    return named(names, name);
}

std::optional<InterfaceColour> ColourFromName(std::string_view name)
{
    static const std::pair<std::string_view, InterfaceColour> names[] = {
        {"yellow", InterfaceColour::Yellow},
        {"red", InterfaceColour::Red},
        {"blue", InterfaceColour::Blue},
        {"white", InterfaceColour::White}};
    return named(names, name);
}

} // namespace kesmaro
