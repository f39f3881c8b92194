// The SDL backend's own start-up.
#pragma once

namespace platform::sdl {
// Initialises SDL, the fonts and the audio device; sets the screen's twips per pixel.
void Start();
// Processes window events until the process ends: what runs after start-up has returned. It
// waits for input without waking a thousand times a second, since no game loop runs here.
[[noreturn]] void RunIdleLoop();
} // namespace platform::sdl
