// Input handed to the game: the one door through which keys, menu commands, clicks, window
// closes and timer ticks reach the game's handlers. Backends call these where the desktop
// delivers something to the game; a recording that is being made notes each one, and while a
// recording plays the desktop's own input stops here (the recording's input comes in instead).
#pragma once

#include "platform/controls.h"

#include <cstdint>

namespace platform {

// Where an input comes from: the desktop (a backend), or a recording that plays.
enum class From { Desktop, Recording };

// Where a key event comes from. A key is held while any source holds it, and a press from any
// of them is a press for GetAsyncKeyState's "pressed since the last query" bit.
enum class KeySource : std::uint8_t { Keyboard = 1, Gamepad = 2 };

// A key pressed for the main window: kept in the GetAsyncKeyState record, and handed to the
// target form's key handler on every key-down (auto-repeat included).
void KeyDownEvent(Form* target, int vkey, KeySource source = KeySource::Keyboard,
                  From from = From::Desktop);
// A key released, wherever the keyboard is now: the GetAsyncKeyState record hears it.
void KeyUpEvent(int vkey, KeySource source = KeySource::Keyboard, From from = From::Desktop);
// A key for a window other than the main one: only that window's handler hears it.
void FormKeyEvent(Form& form, int vkey, From from = From::Desktop);
// A menu command chosen.
void MenuEvent(MenuItem& item, From from = From::Desktop);
// The player closes a window: its unload handler runs; without one the main window ends the
// process and any other window is unloaded.
void CloseEvent(Form& form, From from = From::Desktop);
// Mouse input over a form, in client pixels, over `over` (nullptr: the background).
void ClickEvent(Form& form, Control* over, int x, int y, From from = From::Desktop);
void MouseMoveEvent(Form& form, Control* over, int x, int y, From from = From::Desktop);
void WheelEvent(Form& form, int notches, From from = From::Desktop);
// A timer's interval has run out.
void TimerEvent(Timer& timer, From from = From::Desktop);

} // namespace platform
