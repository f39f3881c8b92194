// The ship and its engine flames: small icons with their own transparency, drawn from shapes
// lit from the top-left and outlined.
#include "art.h"
#include "pixelart.h"

#include <algorithm>
#include <cmath>
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

} // namespace

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
