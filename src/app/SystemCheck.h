#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kesmaro {

class Prompter;
struct Program;

// What this build needs at run time and a user's machine can lack, in the order checked.
#ifdef _WIN32
enum SystemPart {
    SystemPartGdiplus,        // gdiplus.dll: pictures and image files
    SystemPartDirectInput8,   // dinput8.dll: mouse gestures
    SystemPartCommonControls, // comctl32.dll version 6: the options window's tabs
    SystemPartJapaneseFont,   // a font for the Japanese interface
    kSystemPartCount
};
#else
enum SystemPart {
    SystemPartXInput2,       // the X server's XInput 2: mouse gestures
    SystemPartMitShm,        // the X server's shared-memory images
    SystemPartSoundServer,   // the audio server for the beeps
    SystemPartJapaneseFont,  // a font for the Japanese interface
    SystemPartDesktopOpener, // xdg-open for documents and links
    kSystemPartCount
};
#endif

struct SystemPartEntry {
    std::string name;        // as the message and the debug log name it
    std::string consequence; // the message's line saying what may not work
};
const std::array<SystemPartEntry, kSystemPartCount>& SystemPartTable();

// Which parts this machine has, indexed by SystemPart.
using SystemPartsFound = std::array<bool, kSystemPartCount>;

// The start-up check: one information message and one debug-log line for every part missing,
// then the summary line. A missing part never stops the start.
void CheckSystemFiles(Program& p, const SystemPartsFound& found);

// The program folder of an executable in `executableFolder`; nothing, after the refusal box,
// when the executable itself lies in the temporary folder (an archive viewer's copy), whichever
// folder an installed or read-only copy would write to.
std::optional<std::string> ProgramFolderOrRefusal(Prompter& prompter,
                                                  std::string_view executableFolder,
                                                  std::string_view tempFolder);

} // namespace kesmaro
