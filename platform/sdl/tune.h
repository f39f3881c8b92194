// The music channel's tunes: the game names MIDI files, and each target plays them its own way
// (the Linux desktop through FluidSynth; the browser and Windows, which have no synthesiser, from
// a recording of the same tune made at build time). CMake picks the variant.
#pragma once

#include <SDL_mixer.h>
#include <string>

namespace platform::sdl {

// The tune for a MIDI file already checked whole; null when it cannot be played.
Mix_Music* OpenTune(const std::string& midiPath);

// The music channel's volume for the tunes OpenTune gives, where the game asks for
// `designedVolume` (of MIX_MAX_VOLUME).
int TuneVolume(int designedVolume);

} // namespace platform::sdl
