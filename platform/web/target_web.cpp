// The browser: no other instance to find, links open in a new tab, and every wait gives the
// browser its turn (the page is painted, its keys and sounds delivered) and comes back where it
// was: the game's loops keep their shape, the page stays alive.
#include "platform/sdl/target.h"
#include "platform/web/screen.h"

#include <emscripten.h>

extern "C" {
// platform/web/web_library.js: a wait of `ms` milliseconds in which the browser runs.
void vexaro_web_sleep(int ms);
}

namespace platform::sdl::target {

namespace {

// A new tab, without a handle back to the game's page. The value ShellExecute gives: greater
// than 32 when the browser opened it (a blocked pop-up opens nothing).
EM_JS(int, OpenInNewTab, (const char* address), {
    const tab = window.open(UTF8ToString(address), "_blank");
    if (!tab) return 5;
    tab.opener = null;
    return 33;
});

bool EventsWaiting() {
    return SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) == SDL_TRUE;
}

} // namespace

void Prepare() {
    // The windows live in memory and are shown by platform/web/screen.cpp: SDL's own browser
    // driver has a single window, and the game has several (splash, about, help, message boxes).
    SDL_setenv("SDL_VIDEODRIVER", "dummy", 1);
    web::StartInput();
}

bool AnotherInstanceRunning() {
    return false; // each tab is a game of its own
}

int OpenLink(const std::string& text, void (*)()) {
    return OpenInNewTab(text.c_str());
}

bool WaitForInput(SDL_Window*, int ms) {
    if (EventsWaiting()) return true;
    web::ShowChanges(); // the picture goes to the canvas before the browser paints
    vexaro_web_sleep(ms);
    return EventsWaiting();
}

// A timer of the page's wakes the game a millisecond or more late now and then: sleeping to the
// tick slowed the frames by 2 %, for no less work in the browser.
bool SleepsToTheTick() {
    return false;
}

void WindowUpdated(SDL_Window* window) {
    web::NoteUpdated(window);
}

void Tidy() {
    web::ShowChanges();
}

} // namespace platform::sdl::target
