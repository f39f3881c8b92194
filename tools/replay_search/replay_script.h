// Replays as vexaro-sim scripts: the keys of each frame turned into key events on the virtual
// clock, and the real game run on a script to see what it makes of it.
#pragma once

#include "platform/headless/headless.h"

#include <cstdint>
#include <string>
#include <vector>

namespace replay {

// The tick at which frame n of a flight reads the keys, when frame 0 reads them at `first`:
// the first frame is not held back by the pace, so frame 1 follows 2 ticks later and every
// later frame 10 ticks after the one before.
std::int64_t FrameTick(std::int64_t first, int n);

// Script lines that hold the given keys in each frame of a flight whose frame 0 reads the keys
// at `first`, and release everything where the frame after the last would read the keys.
std::vector<std::string> KeyEvents(const std::vector<std::uint8_t>& keys, std::int64_t first);

// What the real game did with a script.
struct RoundOutcome {
    int round = 0;
    std::int64_t firstFrameTick = -1; // when its first frame was flown
    int frames = 0;                   // frames flown up to the touchdown, touchdown included
    int timeLeft = -1;                // TimeLeft at the touchdown
    int rescued = 0;                  // people rescued in the round at the touchdown
    bool cleared = false;
    bool crashed = false;
};
struct GameOutcome {
    std::vector<RoundOutcome> rounds; // in the order they were flown
    bool endingShown = false;
    bool backToNoGame = false; // GameMode 0 after the game had run
};

// Runs the game headless from its start on `script`, with round `firstRound` first; `options`
// give the rest of the run (the game's folder, when it stops, where the trace goes). A script
// that does not parse runs nothing: false with a one-line message naming the line.
bool RunScript(platform::headless::Options options, int firstRound,
               const std::vector<std::string>& script, std::string& error);

// Where a run of a script has shown what it does: 300 ticks (3 s) after its last line.
std::int64_t StopTick(const std::vector<std::string>& script);

// Runs the game from its start with `script` (started at `firstRound`) until `stopTick`, or
// until the game is over when stopTick is negative, and reads the trace. Nothing runs when the
// script does not parse: `error` says why.
GameOutcome RunGame(const std::string& appDir, int firstRound,
                    const std::vector<std::string>& script, std::int64_t stopTick,
                    std::string& error);

// The tick of the first frame of round `round` when the game runs the script: the script
// runs until that frame. -1 when the round is never reached, or with `error` when the script
// does not parse.
std::int64_t FirstFrameTick(const std::string& appDir, int firstRound,
                            const std::vector<std::string>& script, int round, std::string& error);

// The tick of a script line ("T ..."), or -1.
std::int64_t LineTick(const std::string& line);

} // namespace replay
