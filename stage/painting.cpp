// Everything of a stage that is painted rather than moved, done once while the stage is built.
#include "core/random.h"
#include "display/fmain.h"
#include "stage/stage.h"

#include <algorithm>

using namespace platform;

namespace {

constexpr int kTileCount = 6;
static_assert(kCellPixels == Surface::kChunk, "a tile fills one chunk of a surface");

bool TileOnSheet(Long tile) {
    return tile >= 1 && tile <= kTileCount;
}
// Row of the tile on the sheet. Tiles off the sheet are held just off it (nothing is copied
// from there either way), so that no arithmetic on them can overflow.
int TileTop(Long tile) {
    const long long top = (long long)kCellPixels * (tile - 1);
    return int(std::clamp<long long>(top, -kCellPixels, kCellPixels * kTileCount));
}

} // namespace

Pixel StarColour(Long k) {
    static constexpr Pixel kPalette[16] = {
        Rgb(0, 0, 0),       Rgb(0, 0, 128),   Rgb(0, 128, 0),   Rgb(0, 128, 128),
        Rgb(128, 0, 0),     Rgb(128, 0, 128), Rgb(128, 128, 0), Rgb(192, 192, 192),
        Rgb(128, 128, 128), Rgb(0, 0, 255),   Rgb(0, 255, 0),   Rgb(0, 255, 255),
        Rgb(255, 0, 0),     Rgb(255, 0, 255), Rgb(255, 255, 0), Rgb(255, 255, 255)};
    return kPalette[k & 15];
}

void FillBackground(Long colour) {
    PictureBox& screen = fMain().pScreen;
    // A filled box from (0, 0) to (width - 32, height - 32) twips, both corners included.
    const Long right = (RoundLong(screen.width()) - 32) / TwipsX;
    const Long bottom = (RoundLong(screen.height()) - 32) / TwipsY;
    screen.surface().fillRect(0, 0, right + 1, bottom + 1, FromBgr(colour));
}

void DrawStarfield(Long left, Long top, Long w, Long h) {
    Surface& picture = fMain().pScreen.surface();
    for (Long i = 0; i <= 50000; ++i) {
        const double r1 = Rnd(), r2 = Rnd(), r3 = Rnd();
        const Long a = RoundLong(r1 * w);
        const Long b = RoundLong(r2 * h);
        const Long k = RoundLong(r3 * 15);
        // a and b count pixels although w and h are twips: the points spread over an area
        // TwipsX by TwipsY times the playfield, and only those landing on it are drawn.
        const long long x = (long long)left + a, y = (long long)top + b;
        if (x >= 0 && y >= 0 && x < picture.width() && y < picture.height())
            picture.set(int(x), int(y), StarColour(k));
    }
}

void FillRockTiles(Long tile, PictureBox& box) {
    const Surface& sheet = fMain().pRockDat.surface();
    Surface& picture = box.surface();
    if (TileOnSheet(tile)) {
        // Whole tiles at (32j, 32i) for i = 0 .. rows and j = 0 .. cols, both inclusive, cover
        // the box exactly with the tile repeated from its top-left corner: one tile stored.
        picture.fillTile(sheet, 0, TileTop(tile));
        return;
    }
    // Any other tile lies off the sheet: the copies, clipped at the sheet, bring what is there.
    const Long rows = picture.height() / kCellPixels;
    const Long cols = picture.width() / kCellPixels;
    for (Long i = 0; i <= rows; ++i)
        for (Long j = 0; j <= cols; ++j)
            BitBlt(picture, int(kCellPixels * j), int(kCellPixels * i), kCellPixels, kCellPixels,
                   sheet, 0, TileTop(tile), SRCCOPY);
}

void PaintBackgroundTile(Long x, Long y, Long tile, Long shade) {
    FMain& f = fMain();
    Surface& picture = f.pScreen.surface();
    BitBlt(picture, x, y, kCellPixels, kCellPixels, f.pRockDat.surface(), 0, TileTop(tile),
           SRCCOPY);
    if (shade != kTrue) return;
    // Erase then invert leaves tile AND checkerboard: every other pixel black.
    BitBlt(picture, x, y, kCellPixels, kCellPixels, f.pMask.surface(), 0, 0, SRCERASE);
    BitBlt(picture, x, y, kCellPixels, kCellPixels, f.pMask.surface(), 0, 0, SRCINVERT);
}

void ComposeSpritePicture(PictureBox& sprite, const PictureBox& sheet, Long x, Long y) {
    Surface& picture = sprite.surface();
    BitBlt(picture, 0, 0, kCellPixels, kCellPixels, fMain().pScreen.surface(), x, y, SRCCOPY);
    BitBlt(picture, 0, 0, kCellPixels, kCellPixels, sheet.surface(), 0, kCellPixels, SRCERASE);
    BitBlt(picture, 0, 0, kCellPixels, kCellPixels, sheet.surface(), 0, 0, SRCINVERT);
}
