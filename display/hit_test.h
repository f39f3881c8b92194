// The point lookup over the playfield: what a probe beside the ship finds.
#pragma once

#include "core/game_state.h"

#include <cstdint>

// Identity of whatever is found: a sprite's handle, the playfield's handle, or kOtherWindow.
using WindowHandle = std::uint32_t;
constexpr WindowHandle kOtherWindow = 0;

// What lies at playfield pixel (x, y): the handle of the frontmost shown sprite whose rectangle
// contains the point (pRock, pEnemy, pEnergy, pResq elements or pGoal; right and bottom edges
// excluded; of overlapping sprites the later created is in front), else pScreen's handle when
// the point lies inside the playfield and inside the viewport and is not covered by a shown
// message plate or countdown digit, else kOtherWindow.
WindowHandle WindowFromPlayfieldPoint(Long x, Long y);
