// The ending: the landed ship and the rescued crew under a cyan sky, and the credits that
// scroll up over them.
#include "art.h"
#include "lettering.h"
#include "pixelart.h"

#include <algorithm>
#include <cmath>

namespace art {

namespace {

// The scene is drawn at half size and doubled, so its pixels match the chunky sprites.
constexpr int kHalfWidth = 267, kHalfHeight = 200, kGround = 165;

void Sky(Canvas& scene) {
    VerticalGradient(scene, 0, 0, kHalfWidth, kGround,
                     {{0, Hex(0x0890C4)}, {600, Hex(0x48D4F0)}, {1000, Hex(0xC0FAFF)}}, 10);
}

// A cloud: puffs with a flat bottom, white above and pale cyan in their shade.
void Cloud(Canvas& scene, int cx, int cy, int size) {
    struct Puff {
        int dx, dy, r;
    };
    const Puff puffs[] = {{0, 0, 3}, {-3, 1, 2}, {3, 1, 2}, {-5, 2, 1}, {5, 2, 1}};
    for (int y = cy - 4 * size; y <= cy + 2 * size; ++y)
        for (int x = cx - 8 * size; x <= cx + 8 * size; ++x)
            for (const Puff& p : puffs) {
                const double dx = x + 0.5 - (cx + p.dx * size), dy = y + 0.5 - (cy + p.dy * size);
                const double r = p.r * size + 0.5;
                if (dx * dx + dy * dy >= r * r || y > cy + 2 * size) continue;
                const bool shaded = dy > r * 0.35 || dx > r * 0.6;
                scene.put(x, y, shaded ? Hex(0xC4F0FA) : Hex(0xFFFFFF));
                break;
            }
}

// Value noise on an 8-pixel lattice, 0 .. 1, smooth between the lattice points.
class Noise {
  public:
    explicit Noise(std::uint32_t seed) {
        Dice dice(seed);
        for (auto& v : lattice_)
            v = dice.below(1000) / 1000.0;
    }
    double at(double x, double y) const {
        const int ix = int(x / 8), iy = int(y / 8);
        const double fx = x / 8 - ix, fy = y / 8 - iy;
        auto v = [&](int i, int j) { return lattice_[((j % 16) * 64 + (i % 64))]; };
        const double top = v(ix, iy) * (1 - fx) + v(ix + 1, iy) * fx;
        const double bottom = v(ix, iy + 1) * (1 - fx) + v(ix + 1, iy + 1) * fx;
        return top * (1 - fy) + bottom * fy;
    }

  private:
    double lattice_[64 * 16];
};

void MarbledGround(Canvas& scene) {
    const Colour greens[] = {Hex(0x0C3C14), Hex(0x1C6424), Hex(0x30903A), Hex(0x58BC50),
                             Hex(0x9CE47C)};
    const Noise noise(31);
    for (int y = kGround; y < kHalfHeight; ++y)
        for (int x = 0; x < kHalfWidth; ++x) {
            // Veins where the warped stripes cross a whole number: pale and thin.
            const double warp = x / 23.0 + y / 7.0 + noise.at(x, y - kGround) * 2.2;
            const double vein = std::abs(warp - std::floor(warp) - 0.5) * 2.0; // 0 at a vein
            int step = vein > 0.85 ? 4 : vein > 0.65 ? 3 : vein > 0.3 ? 2 : 1;
            if (y - kGround > 24) step = std::max(0, step - 1); // deeper is darker
            scene.put(x, y, greens[step]);
        }
    scene.fillRect(0, kGround, kHalfWidth, 1, Hex(0xB8F49C)); // grass lit from above
    scene.fillRect(0, kGround + 1, kHalfWidth, 1, Hex(0x58BC50));
}

// The title logo on a small bevelled plate, drawn at full size.
void LogoPlate(Canvas& scene) {
    const int w = 232, h = 68, x = (525 - w) / 2, y = 8;
    VerticalGradient(scene, x, y, w, h, {{0, Hex(0x24389C)}, {1000, Hex(0x0C1450)}}, 6);
    BevelFrame(scene, x, y, w, h, 3, 55, 55, Hex(0x060A24));
    DrawCentred(scene, Logotype(w - 16, h - 8, 2), x + w / 2, y + h / 2);
}

const Font kCreditFont{"Liberation Sans", true, false};
const Font kHeadlineFont{"Liberation Sans", true, true};

LetterStyle Yellow() {
    return {{{0, Hex(0xFFFFC8)}, {450, Hex(0xFFF030)}, {1000, Hex(0xF0B000)}},
            8,
            Hex(0x8C0C0C),
            5,
            0,
            0,
            Hex(0x2C0404),
            4,
            4,
            Hex(0xFFFFF4),
            Hex(0xC07C00),
            2};
}

Canvas FittedYellow(const std::string& words, int maxWidth, int maxHeight) {
    return FittedLettering(kHeadlineFont, words, Yellow(), maxWidth, maxHeight);
}

Canvas Credit(const std::string& words, int size) {
    return SmallPrint(kCreditFont, size, words, Hex(0xFFFFFF), Hex(0x0C1440), 3);
}

} // namespace

Canvas EndingScene() {
    Canvas half(kHalfWidth, kHalfHeight);
    Sky(half);
    Cloud(half, 54, 40, 3);
    Cloud(half, 170, 64, 2);
    Cloud(half, 236, 30, 2);
    MarbledGround(half);
    DrawShip(half, 22, kGround - 78, 2.5, 1);
    const Canvas person = Astronaut();
    half.drawOver(person, 150, kGround - 29);
    half.drawOver(person.mirrored(), 184, kGround - 30);
    half.drawOver(person, 218, kGround - 29);
    Canvas scene = half.upscaled(2);
    LogoPlate(scene);
    return scene;
}

Canvas EndingCredits() {
    // Laid out for the scene's 525 x 397 and drawn at twice that, since it is shown shrunk.
    Canvas credits(1050, 794, 0, 0);
    DrawCentred(credits, FittedYellow("You Complete All Missions!!", 1010, 120), 525, 84);
    const char* roles[] = {"Game Design", "Program", "Graphics", "Sound"};
    for (int i = 0; i < 4; ++i) {
        const Canvas role = Credit(roles[i], 34);
        const Canvas team = Credit("The Vexaro!! Team", 34);
        const int y = 222 + 62 * i;
        credits.drawOver(role, 470 - role.width(), y);
        credits.drawOver(team, 540, y);
    }
    DrawCentred(credits, FittedYellow("See You Again!!", 760, 110), 525, 560);
    const Canvas web = Credit("https://vexaro.example.com/", 28);
    const Canvas mail = Credit("team@vexaro.example.com", 28);
    credits.drawOver(web, 1020 - web.width(), 668);
    credits.drawOver(mail, 1020 - mail.width(), 718);
    return credits;
}

} // namespace art
