#pragma once

namespace kesmaro {

// Sounds. Both calls return at once (the sound plays on); without an audio device they are
// silent and harmless.
class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void SystemBeep() = 0;
    virtual void Tone(int frequencyHz, int durationMs) = 0;
};

} // namespace kesmaro
