// The message step: events to the windows that take them, timers, pictures.
#include "platform/backend.h"
#include "platform/desktop.h"
#include "platform/input.h"
#include "platform/key_latency.h"
#include "platform/sdl/backend_sdl.h"
#include "platform/sdl/gamepad.h"
#include "platform/sdl/keymap.h"
#include "platform/sdl/menu_control.h"
#include "platform/sdl/session.h"
#include "platform/sdl/target.h"

#include <algorithm>
#include <array>
#include <deque>
#include <optional>
#include <vector>

namespace platform::sdl {

namespace {

// Never destroyed: closing windows from the destructors of a process that is ending (Xlib ends
// it when the display goes away) would wait for a display that can no longer answer.
std::vector<std::shared_ptr<InputWindow>>& g_windows =
    *new std::vector<std::shared_ptr<InputWindow>>;
std::vector<Uint32> g_modal;
std::array<bool, 256> g_held{};
// Keystrokes sent by the game itself: a press delivered at the next message step, its release
// at the one after.
std::deque<int> g_injectedDowns, g_injectedUps;
MenuControl g_menu;
bool g_inMenuLoop = false;

// The window an input event is for, unless a modal window in front of it takes all input.
std::shared_ptr<InputWindow> Accepting(Uint32 id) {
    auto window = WindowById(id);
    if (!window) return nullptr;
    if (!g_modal.empty() && g_modal.back() != id) return nullptr;
    return window;
}

void DeliverInjectedKeys() {
    while (!g_injectedUps.empty()) {
        KeyUpEvent(g_injectedUps.front());
        g_injectedUps.pop_front();
    }
    while (!g_injectedDowns.empty()) {
        const int vk = g_injectedDowns.front();
        g_injectedDowns.pop_front();
        g_injectedUps.push_back(vk);
        KeyDownEvent(MainForm(), vk);
    }
}

void OnWindowEvent(const SDL_WindowEvent& e) {
    auto window = WindowById(e.windowID);
    if (!window) return;
    switch (e.event) {
    case SDL_WINDOWEVENT_FOCUS_LOST:
        // Keys released elsewhere would stay held in the game's record for ever.
        ReleaseHeldKeys();
        CloseMenu();
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        // A window behind a modal one hands the keyboard on to the modal window.
        if (!g_modal.empty() && g_modal.back() != e.windowID)
            if (SDL_Window* front = SDL_GetWindowFromID(g_modal.back())) {
                SDL_RaiseWindow(front);
                SDL_SetWindowInputFocus(front);
            }
        break;
    case SDL_WINDOWEVENT_CLOSE:
        if (Accepting(e.windowID)) window->closeRequested();
        return;
    default:
        break;
    }
    window->windowEvent(e);
}

// The window keys are for. Where SDL knows of no focused window (the one that had the keyboard
// has just closed, and no window manager handed it on), the front modal window or the main one.
Uint32 KeyWindow(Uint32 id) {
    if (WindowById(id)) return id;
    if (!g_modal.empty()) return g_modal.back();
    return MainWindow() ? SDL_GetWindowID(MainWindow()) : 0;
}

void OnKeyDown(const SDL_KeyboardEvent& key) {
    // Timed from when SDL took it from the display.
    if (!key.repeat)
        latency::KeyArrived(VirtualKey(key.keysym.sym), double(SDL_GetTicks() - key.timestamp));
    auto window = Accepting(KeyWindow(key.windowID));
    if (window) window->keyDown(key, VirtualKey(key.keysym.sym));
}

void OnKeyUp(const SDL_KeyboardEvent& key) {
    const int vk = VirtualKey(key.keysym.sym);
    // Releases always reach the game's record, wherever the keyboard is now.
    if (vk > 0 && vk < int(g_held.size())) {
        g_held[vk] = false;
        KeyUpEvent(vk);
    }
    if (auto window = Accepting(KeyWindow(key.windowID))) window->keyUp(vk);
}

void OnMouseButton(const SDL_MouseButtonEvent& button) {
    // A press in another window of ours folds an open menu up, and does nothing else.
    if (MenuActive() && button.type == SDL_MOUSEBUTTONDOWN && MainWindow() &&
        button.windowID != SDL_GetWindowID(MainWindow())) {
        CloseMenu();
        return;
    }
    if (auto window = Accepting(button.windowID)) window->mouseButton(button);
}

void Dispatch(const SDL_Event& e) {
    switch (e.type) {
    case SDL_QUIT: // the session is ending (a signal): as if the main window were closed
        if (Form* main = MainForm()) CloseEvent(*main);
        EndProcess(0);
    case SDL_WINDOWEVENT:
        OnWindowEvent(e.window);
        break;
    case SDL_KEYDOWN:
        OnKeyDown(e.key);
        break;
    case SDL_KEYUP:
        OnKeyUp(e.key);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        OnMouseButton(e.button);
        break;
    case SDL_MOUSEWHEEL:
        if (auto window = Accepting(e.wheel.windowID); window && !MenuActive())
            window->mouseWheel(e.wheel);
        break;
    case SDL_MOUSEMOTION:
        if (auto window = Accepting(e.motion.windowID)) window->mouseMotion(e.motion);
        break;
    default:
        GamepadEvent(e);
        break;
    }
}

// Whether SDL's queue is worth a look now. When the display connection has nothing to read,
// this waits for it for at most `waitMs`, and never past the next look, so that waiting never
// burns a core. SDL is still asked now and then, since a look costs a dozen system calls: events
// it read while presenting, a pad's buttons and a signal wait in it. Presenting is always
// followed by a look.
Uint32 g_lastLook = 0;
// In the game's loops, and wherever a pad is plugged in (its buttons reach SDL by another way
// than the display), every 16 ms; a pad's button must not wait a tenth of a second.
constexpr Uint32 kBusyLookEveryMs = 16;
constexpr Uint32 kIdleLookEveryMs = 250;
bool TimeToLook(int waitMs, Pace pace) {
    const bool busy = pace == Pace::Game || GamepadCount() > 0;
    const Uint32 every = busy ? kBusyLookEveryMs : kIdleLookEveryMs;
    const Uint32 since = SDL_GetTicks() - g_lastLook;
    if (since >= every) return true;
    waitMs = std::min(waitMs, int(every - since));
    return target::WaitForInput(AnyWindow(), waitMs) || SDL_GetTicks() - g_lastLook >= every;
}

// The tick the game's clock loop waits for, while it lies ahead (see WaitingForTick).
std::optional<Uint32> g_awaitedTick;

// How long the game's message step may wait: until the awaited tick, or a millisecond. Once the
// tick is reached, the loop's last steps yield their millisecond as before: tried without it,
// the keys took longer to reach the screen.
int GameWaitMs() {
    if (!g_awaitedTick) return kGameWaitMs;
    const std::int32_t ahead = std::int32_t(*g_awaitedTick - SDL_GetTicks());
    if (ahead > kGameWaitMs) return ahead;
    g_awaitedTick.reset();
    return kGameWaitMs;
}

} // namespace

void Register(std::shared_ptr<InputWindow> window) {
    g_windows.push_back(std::move(window));
}

void Unregister(const InputWindow* window) {
    std::erase_if(g_windows, [window](const auto& w) { return w.get() == window; });
}

std::shared_ptr<InputWindow> WindowById(Uint32 id) {
    for (const auto& w : g_windows)
        if (id != 0 && w->windowId() == id) return w;
    return nullptr;
}

void PushModal(Uint32 windowId) {
    g_modal.push_back(windowId);
}

void PopModal(Uint32 windowId) {
    if (auto it = std::find(g_modal.rbegin(), g_modal.rend(), windowId); it != g_modal.rend())
        g_modal.erase(std::next(it).base());
    // The keyboard goes back to the window below, as it does on the desktop.
    const Uint32 below = !g_modal.empty() ? g_modal.back() : KeyWindow(0);
    if (SDL_Window* window = below ? SDL_GetWindowFromID(below) : nullptr) {
        SDL_RaiseWindow(window);
        SDL_SetWindowInputFocus(window);
    }
}

bool ModalUp() {
    return !g_modal.empty();
}

void HoldKey(int vk) {
    if (vk > 0 && vk < int(g_held.size())) g_held[vk] = true;
}

void ReleaseHeldKeys() {
    for (int vk = 0; vk < int(g_held.size()); ++vk)
        if (g_held[vk]) {
            g_held[vk] = false;
            KeyUpEvent(vk);
        }
}

bool RefreshWindows(int& wakeWithinMs) {
    // A copy: presenting never changes the list, but a window may be unregistered meanwhile.
    const auto windows = g_windows;
    bool presented = false;
    for (const auto& w : windows)
        presented = w->refresh(wakeWithinMs) || presented;
    return presented;
}

SDL_Window* AnyWindow() {
    for (const auto& w : g_windows)
        if (SDL_Window* window = SDL_GetWindowFromID(w->windowId())) return window;
    return nullptr;
}

void Step(int waitMs, Pace pace) {
    // What the game changed since the last turn is shown first, then the events are taken.
    SyncFormWindows();
    Timer::FireDue(desktop::Ticks());
    SyncFormWindows();
    waitMs = Timer::MsUntilDue(desktop::Ticks(), waitMs);
    const bool presented = RefreshWindows(waitMs);
    target::Tidy();
    if (!presented && !TimeToLook(waitMs, pace)) return;
    g_lastLook = SDL_GetTicks();
    SDL_Event e;
    while (SDL_PollEvent(&e))
        Dispatch(e);
}

bool MenuActive() {
    return g_menu.active();
}

void CloseMenu() {
    if (g_menu.active()) g_menu.close();
}

MenuControl& Menu() {
    return g_menu;
}

void RunMenu(Form& form) {
    if (g_inMenuLoop) return; // the loop below is already running and sees the new state
    g_inMenuLoop = true;
    ReleaseHeldKeys(); // the game stands still: nothing stays pressed meanwhile
    while (g_menu.active())
        Step(kIdleWaitMs);
    g_inMenuLoop = false;
    // The chosen command runs after the menu has gone, still inside this message step.
    if (MenuItem* chosen = g_menu.takeChosen(form)) MenuEvent(*chosen);
}

} // namespace platform::sdl

namespace platform::desktop {

void Step() {
    // A keystroke sent by the game waits while a menu is open.
    if (!sdl::MenuActive()) sdl::DeliverInjectedKeys();
    sdl::Step(sdl::GameWaitMs(), sdl::Pace::Game);
}

void WaitingForTick(std::uint32_t tick) {
    if (sdl::target::SleepsToTheTick()) sdl::g_awaitedTick = tick;
}

void Wait() {
    sdl::Step(sdl::kIdleWaitMs);
}

// No game loop runs here: it waits for input without waking a thousand times a second.
void IdleStep() {
    if (!sdl::MenuActive()) sdl::DeliverInjectedKeys();
    sdl::Step(sdl::kIdleWaitMs);
}

void SendKeys(std::string_view keys) {
    if (keys == "{Enter}") sdl::g_injectedDowns.push_back(VK_RETURN);
}

} // namespace platform::desktop
