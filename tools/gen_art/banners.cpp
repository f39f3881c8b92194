// The six message banners and the three countdown digits: lettering on bevelled plates.
#include "art.h"
#include "lettering.h"

#include <stdexcept>

namespace art {

namespace {

struct BannerLook {
    const char* words;
    Font font;
    std::vector<Stop> plate; // the plate's gradient, top to bottom
    LetterStyle letters;
};

const Font kSansBold{"Liberation Sans", true, false};
const Font kSansBoldItalic{"Liberation Sans", true, true};
const Font kSerifBoldItalic{"Liberation Serif", true, true};
const Font kNarrowBold{"Liberation Sans Narrow", true, false};
const Font kNarrowBoldItalic{"Liberation Sans Narrow", true, true};

const std::vector<Stop> kGreyPlate = {{0, Hex(0xE4E4EA)}, {1000, Hex(0x72727E)}};

BannerLook LookOf(int index) {
    switch (index) {
    case 0: // the touchdown: gold
        return {"Great!",
                kSerifBoldItalic,
                kGreyPlate,
                {{{0, Hex(0xFFF8C8)},
                  {380, Hex(0xFFD840)},
                  {650, Hex(0xE09810)},
                  {1000, Hex(0x9A5206)}},
                 10,
                 Hex(0x3A1E04),
                 2,
                 0,
                 0,
                 Hex(0x34343E),
                 4,
                 4,
                 Hex(0xFFFFE8),
                 Hex(0x8A4A08),
                 1}};
    case 1: // a miss: silver block letters on the sky
        return {"You Lose!",
                kSansBold,
                {{0, Hex(0x1C3CB8)}, {1000, Hex(0xF4F8FF)}},
                {{{0, Hex(0xFFFFFF)}, {450, Hex(0xC8CCD8)}, {1000, Hex(0x6C7088)}},
                 8,
                 Hex(0x141830),
                 2,
                 0,
                 0,
                 Hex(0x0C1C5C),
                 4,
                 4,
                 Hex(0xFFFFFF),
                 Hex(0x4C5068),
                 1}};
    case 2: // the end: chrome, the sky above its horizon and the earth below
        return {"Game Over",
                kNarrowBold,
                {{0, Hex(0xB8B8C2)}, {1000, Hex(0x4C4C56)}},
                {{{0, Hex(0x2A4A9C)},
                  {430, Hex(0xD8E8FF)},
                  {490, Hex(0xFFFFFF)},
                  {500, Hex(0x3A2814)},
                  {640, Hex(0x7C5C3C)},
                  {1000, Hex(0xF4E4CC)}},
                 24,
                 Hex(0x0C0C14),
                 2,
                 Hex(0xECECF4),
                 1,
                 Hex(0x1C1C24),
                 4,
                 4,
                 0,
                 0,
                 0}};
    case 3: // pause: blue with a red shadow
        return {"Pause!",
                kSansBold,
                {{0, Hex(0xDCDCE2)}, {1000, Hex(0x8C8C96)}},
                {{{0, Hex(0x8CC0FF)}, {500, Hex(0x2C64E4)}, {1000, Hex(0x10288C)}},
                 8,
                 Hex(0x0A1040),
                 2,
                 0,
                 0,
                 Hex(0xD02020),
                 6,
                 6,
                 Hex(0xD0E8FF),
                 Hex(0x0A1850),
                 1}};
    case 4: // wait: yellow with a red outline on blue to cyan
        return {"Wait!",
                kSansBoldItalic,
                {{0, Hex(0x1030B0)}, {1000, Hex(0x48F0F0)}},
                {{{0, Hex(0xFFFFA8)}, {500, Hex(0xFFEC20)}, {1000, Hex(0xF0A800)}},
                 8,
                 Hex(0xD81818),
                 3,
                 Hex(0x3C0606),
                 1,
                 Hex(0x081448),
                 4,
                 4,
                 Hex(0xFFFFE8),
                 Hex(0xB07000),
                 1}};
    case 5: // out of time: grey italic
        return {"Time Over",
                kNarrowBoldItalic,
                {{0, Hex(0xEEEEF2)}, {1000, Hex(0x84848E)}},
                {{{0, Hex(0xD4D4DC)}, {1000, Hex(0x5A5A64)}},
                 8,
                 Hex(0x16161C),
                 2,
                 0,
                 0,
                 Hex(0x4C4C56),
                 4,
                 4,
                 Hex(0xF4F4F8),
                 Hex(0x34343C),
                 1}};
    }
    throw std::runtime_error("no banner " + std::to_string(index));
}

} // namespace

Canvas Banner(int index) {
    const BannerLook look = LookOf(index);
    Canvas plate(320, 128);
    VerticalGradient(plate, 0, 0, 320, 128, look.plate, 8);
    BevelFrame(plate, 0, 0, 320, 128, 4, 60, 55, Hex(0x101018));
    DrawCentred(plate, FittedLettering(look.font, look.words, look.letters, 284, 96), 160, 64);
    return plate;
}

Canvas CountDigit(int digit) {
    Canvas tile(96, 96, Hex(0xD4D4DC));
    VerticalGradient(tile, 0, 0, 96, 96, {{0, Hex(0xE8E8EE)}, {1000, Hex(0xB4B4BE)}}, 6);
    BevelFrame(tile, 0, 0, 96, 96, 5, 70, 55, Hex(0x24242C));
    // Dark glass: a lighter sheen above the middle, a hard edge, then deep black.
    const LetterStyle glossy{
        {{0, Hex(0x6C7EA8)}, {470, Hex(0x303C5C)}, {490, Hex(0x080A14)}, {1000, Hex(0x28304A)}},
        20,
        Hex(0x04040A),
        2,
        0,
        0,
        Hex(0x8A8A96),
        4,
        4,
        Hex(0xB8C8F0),
        Hex(0x000000),
        1};
    DrawCentred(tile, FittedLettering(kSansBold, std::to_string(digit), glossy, 70, 76), 48, 48);
    return tile;
}

} // namespace art
