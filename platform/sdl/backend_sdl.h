// The SDL backend's own start-up.
#pragma once

namespace platform::sdl {
// Initialises SDL, the fonts and the audio device; sets the screen's twips per pixel.
void Start();
} // namespace platform::sdl
