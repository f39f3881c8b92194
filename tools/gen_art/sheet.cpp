// The contact sheet: every picture at twice its size on neutral grey, named underneath, laid
// out in rows like words in a paragraph.
#include "art.h"
#include "lettering.h"

#include <algorithm>

namespace art {

namespace {

constexpr int kScale = 2;
constexpr int kGap = 16;
constexpr int kSheetWidth = 2200;
const Colour kBackground = Hex(0x808080);

struct Placed {
    const Artwork* artwork;
    Canvas label;
    int x, y;
};

int CellWidth(const Placed& p) {
    return std::max(p.artwork->picture.width() * kScale, p.label.width());
}

} // namespace

Canvas ContactSheet(const std::vector<Artwork>& artwork) {
    const Font labelFont{"Liberation Sans", false, false};
    std::vector<Placed> placed;
    int x = kGap, y = kGap, rowHeight = 0;
    for (const Artwork& a : artwork) {
        Placed p{&a, SmallPrint(labelFont, 15, a.name, Hex(0x101010), kBackground, 0), 0, 0};
        const int height = a.picture.height() * kScale + 4 + p.label.height();
        if (x > kGap && x + CellWidth(p) > kSheetWidth - kGap) {
            x = kGap;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        p.x = x;
        p.y = y;
        x += CellWidth(p) + kGap;
        rowHeight = std::max(rowHeight, height);
        placed.push_back(std::move(p));
    }
    Canvas sheet(kSheetWidth, y + rowHeight + kGap, kBackground);
    for (const Placed& p : placed) {
        const Canvas big = p.artwork->picture.upscaled(kScale);
        sheet.drawOver(big, p.x, p.y);
        sheet.drawOver(p.label, p.x, p.y + big.height() + 4);
    }
    return sheet;
}

} // namespace art
