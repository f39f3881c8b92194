// The SDL backend's running state, shared by its parts: the windows that take input, the modal
// stack, the menu and the message step.
#pragma once

#include <SDL.h>
#include <memory>

namespace platform {
class Form;
}

namespace platform::sdl {

// A window of ours: a form's window or a message box.
class InputWindow {
  public:
    virtual ~InputWindow() = default;
    virtual Uint32 windowId() const = 0;
    virtual void keyDown(const SDL_KeyboardEvent& key, int vk) = 0;
    virtual void keyUp(int /*vk*/) {}
    virtual void mouseButton(const SDL_MouseButtonEvent& button) = 0;
    virtual void mouseMotion(const SDL_MouseMotionEvent& motion) = 0;
    virtual void mouseWheel(const SDL_MouseWheelEvent& /*wheel*/) {}
    virtual void closeRequested() = 0;
    virtual void windowEvent(const SDL_WindowEvent& /*event*/) {}
    // Composes and presents when the picture changed or the window was uncovered; true when
    // it presented. A picture held back until the screen's next refresh lowers `wakeWithinMs`
    // to the time until then, so that the message step's wait for input does not make it late.
    virtual bool refresh(int& wakeWithinMs) = 0;
};

void Register(std::shared_ptr<InputWindow> window);
void Unregister(const InputWindow* window);
std::shared_ptr<InputWindow> WindowById(Uint32 id);

// Windows shown modally, the front one last: only it takes input.
void PushModal(Uint32 windowId);
void PopModal(Uint32 windowId);
bool ModalUp();

// One turn of the message step: due timers fire, changed windows are presented and pending
// events are dispatched (their handlers run inside). When nothing was pending it waits for input
// for at most `waitMs`, and no longer than until a timer is due, a held-back picture is due or
// SDL's queue is next looked at (see `Pace`). DoEvents waits a millisecond, since the game's own
// loops call it over and over, unless the game said which tick its loop waits for; the loops of
// the backend, which stand the game still (menus, modal windows, the idle message loop), wait
// until the next look and wake at once for input.
enum class Pace {
    Game,  // the game's loops: SDL's queue is looked at every 16 ms
    Still, // the game stands still: it is looked at when input comes, and now and then
};
constexpr int kGameWaitMs = 1;
constexpr int kIdleWaitMs = 1000; // longer than any look interval: the next look ends the wait
void Step(int waitMs, Pace pace = Pace::Still);

// The factor every window is enlarged by.
int Scale();

// The main form's window (null until it is shown).
SDL_Window* MainWindow();

// Form windows: kept in step with their forms at every turn.
void SyncFormWindows();
// Refreshes every window (see InputWindow::refresh); true when one presented.
bool RefreshWindows(int& wakeWithinMs);
// Some window of ours (null when none is open).
SDL_Window* AnyWindow();

// Keys held in the game's key record; released all at once when the game loses the keyboard.
void HoldKey(int vk);
void ReleaseHeldKeys();

class MenuControl;
// The menu bar's state: one menu can be open at a time.
MenuControl& Menu();
// The menu loop of a form: runs until the menu closes, then the chosen item's handler.
void RunMenu(Form& form);
bool MenuActive();
void CloseMenu();

} // namespace platform::sdl
