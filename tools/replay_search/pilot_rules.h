// What a person at the keys can fly: the rules that the replay search keeps to and that the
// round statistics report on, measured on the stage as the game has it at that moment.
//
// - A key state (which of Left, Right and Space are held) lasts at least kMinKeyFrames frames.
// - The ship's 32 x 32 box keeps its margin (RockMargin) from every rock and every enemy, except
//   within kReachRadius pixels of a capsule, a person or the pad, which it has to reach; even
//   there it never overlaps rock or an enemy.
// - It touches down at kMaxTouchdownSpeed twips per frame or slower.
#pragma once

#include "core/game_state.h"
#include "platform/controls.h"

#include <string>
#include <vector>

namespace replay {

constexpr int kMinKeyFrames = 8;
constexpr int kReachRadius = 40;        // pixels between the ship's box and the thing reached
constexpr Long kMaxTouchdownSpeed = 30; // twips per frame
constexpr int kTicksPerFrame = 10;      // the frame pace, in milliseconds of tick count

// The most frames a flight may take in a round with this allowance (seconds): two seconds
// short of it, since a flight must not need the last of the time. A round file may give any
// allowance, so the result is clamped to 0..INT_MAX.
int LongestFlightFrames(Long allowance);

// Pixels between the ship's box and rock or an enemy: wide in the first three rounds, where a
// player is still learning the keys.
int RockMargin(int round);

struct PixelBox {
    int left = 0, top = 0, width = 0, height = 0;
};

// The distance between two boxes (pixels; 0 when they touch or overlap).
double BoxGap(const PixelBox& a, const PixelBox& b);

// The box of a control on the playfield, in pixels as it is drawn.
PixelBox BoxOf(const platform::Control& c);
PixelBox ShipBox();

// Whether a cell of the collision grid is wall: rock, or outside the grid.
bool WallCell(int column, int row);

// The gap from a box to the nearest wall cell of the collision grid, looking at most `sight`
// pixels far (returns `sight` when nothing is nearer).
double RockGap(const PixelBox& box, double sight);

// The gap from a box to enemy i of the stage (its sprite as it stands now).
double EnemyGap(const PixelBox& box, Long i);

// Whether the box lies within kReachRadius of a capsule, a person (taken or not) or the pad.
bool Reaching(const PixelBox& box);

// The gap the rules ask of a box from rock and enemies: the margin, except where it reaches
// something, where it may come close but never scrape (1 pixel).
double NeededGap(const PixelBox& box, int margin);

// Whether the ship, as the stage stands now, keeps the rules' distance from rock and enemies.
bool KeepsDistance(int margin);

// The shortest key state of a replay script, in frames: the least time between two key events
// at different ticks ("T down KEY", "T up KEY" or "T tap KEY"; events at one tick are one
// change). A large number when there are fewer than two.
int ShortestKeyState(const std::vector<std::string>& scriptLines);

} // namespace replay
