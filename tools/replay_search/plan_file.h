// The waypoint file of a round: the route a player would take, which the search follows.
//
//   beam 600           states kept per step (default 600)
//   hold 8             frames each key choice is held: at least, and by default, 8, so that
//                      every key state lasts as long as a player's
//   margin 20          pixels the ship's box keeps from rock and enemies; never less than the
//                      round's own rule (16 in rounds 1 to 3, 6 later), which is the default
//   speed 30           the top speed in twips per frame on either axis (default 30): a
//                      player's cruising pace
//   via X Y [r=R] [v=V]  pass within R pixels (default 24) of the centre of range cell (X, Y),
//                        at most V twips per frame fast; X and Y may have a fraction
//   take X Y           pick up the capsule or person on range cell (X, Y)
//   land               touch down on the pad (the last line)
//
// "#" starts a comment.
#pragma once

#include <string>
#include <vector>

namespace replay {

struct Waypoint {
    enum class Kind { Via, Take, Land } kind = Kind::Via;
    double cellX = 0, cellY = 0;
    double radius = 24;    // pixels
    double maxSpeed = 1e9; // twips per frame
    int line = 0;
};

struct Plan {
    int beam = 600;
    int hold = 8;
    int margin = 0;
    int speed = 30;
    std::vector<Waypoint> waypoints;
};

// Reads a waypoint file; false with a one-line message naming the line.
bool ReadPlan(const std::string& path, Plan& plan, std::string& error);

} // namespace replay
