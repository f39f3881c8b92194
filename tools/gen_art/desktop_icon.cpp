// The game's icon on the desktop: the ship on its main engine over a night-blue plate with a few
// stars, drawn anew at every size a desktop asks for, so that a small one stays crisp instead of
// being a blurred copy of a large one.
#include "art.h"

#include <algorithm>
#include <cmath>

namespace art {

namespace {

const Colour kPlateTop = Hex(0x2448B8);
const Colour kPlateBottom = Hex(0x060A30);
const Colour kRim = Hex(0x0A0E20);

// How much of the pixel (x, y) lies inside a rounded square of side `size` with corners of
// radius r, 0 .. 255, from 4 x 4 samples so that the corners are smooth.
int PlateCoverage(int x, int y, int size, double r) {
    int inside = 0;
    for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) {
            const double px = x + (sx + 0.5) / 4, py = y + (sy + 0.5) / 4;
            const double dx = std::max({r - px, px - (size - r), 0.0});
            const double dy = std::max({r - py, py - (size - r), 0.0});
            if (dx * dx + dy * dy <= r * r) ++inside;
        }
    return inside * 255 / 16;
}

void DrawPlate(Canvas& icon) {
    const int size = icon.width();
    const double r = size * 0.18;
    const int rim = std::max(1, size / 32);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const int cover = PlateCoverage(x, y, size, r);
            if (cover == 0) continue;
            // A rim where the plate shrunk by its width no longer covers the pixel.
            const bool edge =
                x < rim || y < rim || x >= size - rim || y >= size - rim ||
                PlateCoverage(x - rim, y - rim, size - 2 * rim, std::max(1.0, r - rim)) < 128;
            const Colour face = Mix(kPlateTop, kPlateBottom, Banded(y, size - 1, 8), 1000);
            icon.blend(x, y, edge ? kRim : face, cover);
        }
}

// Stars at fixed places of the plate, where the ship and its flame are not.
void DrawStars(Canvas& icon) {
    const int size = icon.width();
    if (size < 48) return; // a 16 or 32 pixel icon has no room for them
    const double stars[][2] = {{0.16, 0.20}, {0.84, 0.16}, {0.22, 0.62}, {0.80, 0.70},
                               {0.12, 0.84}, {0.90, 0.42}, {0.70, 0.88}};
    const int arm = size >= 128 ? size / 64 : 0;
    for (const auto& s : stars) {
        const int x = int(s[0] * size), y = int(s[1] * size);
        icon.put(x, y, Hex(0xFFFFFF));
        for (int a = 1; a <= arm; ++a) {
            const int fade = 255 - 160 * a / (arm + 1);
            icon.blend(x - a, y, Hex(0xC8D8FF), fade);
            icon.blend(x + a, y, Hex(0xC8D8FF), fade);
            icon.blend(x, y - a, Hex(0xC8D8FF), fade);
            icon.blend(x, y + a, Hex(0xC8D8FF), fade);
        }
    }
}

// The picture made `factor` times smaller, each pixel the average of its block (weighted by
// transparency), the way a small icon keeps the shape a few pixels cannot draw.
Canvas Reduced(const Canvas& big, int factor) {
    Canvas small(big.width() / factor, big.height() / factor, 0, 0);
    for (int y = 0; y < small.height(); ++y)
        for (int x = 0; x < small.width(); ++x) {
            long r = 0, g = 0, b = 0, a = 0;
            for (int by = 0; by < factor; ++by)
                for (int bx = 0; bx < factor; ++bx) {
                    const int sx = x * factor + bx, sy = y * factor + by;
                    const int alpha = big.alphaAt(sx, sy);
                    const Colour c = big.at(sx, sy);
                    r += Red(c) * alpha;
                    g += Green(c) * alpha;
                    b += Blue(c) * alpha;
                    a += alpha;
                }
            if (a == 0) continue;
            const Colour average =
                platform::Rgb(int((r + a / 2) / a), int((g + a / 2) / a), int((b + a / 2) / a));
            const int n = factor * factor;
            small.blend(x, y, average, int((a + n / 2) / n));
        }
    return small;
}

// The icon at its full size, drawn directly.
Canvas DrawnIcon(int size) {
    Canvas icon(size, size, 0, 0);
    DrawPlate(icon);
    DrawStars(icon);
    // The ship's 32-unit box takes 60 % of the icon, its flame hangs from the nozzle.
    const double scale = size * 0.60 / 32.0;
    const double shipX = (size - 32 * scale) / 2, shipY = size * 0.06;
    const int flameSize = int(std::ceil(size * 0.34));
    const Canvas flame =
        DownFlame(flameSize, flameSize / 2.0, flameSize * 0.82, std::max(1.5, flameSize * 0.20), 5);
    icon.drawOver(flame, int(std::lround(size / 2.0 - flameSize / 2.0)), int(shipY + 29.0 * scale));
    DrawShip(icon, shipX, shipY, scale, 1);
    return icon;
}

} // namespace

Canvas DesktopIcon(int size) {
    // Below 48 pixels the ship's parts are smaller than a pixel: drawn four times larger, then
    // reduced.
    constexpr int kSmall = 48, kFactor = 4;
    return size < kSmall ? Reduced(DrawnIcon(size * kFactor), kFactor) : DrawnIcon(size);
}

std::vector<Artwork> DesktopIcons() {
    std::vector<Artwork> icons;
    for (const int size : kDesktopIconSizes)
        icons.push_back({"icons/vexaro-" + std::to_string(size) + ".png", DesktopIcon(size), true});
    return icons;
}

} // namespace art
