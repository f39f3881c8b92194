// What differs between the systems the SDL backend runs on (a Linux desktop, a browser,
// Windows). Each target implements these in one small file of its own folder beside sdl/
// (linux/, web/, windows/), chosen by CMake; the rest of the backend is the same everywhere.
#pragma once

#include <SDL.h>
#include <string>

namespace platform::sdl::target {

// Called first of all, before SDL starts: what the process must tell its system up front.
void Prepare();

// True when another instance of the game runs for this user. The first call takes the
// instance lock, held until the process ends.
bool AnotherInstanceRunning();

// Hands a web or mail address to the system's opener; the value ShellExecute returns (greater
// than 32 on success). `whileWaiting` keeps the windows painted while the opener works.
int OpenLink(const std::string& text, void (*whileWaiting)());

// Waits up to `ms` milliseconds for input to arrive, without spinning; true when something may
// be waiting in SDL's queue.
bool WaitForInput(SDL_Window* anyWindow, int ms);

// Whether a wait of the game's loops may last until the tick they wait for. Where the system's
// timers wake late (a browser's), the loops wake every millisecond and read the clock instead,
// so that the frames keep their pace.
bool SleepsToTheTick();

// A window's new pixels have reached SDL. Where the target shows the windows itself (the
// browser shows every window of the game on one canvas), it shows them anew.
void WindowUpdated(SDL_Window* window);

// Tidies up after things the target started in the background (openers that have ended).
void Tidy();

} // namespace platform::sdl::target
