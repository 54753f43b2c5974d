#pragma once

#include "common/Currency.h"
#include "config/Settings.h"
#include "platform/GameWindows.h"
#include "platform/PixelBuffer.h"
#include "recognition/Glyphs.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kesmaro {

struct Program;
struct Services;

// The five capture areas of the settings, and the ColumnText, picCapture and lblCapture slot
// of each. Areas 0 to 2 are read with the category of the same number.
enum CaptureAreaIndex : int {
    AreaLevel = CategoryLevel,
    AreaExp = CategoryExp,
    AreaMoney = CategoryMoney,
    AreaExpExtra = 3, // shown and saved only, never read
    AreaMoneySecond = 4,
};
static_assert(kGlyphCount == glyph::kCount && kDelimiterGlyph == glyph::kDelimiter);

// The glyphs of a category as the settings hold them; an empty font for no category.
GlyphFont GlyphFontOf(const Settings& settings, int category);

// Regions wider or taller than this are not captured (an empty result): no window system has
// windows that large, and the buffers must stay bounded whatever the settings file says.
constexpr int kMaxRegionSide = 32767;
// Pictures are also bounded in pixels (64 MB of buffer).
constexpr std::int64_t kMaxPicturePixels = std::int64_t{1} << 24;

// The pixels of a capture region of the window's client area, BGRA top-down, exactly the
// region's size; black outside the window; empty for a size of 0 or less or beyond the
// bounds above. The number of rows delivered is the buffer's height.
PixelBuffer GrabRegionPixels(GameWindows& windows, WindowId window, const CaptureRect& region);

// A picture of a rectangle of the client area (clientArea true) or of the whole window with its
// frame; an empty picture when the size is 0 or less or beyond the bounds above.
PixelBuffer CaptureRegionPicture(GameWindows& windows, WindowId window, bool clientArea,
                                 std::int32_t x, std::int32_t y, std::int32_t width,
                                 std::int32_t height);
PixelBuffer CaptureWindowRegionPicture(GameWindows& windows, WindowId window,
                                       const CaptureRect& region);
// Waits `delayMs` (other events run meanwhile), then takes the picture from whichever window
// has the focus at that moment.
PixelBuffer CaptureForegroundRegionPicture(Services& services, const CaptureRect& region,
                                           int delayMs, bool clientArea);

// The debug display of a capture: pictures of all five capture areas of the window into
// picCapture(0..4), each announced to the view.
void ShowCapturePictures(Program& p, WindowId window);

// Grabs `region` of the window, binarizes it with the category's threshold and mask and stores
// its column words in the slot, and their column text in ColumnText(slot). Only the top 16
// rows are grabbed, as no more reach the text. A region that cannot be captured leaves an
// empty text. Returns the rows grabbed.
int CaptureColumnText(Program& p, WindowId window, const CaptureRect& region, int slot,
                      std::int32_t threshold, std::int32_t mask);
// Grabs the regions that CaptureColumnText would grab for these capture areas in one request to
// the window system, so that a capture costs one round trip; the column texts captured while
// the batch lives take their pixels from it (a region it lacks is grabbed on its own).
class RegionBatch {
public:
    RegionBatch(Program& p, WindowId window, std::initializer_list<int> areas);
    ~RegionBatch();
    RegionBatch(const RegionBatch&) = delete;
    RegionBatch& operator=(const RegionBatch&) = delete;

private:
    Program& m_program;
};

// CaptureColumnText of capture area `area` into its own slot, with the threshold and mask of
// `category`.
void CaptureAreaColumnText(Program& p, WindowId window, int area, int category);
// Slot `to` takes the column text and words of slot `from`.
void CopyColumnSlot(Program& p, int from, int to);

// Reads the number in ColumnText(category) with the category's glyph table and the width of
// its capture area: the digits without leading zeros, or empty when nothing was read. A slot
// that CaptureColumnText filled is read from its column words; a text written there otherwise
// is read as it stands. Sets lblCapture(category) and, in debug mode, shows the progress and
// writes the trace to the debug log. With a lag cancel time each step first waits, and reads
// the slot and the settings afresh, since a capture may run during the wait.
std::string RecognizeNumber(Program& p, int category);

// The Exp area captured and read, as both the capture cycle and the level-up/death check read
// it: the percentage x 100, -1 when not read.
Currency ReadExpArea(Program& p, WindowId window);

// A result of RecognizeNumber as the level: -1 when empty or beyond 32 bits.
std::int32_t LevelFromText(std::string_view text);
// A result of RecognizeNumber as a fixed-point value: -1 when empty or beyond its range.
Currency AmountFromText(std::string_view text);
// Both read a decimal integer with an optional sign and blanks around it.

// The recognition test button (cmdRecognize): reads the three slots as the last capture left
// them into ReadLv, ReadExp and ReadMoney and shows the time taken in lblElapse.
void cmdRecognize_Click(Program& p);

} // namespace kesmaro
