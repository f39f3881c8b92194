// Windows: the program scales itself (it tells Windows so, per monitor), one instance per user
// session through a named mutex, links through the shell, and SDL's own wait for messages.
#include "platform/sdl/target.h"
#include "platform/windows/wide.h"

#include <objbase.h>
#include <shellapi.h>
#include <windows.h>

namespace platform::sdl::target {

void Prepare() {
    // The manifest says it too; the hint covers a copy of the program that lost its manifest.
    // Windows then neither stretches the windows (blurred) nor lies about the screen's size: the
    // game measures the screen in its own pixels and enlarges itself by whole factors.
    SDL_SetHint(SDL_HINT_WINDOWS_DPI_AWARENESS, "permonitorv2");
    // The picture goes to the window through GDI, pixel for pixel, only the parts that changed;
    // no Direct3D device is needed for a window the game paints itself.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
}

bool AnotherInstanceRunning() {
    // The mutex lives in the user's session and goes with the process however it ends. A mutex
    // that cannot be made (another user's of that name, no resources) lets the game run.
    static const bool another = [] {
        HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Local\\Vexaro!!.single-instance");
        return mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
    }();
    return another;
}

int OpenLink(const std::string& text, void (*whileWaiting)()) {
    (void)whileWaiting; // the shell hands the link over and returns at once
    const auto wide = platform::windows::Widen(text);
    if (!wide) return SE_ERR_FNF;
    // The shell may use COM to find the handler; once per thread is enough, whatever it answers.
    static const HRESULT com =
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    (void)com;
    const HINSTANCE result =
        ShellExecuteW(nullptr, L"open", wide->c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return int(reinterpret_cast<INT_PTR>(result));
}

bool WaitForInput(SDL_Window* anyWindow, int ms) {
    (void)anyWindow;
    // SDL waits in MsgWaitForMultipleObjects; the event it found stays in its queue for the look.
    return SDL_WaitEventTimeout(nullptr, ms) != 0;
}

bool SleepsToTheTick() {
    return true;
}

void WindowUpdated(SDL_Window* window) {
    (void)window; // SDL shows each window's pixels itself
}

void Tidy() {}

} // namespace platform::sdl::target
