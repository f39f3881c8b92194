// A tune of the music channel, made ready as samples before it is heard: while the game plays,
// the mixer only copies them, and no synthesiser runs buffer by buffer. Each target has its own
// maker of tunes, chosen by the build: the desktop renders MIDI files with FluidSynth
// (platform/tunes/fluidsynth.cpp).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform::sdl {

class Tune {
  public:
    virtual ~Tune() = default;

    // Copies 16-bit stereo frames from frame `at` on into `out`, at most `frames` of them, and
    // returns how many it copied: fewer at the tune's end, or where the tune is not made that
    // far yet and did not get there within `waitMs` milliseconds.
    virtual int read(std::int64_t at, std::int16_t* out, int frames, int waitMs) = 0;
    // Whether the tune is known to end at or before frame `at`.
    virtual bool endsBy(std::int64_t at) const = 0;
};

// The tune of a music file whose bytes were checked already, for a device of `rate` frames per
// second, at the music channel's loudness; null when it cannot be played (no sound font). It is
// made on a thread of its own, so this returns at once, and made only once: the next call for
// the same file gets the same tune.
std::shared_ptr<Tune> MakeTune(const std::string& path, int rate);

// Stops making tunes and forgets them (the audio device is closing).
void ForgetTunes();

} // namespace platform::sdl
