// Temporary: the SDL backend is being written.
#include "platform/sdl/backend_sdl.h"

#include "platform/backend.h"
#include "platform/sound.h"

#include <SDL.h>
#include <cstdlib>

namespace platform {
std::uint32_t GetTickCount() { return SDL_GetTicks(); }
void DoEvents() { SDL_Delay(1); }
int ScreenDpi() { return 96; }
std::string ExecutableDir() {
    char* base = SDL_GetBasePath();
    std::string dir = base ? base : "./";
    SDL_free(base);
    return dir;
}
bool AnotherInstanceRunning() { return false; }
void ShowForm(Form& form, bool) { form.loaded = true; form.show(); }
void UnloadForm(Form& form) { form.loaded = false; form.hide(); }
int MsgBox(const std::string&, int, const std::string&) { return vbOK; }
void SendKeys(std::string_view) {}
int ShellExecute(const std::string&) { return 0; }
void EndProcess(int status) { std::exit(status); }
} // namespace platform

namespace platform::sdl {
void Start() { SDL_Init(SDL_INIT_TIMER); }
} // namespace platform::sdl
