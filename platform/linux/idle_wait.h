// Waiting for the display without asking SDL: a look at SDL's event queue costs a dozen system
// calls on X11, so an idle game that looked a thousand times a second would burn several
// percent of a core. The display connection is watched directly instead, and SDL is asked only
// when it has something to say.
#pragma once

#include <SDL.h>

namespace platform::sdl {

// The display connection's file descriptor, -1 where it is not known (no window yet, or a
// display system other than X11).
int DisplayConnection(SDL_Window* window);

// Waits up to `ms` milliseconds for the connection to have data; true when it has.
bool WaitForDisplay(int fd, int ms);

} // namespace platform::sdl
