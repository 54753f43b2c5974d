#pragma once

#include "platform/MouseButtons.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kesmaro {

struct Program;

enum class GestureCommand { Suspend, Resume, WatchOn, WatchOff, CaptureReset, PrintScreen };

// One gesture: its codes, the beep rhythm that repeats it and the text-log line (UTF-8).
struct GestureRow {
    GestureCommand command;
    std::string_view codes;
    std::array<int, 4> rhythm;
    std::string_view line;
};

// The sequence gestures in the order they are checked; the first found in the history wins.
std::span<const GestureRow> GestureTable();
// Both buttons together and let go, then both again: one of the press chords and one of the
// release-then-press chords anywhere in the history.
std::span<const std::string_view> PressChords();
std::span<const std::string_view> ReleasePressChords();
const GestureRow& PrintScreenGesture();

// What a gesture starts that lives beside this library: the capture cycle and image saving.
// Paths and the file type (".png") are UTF-8.
struct GestureOperations {
    std::function<void(Program&)> captureImage;
    std::function<std::string(Program&)> screenshotFolder;
    std::function<void(Program&, const std::string& base, const std::string& format)>
        saveScreenshot;
};

// "Ld", "Lu", "Rd", "Ru" for each event, in order.
std::string GestureCodes(const std::vector<MouseButtonEvent>& events);

// Loading the gesture input window: starts listening to the mouse buttons. A failure is told
// in a message box; the window stays loaded without input.
void FormDirectX_Load(Program& p, GestureOperations operations);
// Unloading it: stops listening. Harmless when it is not loaded.
void FormDirectX_Unload(Program& p);

// One batch of button events from the listener started with `eventId`. A batch that comes
// while a recognised gesture's command or rhythm runs is queued and handled after it.
void DirectXEvent8_DXCallback(Program& p, std::uint32_t eventId,
                              const std::vector<MouseButtonEvent>& batch,
                              const GestureOperations& operations);

// The feedback rhythm: each argument a group (1 one beep, 2 two beeps 50 ms apart, 3 or more
// two beeps 100 ms apart), 500 ms between groups, a 0 ends it; silent with BeepMode 0.
void PlayBeepPattern(Program& p, int a, int b, int c, int d);

} // namespace kesmaro
