// What one frame of flight can change, captured and put back, so that a search can try several
// key choices from the same moment with the game's own frame code.
#pragma once

#include "core/game_state.h"

#include <cstdint>
#include <vector>

namespace replay {

struct EnemySnapshot {
    float left = 0, top = 0;
    Long stepX = 0, stepY = 0, leg = 0, done = 0;
};

struct FlightSnapshot {
    float shipLeft = 0, shipTop = 0;
    Long shipVX = 0, shipVY = 0;
    Long gameMode = 0, lives = 0, timeLeft = 0;
    Long rescuedCount = 0, rescuedTotal = 0;
    std::vector<EnemySnapshot> enemies;
    std::vector<std::uint8_t> capsulesShown; // pEnergy elements 1.. in order
    std::vector<std::uint8_t> peopleShown;   // pResq elements 1.. in order
};

// The state of the flight as it stands. The flame images and the random draws behind their
// flicker are left out: probes see through the flames, and nothing else reads the draws.
FlightSnapshot CaptureFlight();

// Puts the flight back as captured. `Rescued` is cut back to the captured count.
void RestoreFlight(const FlightSnapshot& s);

// The keys of one frame: bits of the six combinations a player can hold.
enum KeyBits : std::uint8_t { kKeyLeft = 1, kKeyRight = 2, kKeySpace = 4 };

// Sets the key record so that the next frame reads exactly these keys as held.
void HoldKeys(std::uint8_t keys);

} // namespace replay
