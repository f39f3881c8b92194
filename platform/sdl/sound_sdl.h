// The SDL backend's sound device: SDL_mixer with one channel for wave effects and the music
// stream for the tune under the alias "bgm" (a MIDI tune made ready as samples, tune.h).
#pragma once

namespace platform::sdl {

// Opens the audio device. Returns false when there is none; the game then runs silently and
// every sound call does nothing.
bool OpenAudio();
// Stops everything, frees the cached sounds and closes the device. Safe to call twice.
void CloseAudio();
// Whether the music channel is playing a tune now.
bool MusicPlaying();

} // namespace platform::sdl
