// Flight: the frame loop with the ship's motion, the two contact probes beside the ship, and
// the enemies' motion.
#pragma once

#include "core/game_state.h"

// The probes look from the ship's centre plus this offset in pixels on each axis: the border
// of the window the game was laid out in, kept so that contacts happen where players expect.
constexpr Long kProbeBorderOffset = 3;

// Runs frames while GameMode is odd (only flying is).
void RunFrameLoop();

// One frame's work before the pace: camera, speed marker, keys, gravity and flames, range
// edges, probes, the ship's move and the enemies' move.
void FlyFrame();

// Waits until at least 10 ms of tick count have passed since the previous frame; the first
// frame of a flight (after the countdown or a pause) is not held back.
void PaceFrame(bool firstOfFlight = false);

// The two probes of a frame: horizontal first, then vertical.
void ProbeContacts();

// Every enemy takes one step.
void MoveEnemies();

// Whether the grid cell under a point of the playfield (twips) is a wall; a point outside the
// grid counts as a wall.
bool IsWallAt(double x, double y);

// Frames flown since the program started (the trace's frame counter).
extern long long g_framesFlown;
