// Handing a text (a web or mail address) to the desktop's opener program.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace platform::sdl {

// What became of the opener.
enum class OpenerOutcome {
    Opened,  // it ended with status 0, or still runs the program it started
    Refused, // it ended with another status or by a signal
    Missing, // the opener program could not be started
};

// Starts `program` with the one argument `text` (no shell in between) and waits for its exit
// status. `whileWaiting` is called about every millisecond meanwhile (the game keeps painting).
// An opener that has not ended after `patienceMs` is taken to be running what it opened; it is
// reaped later by ReapOpeners.
OpenerOutcome RunOpener(const std::string& program, const std::string& text,
                        void (*whileWaiting)() = nullptr, int patienceMs = 5000);

// Collects openers that ended after RunOpener stopped waiting for them.
void ReapOpeners();

// The result ShellExecute reports for an outcome: greater than 32 on success.
int ShellResult(OpenerOutcome outcome);

} // namespace platform::sdl
