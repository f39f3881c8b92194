// The stage builder: one building step per keyword of the round file, in file order.
#include "display/fmain.h"
#include "display/sprites.h"
#include "platform/backend.h"
#include "stage/placement.h"
#include "stage/stage.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

using namespace platform;

static_assert(kGridSide == kGridSize, "the reader's grid is the game's grid");

namespace {

// The reader keeps every cell of a file on the grid; a cell off it is left alone all the same.
void SetGridCell(Long column, Long row, Long value) {
    if (column < 0 || row < 0 || column >= kGridSize || row >= kGridSize) return;
    Grid[std::size_t(row) * kGridSize + column] = value;
}

// Nothing reads the grid while a stage is built, so its rectangles wait there and are written
// at the end, the newest first and each cell once: a round of many rocks over the same cells
// costs a step per rock, not one per cell.
struct GridRectangle {
    int c0, r0, c1, r1;
    Long value;
};
std::vector<GridRectangle>* g_gridLater = nullptr;

class GridWritesAtTheEnd {
  public:
    GridWritesAtTheEnd() { g_gridLater = &rectangles_; }
    ~GridWritesAtTheEnd() {
        g_gridLater = nullptr;
        CellSet unwritten;
        unwritten.fill();
        for (auto r = rectangles_.rbegin(); r != rectangles_.rend(); ++r)
            unwritten.take(r->c0, r->r0, r->c1, r->r1, [&](int row, int first, int last) {
                for (int column = first; column <= last; ++column)
                    SetGridCell(column, row, r->value);
            });
    }
    GridWritesAtTheEnd(const GridWritesAtTheEnd&) = delete;
    GridWritesAtTheEnd& operator=(const GridWritesAtTheEnd&) = delete;

  private:
    std::vector<GridRectangle> rectangles_;
};

// Every grid cell of range columns x1..x2 and rows y1..y2 (none when x2 < x1 or y2 < y1).
void MarkGridCells(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2, Long value) {
    if (x2 < x1 || y2 < y1) return;
    const GridRectangle r{GridCell(x1, kRangeColumnOffset), GridCell(y1, kRangeRowOffset),
                          GridCell(x2, kRangeColumnOffset), GridCell(y2, kRangeRowOffset), value};
    if (g_gridLater) return g_gridLater->push_back(r);
    for (int row = r.r0; row <= r.r1; ++row)
        for (int column = r.c0; column <= r.c1; ++column)
            SetGridCell(column, row, value);
}

// A box's tile on the cells of grid columns c0..c1 and rows r0..r1 that lie on the playfield (the
// cells of the grid and of the playfield coincide). The one bound on the painting of boxes.
void PaintGridCells(std::int64_t c0, std::int64_t r0, std::int64_t c1, std::int64_t r1, Long tile,
                    Long shade) {
    const platform::Surface& picture = fMain().pScreen.surface();
    const std::int64_t columns = (picture.width() + kCellPixels - 1) / kCellPixels;
    const std::int64_t rows = (picture.height() + kCellPixels - 1) / kCellPixels;
    for (std::int64_t row = std::max<std::int64_t>(r0, 0); row <= std::min(r1, rows - 1); ++row)
        for (std::int64_t column = std::max<std::int64_t>(c0, 0);
             column <= std::min(c1, columns - 1); ++column)
            PaintBackgroundTile(Long(kCellPixels * column), Long(kCellPixels * row), tile, shade);
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
    MarkGridCells(0, 0, std::int64_t(w) - 1, std::int64_t(h) - 1, kGridOpen);

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
    MarkGridCells(x1, y1, x2, y2, kGridRock);
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
    PaintGridCells(std::int64_t(x1) + kRangeColumnOffset, std::int64_t(y1) + kRangeRowOffset,
                   std::int64_t(x2) + kRangeColumnOffset, std::int64_t(y2) + kRangeRowOffset, tile,
                   shade);
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
    const PaintingPlan planned = contents.Planned ? PaintingPlan{} : PlanPainting(contents.Records);
    const PaintingPlan& plan = contents.Planned ? contents.Painting : planned;
    GridWritesAtTheEnd grid;
    auto run = plan.runs.begin();
    for (std::size_t i = 0; i < contents.Records.size(); ++i) {
        const RoundRecord& record = contents.Records[i];
        if (record.kind() != RoundKeyword::BmpBox) {
            BuildRecord(record);
            continue;
        }
        // Only the cells of the box that stay to be seen.
        for (; run != plan.runs.end() && run->record == std::int32_t(i); ++run)
            PaintGridCells(run->first, run->row, run->last, run->row, record.Param[4],
                           record.Param[5]);
    }
    ForgetChunkResults();
}
