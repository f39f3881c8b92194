// The side panel: the speed gauge, the fuel gauge (time left), the spare ships, and the
// preparation of the view for a round attempt.
#pragma once

#include "core/game_state.h"

// Scrolls the playfield so the ship is centred, shows ship, playfield, panel and viewport,
// resets both gauge markers, shows the lives and zeroes the ship's velocity.
void PrepareRoundView();

// Shows one icon per spare ship, from the bottom up.
void ShowLives();

// Marker positions in twips within their strips.
Long SpeedMarkerY(Long shipVY);
Long FuelMarkerY(Long timeLeft);
// The farthest the fuel marker goes above or below its strip, in twips (2^30).
constexpr Long kFarthestMarkerY = Long(1) << 30;

// The one-second timer's tick: one second less (down to the lowest Long), and the fuel marker
// follows.
void tLastSec_Timer();
