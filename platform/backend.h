// What the game asks of a desktop. Two backends implement this: the SDL one for the real game,
// and the headless one for vexaro-sim, the tests and the tools.
#pragma once

#include "platform/controls.h"
#include "platform/input.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

// Said before a loop that reads the clock and calls DoEvents until the clock reaches `tick`:
// until then a message step with nothing to do may wait longer than a millisecond (input, a
// timer or a picture due still end its wait at once). The game's reads of the clock and what
// they return are as they were; the loop only wakes less often.
void WaitingForTick(std::uint32_t tick);

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
// One turn of a modal window's loop: waits until something happens (backends call it).
void ModalWait();

// The file-existence test: true for a plain file of that name; a folder does not count.
bool FileExists(const std::string& path);

// A whole binary file, read at once and closed again.
struct FileRead {
    enum class Status {
        Read,       // `bytes` holds the file
        Missing,    // nothing of that name
        NotAFile,   // a folder or another kind of entry
        TooLarge,   // larger than the limit; `size` says how large
        CannotOpen, // no permission to read it
        ReadFailed, // reading it failed part way
    };
    Status status = Status::Missing;
    std::uint64_t size = 0;
    std::vector<std::uint8_t> bytes;
};
FileRead ReadFile(const std::string& path, std::uint64_t limit);

// Forgets every key (a new headless run starts with none held).
void ResetKeys();

} // namespace platform
