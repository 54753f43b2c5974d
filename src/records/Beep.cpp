#include "records/Beep.h"

namespace kesmaro {

void PlayBeep(Beeper& beeper, int beepMode)
{
    switch (beepMode) {
    case 1:
        beeper.SystemBeep();
        break;
    case 2:
        beeper.Tone(500, 75);
        break;
    case 3:
        beeper.Tone(2000, 75);
        break;
    case 4:
        beeper.Tone(500, 200);
        break;
    case 5:
        beeper.Tone(2000, 200);
        break;
    default:
        break;
    }
}

} // namespace kesmaro
