// The crash: a burst of fire and a cloud of smoke, 32 x 32 icons that the game stretches up to
// twenty times, so every pixel is a hard-edged block of its own.
#include "art.h"
#include "pixelart.h"

#include <cmath>
#include <iterator>
#include <map>
#include <vector>

namespace art {

namespace {

// Spikes of a burst: a direction (unit vector), a length and a half-width at the root.
struct Spike {
    double dx, dy, length, width;
};

bool InBurst(double x, double y, const std::vector<Spike>& spikes, double core, double scale) {
    if (x * x + y * y < core * core * scale * scale) return true;
    for (const Spike& s : spikes) {
        const double along = x * s.dx + y * s.dy;
        const double across = std::abs(x * s.dy - y * s.dx);
        const double length = s.length * scale;
        if (along > 0 && along < length && across < s.width * scale * (1.0 - along / length))
            return true;
    }
    return false;
}

} // namespace

Canvas FireBurst() {
    // Eleven uneven spikes round a hot core; the directions are unit vectors spread round the
    // circle, not quite evenly, so the burst looks torn rather than drawn with a compass.
    const std::vector<Spike> spikes = {
        {0.000, -1.000, 15.5, 4.0},  {0.574, -0.819, 12.0, 3.6}, {0.906, -0.423, 15.0, 4.2},
        {0.996, 0.087, 11.0, 3.4},   {0.799, 0.602, 15.0, 4.0},  {0.375, 0.927, 12.5, 3.8},
        {-0.208, 0.978, 15.5, 4.2},  {-0.669, 0.743, 11.5, 3.6}, {-0.951, 0.309, 15.0, 4.0},
        {-0.970, -0.242, 11.0, 3.4}, {-0.682, -0.731, 14.5, 4.0}};
    struct Ring {
        double scale;
        Colour colour;
    };
    const Ring rings[] = {
        {0.30, Hex(0xFFFFD8)}, {0.52, Hex(0xFFE040)}, {0.76, Hex(0xF88820)}, {1.00, Hex(0xD82818)}};
    Layers shape(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            for (int depth = 0; depth < 4; ++depth)
                if (InBurst(x + 0.5 - 16.0, y + 0.5 - 16.0, spikes, 7.0, rings[depth].scale)) {
                    shape.offer(x, y, depth, rings[depth].colour);
                    break;
                }
    Canvas burst = shape.finish(Hex(0x801010), {});
    // Debris thrown clear of the burst, and dark flecks of the ship inside it.
    Dice dice(2024);
    const Colour debris[] = {Hex(0xFFE040), Hex(0xD82818), Hex(0xF88820)};
    for (int i = 0; i < 40; ++i) {
        const int x = dice.below(32), y = dice.below(32);
        if (burst.opaqueAt(x, y)) {
            if (i % 3 == 0) burst.put(x, y, i % 2 ? Hex(0x3A1810) : Hex(0x201418));
        } else {
            const bool nearBurst = burst.opaqueAt(x - 2, y) || burst.opaqueAt(x + 2, y) ||
                                   burst.opaqueAt(x, y - 2) || burst.opaqueAt(x, y + 2);
            if (!nearBurst && i % 2 == 0) burst.put(x, y, debris[i % 3]);
        }
    }
    return burst;
}

Canvas SmokeCloud() {
    // Puffs, front to back: each is a ball lit from the top-left.
    struct Puff {
        double x, y, r;
    };
    const Puff puffs[] = {{15.0, 15.5, 7.0}, {9.0, 12.0, 6.0},  {22.0, 12.5, 6.5},
                          {10.0, 21.5, 6.0}, {21.5, 22.0, 6.5}, {15.5, 7.5, 6.0},
                          {5.0, 17.0, 4.0},  {27.0, 18.5, 4.0}, {16.0, 26.0, 4.5}};
    const std::vector<Colour> greys = {Hex(0x4C4C58), Hex(0x7C7C88), Hex(0xA8A8B4), Hex(0xD4D4DC),
                                       Hex(0xF8F8F8)};
    Layers shape(32, 32);
    std::map<int, Colour> edges;
    for (int depth = 0; depth < int(std::size(puffs)); ++depth) {
        const Puff& p = puffs[depth];
        edges[depth] = greys[1];
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const double dx = x + 0.5 - p.x, dy = y + 0.5 - p.y;
                if (dx * dx + dy * dy < p.r * p.r)
                    shape.offer(x, y, depth, Shade(greys, SphereLight(dx, dy, p.r)));
            }
    }
    return shape.finish(Hex(0x34343E), edges);
}

} // namespace art
