// The desktop itself, as each backend provides it. The game never calls these: it calls the
// functions of backend.h and sound.h (platform/boundary.cpp), which pass what the desktop
// answers through the recorder, or answer from a recording that plays (platform/replay.h).
#pragma once

#include "platform/controls.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::desktop {

// The desktop's clock in milliseconds, 32 bits, wrapping. Reading it is no input of the game's:
// the game reads the clock through GetTickCount.
std::uint32_t Ticks();
// True where the clock moves only in message steps (the headless backend's virtual clock), so
// that a recording notes the clock at the end of each step.
bool StepsMoveTheClock();

// The game's message step (DoEvents).
void Step();
// The game's clock loop ends once the clock reaches `tick`: its steps may wait until then.
void WaitingForTick(std::uint32_t tick);
// One turn of a loop in which the game stands still until something happens: a modal window.
void Wait();
// One turn of the message loop that runs once start-up has returned and no game runs.
void IdleStep();

// While a recording plays: one message step that takes no input but keeps the windows alive.
void PlaybackStep();
// While a recording plays: its clock has reached `elapsed` milliseconds since it began (the
// real window waits for the wall clock to get there; the headless one takes its pictures).
void PlaybackClock(std::int64_t elapsed);
// The recording has played (or could not go on): ends the playback with `status` and, when it
// is not empty, the one line that says why.
[[noreturn]] void PlaybackOver(int status, const std::string& message);

// Tells the player something that went wrong outside the game (a recording that cannot be
// written): the game goes on.
void Notify(const std::string& message);

int ScreenDpi();
std::string ExecutableDir();
bool AnotherInstanceRunning();
void ShowForm(Form& form, bool modal);
void UnloadForm(Form& form);
// Called by a form's destructor: the backend lets go of the form's window at once, so that no
// event can reach a form that is gone.
void FormDestroyed(Form& form);
int MsgBox(const std::string& text, int buttons, const std::string& title);
void SendKeys(std::string_view keys);
int ShellExecute(const std::string& file);
[[noreturn]] void EndProcess(int status);
bool sndPlaySound(const std::string& path, int flags);
int mciSendString(std::string_view command);

} // namespace platform::desktop
