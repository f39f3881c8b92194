// The six rock tiles and the shade pattern. Every tile repeats without a seam: whatever lies on
// one edge continues on the opposite one.
#include "art.h"
#include "pixelart.h"

#include <algorithm>
#include <cmath>

namespace art {

namespace {

constexpr int kTile = 32;

struct Point {
    double x, y;
};

// The offset from b to a on a 32-pixel torus: the shortest way round.
Point Wrapped(Point a, Point b) {
    auto wrap = [](double d) { return d > 16 ? d - 32 : d < -16 ? d + 32 : d; };
    return {wrap(a.x - b.x), wrap(a.y - b.y)};
}

double Length(Point p) {
    return std::sqrt(p.x * p.x + p.y * p.y);
}

Canvas Boulders() {
    // Stones round these centres, packed edge to edge; the gaps between them are the mortar.
    const Point stones[] = {{6, 6},    {18.5, 4}, {28, 13}, {13, 15.5},
                            {4, 24.5}, {21, 24},  {30, 29}, {12, 29.5}};
    const std::vector<Colour> ramp = {Hex(0x3A1C0C), Hex(0x6A3414), Hex(0x9A5424),
                                      Hex(0xC87834), Hex(0xE8A050), Hex(0xFFD08A)};
    Canvas tile(kTile, kTile);
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x) {
            const Point p{x + 0.5, y + 0.5};
            double nearest = 99, second = 99;
            Point towards{0, 0};
            for (const Point s : stones) {
                const Point d = Wrapped(p, s);
                const double l = Length(d);
                if (l < nearest) {
                    second = nearest;
                    nearest = l;
                    towards = d;
                } else if (l < second) {
                    second = l;
                }
            }
            // How deep inside its stone the pixel lies, and which way the surface faces there:
            // a stone is a low dome whose slope is steepest at its rim.
            const double inside = (second - nearest) / 2.0;
            if (inside < 0.75) {
                tile.put(x, y, ramp[0]);
                continue;
            }
            const double rim = std::clamp(1.0 - inside / 5.0, 0.0, 1.0);
            const double l = std::max(Length(towards), 0.001);
            const double light =
                FacingLight(towards.x / l * rim, towards.y / l * rim, std::sqrt(1.0 - rim * rim));
            tile.put(x, y, ramp[std::clamp(int((light + 0.35) * 4.2), 1, 5)]);
        }
    // A few pits, two steps darker, so that the stones look rough rather than polished.
    Dice dice(77);
    for (int i = 0; i < 24; ++i) {
        const int x = dice.below(kTile), y = dice.below(kTile);
        const auto step = std::find(ramp.begin(), ramp.end(), tile.at(x, y)) - ramp.begin();
        if (step >= 2) tile.put(x, y, ramp[std::max<std::ptrdiff_t>(1, step - 2)]);
    }
    return tile;
}

Canvas SteppedSquares() {
    // Eight bands from the white rim of each 16 x 16 square down to its navy centre.
    const Colour bands[] = {Hex(0xFFFFFF), Hex(0xC8DEFF), Hex(0x98BEF8), Hex(0x6898F0),
                            Hex(0x4070D8), Hex(0x2848B0), Hex(0x182C80), Hex(0x0C1850)};
    Canvas tile(kTile, kTile);
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x) {
            const int u = x % 16, v = y % 16;
            tile.put(x, y, bands[std::min({u, v, 15 - u, 15 - v})]);
        }
    return tile;
}

Canvas BuildingFront() {
    // One window per 16 x 16 bay: a frame, cyan glass with a streak of reflected sky, and a
    // sill that catches the light, set in a grey-blue wall.
    Canvas tile(kTile, kTile, Hex(0x6C7890));
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x) {
            const int u = x % 16, v = y % 16;
            Colour c = Hex(0x6C7890);
            if (v == 15)
                c = Hex(0x3C4458); // floor line
            else if (u == 15)
                c = Hex(0x566078); // pillar joint
            else if (v == 0 || u == 0)
                c = Hex(0x8C98B0); // lit edge of the bay
            if (u >= 3 && u <= 12 && v >= 2 && v <= 11) {
                const bool frame = u == 3 || u == 12 || v == 2 || v == 11;
                const int streak = (u + v) % 9;
                if (frame)
                    c = Hex(0x202838);
                else if (streak == 0 || streak == 1)
                    c = Hex(0xC8FFFF);
                else
                    c = v < 6 ? Hex(0x58E0F0) : v < 9 ? Hex(0x30B8D8) : Hex(0x1C88B0);
            }
            if (v == 12 && u >= 2 && u <= 13) c = Hex(0xC0C8D8); // sill
            if (v == 13 && u >= 3 && u <= 13) c = Hex(0x4C5468); // its shadow
            tile.put(x, y, c);
        }
    return tile;
}

Canvas Bubbles() {
    struct Bubble {
        double x, y, r;
    };
    const Bubble bubbles[] = {{8, 9, 6.5},   {23, 6, 4.5},  {21, 21, 7.5}, {5, 25, 3.5},
                              {30, 30, 2.5}, {12, 19, 2.5}, {28, 14, 2.0}, {14, 29, 2.0}};
    Canvas tile(kTile, kTile, Hex(0x10205C));
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x) {
            for (const Bubble& b : bubbles) {
                const Point d = Wrapped({x + 0.5, y + 0.5}, {b.x, b.y});
                const double l = Length(d);
                if (l >= b.r) continue;
                // A thin bright skin, a faint body, and the window of light at the top-left.
                const double facing = -(d.x + d.y) / (l + 0.001);
                Colour c = Hex(0x1C3488);
                if (l > b.r - 1.0)
                    c = facing > 0.3 ? Hex(0xA8D8FF) : Hex(0x4C80E0);
                else if (l > b.r * 0.45 && l < b.r * 0.8 && facing > 0.75)
                    c = Hex(0xF0FAFF);
                tile.put(x, y, c);
                break;
            }
        }
    return tile;
}

Canvas DiagonalShading() {
    // Ridges running from bottom-left to top-right, each lit on its upper side.
    Canvas tile(kTile, kTile);
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x) {
            const int step = ((x + y) % 16) / 2; // 0 .. 7
            tile.put(x, y, Mix(0xE8E8EC, 0x34343C, step, 7));
        }
    return tile;
}

Canvas VerticalStripes() {
    // Eight stripes four pixels wide, from white on the left to black on the right.
    Canvas tile(kTile, kTile);
    for (int y = 0; y < kTile; ++y)
        for (int x = 0; x < kTile; ++x)
            tile.put(x, y, Mix(0xFFFFFF, 0x000000, x / 4, 7));
    return tile;
}

} // namespace

Canvas RockTiles() {
    const Canvas tiles[] = {Boulders(), SteppedSquares(),  BuildingFront(),
                            Bubbles(),  DiagonalShading(), VerticalStripes()};
    Canvas sheet(kTile, kTile * 6);
    for (int k = 0; k < 6; ++k)
        sheet.drawOver(tiles[k], 0, kTile * k);
    return sheet;
}

Canvas ShadeMask() {
    Canvas mask(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            mask.put(x, y, (x + y) % 2 == 0 ? 0x000000 : 0xFFFFFF);
    return mask;
}

} // namespace art
