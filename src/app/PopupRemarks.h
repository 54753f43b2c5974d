#pragma once

#include "state/GraphPicture.h" // PixelPoint, PixelSize

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kesmaro {

// One text of a refused-close remark and how long it stays before the next one (or, for the
// last one, before the popup's own text returns).
struct RemarkFrame {
    std::string text;
    int pauseMs = 0;
    friend bool operator==(const RemarkFrame&, const RemarkFrame&) = default;
};

// The last text of every remark stays this long.
constexpr int kRemarkStandMs = 1000;

// What the popup says on the `counter`-th refused close; `windowClass` is the game's window
// class the program looks for. A single remark is one frame; the animations are several.
std::vector<RemarkFrame> PopupRemark(int counter, std::string_view windowClass);

// The label centred in the popup's inner area. When the label does not fit, the window grows to
// the label plus twice its frame on that axis and the label goes to the edge.
struct PopupPlacement {
    PixelPoint label;
    std::optional<int> outerWidth;
    std::optional<int> outerHeight;
    friend bool operator==(const PopupPlacement&, const PopupPlacement&) = default;
};
PopupPlacement CentrePopupLabel(PixelSize inner, PixelSize outer, PixelSize label);

} // namespace kesmaro
