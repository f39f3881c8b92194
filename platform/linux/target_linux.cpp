// The Linux desktop: a lock file for the single instance, xdg-open for links, and the X
// connection watched directly while waiting.
#include "platform/linux/idle_wait.h"
#include "platform/linux/instance_lock.h"
#include "platform/linux/opener.h"
#include "platform/sdl/target.h"

namespace platform::sdl::target {

void Prepare() {}

bool AnotherInstanceRunning() {
    static const LockResult result = TakeInstanceLock(LockFolder());
    return result == LockResult::HeldByAnother;
}

int OpenLink(const std::string& text, void (*whileWaiting)()) {
    return ShellResult(RunOpener("xdg-open", text, whileWaiting));
}

bool WaitForInput(SDL_Window* anyWindow, int ms) {
    const int fd = DisplayConnection(anyWindow);
    // Elsewhere SDL waits itself; the event it found stays in its queue for the look.
    if (fd < 0) return SDL_WaitEventTimeout(nullptr, ms) != 0;
    return WaitForDisplay(fd, ms);
}

bool SleepsToTheTick() {
    return true;
}

void WindowUpdated(SDL_Window*) {} // the X server shows each window itself

void Tidy() {
    ReapOpeners();
}

} // namespace platform::sdl::target
