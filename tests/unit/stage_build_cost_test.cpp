// What a build costs, and the painting it leaves out: the cells a box paints that nothing would
// ever show. A stage built with the plan must be the very stage built record by record.
#include "core/random.h"
#include "harness.h"
#include "tests/fixtures/stage_fixture.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <tuple>

using stage_test::AppFolder;
using stage_test::OpenGame;
using stage_test::Rec;

namespace {

// --- the cell set --------------------------------------------------------------------------------

using Cell = std::pair<int, int>; // column, row

// Random fills, clears, inserts and rectangles taken out, against a plain table of cells: the
// same cells come out, in runs that are whole rows of neighbours.
TEST(CellSet, TakesExactlyTheCellsOfARectangleInRuns) {
    std::mt19937 random(7);
    const auto any = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(random);
    };
    const auto onGrid = [](int c, int r) {
        return c >= 0 && r >= 0 && c < kGridSide && r < kGridSide;
    };
    CellSet cells;
    std::vector<char> model(kGridSide * kGridSide, 0);
    for (int step = 0; step < 3000; ++step) {
        const int what = any(0, 99);
        if (what < 2) {
            cells.fill();
            std::fill(model.begin(), model.end(), 1);
        } else if (what < 4) {
            cells.clear();
            std::fill(model.begin(), model.end(), 0);
        } else if (what < 50) {
            const int c = any(-2, kGridSide + 1), r = any(-2, kGridSide + 1);
            cells.insert(c, r);
            if (onGrid(c, r)) model[r * kGridSide + c] = 1;
        } else {
            const int c0 = any(-3, kGridSide + 2), r0 = any(-3, kGridSide + 2);
            const int c1 = c0 + any(-2, 80), r1 = r0 + any(-2, 80);
            std::set<Cell> taken;
            cells.take(c0, r0, c1, r1, [&](int row, int first, int last) {
                ASSERT_LE(first, last);
                // A run is maximal: the cells beside it were not taken with it.
                EXPECT_FALSE(taken.count({first - 1, row}));
                for (int c = first; c <= last; ++c)
                    EXPECT_TRUE(taken.insert({c, row}).second);
                EXPECT_FALSE(taken.count({last + 1, row}));
            });
            std::set<Cell> expected;
            for (int r = r0; r <= r1; ++r)
                for (int c = c0; c <= c1; ++c)
                    if (onGrid(c, r) && model[r * kGridSide + c]) {
                        expected.insert({c, r});
                        model[r * kGridSide + c] = 0;
                    }
            ASSERT_EQ(taken, expected) << "step " << step;
        }
    }
}

// --- the painting plan -------------------------------------------------------------------------

// The grid cells each box record paints, by record number.
std::map<int, std::set<Cell>> PaintedCells(const std::vector<RoundRecord>& records) {
    std::map<int, std::set<Cell>> cells;
    std::int64_t count = 0;
    for (const PaintRun& run : PlanPainting(records).runs)
        for (int c = run.first; c <= run.last; ++c) {
            cells[run.record].insert({c, run.row});
            ++count;
        }
    EXPECT_EQ(count, PlanPainting(records).cells);
    return cells;
}

// Grid cells of range cells x0..x1, y0..y1.
std::set<Cell> Cells(int x0, int y0, int x1, int y1) {
    std::set<Cell> out;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            out.insert({x + kRangeColumnOffset, y + kRangeRowOffset});
    return out;
}

struct PlanCase {
    const char* name;
    std::vector<RoundRecord> records;
    std::map<int, std::set<Cell>> painted;
};
VEXARO_PRINT_CASE_BY_NAME(PlanCase)

class PaintingPlanTest : public ::testing::TestWithParam<PlanCase> {};

TEST_P(PaintingPlanTest, PaintsWhatStaysToBeSeen) {
    EXPECT_EQ(PaintedCells(GetParam().records), GetParam().painted);
}

std::set<Cell> Without(std::set<Cell> cells, const std::set<Cell>& gone) {
    for (const Cell& c : gone)
        cells.erase(c);
    return cells;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PaintingPlanTest,
    ::testing::Values(
        PlanCase{"aBoxOverThePreviousStage",
                 {Rec("BMPBOX", {0, 0, 2, 1, 3, 0})},
                 {{0, Cells(0, 0, 2, 1)}}},
        PlanCase{"theLaterOfTwoBoxes",
                 {Rec("BMPBOX", {0, 0, 2, 1, 3, 0}), Rec("BMPBOX", {0, 0, 2, 1, 4, -1})},
                 {{1, Cells(0, 0, 2, 1)}}},
        PlanCase{"aBoxPartlyUnderAnother",
                 {Rec("BMPBOX", {0, 0, 3, 3, 3, 0}), Rec("BMPBOX", {1, 1, 2, 2, 4, 0})},
                 {{0, Without(Cells(0, 0, 3, 3), Cells(1, 1, 2, 2))}, {1, Cells(1, 1, 2, 2)}}},
        // A capsule copies its cell as it is then: the earlier box shows in it.
        PlanCase{"theCellUnderACapsule",
                 {Rec("ROUNDRANGE", {10, 10}), Rec("BMPBOX", {0, 0, 2, 0, 3, 0}),
                  Rec("ENERGY", {1, 0}), Rec("BMPBOX", {0, 0, 2, 0, 4, 0})},
                 {{1, Cells(1, 0, 1, 0)}, {3, Cells(0, 0, 2, 0)}}},
        PlanCase{"theCellUnderAPerson",
                 {Rec("BMPBOX", {0, 0, 0, 0, 3, 0}), Rec("RESQ", {0, 0}),
                  Rec("BMPBOX", {0, 0, 0, 0, 4, 0})},
                 {{0, Cells(0, 0, 0, 0)}, {2, Cells(0, 0, 0, 0)}}},
        // A range clears the picture: what was painted before shows only in sprites made
        // before it.
        PlanCase{"boxesBeforeARange",
                 {Rec("BMPBOX", {0, 0, 5, 5, 3, 0}), Rec("ENERGY", {2, 2}),
                  Rec("ROUNDRANGE", {10, 10}), Rec("RESQ", {3, 3})},
                 {{0, Cells(2, 2, 2, 2)}}},
        PlanCase{"emptyAndEdgeBoxes",
                 {Rec("BMPBOX", {3, 0, 2, 0, 1, 0}), Rec("BMPBOX", {-9, -7, -9, -7, 2, 0}),
                  Rec("BMPBOX", {223, 225, 223, 225, 2, 0})},
                 {{1, {{0, 0}}}, {2, {{232, 232}}}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BuildCost, CountsRangesAsCoatsAndSpritesAsCells) {
    const std::vector<RoundRecord> records = {Rec("ROUNDRANGE", {1, 1}),
                                              Rec("ROCK", {-9, -7, 223, 225, 1}),
                                              Rec("ENERGY", {0, 0}),
                                              Rec("RESQ", {0, 0}),
                                              Rec("ENEMY5", {0, 0}),
                                              Rec("MYSHIP", {0, 0}),
                                              Rec("GOAL", {0, 0}),
                                              Rec("BMPBOX", {0, 0, 1, 1, 1, 0}),
                                              Rec("BOX", {})};
    EXPECT_EQ(BuildCost(records, PlanPainting(records)), kLargestPlayfieldCells + 4 + 4);
}

// --- the stage built with the plan ---------------------------------------------------------------

// Everything a build leaves that can be seen or read back.
struct BuiltStage {
    CollisionGrid grid;
    platform::Surface playfield;
    std::vector<std::tuple<std::string, float, float, float, float, bool>> sprites;
    std::vector<platform::Surface> pictures;
    long long draws;

    static BuiltStage Take() {
        FMain& f = fMain();
        BuiltStage s{Grid, f.pScreen.surface(), {}, {}, RandomDrawCount()};
        for (SpriteArray* array : {&f.pRock, &f.pEnergy, &f.pEnemy, &f.pResq})
            for (int i = 1; i < array->Count(); ++i) {
                const auto& e = (*array)[i];
                s.sprites.emplace_back(e.name(), e.left(), e.top(), e.width(), e.height(),
                                       e.visible());
                s.pictures.push_back(e.surface());
            }
        return s;
    }
};

// A small random round: ranges, rocks, boxes painted over each other, and sprites copying the
// cells under them, in any order.
std::vector<RoundRecord> RandomRound(std::mt19937& random) {
    const auto any = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(random);
    };
    std::vector<RoundRecord> records;
    const int n = any(1, 40);
    for (int i = 0; i < n; ++i) {
        const int x = any(-9, 30), y = any(-7, 24);
        switch (any(0, 9)) {
        case 0:
            records.push_back(Rec(
                "ROUNDRANGE", {any(1, 24), any(1, 18), any(0, 0xFFFFFF), any(0, 1) ? -1 : 0, 60}));
            break;
        case 1:
            records.push_back(Rec("ROCK", {x, y, x + any(-2, 6), y + any(-2, 6), any(1, 6)}));
            break;
        case 2:
        case 3:
        case 4:
            records.push_back(Rec(
                "BMPBOX", {x, y, x + any(-1, 8), y + any(-1, 8), any(1, 6), any(0, 1) ? -1 : 0}));
            break;
        case 5:
        case 6:
            records.push_back(Rec("ENERGY", {x, y}));
            break;
        case 7:
            records.push_back(Rec("RESQ", {x, y}));
            break;
        default:
            records.push_back(Rec(any(0, 1) ? "ENEMY5" : "ENEMY1", {x, y, 1, 2}));
            break;
        }
    }
    return records;
}

// Each round is built twice over the same stage: once as LoadRound builds it, with the plan
// and the grid written at the end, and once record by record, every box painting every cell.
TEST(BuildStage, BuildsWhatTheRecordsBuildOneByOne) {
    std::mt19937 random(11);
    AppFolder folder;
    test::RunHeadless(test::Options(), [&] {
        OpenGame(folder);
        test::BuildFromRecords(
            {Rec("ROUNDRANGE", {20, 15, 0x102030, -1, 9}), Rec("BMPBOX", {0, 0, 19, 2, 5, -1})});
        for (int round = 0; round < 60; ++round) {
            const auto records = RandomRound(random);
            FMain& f = fMain();
            const platform::Surface before = f.pScreen.surface();
            const float width = f.pScreen.width(), height = f.pScreen.height();

            ResetRandom();
            test::BuildFromRecords(records);
            const BuiltStage planned = BuiltStage::Take();

            f.pScreen.setSize(width, height);
            f.pScreen.surface() = before;
            ResetRandom();
            Grid.fill(kGridOutside);
            UnloadStageSprites();
            for (const RoundRecord& record : records)
                BuildRecord(record);
            const BuiltStage stepwise = BuiltStage::Take();

            ASSERT_TRUE(planned.grid == stepwise.grid) << "round " << round;
            ASSERT_TRUE(planned.playfield == stepwise.playfield) << "round " << round;
            ASSERT_EQ(planned.sprites, stepwise.sprites) << "round " << round;
            ASSERT_EQ(planned.pictures, stepwise.pictures) << "round " << round;
            ASSERT_EQ(planned.draws, stepwise.draws) << "round " << round;
        }
    });
}

} // namespace
