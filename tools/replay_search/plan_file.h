// The waypoint file of a round: the route a player would take, which the search follows.
//
//   beam 1500          states kept per step (default 1500)
//   hold 4             frames each key choice is held (default 4)
//   margin 6           pixels of clearance beyond the probes' reach (default 6)
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
    int beam = 1500;
    int hold = 4;
    int margin = 6;
    std::vector<Waypoint> waypoints;
};

// Reads a waypoint file; false with a one-line message naming the line.
bool ReadPlan(const std::string& path, Plan& plan, std::string& error);

} // namespace replay
