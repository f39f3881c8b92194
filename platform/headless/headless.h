// The headless backend: a virtual clock, scripted input and a trace. The same inputs give the
// same trace and the same pictures, byte for byte.
#pragma once

#include "platform/backend.h"
#include "platform/compose.h"
#include "platform/recording.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <istream>
#include <memory>
#include <string>
#include <vector>

namespace platform::headless {

struct Action {
    std::int64_t t = 0;
    enum class Kind { Down, Up, Menu, Close, Click } kind = Kind::Down;
    int key = 0;      // Down, Up
    std::string name; // Menu, Click
};

// Reads a script: one action per line, "T ACTION [ARG]", T non-decreasing; "#" starts a
// comment; "answer yes|no|ok" (without T) queues a message-box answer. A tap is a down at T and
// an up at T + 1. On a bad line returns false with a one-line message naming the line.
bool ParseScript(std::istream& in, std::vector<Action>& actions, std::deque<std::string>& answers,
                 std::string& error);

struct Shot {
    std::int64_t t = 0;
    std::string path;
};

struct Options {
    std::string appDir;          // with a trailing "/"; empty: the executable's folder
    int dpi = 96;                // logical dots per inch of the virtual screen
    std::uint32_t startTick = 0; // first value of the tick count
    std::vector<Action> script;
    std::deque<std::string> answers;
    std::vector<Shot> shots;
    std::int64_t stopAfterTicks = -1;  // --ticks
    std::function<bool()> idle;        // --until idle: true stops the run
    std::int64_t maxTicks = 3'600'000; // a scripted run stops here; a recording plays to its end
    std::function<void(const std::string&)> traceLine; // null: no trace
    bool otherInstanceRunning = false;                 // pretend a first instance runs
    int shellResult = 42;                              // what the desktop's opener answers
    // Records the run into this file; `firstRound` (the round a game starts at) goes into its
    // header.
    std::string recordPath;
    int firstRound = 1;
    // Plays this recording instead of the script, on its own clock, screen and answers.
    std::shared_ptr<const Recording> replay;
};

struct Result {
    int status = 0;         // the process's exit status when it ended itself, or the playback's
    bool ended = false;     // the game ended its process (rather than being stopped)
    std::int64_t ticks = 0; // ticks since the run began when it stopped
    std::string message;    // why a playback or a recording could not go on
};

// Runs `entry` (the game from its start) on the headless backend until it ends its process, a
// stop condition is met or the recording it plays is over.
Result Run(const Options& options, const std::function<void()>& entry);

// Inside a run: ticks since it began, and the main window as it would be on screen.
std::int64_t Now();
FrameBuffer ComposeMainWindow();
// Advances the clock without a message step (a synchronous sound playing).
void AdvanceClock(std::uint32_t ms);
// Closes the music channel (a new run starts with none open).
void ResetSound();

} // namespace platform::headless
