#include "recognition/Recognition.h"

#include "common/StringBuffer.h"
#include "common/Text.h"
#include "recognition/Binarization.h"
#include "recognition/NumberReader.h"
#include "state/Program.h"
#include "state/TestButtonsBusy.h"

#include <limits>
#include <optional>

namespace kesmaro {

namespace {

bool validSlot(int slot)
{
    return slot >= 0 && slot < kCaptureAreaCount;
}

// The slot's column words when they still stand for its text, or its text.
void loadSlot(GlyphMatcher& matcher, const Program& p, std::size_t slot)
{
    const ColumnWords& captured = p.columnWords[slot];
    // The words are the text's own as long as the text is still what they were written out as.
    if (captured.text == p.ColumnText[slot])
        matcher.setWords(captured.words);
    else
        matcher.setText(p.ColumnText[slot]);
}

const GlyphPatterns& patternsOf(const Settings& settings, std::size_t category)
{
    return settings.PatternString[category];
}

bool pictureSizeAllowed(std::int32_t width, std::int32_t height)
{
    return width > 0 && height > 0 && width <= kMaxRegionSide && height <= kMaxRegionSide &&
           std::int64_t{width} * height <= kMaxPicturePixels;
}

// No more rows reach a column text.
CaptureRect textRows(CaptureRect region)
{
    if (region.Height > kColumnRows)
        region.Height = kColumnRows;
    return region;
}

// The region's pixels from the capture's batch when it holds them, else grabbed now.
PixelBuffer grabbedOrGrab(const Program& p, WindowId window, const CaptureRect& region)
{
    const GrabbedRegions& batch = p.grabbed;
    if (batch.window == window) {
        const Rect wanted{region.X, region.Y, region.Width, region.Height};
        for (std::size_t i = 0; i < batch.regions.size(); ++i)
            if (batch.regions[i] == wanted)
                return batch.pixels[i];
    }
    return GrabRegionPixels(p.services.windows, window, region);
}

// Yields between scan steps when a lag cancel time is set, and picks up whatever changed
// meanwhile; shows the digits read so far in debug mode.
class ProgramScanHooks : public ScanHooks {
public:
    ProgramScanHooks(Program& p, int category)
        : m_p(p), m_category(category), m_loaded(p.ColumnText[static_cast<std::size_t>(category)])
    {}

    void beforeStep(GlyphMatcher& matcher, std::int32_t& regionWidth) override
    {
        if (m_p.settings.LagCancelTime <= 0)
            return;
        m_p.services.scheduler.WaitMs(m_p.settings.LagCancelTime);
        const auto c = static_cast<std::size_t>(m_category);
        if (m_p.ColumnText[c] != m_loaded) {
            loadSlot(matcher, m_p, c);
            m_loaded = m_p.ColumnText[c];
        }
        matcher.setGlyphs(m_p.settings.PatternSize[c].Width, patternsOf(m_p.settings, c));
        regionWidth = m_p.settings.CaptureArea[c].Width;
    }

    void progress(const std::string& digits) override
    {
        if (!m_p.flags.DebugMode)
            return;
        m_p.results.lblCapture[static_cast<std::size_t>(m_category)] = digits + "認識中…";
        m_p.view.changed(ViewPart::CaptureSlot, m_category);
    }

private:
    Program& m_p;
    int m_category;
    std::string m_loaded; // the slot's text the matcher holds
};

// "#0.000" of whole milliseconds as seconds.
std::string formatSeconds(std::int64_t ms)
{
    std::string fraction = std::to_string(ms % 1000);
    fraction.insert(0, fraction.size() < 3 ? 3 - fraction.size() : 0, '0');
    return std::to_string(ms / 1000) + '.' + fraction;
}

} // namespace

GlyphFont GlyphFontOf(const Settings& settings, int category)
{
    GlyphFont font;
    if (category < 0 || category >= kCategoryCount)
        return font;
    const auto c = static_cast<std::size_t>(category);
    font.width = settings.PatternSize[c].Width;
    font.height = settings.PatternSize[c].Height;
    font.threshold = settings.BinaryThreshold[c];
    font.mask = settings.BinaryMask[c];
    font.patterns = patternsOf(settings, c);
    return font;
}

PixelBuffer GrabRegionPixels(GameWindows& windows, WindowId window, const CaptureRect& region)
{
    if (!pictureSizeAllowed(region.Width, region.Height))
        return {};
    return windows.GrabClientRegion(window, Rect{region.X, region.Y, region.Width, region.Height});
}

PixelBuffer CaptureRegionPicture(GameWindows& windows, WindowId window, bool clientArea,
                                 std::int32_t x, std::int32_t y, std::int32_t width,
                                 std::int32_t height)
{
    if (!pictureSizeAllowed(width, height))
        return {};
    return windows.GrabPicture(window, clientArea ? PictureArea::Client : PictureArea::WholeWindow,
                               Rect{x, y, width, height});
}

PixelBuffer CaptureWindowRegionPicture(GameWindows& windows, WindowId window,
                                       const CaptureRect& region)
{
    return CaptureRegionPicture(windows, window, true, region.X, region.Y, region.Width,
                                region.Height);
}

PixelBuffer CaptureForegroundRegionPicture(Services& services, const CaptureRect& region,
                                           int delayMs, bool clientArea)
{
    services.scheduler.WaitMs(delayMs);
    const WindowId window = services.windows.ForegroundWindow();
    return CaptureRegionPicture(services.windows, window, clientArea, region.X, region.Y,
                                region.Width, region.Height);
}

void ShowCapturePictures(Program& p, WindowId window)
{
    for (int i = 0; i < kCaptureAreaCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        p.picCapture[k] =
            CaptureWindowRegionPicture(p.services.windows, window, p.settings.CaptureArea[k]);
        p.view.changed(ViewPart::Picture, i);
    }
}

RegionBatch::RegionBatch(Program& p, WindowId window, std::initializer_list<int> areas)
    : m_program(p)
{
    GrabbedRegions batch;
    batch.window = window;
    for (int area : areas) {
        if (!validSlot(area))
            continue;
        const CaptureRect top = textRows(p.settings.CaptureArea[static_cast<std::size_t>(area)]);
        if (pictureSizeAllowed(top.Width, top.Height))
            batch.regions.push_back(Rect{top.X, top.Y, top.Width, top.Height});
    }
    batch.pixels = p.services.windows.GrabClientRegions(window, batch.regions);
    if (batch.pixels.size() != batch.regions.size())
        batch = {};
    p.grabbed = std::move(batch);
}

RegionBatch::~RegionBatch()
{
    m_program.grabbed = {};
}

int CaptureColumnText(Program& p, WindowId window, const CaptureRect& region, int slot,
                      std::int32_t threshold, std::int32_t mask)
{
    if (!validSlot(slot))
        return 0;
    const CaptureRect top = textRows(region);
    const PixelBuffer pixels = grabbedOrGrab(p, window, top);
    const auto k = static_cast<std::size_t>(slot);
    ColumnWords& captured = p.columnWords[k];
    captured.words = BinarizeColumns(pixels, threshold, mask);
    // Written out once, for the slot's view; recognition reads the words.
    captured.text = ColumnWordsToText(captured.words);
    p.ColumnText[k] = captured.text;
    return pixels.height;
}

void CaptureAreaColumnText(Program& p, WindowId window, int area, int category)
{
    if (!validSlot(area) || category < 0 || category >= kCategoryCount)
        return;
    const Settings& s = p.settings;
    const auto c = static_cast<std::size_t>(category);
    CaptureColumnText(p, window, s.CaptureArea[static_cast<std::size_t>(area)], area,
                      s.BinaryThreshold[c], s.BinaryMask[c]);
}

void CopyColumnSlot(Program& p, int from, int to)
{
    if (!validSlot(from) || !validSlot(to))
        return;
    p.ColumnText[static_cast<std::size_t>(to)] = p.ColumnText[static_cast<std::size_t>(from)];
    p.columnWords[static_cast<std::size_t>(to)] = p.columnWords[static_cast<std::size_t>(from)];
}

std::string RecognizeNumber(Program& p, int category)
{
    if (category < 0 || category >= kCategoryCount)
        return {};
    const auto c = static_cast<std::size_t>(category);
    const bool debug = p.flags.DebugMode;
    std::optional<clsStringBuffer> trace;
    if (debug) {
        p.results.lblCapture[c] = "認識中…";
        p.view.changed(ViewPart::CaptureSlot, category);
        trace.emplace();
        BeginTrace(*trace, category, p.ColumnText[c]);
    }

    GlyphMatcher matcher;
    matcher.setGlyphs(p.settings.PatternSize[c].Width, patternsOf(p.settings, c));
    loadSlot(matcher, p, c);
    ProgramScanHooks hooks(p, category);
    const NumberRead read = ReadNumber(matcher, p.settings.CaptureArea[c].Width, category,
                                       trace ? &*trace : nullptr, &hooks);

    p.results.lblCapture[c] = read.caption;
    p.view.changed(ViewPart::CaptureSlot, category);
    if (trace)
        p.log.WriteDebugLog(trace->Text());
    return read.result;
}

Currency ReadExpArea(Program& p, WindowId window)
{
    CaptureAreaColumnText(p, window, AreaExp, CategoryExp);
    return AmountFromText(RecognizeNumber(p, CategoryExp));
}

std::int32_t LevelFromText(std::string_view text)
{
    const std::optional<std::int64_t> value = ParseInteger(TrimAsciiSpaces(text));
    if (!value || *value < 0 || *value > std::numeric_limits<std::int32_t>::max())
        return -1;
    return static_cast<std::int32_t>(*value);
}

Currency AmountFromText(std::string_view text)
{
    constexpr std::int64_t kMaxUnits = std::numeric_limits<std::int64_t>::max() / Currency::kScale;
    const std::optional<std::int64_t> value = ParseInteger(TrimAsciiSpaces(text));
    if (!value || *value < 0 || *value > kMaxUnits)
        return Currency::FromInteger(-1);
    return Currency::FromInteger(*value);
}

void cmdRecognize_Click(Program& p)
{
    p.log.WriteDebugLog("Click : Test Recognize ");
    std::string elapsed;
    {
        TestButtonsBusy busy(p);
        const std::int64_t t0 = p.services.clock.TickMs();
        p.measurement.ReadLv = LevelFromText(RecognizeNumber(p, CategoryLevel));
        p.measurement.ReadExp = AmountFromText(RecognizeNumber(p, CategoryExp));
        p.measurement.ReadMoney = AmountFromText(RecognizeNumber(p, CategoryMoney));
        elapsed = formatSeconds(p.services.clock.TickMs() - t0) + "秒";
        p.results.lblElapse = elapsed;
        p.view.changed(ViewPart::Results);
    }
    p.log.WriteDebugLog("SingleRecognize(" + elapsed + ") ･･･ End ");
}

} // namespace kesmaro
