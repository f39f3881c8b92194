// The ship, its flames, the explosion and the hand cursor: small icons with their own
// transparency, drawn from shapes lit from the top-left and outlined.
#include "art.h"
#include "pixelart.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>

namespace art {

namespace {

const Colour kOutline = Hex(0x141828);
const std::vector<Colour> kHull = {Hex(0x50546C), Hex(0x8C90A8), Hex(0xBCC0D2), Hex(0xE2E4EE),
                                   Hex(0xFFFFFF)};
const std::vector<Colour> kGlass = {Hex(0x0C1650), Hex(0x1A3CA4), Hex(0x2C6CE0), Hex(0x6CB0FF),
                                    Hex(0xD4F0FF)};
const std::vector<Colour> kMetal = {Hex(0x2C2C38), Hex(0x525A6C), Hex(0x8088A0), Hex(0xB4BCCC)};
const std::vector<Colour> kLamp = {Hex(0x801018), Hex(0xD02828), Hex(0xFF7060), Hex(0xFFD0C0)};

// Depths of the ship's parts, front to back.
enum ShipPart { kWindow, kLampPart, kPod, kAntenna, kNozzle, kThruster, kLeg };

struct Point {
    double x, y;
};

double SegmentDistance(Point p, Point a, Point b) {
    const double vx = b.x - a.x, vy = b.y - a.y;
    double t = ((p.x - a.x) * vx + (p.y - a.y) * vy) / (vx * vx + vy * vy);
    t = std::clamp(t, 0.0, 1.0);
    const double dx = p.x - (a.x + t * vx), dy = p.y - (a.y + t * vy);
    return std::sqrt(dx * dx + dy * dy);
}

// The window is a patch of the pod's sphere around the direction the ship faces, so that a
// turned ship shows it foreshortened towards one side.
struct Facing {
    double sinYaw, cosYaw;
};
Facing FacingOf(int pose) {
    if (pose == 0) return {-0.5736, 0.8192};
    if (pose == 2) return {0.5736, 0.8192};
    return {0.0, 1.0};
}

bool OnWindow(double nx, double ny, double nz, Facing f) {
    const double sinPitch = 0.1987, cosPitch = 0.9801; // the window looks a little upwards
    const double fx = f.sinYaw * cosPitch, fy = -sinPitch, fz = f.cosYaw * cosPitch;
    if (nx * fx + ny * fy + nz * fz <= 0) return false;
    const double across = nx * f.cosYaw - nz * f.sinYaw;
    const double down = nx * f.sinYaw * sinPitch + ny * cosPitch + nz * f.cosYaw * sinPitch;
    return (across / 0.62) * (across / 0.62) + (down / 0.44) * (down / 0.44) < 1.0;
}

// One point of the ship in icon units (the 32 x 32 box), offered to the layers.
void ShipPoint(Layers& layers, int px, int py, Point p, int pose) {
    const Facing facing = FacingOf(pose);
    // Pod: a white sphere with the window on its face.
    const double dx = p.x - 16.0, dy = p.y - 13.0, r = 10.0;
    if (dx * dx + dy * dy < r * r) {
        const double nx = dx / r, ny = dy / r, nz = std::sqrt(1.0 - nx * nx - ny * ny);
        const double light = FacingLight(nx, ny, nz);
        if (OnWindow(nx, ny, nz, facing)) {
            // Glass reflects the sky: brighter than the light alone along its upper rim.
            layers.offer(px, py, kWindow, Shade(kGlass, light * 0.9 - 0.15 - ny * 0.35));
        } else {
            layers.offer(px, py, kPod, Shade(kHull, light));
        }
    }
    // Antenna with a red lamp on top.
    const double lx = p.x - 16.0, ly = p.y - 2.0;
    if (lx * lx + ly * ly < 2.0 * 2.0)
        layers.offer(px, py, kLampPart, Shade(kLamp, SphereLight(lx, ly, 2.0)));
    if (std::abs(p.x - 16.0) < 0.7 && p.y > 2.5 && p.y < 4.5)
        layers.offer(px, py, kAntenna, kMetal[2]);
    // Side thrusters, both sides, lit on top.
    if (std::abs(p.x - 16.0) > 8.5 && std::abs(p.x - 16.0) < 13.0 && p.y > 11.0 && p.y < 15.5)
        layers.offer(px, py, kThruster, kMetal[p.y < 12.5 ? 3 : p.y < 14.0 ? 2 : 1]);
    // Main nozzle: a bell widening downwards, lit from the left.
    if (p.y > 20.0 && p.y < 29.5) {
        const double half = 2.4 + (p.y - 20.0) * 0.32;
        const double across = (p.x - 16.0) / half;
        if (std::abs(across) < 1.0)
            layers.offer(px, py, kNozzle, Shade(kMetal, 0.55 - across * 0.7));
    }
    // Legs and feet.
    const Point hipL{10.0, 18.5}, footL{5.5, 29.0}, hipR{22.0, 18.5}, footR{26.5, 29.0};
    if (SegmentDistance(p, hipL, footL) < 1.25 || SegmentDistance(p, hipR, footR) < 1.25)
        layers.offer(px, py, kLeg, kMetal[p.x < 16.0 ? 2 : 1]);
    if (p.y > 28.4 && p.y < 32.0 && ((p.x > 2.0 && p.x < 9.0) || (p.x > 23.0 && p.x < 30.0)))
        layers.offer(px, py, kLeg, kMetal[p.y < 29.6 ? 3 : 2]);
}

// A triangle wave of period 1 between -1 and 1: the flicker of a flame's edge.
double Wave(double t) {
    const double f = t - std::floor(t);
    return f < 0.5 ? 4.0 * f - 1.0 : 3.0 - 4.0 * f;
}

// A flame pointing down from the middle of the top edge: red outside, white-hot inside, its
// edge rippling in tongues.
Canvas DownFlame(int size, double centre, double length, double width, std::uint32_t seed) {
    struct Layer {
        double length, width;
        Colour colour;
    };
    const Layer layers[] = {{length * 0.34, width * 0.26, Hex(0xFFFFE0)},
                            {length * 0.58, width * 0.50, Hex(0xFFD838)},
                            {length * 0.80, width * 0.76, Hex(0xF87818)},
                            {length, width, Hex(0xD82818)}};
    Layers shape(size, size);
    for (int depth = 0; depth < 4; ++depth) {
        const Layer& layer = layers[depth];
        for (int y = 0; y < size; ++y) {
            const double t = (y + 0.5) / layer.length;
            if (t >= 1.0) continue;
            // Full width soon below the nozzle, then a long taper to the tip.
            double half = t < 0.22 ? layer.width * (0.72 + 1.27 * t)
                                   : layer.width * (1.0 - (t - 0.22) * (t - 0.22) / 0.6084);
            half *= 1.0 + 0.10 * Wave(t * 2.6 + 0.1 * depth);
            for (int x = 0; x < size; ++x) {
                // The two sides ripple out of step, so the flame seems to lick sideways.
                const double side = x + 0.5 < centre ? 0.0 : 0.5;
                const double ripple = 1.0 + 0.08 * Wave(t * 3.1 + side);
                if (std::abs(x + 0.5 - centre) < half * ripple)
                    shape.offer(x, y, depth, layer.colour);
            }
        }
    }
    Canvas flame = shape.finish(Hex(0xA01810), {});
    // A few sparks torn off past the tip.
    Dice dice(seed);
    for (int i = 0; i < 3; ++i) {
        const int x = int(centre) - 2 + dice.below(4) + (i == 1 ? 1 : 0);
        const int y = int(length) + 1 + i * 2 + dice.below(2);
        if (!flame.opaqueAt(x, y - 1)) flame.put(x, y, i == 0 ? Hex(0xFFD838) : Hex(0xF87818));
    }
    return flame;
}

} // namespace

void DrawShip(Canvas& canvas, double x, double y, double scale, int pose) {
    const int w = int(std::ceil(32 * scale)), h = int(std::ceil(32 * scale));
    Layers layers(w, h);
    for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px)
            ShipPoint(layers, px, py, {(px + 0.5) / scale, (py + 0.5) / scale}, pose);
    const Canvas ship =
        layers.finish(kOutline, {{kWindow, kGlass[0]}, {kPod, kOutline}, {kLampPart, kLamp[0]}});
    canvas.drawOver(ship, int(x), int(y));
}

Canvas ShipIcon(int pose) {
    Canvas icon(32, 32, 0, 0);
    DrawShip(icon, 0, 0, 1.0, pose);
    return icon;
}

Canvas FlameIcon(int direction) {
    // The main flame hangs from the top edge, under the nozzle; the side flames start at the
    // edge next to the ship, level with its thrusters.
    if (direction == 1) return DownFlame(32, 16.0, 26.0, 6.5, 7);
    const Canvas pointingRight = DownFlame(32, 13.0, 19.0, 4.2, 11).transposed();
    return direction == 0 ? pointingRight : pointingRight.mirrored();
}

} // namespace art

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

Canvas HandCursor() {
    // The tip of the forefinger is the pixel (12, 1), where the pointer points.
    static const std::vector<std::string> rows = {
        "................................", //  0
        "...........kkk..................", //  1
        "..........kWWWk.................", //  2
        "..........kWWwk.................", //  3
        "..........kWWwk.................", //  4
        "..........kWWwk.................", //  5
        "..........kWWwk.................", //  6
        "..........kWWwk.................", //  7
        "..........kWWwkkk...............", //  8
        "..........kWWwkWWkkk............", //  9
        "..........kWWwkWwkWWkkk.........", // 10
        "..........kWWwkWwkWwkWWk........", // 11
        "......kkk.kWWwkWwkWwkWwgk.......", // 12
        ".....kWWWkkWWWWWWWWWWWwgk.......", // 13
        ".....kWWWWkWWWWWWWWWWWWwgk......", // 14
        "......kWWWkWWWWWWWWWWWWWwk......", // 15
        "......kWWWWWWWWWWWWWWWWWwk......", // 16
        ".......kWWWWWWWWWWWWWWWWwk......", // 17
        ".......kWWWWWWWWWWWWWWWwwk......", // 18
        "........kWWWWWWWWWWWWWWwk.......", // 19
        "........kWWWWWWWWWWWWWwwk.......", // 20
        ".........kWWWWWWWWWWWwwk........", // 21
        ".........kwWWWWWWWWWwwgk........", // 22
        "..........kwwwwwwwwwwgk.........", // 23
        "..........kkkkkkkkkkkkk.........", // 24
        "..........kcccBBBBBBBbk.........", // 25
        "..........kcBBBBBBBBBbk.........", // 26
        "..........kBBBBBBBBBbbk.........", // 27
        "..........kbbbbbbbbbbbk.........", // 28
        "..........kkkkkkkkkkkkk.........", // 29
        "................................", // 30
        "................................", // 31
    };
    return FromRows(rows, {{'k', Hex(0x101018)},
                           {'W', Hex(0xFFFFFF)},
                           {'w', Hex(0xC8C8D8)},
                           {'g', Hex(0x8C8CA4)},
                           {'B', Hex(0x2858D8)},
                           {'b', Hex(0x163090)},
                           {'c', Hex(0x70A8FF)}});
}

} // namespace art
