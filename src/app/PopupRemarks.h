#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

namespace kesmaro {

// One text of a refused-close remark and how long it stays before the next one (or, for the
// last one, before the popup's own text returns).
struct RemarkFrame {
    QString text;
    int pauseMs = 0;
    friend bool operator==(const RemarkFrame&, const RemarkFrame&) = default;
};

// The last text of every remark stays this long.
constexpr int kRemarkStandMs = 1000;

// What the popup says on the `counter`-th refused close; `windowClass` is the game's window
// class the program looks for. A single remark is one frame; the animations are several.
std::vector<RemarkFrame> PopupRemark(int counter, const QString& windowClass);

// The label centred in the popup's inner area. When the label does not fit, the window grows to
// the label plus twice its frame on that axis and the label goes to the edge.
struct PopupPlacement {
    QPoint label;
    std::optional<int> outerWidth;
    std::optional<int> outerHeight;
    friend bool operator==(const PopupPlacement&, const PopupPlacement&) = default;
};
PopupPlacement CentrePopupLabel(QSize inner, QSize outer, QSize label);

} // namespace kesmaro
