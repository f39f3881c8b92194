// The logotype and the pictures that carry it (the title, the panel's title, the about
// window's logo), and the two gauge strips of the side panel.
#include "art.h"
#include "lettering.h"
#include "pixelart.h"

#include <algorithm>
#include <cmath>

namespace art {

namespace {

const Font kLogoFont{"Liberation Sans", true, true};

// A four-pointed twinkle: a bright centre and fading arms.
void Twinkle(Canvas& canvas, int x, int y, int arm) {
    canvas.put(x, y, Hex(0xFFFFFF));
    for (int k = 1; k <= arm; ++k) {
        const Colour c = k == 1 ? Hex(0xD8ECFF) : Hex(0x7CA8F0);
        canvas.put(x - k, y, c);
        canvas.put(x + k, y, c);
        canvas.put(x, y - k, c);
        canvas.put(x, y + k, c);
    }
}

LetterStyle LogoStyle(int outline) {
    return {{{0, Hex(0xFFF6A8)}, {300, Hex(0xFFC434)}, {640, Hex(0xF47414)}, {1000, Hex(0xB42C08)}},
            10,
            Hex(0x3A1004),
            outline,
            0,
            0,
            Hex(0x0C1440),
            outline + 1,
            outline + 1,
            Hex(0xFFFFDC),
            Hex(0x982C06),
            std::max(1, outline / 2)};
}

int LogoMargin(int outline) {
    return 2 * outline + 2;
}

// The letters of the name stretched to inkWidth x inkHeight, taller than the face draws them.
Mask LogoLetters(int inkWidth, int inkHeight) {
    // Drawn near the size it is shown at, so that the stretch changes only the proportions.
    const int size = std::max(8, 100 * inkWidth / TextWidth(kLogoFont, 100, "Vexaro!!"));
    return TextMask(kLogoFont, size, "Vexaro!!").resized(inkWidth, inkHeight).thresholded();
}

} // namespace

Canvas Logotype(int width, int height, int outline) {
    const int margin = LogoMargin(outline);
    const Mask ink = LogoLetters(width - 2 * margin, height - 2 * margin);
    return DressLetters(ink.padded(margin), LogoStyle(outline));
}

Canvas TitlePicture() {
    // A glow, white at the centre, in rings out to deep blue. Every edge is the deep blue, so
    // the picture tiles over the idle window without a seam.
    const std::vector<Stop> glow = {{0, Hex(0xFFFFFF)},
                                    {220, Hex(0xD4EAFF)},
                                    {480, Hex(0x78B0F8)},
                                    {760, Hex(0x2C5CD4)},
                                    {1000, Hex(0x122A8C)}};
    Canvas title(256, 192);
    for (int y = 0; y < 192; ++y)
        for (int x = 0; x < 256; ++x) {
            const double dx = (x + 0.5 - 128.0) / 128.0, dy = (y + 0.5 - 96.0) / 96.0;
            const int t = int(std::sqrt(dx * dx + dy * dy) * 1000.0 / 0.92);
            title.put(x, y, RampAt(glow, Banded(std::min(t, 999), 1000, 9)));
        }
    // Twinkles in the dark corners, clear of the edges so that tiles do not cut them.
    Twinkle(title, 14, 16, 2);
    Twinkle(title, 238, 22, 3);
    Twinkle(title, 24, 172, 3);
    Twinkle(title, 230, 168, 2);
    Twinkle(title, 126, 8, 1);
    Twinkle(title, 130, 184, 1);
    DrawCentred(title, Logotype(236, 100, 3), 128, 96);
    return title;
}

Canvas PanelTitle() {
    // Shown shrunk to 89 x 51, so everything is bold: wide bands, thick letters.
    Canvas title(256, 192);
    const Colour bands[] = {Hex(0x0C1660), Hex(0x122488), Hex(0x1A36AC), Hex(0x244CCC),
                            Hex(0x3464E0), Hex(0x4C80EC), Hex(0x6C9CF4), Hex(0x94BCFA)};
    for (int i = 0; i < 8; ++i)
        title.fillRect(0, 24 * i, 256, 24, bands[i]);
    DrawCentred(title, Logotype(252, 176, 6), 128, 96);
    return title;
}

Canvas AboutLogo() {
    // The name over a swoosh: a crescent between two ellipses, thick under the middle and
    // running out to points at both ends, dressed like the letters.
    const int outline = 6, margin = LogoMargin(outline);
    const int inkWidth = 420 - 2 * margin, inkHeight = 262 - 2 * margin;
    const Mask letters = LogoLetters(inkWidth, 150);
    Mask ink(inkWidth, inkHeight);
    for (int y = 0; y < inkHeight; ++y)
        for (int x = 0; x < inkWidth; ++x) {
            auto inEllipse = [&](double cx, double cy, double rx, double ry) {
                const double dx = (x + 0.5 - cx) / rx, dy = (y + 0.5 - cy) / ry;
                return dx * dx + dy * dy < 1.0;
            };
            const bool swoosh = y > 150 && inEllipse(inkWidth * 0.5, 60.0, inkWidth * 0.5, 158.0) &&
                                !inEllipse(inkWidth * 0.56, 44.0, inkWidth * 0.5, 152.0);
            if (letters.on(x, y) || swoosh) ink.set(x, y, 255);
        }
    return DressLetters(ink.padded(margin), LogoStyle(outline));
}

Canvas GaugeStrip(const std::string& caption) {
    // A glass tube of colour: white at the top through blue and magenta to red at the bottom,
    // in four-pixel steps, lit from the left.
    const std::vector<Stop> ramp = {{0, Hex(0xFFFFFF)},
                                    {110, Hex(0xA4CCFF)},
                                    {360, Hex(0x2850F0)},
                                    {660, Hex(0xC424D4)},
                                    {1000, Hex(0xF41818)}};
    const int shadeOfColumn[21] = {40, 22, 10, 0, 0, 0,  0,   0,   0,   0,  0,
                                   0,  0,  0,  0, 0, -6, -12, -20, -30, -45};
    Canvas strip(21, 332);
    for (int y = 0; y < 332; ++y) {
        const Colour c = RampAt(ramp, Banded(y, 332, 83));
        for (int x = 0; x < 21; ++x) {
            const int s = shadeOfColumn[x];
            strip.put(x, y, s >= 0 ? Mix(c, 0xFFFFFF, s, 100) : Mix(c, 0x000000, -s, 100));
        }
    }
    // The caption reads downwards, white with a dark rim so that it shows on the pale top.
    const Canvas words =
        SmallPrint({"Liberation Sans", true, false}, 13, caption, Hex(0xFFFFFF), Hex(0x101848))
            .transposed()
            .mirrored();
    strip.drawOver(words, (21 - words.width()) / 2, 8);
    return strip;
}

} // namespace art
