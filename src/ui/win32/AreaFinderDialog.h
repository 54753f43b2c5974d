#pragma once

#include "platform/PixelBuffer.h"
#include "recognition/AreaFinder.h"

#include <array>
#include <string>
#include <vector>
#include <windows.h>

namespace kesmaro {

// The control ids of the finder's dialog, for the tests; the rows count up from their first.
enum AreaFinderId : int {
    IdFinderFrame = 10,
    IdFinderNameFirst = 20,
    IdFinderCropFirst = 30,
    IdFinderTextFirst = 40,
    IdFinderQuestion = 50,
    IdFinderApply,
    IdFinderCancel,
};

// The finder's proposal before it is applied: the game frame with a rectangle for each number
// found (dashed ones where a number was seen more than once), and per number the proposed area,
// an enlarged picture of it and what it reads. "適用" applies, "キャンセル" and the close
// control do not.
class AreaFinderDialog {
public:
    AreaFinderDialog(HWND owner, const PixelBuffer& frame, const AreaProposal& proposal);
    ~AreaFinderDialog();
    AreaFinderDialog(const AreaFinderDialog&) = delete;
    AreaFinderDialog& operator=(const AreaFinderDialog&) = delete;

    // Shows the dialog modally; true when the user applies the proposal.
    static bool confirm(HWND owner, const PixelBuffer& frame, const AreaProposal& proposal);
    bool run();

    HWND hwnd() const { return m_window; }
    // The per-number lines as shown (UTF-8), for tests.
    const std::vector<std::string>& summary() const { return m_summary; }

private:
    struct Entry {
        const char* name;
        const FoundNumber* number;
        COLORREF colour;
        PixelBuffer crop; // enlarged, when found
    };

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool filter(MSG& message);
    void build(HWND owner);
    void drawFrame(const DRAWITEMSTRUCT& item);
    void finish(bool applied);

    PixelBuffer m_frame;
    std::array<Entry, 4> m_entries;
    std::vector<std::size_t> m_rows; // the entries shown, in order
    std::vector<std::string> m_summary;
    HWND m_window = nullptr;
    HWND m_owner = nullptr;
    int m_dpi = 96;
    SIZE m_view{}; // the frame's picture in designed pixels
    bool m_open = false;
    bool m_applied = false;
};

} // namespace kesmaro
