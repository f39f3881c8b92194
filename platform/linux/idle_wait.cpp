#include "platform/linux/idle_wait.h"

#include <SDL_syswm.h>
#include <poll.h>

namespace platform::sdl {

int DisplayConnection(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
    if (!window) return -1;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return -1;
    return ConnectionNumber(info.info.x11.display);
#else
    (void)window;
    return -1;
#endif
}

bool WaitForDisplay(int fd, int ms) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, ms) > 0;
}

} // namespace platform::sdl
