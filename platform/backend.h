// What the game asks of a desktop. Two backends implement this: the SDL one for the real game,
// and the headless one for vexaro-sim, the tests and the tools.
#pragma once

#include "platform/controls.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Virtual keys the game reads.
constexpr int VK_RETURN = 13;
constexpr int VK_ESCAPE = 27;
constexpr int VK_SPACE = 32;
constexpr int VK_LEFT = 37;
constexpr int VK_RIGHT = 39;

// Milliseconds since the system started, 32 bits, wrapping.
std::uint32_t GetTickCount();

// Nonzero while the key is down (bit 15), and once more for a press since the previous query
// (bit 0).
std::int16_t GetAsyncKeyState(int vkey);

// Processes pending window messages: input, timers, repainting. Event handlers run inside.
// Never spins: when nothing is pending it yields for at most about a millisecond.
void DoEvents();

// The screen's logical dots per inch (96 on an ordinary desktop).
int ScreenDpi();

// The executable's folder, always with a trailing separator.
std::string ExecutableDir();

// True when another instance of this program runs for the same user. The first call takes the
// instance lock; it is held until the process ends.
bool AnotherInstanceRunning();

// Shows a form: modeless returns at once; modal processes messages until the form is unloaded.
void ShowForm(Form& form, bool modal);
// Closes a form's window; the form object stays and may be shown again.
void UnloadForm(Form& form);
// Called by a form's destructor: the backend lets go of the form's window at once, so that no
// event can reach a form that is gone.
void FormDestroyed(Form& form);

// Message box buttons and results.
constexpr int vbOKOnly = 0;
constexpr int vbYesNo = 4;
constexpr int vbOK = 1;
constexpr int vbYes = 6;
constexpr int vbNo = 7;
// A modal message box; returns the button pressed. An empty title means the game's name.
int MsgBox(const std::string& text, int buttons, const std::string& title = "");

// Sends a keystroke to the active window, delivered at the next message step. Only "{Enter}".
void SendKeys(std::string_view keys);

// Hands a text (web address, mail address) to the desktop's opener. Returns a value greater
// than 32 on success, 0..32 when no program could take it.
int ShellExecute(const std::string& file);

// Ends the process at once, wherever the game is.
[[noreturn]] void EndProcess(int status);

// The window that receives the keys and whose picture the backends show as the game; a form
// that is destroyed stops being it.
void SetMainForm(Form* form);
Form* MainForm();

// Processes messages until the process ends: what runs after start-up has returned.
[[noreturn]] void RunMessageLoop();

// Where a key event comes from. A key is held while any source holds it, and a press from any
// of them is a press for GetAsyncKeyState's "pressed since the last query" bit.
enum class KeySource : std::uint8_t { Keyboard = 1, Gamepad = 2 };

// Key events from a backend: keeps the GetAsyncKeyState record and calls the target form's
// key handler on every key-down (auto-repeat included).
void KeyDownEvent(Form* target, int vkey, KeySource source = KeySource::Keyboard);
void KeyUpEvent(int vkey, KeySource source = KeySource::Keyboard);
// Forgets every key (a new headless run starts with none held).
void ResetKeys();

} // namespace platform
