#include "records/Beep.h"

#include <array>

namespace kesmaro {

namespace {

struct Tone {
    int hz;
    int ms;
};
// Modes 2 to 5.
constexpr std::array<Tone, 4> kTones{{{500, 75}, {2000, 75}, {500, 200}, {2000, 200}}};

} // namespace

void PlayBeep(Beeper& beeper, int beepMode)
{
    if (beepMode == 1)
        beeper.SystemBeep();
    else if (beepMode >= 2 && beepMode <= 5)
        beeper.Tone(kTones[static_cast<std::size_t>(beepMode - 2)].hz,
                    kTones[static_cast<std::size_t>(beepMode - 2)].ms);
}

} // namespace kesmaro
