// The building steps of the round file's keywords, with their quirks, and the tables they fill.
#include "harness.h"
#include "tests/fixtures/stage_fixture.h"

#include <gtest/gtest.h>

using stage_test::AppFolder;
using stage_test::GridAt;
using stage_test::OpenGame;
using stage_test::Px;
using stage_test::Py;
using stage_test::Rec;
using stage_test::WithRound;

namespace {

struct PixelBox {
    int x, y, w, h;
    bool operator==(const PixelBox&) const = default;
};
std::ostream& operator<<(std::ostream& out, const PixelBox& b) {
    return out << "(" << b.x << ", " << b.y << ", " << b.w << " x " << b.h << ")";
}
PixelBox BoxOf(const platform::Control& c) {
    return {Px(c.left()), Py(c.top()), Px(c.width()), Py(c.height())};
}

class RoundRangeTest : public ::testing::TestWithParam<int> {};

// W = 20, H = 15: a playfield of 38 x 29 cells, the range in columns 9..28 and rows 7..21,
// the ground block at pixel row 704, the whole width and 720 pixels high.
TEST_P(RoundRangeTest, SizesThePlayfieldAndOpensTheRange) {
    WithRound({Rec("ROUNDRANGE", {20, 15, 0x123456, 0, 120})}, [] {
        FMain& f = fMain();
        const Long t = TwipsX;
        EXPECT_EQ(f.pScreen.width(), float(1216 * t));
        EXPECT_EQ(f.pScreen.height(), float(928 * t));
        EXPECT_EQ(f.pScreen.surface().width(), 1216);
        EXPECT_EQ(f.pScreen.surface().height(), 928);
        for (int v = 0; v < kGridSize; ++v)
            for (int u = 0; u < kGridSize; ++u) {
                const bool inRange = u >= 9 && u <= 28 && v >= 7 && v <= 21;
                ASSERT_EQ(GridAt(u, v), inRange ? kGridOpen : kGridOutside) << u << "," << v;
            }
        EXPECT_EQ(RangeLeft, 288 * t);
        EXPECT_EQ(RangeTop, 224 * t);
        EXPECT_EQ(RangeWidth, 640 * t);
        EXPECT_EQ(RangeHeight, 480 * t);
        EXPECT_EQ(TimeLeft, 120);
        EXPECT_EQ(BoxOf(f.sRange), (PixelBox{288, 224, 640, 480}));
        ASSERT_EQ(f.pRock.Count(), 2);
        EXPECT_EQ(BoxOf(f.pRock[1]), (PixelBox{0, 704, 1216, 720}));
        EXPECT_TRUE(f.pRock[1].visible());
        EXPECT_EQ(f.pScreen.surface().get(600, 300), platform::FromBgr(0x123456));
    });
}

INSTANTIATE_TEST_SUITE_P(Dpi, RoundRangeTest, ::testing::Values(96, 120));

TEST(RoundRange, ShallowRangeLeavesAStripBelowTheGroundBlock) {
    WithRound({Rec("ROUNDRANGE", {4, 3, 0, 0, 10})}, [] {
        FMain& f = fMain();
        EXPECT_EQ(BoxOf(f.pRock[1]), (PixelBox{0, 32 * 10, 32 * 22, 48 * 3}));
        EXPECT_LT(48 * 3 + 32 * 10, Py(f.pScreen.height()));
    });
}

TEST(RoundRange, ASecondRangeErasesRockMarkedBeforeIt) {
    WithRound({Rec("ROUNDRANGE", {10, 10}), Rec("ROCK", {2, 2, 3, 3, 1}),
               Rec("ROUNDRANGE", {10, 10, 0, 0, 55})},
              [] {
                  EXPECT_EQ(GridAt(11, 9), kGridOpen);
                  EXPECT_EQ(fMain().pRock.Count(), 4); // two ground blocks and the rock
                  EXPECT_EQ(TimeLeft, 55);
              });
}

struct RockCase {
    const char* name;
    std::array<std::int32_t, 6> params;
    PixelBox sprite;                            // on the playfield
    std::vector<std::pair<int, int>> rockCells; // range cells marked 1
};

class RockTest : public ::testing::TestWithParam<RockCase> {};

TEST_P(RockTest, MarksItsCellsAndMakesOneSprite) {
    const RockCase& c = GetParam();
    const auto& p = c.params;
    WithRound({Rec("ROUNDRANGE", {20, 15}), Rec("ROCK", {p[0], p[1], p[2], p[3], p[4], p[5]})},
              [&] {
                  FMain& f = fMain();
                  ASSERT_EQ(f.pRock.Count(), 3);
                  EXPECT_EQ(BoxOf(f.pRock[2]), c.sprite);
                  EXPECT_TRUE(f.pRock[2].visible());
                  int marked = 0;
                  for (Long i = 0; i < kGridSize * kGridSize; ++i)
                      marked += Grid[i] == kGridRock;
                  EXPECT_EQ(marked, int(c.rockCells.size()));
                  for (auto [x, y] : c.rockCells)
                      EXPECT_EQ(GridAt(x + 9, y + 7), kGridRock);
              });
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RockTest,
    ::testing::Values(
        RockCase{"block", {1, 2, 2, 3, 4, 0}, {320, 288, 64, 64}, {{1, 2}, {2, 2}, {1, 3}, {2, 3}}},
        RockCase{"param6Ignored",
                 {1, 2, 2, 3, 4, 77},
                 {320, 288, 64, 64},
                 {{1, 2}, {2, 2}, {1, 3}, {2, 3}}},
        // x2 < x1 marks nothing but still makes a rock |3 - 5 + 1| = 1 cell wide.
        RockCase{"reversedColumns", {5, 3, 3, 3, 1, 0}, {448, 320, 32, 32}, {}},
        RockCase{"reversedRows", {5, 6, 5, 2, 1, 0}, {448, 416, 32, 96}, {}},
        RockCase{"inTheMargin", {-9, -7, -9, -7, 1, 0}, {0, 0, 32, 32}, {{-9, -7}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Rock, IsFilledWithItsTileFromTheTopLeft) {
    WithRound({Rec("ROUNDRANGE", {20, 15}), Rec("ROCK", {0, 0, 2, 1, 3})}, [] {
        FMain& f = fMain();
        const auto& rock = f.pRock[2].surface();
        const auto& sheet = f.pRockDat.surface();
        for (int y = 0; y < rock.height(); ++y)
            for (int x = 0; x < rock.width(); ++x)
                ASSERT_EQ(rock.get(x, y), sheet.get(x % 32, 64 + y % 32)) << x << "," << y;
    });
}

TEST(ShipAndGoal, MoveToTheirCellsAndTheLaterRecordStands) {
    WithRound({Rec("ROUNDRANGE", {20, 15}), Rec("MYSHIP", {2, 3}), Rec("GOAL", {9, 14}),
               Rec("GOAL", {1, 2})},
              [] {
                  FMain& f = fMain();
                  EXPECT_EQ(Px(f.iRocket.left()), 288 + 64);
                  EXPECT_EQ(Py(f.iRocket.top()), 224 + 96);
                  EXPECT_FALSE(f.iRocket.visible()); // the builder leaves that to the round's start
                  EXPECT_EQ(BoxOf(f.pGoal), (PixelBox{288 + 32, 224 + 64, 64, 32}));
                  EXPECT_TRUE(f.pGoal.visible());
              });
}

TEST(Energy, MakesAShownCapsuleAndNoRecord) {
    WithRound({Rec("ROUNDRANGE", {20, 15}), Rec("ENERGY", {15, 5}), Rec("ENERGY", {1, 1})}, [] {
        FMain& f = fMain();
        ASSERT_EQ(f.pEnergy.Count(), 3);
        EXPECT_EQ(BoxOf(f.pEnergy[1]), (PixelBox{288 + 480, 224 + 160, 32, 32}));
        EXPECT_TRUE(f.pEnergy[1].visible());
        EXPECT_TRUE(f.pEnergy[2].visible());
        EXPECT_FALSE(f.pEnergy[0].visible());
        EXPECT_EQ(EnemyCount + RescueCount, 0);
    });
}

TEST(Resq, RecordsEachPersonWithItsSprite) {
    WithRound({Rec("ROUNDRANGE", {20, 15}), Rec("RESQ", {4, 11}), Rec("RESQ", {6, 2})}, [] {
        FMain& f = fMain();
        ASSERT_EQ(RescueCount, 2);
        EXPECT_EQ(Rescues[1].Col, 6);
        EXPECT_EQ(Rescues[1].Row, 2);
        EXPECT_EQ(Rescues[1].Sprite, 2);
        EXPECT_EQ(BoxOf(f.pResq[Rescues[0].Sprite]), (PixelBox{288 + 128, 224 + 352, 32, 32}));
    });
}

// After a crash the reload leaves out the people already rescued in the round; entries of
// Rescued past RescuedCount are stale and do not count.
TEST(Resq, LeavesOutPeopleAlreadyRescued) {
    AppFolder folder;
    folder.writeRound(1, {Rec("ROUNDRANGE", {20, 15}), Rec("RESQ", {4, 11}), Rec("RESQ", {6, 2}),
                          Rec("RESQ", {8, 8})});
    test::RunHeadless(test::Options(), [&] {
        OpenGame(folder);
        Rescued.resize(3);
        Rescued[0].Col = 4;
        Rescued[0].Row = 11;
        Rescued[1].Col = 8; // past RescuedCount: not rescued in this round
        Rescued[1].Row = 8;
        RescuedCount = 1;
        LoadRound(1);
        ASSERT_EQ(RescueCount, 2);
        EXPECT_EQ(Rescues[0].Col, 6);
        EXPECT_EQ(Rescues[1].Col, 8);
        EXPECT_EQ(fMain().pResq.Count(), 3);
        EXPECT_EQ(RescuedCount, 1);
        EXPECT_EQ(Rescued.size(), 3u);
    });
}

TEST(BmpBox, MakesNoSpriteAndMarksNoCell) {
    WithRound({Rec("ROUNDRANGE", {20, 15}), Rec("BMPBOX", {0, 0, 19, 1, 5, -1})}, [] {
        FMain& f = fMain();
        EXPECT_EQ(f.pRock.Count(), 2);
        EXPECT_EQ(GridAt(9, 7), kGridOpen);
    });
}

// --- enemies ---------------------------------------------------------------------------------

struct EnemyCase {
    const char* name;
    RoundRecord record;
    int dpi;
    Long kind;
    PixelBox sprite;
    Long stepX, stepY, leg;
    std::vector<Long> pathX, pathY;
};

class EnemyTest : public ::testing::TestWithParam<EnemyCase> {};

TEST_P(EnemyTest, CreatesTheSpriteAndWritesItsFields) {
    const EnemyCase& c = GetParam();
    WithRound(
        {Rec("ROUNDRANGE", {20, 15}), c.record},
        [&] {
            FMain& f = fMain();
            ASSERT_EQ(EnemyCount, 1);
            const StageObject& e = Enemies[0];
            EXPECT_EQ(e.Kind, c.kind);
            EXPECT_EQ(e.Sprite, 1);
            ASSERT_EQ(f.pEnemy.Count(), 2);
            EXPECT_EQ(BoxOf(f.pEnemy[1]), c.sprite);
            EXPECT_TRUE(f.pEnemy[1].visible());
            EXPECT_EQ(e.StepX, c.stepX);
            EXPECT_EQ(e.StepY, c.stepY);
            EXPECT_EQ(e.Leg, c.leg);
            EXPECT_EQ(e.PathX, c.pathX);
            EXPECT_EQ(e.PathY, c.pathY);
        },
        c.dpi);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EnemyTest,
    ::testing::Values(
        EnemyCase{"enemy1Right",
                  Rec("ENEMY1", {10, 6, 1, 2}),
                  96,
                  1,
                  {608, 416, 32, 32},
                  30,
                  0,
                  0,
                  {},
                  {}},
        EnemyCase{"enemy1Left",
                  Rec("ENEMY1", {10, 6, -1, 3}),
                  96,
                  1,
                  {608, 416, 32, 32},
                  -45,
                  0,
                  0,
                  {},
                  {}},
        EnemyCase{"enemy1At12",
                  Rec("ENEMY1", {10, 6, 1, 2}),
                  120,
                  1,
                  {608, 416, 32, 32},
                  24,
                  0,
                  0,
                  {},
                  {}},
        EnemyCase{"enemy2Down",
                  Rec("ENEMY2", {0, 0, 1, 4, 9, 9}),
                  96,
                  2,
                  {288, 224, 32, 32},
                  0,
                  60,
                  0,
                  {},
                  {}},
        EnemyCase{"enemy3",
                  Rec("ENEMY3", {16, 8, 2, 1}),
                  96,
                  3,
                  {800, 480, 32, 32},
                  0,
                  0,
                  2,
                  {0, 15, 0, -15},
                  {-15, 0, 15, 0}},
        EnemyCase{"enemy4",
                  Rec("ENEMY4", {1, 1, 1, 3}),
                  120,
                  4,
                  {320, 256, 32, 32},
                  0,
                  0,
                  1,
                  {0, -36, 0, 36},
                  {-36, 0, 36, 0}},
        EnemyCase{
            "enemy5", Rec("ENEMY5", {6, 4, 7, 7}), 96, 5, {480, 352, 32, 32}, 0, 0, 0, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Enemy5, WearsTileOneInsteadOfTheTemplate) {
    WithRound({Rec("ROUNDRANGE", {20, 15}), Rec("ENEMY1", {1, 1, 1, 1}), Rec("ENEMY5", {6, 4})},
              [] {
                  FMain& f = fMain();
                  const platform::Surface tile1 = [&] {
                      platform::Surface s(32, 32);
                      BitBlt(s, 0, 0, 32, 32, f.pRockDat.surface(), 0, 0, platform::SRCCOPY);
                      return s;
                  }();
                  EXPECT_TRUE(f.pEnemy[2].surface() == tile1);
                  EXPECT_TRUE(f.pEnemy[1].surface() == f.pEnemy[0].surface());
              });
}

TEST(Enemies, AreNumberedInFileOrder) {
    WithRound({Rec("ROUNDRANGE", {20, 15}), Rec("ENEMY5", {1, 1}), Rec("ENERGY", {2, 2}),
               Rec("ENEMY2", {3, 3, 1, 1}), Rec("ENEMY4", {4, 4, 0, 1})},
              [] {
                  ASSERT_EQ(EnemyCount, 3);
                  EXPECT_EQ(Enemies[2].Kind, 4);
                  EXPECT_EQ(Enemies[2].Sprite, 3);
                  EXPECT_EQ(Enemies[1].Kind, 2);
              });
}

// The tables are written over from index 0 and never shrink: fields that a step does not set
// keep what an earlier load left, and kind 5 clears its own.
TEST(Tables, AreWrittenOverFromTheStartKeepingStaleFields) {
    AppFolder folder;
    folder.writeRound(1, {Rec("ROUNDRANGE", {20, 15}), Rec("ENEMY3", {1, 1, 3, 2}),
                          Rec("ENEMY1", {2, 2, 1, 2}), Rec("RESQ", {1, 1}), Rec("RESQ", {2, 2})});
    folder.writeRound(2, {Rec("ROUNDRANGE", {20, 15}), Rec("ENEMY1", {5, 5, -1, 1}),
                          Rec("ENEMY5", {6, 6}), Rec("RESQ", {7, 7})});
    test::RunHeadless(test::Options(), [&] {
        OpenGame(folder);
        LoadRound(1);
        Enemies[1].Done = kTrue; // as if it had been moved about
        Enemies[1].Col = 42;
        Enemies[1].Spare = 9;
        Enemies[1].StepY = 77;
        LoadRound(2);
        ASSERT_EQ(EnemyCount, 2);
        ASSERT_EQ(Enemies.size(), 2u);
        const StageObject& first = Enemies[0];
        EXPECT_EQ(first.Kind, 1);
        EXPECT_EQ(first.StepX, -15);
        EXPECT_EQ(first.Leg, 3);                                    // left from ENEMY3
        EXPECT_EQ(first.PathX, (std::vector<Long>{0, 30, 0, -30})); // likewise
        const StageObject& second = Enemies[1];
        EXPECT_EQ(second.Kind, 5);
        EXPECT_EQ(second.StepY, 0);
        EXPECT_EQ(second.Col, 0);
        EXPECT_EQ(second.Done, kFalse);
        EXPECT_EQ(second.Spare, 0);
        EXPECT_EQ(second.StepX, 30); // left from the first load's ENEMY1
        ASSERT_EQ(RescueCount, 1);
        EXPECT_EQ(Rescues.size(), 2u);
        EXPECT_EQ(Rescues[0].Col, 7);
        EXPECT_EQ(Rescues[1].Col, 2); // beyond the count: stale, not valid
    });
}

// --- sprites ---------------------------------------------------------------------------------

TEST(UnloadStageSprites, RemovesEveryRunTimeElementAndKeepsTheTemplates) {
    WithRound({Rec("ROUNDRANGE", {20, 15}), Rec("ROCK", {1, 1, 1, 1, 1}), Rec("ENERGY", {2, 2}),
               Rec("RESQ", {3, 3}), Rec("ENEMY5", {4, 4})},
              [] {
                  FMain& f = fMain();
                  const std::size_t before = f.pScreen.children().size();
                  UnloadStageSprites();
                  for (SpriteArray* array : {&f.pRock, &f.pEnergy, &f.pEnemy, &f.pResq}) {
                      EXPECT_EQ(array->Count(), 1) << array->name();
                      EXPECT_TRUE(array->Exists(0));
                  }
                  EXPECT_EQ(f.pScreen.children().size(), before - 5);
                  UnloadStageSprites(); // nothing left to remove
                  EXPECT_EQ(f.pRock.Count(), 1);
              });
}

TEST(CreateSprite, MakesAHiddenCopyOfTheTemplateInFrontOfTheOthers) {
    WithRound({Rec("ROUNDRANGE", {20, 15}), Rec("ENERGY", {2, 2})}, [] {
        FMain& f = fMain();
        const int n = CreateSprite(f.pEnemy);
        EXPECT_EQ(n, 1);
        const auto& e = f.pEnemy[n];
        EXPECT_FALSE(e.visible());
        EXPECT_EQ(e.width(), f.pEnemy[0].width());
        EXPECT_EQ(e.height(), f.pEnemy[0].height());
        EXPECT_EQ(e.backColor(), f.pEnemy[0].backColor());
        EXPECT_TRUE(e.surface() == f.pEnemy[0].surface());
        EXPECT_EQ(e.parent(), &f.pScreen);
        EXPECT_EQ(f.pScreen.children().back(), &e);
        EXPECT_NE(e.handle(), f.pEnemy[0].handle());
        EXPECT_EQ(CreateSprite(f.pEnemy), 2);
    });
}

} // namespace
