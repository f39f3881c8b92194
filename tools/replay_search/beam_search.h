// The search for a flight through a round: a beam search over the game's own frame code, one
// key choice held for a few frames at a time, guided by the waypoints of the round's plan.
#pragma once

#include "tools/replay_search/plan_file.h"

#include <cstdint>
#include <string>
#include <vector>

namespace replay {

struct SearchResult {
    bool found = false;
    std::vector<std::uint8_t> keys; // the keys of every frame, touchdown frame included
    std::string note;               // how far it got when nothing was found
};

// Searches from the stage as LoadRound and PrepareRoundView left it, with GameMode flying.
// `maxFrames` bounds the flight; the first frame always holds Space (the key press that
// started the game still counts as one).
SearchResult SearchFlight(const Plan& plan, int maxFrames, bool verbose);

} // namespace replay
