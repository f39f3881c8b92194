// Figures of the playfield: the person waiting for rescue, the energy capsule, the enemy block
// and the goal pad, and the two-part sheets the stage composes sprites from.
#include "art.h"
#include "pixelart.h"

#include <algorithm>
#include <cmath>

namespace art {

namespace {

const Colour kOutline = Hex(0x141828);
// The suit stays off pure white: white marks the see-through part of a two-part sheet.
const std::vector<Colour> kSuit = {Hex(0x70768C), Hex(0xA4A8BC), Hex(0xCCD0DC), Hex(0xE6E8EE),
                                   Hex(0xF0F0F0)};
const std::vector<Colour> kVisor = {Hex(0x0E5668), Hex(0x1890B0), Hex(0x38D0E8), Hex(0x98F4FF),
                                    Hex(0xD8FFFF)};
const std::vector<Colour> kBoot = {Hex(0x34384A), Hex(0x5C6278), Hex(0x8A90A8)};
const std::vector<Colour> kSphere = {Hex(0x0A1A60), Hex(0x1838B0), Hex(0x2860E8),
                                     Hex(0x5C98FF), Hex(0xB4DCFF), Hex(0xF0F8FF)};

struct Point {
    double x, y;
};

// Offset from the nearest point of the segment a-b, for shading a limb as a tube.
Point FromSegment(Point p, Point a, Point b) {
    const double vx = b.x - a.x, vy = b.y - a.y;
    const double squared = vx * vx + vy * vy; // 0 for a ball
    const double t =
        squared > 0 ? std::clamp(((p.x - a.x) * vx + (p.y - a.y) * vy) / squared, 0.0, 1.0) : 0.0;
    return {p.x - (a.x + t * vx), p.y - (a.y + t * vy)};
}

// A limb: a tube of radius r from a to b.
void Tube(Layers& layers, int depth, const std::vector<Colour>& ramp, Point a, Point b, double r) {
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const Point d = FromSegment({x + 0.5, y + 0.5}, a, b);
            if (d.x * d.x + d.y * d.y < r * r)
                layers.offer(x, y, depth, Shade(ramp, SphereLight(d.x, d.y, r) * 0.8 + 0.1));
        }
}

void Ball(Layers& layers, int depth, const std::vector<Colour>& ramp, Point c, double r) {
    Tube(layers, depth, ramp, c, c, r);
}

void Box(Layers& layers, int depth, Colour colour, int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            layers.offer(x, y, depth, colour);
}

// The helmet: a ball with a cyan visor on its face.
void Helmet(Layers& layers, int depth, Point c, double r) {
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const double dx = x + 0.5 - c.x, dy = y + 0.5 - c.y;
            if (dx * dx + dy * dy >= r * r) continue;
            const double nx = dx / r, ny = dy / r, nz = std::sqrt(1.0 - nx * nx - ny * ny);
            const double light = FacingLight(nx, ny, nz);
            const bool visor =
                (nx / 0.72) * (nx / 0.72) + ((ny - 0.08) / 0.48) * ((ny - 0.08) / 0.48) < 1.0;
            if (visor)
                layers.offer(x, y, depth, Shade(kVisor, light - ny * 0.4));
            else
                layers.offer(x, y, depth + 1, Shade(kSuit, light));
        }
}

} // namespace

Canvas Astronaut() {
    // Depths, front to back: visor 0, helmet 1, waving arm 2, chest light 3, body 4, far arm
    // 5, legs 6, boots 7.
    Layers layers(32, 32);
    Helmet(layers, 0, {16.0, 8.5}, 6.2);
    Tube(layers, 2, kSuit, {21.0, 16.0}, {25.0, 10.5}, 1.7);
    Ball(layers, 2, kBoot, {25.6, 8.6}, 2.0);
    Box(layers, 3, Hex(0xD83030), 14, 17, 16, 19);
    Box(layers, 3, Hex(0x38D0E8), 17, 17, 19, 19);
    Tube(layers, 4, kSuit, {16.0, 16.5}, {16.0, 20.0}, 5.0);
    Tube(layers, 5, kSuit, {11.0, 16.0}, {9.5, 22.0}, 1.7);
    Ball(layers, 5, kBoot, {9.3, 23.3}, 1.9);
    Tube(layers, 6, kSuit, {13.8, 22.0}, {13.3, 27.5}, 2.2);
    Tube(layers, 6, kSuit, {18.2, 22.0}, {18.7, 27.5}, 2.2);
    Box(layers, 7, kBoot[1], 10, 27, 16, 31);
    Box(layers, 7, kBoot[1], 17, 27, 23, 31);
    Box(layers, 7, kBoot[2], 10, 27, 16, 28);
    Box(layers, 7, kBoot[2], 17, 27, 23, 28);
    return layers.finish(kOutline, {{0, kVisor[0]}, {1, kOutline}, {2, kOutline}, {4, kSuit[0]}});
}

Canvas CapsuleFigure() {
    Layers layers(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const double dx = x + 0.5 - 16.0, dy = y + 0.5 - 16.0, r = 13.5;
            if (dx * dx + dy * dy < r * r)
                layers.offer(x, y, 1, Shade(kSphere, SphereLight(dx, dy, r)));
        }
    Canvas capsule = layers.finish(kOutline, {});
    // The letter E, embossed in yellow with a dark rim.
    static const std::vector<std::string> letter = {
        "kkkkkkkkkk", //
        "kYYYYYYYYk", //
        "kYyyyyyyyk", //
        "kYykkkkkkk", //
        "kYykkkkk..", //
        "kYYYYYYk..", //
        "kYyyyyyk..", //
        "kYykkkkk..", //
        "kYykkkkkkk", //
        "kYYYYYYYYk", //
        "kyyyyyyyyk", //
        "kkkkkkkkkk", //
    };
    capsule.drawOver(
        FromRows(letter, {{'k', Hex(0x202040)}, {'Y', Hex(0xFFF070)}, {'y', Hex(0xE8B010)}}), 11,
        10);
    return capsule;
}

Canvas TwoPartSheet(const Canvas& figure) {
    Canvas sheet(32, 64, Hex(0xFFFFFF));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (figure.opaqueAt(x, y)) {
                sheet.put(x, y, figure.at(x, y));
                sheet.put(x, 32 + y, Hex(0x000000));
            }
    return sheet;
}

Canvas TemplateIcon(const Canvas& figure) {
    Canvas icon(32, 32, Hex(0x8890A0));
    BevelFrame(icon, 0, 0, 32, 32, 2, 45, 45, Hex(0x202430));
    icon.drawOver(figure, 0, 0);
    return icon;
}

Canvas EnemyBlock() {
    Canvas block(32, 32, Hex(0x8C94A4));
    BevelFrame(block, 0, 0, 32, 32, 3, 55, 50, Hex(0x181C28));
    // Rivets in the corners, lit from the top-left.
    for (const Point r : {Point{6, 6}, Point{25, 6}, Point{6, 25}, Point{25, 25}}) {
        block.put(int(r.x), int(r.y), Hex(0xE0E4EC));
        block.put(int(r.x) + 1, int(r.y), Hex(0x606878));
        block.put(int(r.x), int(r.y) + 1, Hex(0x606878));
        block.put(int(r.x) + 1, int(r.y) + 1, Hex(0x404858));
    }
    // Two slanted eye slits that glow red: the block frowns at the ship.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const int fromMiddle = x < 16 ? 15 - x : x - 16; // 0 at the middle
            if (fromMiddle < 2 || fromMiddle > 10) continue;
            const int top = 9 + (10 - fromMiddle) / 2; // lower towards the middle: a frown
            if (y < top || y > top + 5) continue;
            const bool rim = y == top || y == top + 5 || fromMiddle == 2 || fromMiddle == 10;
            const bool hot = y == top + 2 || y == top + 3;
            block.put(x, y, rim ? Hex(0x20141C) : hot ? Hex(0xFFC850) : Hex(0xE02828));
        }
    // A hazard band below: yellow and black diagonal stripes in a dark frame.
    for (int y = 20; y < 27; ++y)
        for (int x = 5; x < 27; ++x) {
            const bool frame = y == 20 || y == 26 || x == 5 || x == 26;
            const bool yellow = ((x + y) / 3) % 2 == 0;
            block.put(x, y, frame ? Hex(0x20242C) : yellow ? Hex(0xF0C020) : Hex(0x28282C));
        }
    return block;
}

Canvas GoalPad() {
    Canvas pad(64, 32, Hex(0x101018));
    // Three grey blocks on top: the deck the ship lands on.
    const int starts[] = {0, 21, 43}, widths[] = {21, 22, 21};
    for (int i = 0; i < 3; ++i) {
        pad.fillRect(starts[i], 0, widths[i], 14, Hex(0x9CA2B2));
        BevelFrame(pad, starts[i], 0, widths[i], 14, 2, 60, 50, Hex(0x202430));
        // A landing lamp in the middle of each block.
        const int lx = starts[i] + widths[i] / 2 - 1;
        pad.fillRect(lx, 6, 2, 2, Hex(0x60F060));
        pad.put(lx, 6, Hex(0xD0FFD0));
    }
    // Two red stripes with a pale gap between them.
    const Colour stripe[] = {Hex(0xFF6048), Hex(0xD82020), Hex(0x901010)};
    for (int i = 0; i < 3; ++i) {
        pad.fillRect(0, 14 + i, 64, 1, stripe[i]);
        pad.fillRect(0, 19 + i, 64, 1, stripe[i]);
    }
    pad.fillRect(0, 17, 64, 2, Hex(0xE8E8F0));
    // Below, the pad's foot fades from white into the dark.
    for (int y = 22; y < 32; ++y)
        pad.fillRect(0, y, 64, 1, Mix(0xF0F0F8, 0x181820, y - 22, 9));
    return pad;
}

} // namespace art
