// Where there is no MIDI synthesiser (the browser, Windows), each tune X.mid is played from X.ogg
// beside it: the same tune through the desktop's FluidSynth and sound font, rendered at build time
// (tools/tunes/render-tunes.sh). Which file plays is the target's business: the game still opens,
// checks and names the MIDI file, so a recording made here plays the same on the desktop.
#include "platform/sdl/tune.h"

namespace platform::sdl {

Mix_Music* OpenTune(const std::string& midiPath) {
    const std::size_t dot = midiPath.find_last_of('.');
    if (dot == std::string::npos) return nullptr;
    return Mix_LoadMUS((midiPath.substr(0, dot) + ".ogg").c_str());
}

// The rendering already has the game's music level in it (FluidSynth's gain for that volume).
int TuneVolume(int /*designedVolume*/) {
    return MIX_MAX_VOLUME;
}

} // namespace platform::sdl
