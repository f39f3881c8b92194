// The Linux desktop plays the MIDI files themselves, through SDL_mixer's FluidSynth.
#include "platform/sdl/tune.h"

namespace platform::sdl {

Mix_Music* OpenTune(const std::string& midiPath) {
    return Mix_LoadMUS(midiPath.c_str());
}

int TuneVolume(int designedVolume) {
    return designedVolume;
}

} // namespace platform::sdl
