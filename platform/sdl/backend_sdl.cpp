// The SDL backend: start-up, the clock, the desktop's services and the end of the process.
// Windows are in forms_sdl.cpp, the message step in events_sdl.cpp, MsgBox in msgbox_sdl.cpp.
#include "platform/sdl/backend_sdl.h"

#include "platform/backend.h"
#include "platform/desktop.h"
#include "platform/sdl/gamepad.h"
#include "platform/sdl/session.h"
#include "platform/sdl/sound_sdl.h"
#include "platform/sdl/target.h"

#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace platform::desktop {

std::uint32_t Ticks() {
    return SDL_GetTicks();
}

// The real clock runs on by itself: a recording notes it where the game reads it.
bool StepsMoveTheClock() {
    return false;
}

// The game runs at 15 twips per pixel on every screen and enlarges its windows instead.
int ScreenDpi() {
    return 96;
}

std::string ExecutableDir() {
    char* base = SDL_GetBasePath();
    std::string dir = base ? base : "./";
    SDL_free(base);
    // The game joins its data folders on with "/" and takes a folder that ends otherwise for one
    // without its separator: Windows' folder ends in "/" too (Windows takes either), so that the
    // files keep the names recordings give them on every system ("wav/beep.wav").
    if (!dir.empty() && dir.back() == '\\') dir.back() = '/';
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

bool AnotherInstanceRunning() {
    return sdl::target::AnotherInstanceRunning();
}

int ShellExecute(const std::string& file) {
    // While the desktop's opener works the game keeps painting, but takes no input: an empty
    // modal entry stands in front of every window.
    sdl::PushModal(0);
    const int result = sdl::target::OpenLink(file, [] { sdl::Step(sdl::kIdleWaitMs); });
    sdl::PopModal(0);
    return result;
}

void Notify(const std::string& message) {
    std::fprintf(stderr, "Vexaro!!: %s\n", message.c_str());
    MsgBox(message, vbOKOnly, "Vexaro!!");
}

void PlaybackStep() {
    sdl::Step(0); // the windows are shown; the desktop's input is only looked at
}

void PlaybackClock(std::int64_t elapsed) {
    // A recording plays at the pace it was made: its clock waits for the wall clock.
    static bool started = false;
    static Uint32 origin = 0;
    if (!started) {
        started = true;
        origin = SDL_GetTicks() - Uint32(elapsed);
    }
    for (;;) {
        const std::int64_t ahead = elapsed - std::int64_t(Uint32(SDL_GetTicks() - origin));
        if (ahead <= 0) return;
        sdl::Step(int(std::min<std::int64_t>(ahead, sdl::kIdleWaitMs)));
    }
}

void PlaybackOver(int status, const std::string& message) {
    if (!message.empty()) Notify(message);
    sdl::CloseAudio(); // nothing sounds on after the playback
    // The window stays as the playback left it until the player closes it.
    if (!sdl::MainWindow()) EndProcess(status);
    for (;;)
        sdl::Step(sdl::kIdleWaitMs);
}

void EndProcess(int status) {
    sdl::CloseAudio();
    SDL_Quit();
    std::fflush(nullptr);
    // At once, as the game asks: no destructors run under the loops still on the stack.
    std::_Exit(status);
}

} // namespace platform::desktop

namespace platform::sdl {

void Start() {
    target::Prepare();
    // SDL_QUIT only for a signal: the game decides itself what closing a window means.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    // A click that brings a window to the front is a click too, as on the desktop it was made for.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "Vexaro!!: cannot start the display: %s\n", SDL_GetError());
        std::exit(1);
    }
    // Without a desktop to reach, SDL falls back to drawing into memory: the game would run
    // unseen for ever. Only a player who asks for such a driver gets it.
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool unseen = SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0;
    if (unseen && !SDL_getenv("SDL_VIDEODRIVER")) {
        std::fprintf(stderr,
                     "Vexaro!!: cannot start the display: no desktop answers (DISPLAY=%s)\n",
                     SDL_getenv("DISPLAY") ? SDL_getenv("DISPLAY") : "");
        SDL_Quit();
        std::exit(1);
    }
    SDL_StopTextInput(); // keys only: no input method between the player and the game
    // The windows' pixels go straight to the X server, only the parts that changed: through
    // OpenGL (in software where there is no graphics card) every picture would be redrawn whole.
    if (SDL_strcmp(driver, "x11") == 0) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    g_twipsX = g_twipsY = 1440 / ScreenDpi();
    StartGamepads();
    OpenAudio();
}

} // namespace platform::sdl
