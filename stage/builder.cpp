// The stage builder: one building step per keyword of the round file, in file order.
#include "display/fmain.h"
#include "display/sprites.h"
#include "platform/backend.h"
#include "stage/placement.h"
#include "stage/stage.h"

#include <cstdlib>

using namespace platform;

namespace {

// The reader keeps every cell of a file on the grid; a cell off it is left alone all the same.
void SetGridCell(Long column, Long row, Long value) {
    if (column < 0 || row < 0 || column >= kGridSize || row >= kGridSize) return;
    Grid[std::size_t(row) * kGridSize + column] = value;
}

// The ground block: tile 1 under the whole width of the playfield, from the range's bottom edge
// down one and a half range heights.
void CreateGroundBlock(Long w, Long h) {
    FMain& f = fMain();
    PictureBox& block = f.pRock[CreateSprite(f.pRock)];
    MoveSprite(block, 0, Ty(kCellPixels * (h + 7)), Tx((w + 18) * kCellPixels), Ty(48 * h));
    FillRockTiles(1, block);
    block.show();
}

} // namespace

void UnloadStageSprites() {
    FMain& f = fMain();
    for (SpriteArray* array : {&f.pRock, &f.pEnergy, &f.pEnemy, &f.pResq})
        RemoveSprites(*array);
}

void BuildRoundRange(Long w, Long h, Long colour, Long stars, Long seconds) {
    FMain& f = fMain();
    for (Long row = 7; row <= h + 6; ++row)
        for (Long column = 9; column <= w + 8; ++column)
            SetGridCell(column, row, kGridOpen);

    // Cleared to the back colour, then sized: the picture is dropped first so that sizing keeps
    // nothing of it, and the new picture stores no pixels until something is painted.
    f.pScreen.surface().reset(0, 0, f.pScreen.backColor());
    f.pScreen.setSize(Tx((w + 18) * kCellPixels), Ty((h + 14) * kCellPixels));
    f.pScreen.clear();
    DoEvents();

    FillBackground(colour);
    if (stars == kTrue)
        DrawStarfield(0, 0, RoundLong(f.pScreen.width()), RoundLong(f.pScreen.height()));

    RangeLeft = kRangeLeftPixels * TwipsX;
    RangeWidth = kCellPixels * w * TwipsX;
    RangeTop = kRangeTopPixels * TwipsY;
    RangeHeight = kCellPixels * h * TwipsY;
    TimeLeft = seconds;
    f.sRange.move(float(RangeLeft), float(RangeTop), float(RangeWidth), float(RangeHeight));

    CreateGroundBlock(w, h);
}

void BuildRock(Long x1, Long y1, Long x2, Long y2, Long tile) {
    for (Long y = y1; y <= y2; ++y)
        for (Long x = x1; x <= x2; ++x)
            SetGridCell(x + 9, y + 7, kGridRock);
    // The size is taken as a distance, so x2 < x1 still makes a rock; it just marks no cell.
    CreateRock(kCellPixels * x1, kCellPixels * y1, kCellPixels * std::labs(x2 - x1 + 1),
               kCellPixels * std::labs(y2 - y1 + 1), tile);
}

void CreateRock(Long px, Long py, Long pw, Long ph, Long tile) {
    FMain& f = fMain();
    PictureBox& rock = f.pRock[CreateSprite(f.pRock)];
    MoveSprite(rock, float(RangeLeft) + Tx(px), float(RangeTop) + Ty(py), Tx(pw), Ty(ph));
    FillRockTiles(tile, rock);
    rock.show();
}

void BuildMyShip(Long x, Long y) {
    fMain().iRocket.move(float(RangeLeft) + Tx(kCellPixels * x),
                         float(RangeTop) + Ty(kCellPixels * y));
}

void BuildGoal(Long x, Long y) {
    FMain& f = fMain();
    f.pGoal.move(float(RangeLeft) + Tx(kCellPixels * x), float(RangeTop) + Ty(kCellPixels * y));
    f.pGoal.show();
}

void BuildEnergy(Long x, Long y) {
    CreateEnergy(kCellPixels * x, kCellPixels * y);
}

void CreateEnergy(Long px, Long py) {
    FMain& f = fMain();
    PictureBox& capsule = f.pEnergy[CreateSprite(f.pEnergy)];
    ComposeSpritePicture(capsule, f.pEnergyDat, kRangeLeftPixels + px, kRangeTopPixels + py);
    MoveSprite(capsule, float(RangeLeft) + Tx(px), float(RangeTop) + Ty(py), Tx(kCellPixels),
               Ty(kCellPixels));
    capsule.show();
}

void BuildResq(Long x, Long y) {
    for (Long j = 0; j < RescuedCount && j < Long(Rescued.size()); ++j)
        if (Rescued[j].Col == x && Rescued[j].Row == y) return; // rescued before a crash
    const Long sprite = CreateRescue(kCellPixels * x, kCellPixels * y);
    GrowTable(Rescues, RescueCount);
    StageObject& record = Rescues[RescueCount];
    record.Col = x;
    record.Row = y;
    record.Sprite = sprite;
    ++RescueCount;
}

Long CreateRescue(Long px, Long py) {
    FMain& f = fMain();
    const int n = CreateSprite(f.pResq);
    PictureBox& person = f.pResq[n];
    PlaceOnRange(person, px, py);
    ComposeSpritePicture(person, f.pResqDat, kRangeLeftPixels + px, kRangeTopPixels + py);
    person.show();
    return n;
}

void BuildBmpBox(Long x1, Long y1, Long x2, Long y2, Long tile, Long shade) {
    for (Long dy = 0; dy <= y2 - y1; ++dy)
        for (Long dx = 0; dx <= x2 - x1; ++dx)
            PaintBackgroundTile(kRangeLeftPixels + kCellPixels * (x1 + dx),
                                kRangeTopPixels + kCellPixels * (y1 + dy), tile, shade);
}

void BuildRecord(const RoundRecord& r) {
    const auto& p = r.Param;
    switch (r.kind()) {
    case RoundKeyword::RoundRange:
        return BuildRoundRange(p[0], p[1], p[2], p[3], p[4]);
    case RoundKeyword::Rock:
        return BuildRock(p[0], p[1], p[2], p[3], p[4]);
    case RoundKeyword::MyShip:
        return BuildMyShip(p[0], p[1]);
    case RoundKeyword::Goal:
        return BuildGoal(p[0], p[1]);
    case RoundKeyword::Energy:
        return BuildEnergy(p[0], p[1]);
    case RoundKeyword::Resq:
        return BuildResq(p[0], p[1]);
    case RoundKeyword::BmpBox:
        return BuildBmpBox(p[0], p[1], p[2], p[3], p[4], p[5]);
    case RoundKeyword::Enemy1:
        return BuildEnemy1(p[0], p[1], p[2], p[3]);
    case RoundKeyword::Enemy2:
        return BuildEnemy2(p[0], p[1], p[2], p[3]);
    case RoundKeyword::Enemy3:
        return BuildEnemy3(p[0], p[1], p[2], p[3]);
    case RoundKeyword::Enemy4:
        return BuildEnemy4(p[0], p[1], p[2], p[3]);
    case RoundKeyword::Enemy5:
        return BuildEnemy5(p[0], p[1]);
    case RoundKeyword::Unknown:
        return; // skipped; its numbers were read all the same
    }
}

void BuildStage(const RoundFileContents& contents) {
    Grid.fill(kGridOutside);
    UnloadStageSprites();
    for (const RoundRecord& record : contents.Records)
        BuildRecord(record);
}
