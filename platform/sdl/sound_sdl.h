// The SDL backend's sound device: SDL_mixer with one channel for wave effects and the music
// stream for the tune under the alias "bgm" (MIDI through FluidSynth and a General MIDI font).
#pragma once

namespace platform::sdl {

// Opens the audio device. Returns false when there is none; the game then runs silently and
// every sound call does nothing.
bool OpenAudio();
// Stops everything, frees the cached sounds and closes the device. Safe to call twice.
void CloseAudio();

} // namespace platform::sdl
