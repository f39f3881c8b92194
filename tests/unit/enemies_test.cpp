// Enemy motion: patrols bouncing off walls, path followers turning, droppers falling.
#include "core/flight.h"
#include "events/gauges.h"
#include "harness.h"

#include <gtest/gtest.h>

namespace {

// A 20 x 15 range with the given records; the ship parked far from everything.
void OpenStage(std::vector<RoundRecord> extra) {
    test::OpenMainWindow();
    std::vector<RoundRecord> records = {test::Record("ROUNDRANGE", {20, 15, 0, 0, 100}),
                                        test::Record("MYSHIP", {1, 13})};
    records.insert(records.end(), extra.begin(), extra.end());
    test::BuildFromRecords(records);
    GameMode = kFlying;
    PrepareRoundView();
}

platform::PictureBox& Sprite(int record) {
    return fMain().pEnemy[Enemies[record].Sprite];
}

// Frames (counted from 0) at which the patrol's step changed sign, over n frames.
std::vector<int> Reversals(int n, Long StageObject::*step) {
    std::vector<int> frames;
    for (int frame = 0; frame < n; ++frame) {
        const Long before = Enemies[0].*step;
        MoveEnemies();
        if ((Enemies[0].*step > 0) != (before > 0)) frames.push_back(frame);
    }
    return frames;
}

TEST(PatrolTest, HorizontalBouncesBetweenWallsOnTheExactFrames) {
    test::RunHeadless(test::Options(), [] {
        // Walls in range columns 5 and 10; the patrol starts at column 7 moving right at 2 px.
        OpenStage({test::Record("ROCK", {5, 6, 5, 6, 1}), test::Record("ROCK", {10, 6, 10, 6, 1}),
                   test::Record("ENEMY1", {7, 6, 1, 2})});
        ASSERT_EQ(Sprite(0).left(), 7680);
        ASSERT_EQ(Enemies[0].StepX, 30);
        // Right: reverses when the pixel beyond its right edge enters the wall (left 8640,
        // frame 32). Left: once its left edge is one pixel into the wall (left 7170, frame 81).
        const auto frames = Reversals(82, &StageObject::StepX);
        ASSERT_EQ(frames, (std::vector<int>{32, 81}));
        EXPECT_EQ(Sprite(0).left(), 7200);
        EXPECT_EQ(Sprite(0).top(), 6240); // never moves vertically
    });
}

TEST(PatrolTest, VerticalBounces) {
    test::RunHeadless(test::Options(), [] {
        // Walls in range rows 2 and 8 of column 12; the patrol at row 5 moving up at 3 px.
        OpenStage({test::Record("ROCK", {12, 2, 12, 2, 1}), test::Record("ROCK", {12, 8, 12, 8, 1}),
                   test::Record("ENEMY2", {12, 5, -1, 3})});
        ASSERT_EQ(Enemies[0].StepY, -45);
        // Up: top 5760 - 45 n; reverses when top + 15 < 4800 (row 10 ends at 4800 twips).
        // 5760 - 45 n + 15 < 4800  ->  n >= 22 (top 4770).
        const auto frames = Reversals(23, &StageObject::StepY);
        ASSERT_EQ(frames, (std::vector<int>{22}));
        EXPECT_EQ(Sprite(0).top(), 4770 + 45);
    });
}

TEST(PatrolTest, StepZeroNeverMovesOrTurns) {
    test::RunHeadless(test::Options(), [] {
        OpenStage({test::Record("ENEMY1", {7, 6, 1, 0}), test::Record("ENEMY2", {9, 6, 0, 5})});
        for (int i = 0; i < 50; ++i)
            MoveEnemies();
        EXPECT_EQ(Sprite(0).left(), 7680);
        EXPECT_EQ(Enemies[0].StepX, 0);
        EXPECT_EQ(Sprite(1).top(), 6240);
        EXPECT_EQ(Enemies[1].StepY, 0);
    });
}

// Legs taken by a follower, recorded each time it changes, up to `count` legs.
std::vector<Long> LegsOver(int frames, std::size_t count = 5) {
    std::vector<Long> legs{Enemies[0].Leg};
    for (int i = 0; i < frames && legs.size() < count; ++i) {
        MoveEnemies();
        if (Enemies[0].Leg != legs.back()) legs.push_back(Enemies[0].Leg);
    }
    return legs;
}

TEST(FollowerTest, ClockwiseTurnsRightAtEachWall) {
    test::RunHeadless(test::Options(), [] {
        // A follower starting downwards inside a walled 6 x 6 room.
        OpenStage({test::Record("ROCK", {4, 3, 11, 3, 1}), test::Record("ROCK", {4, 10, 11, 10, 1}),
                   test::Record("ROCK", {4, 4, 4, 9, 1}), test::Record("ROCK", {11, 4, 11, 9, 1}),
                   test::Record("ENEMY3", {7, 6, 2, 2})});
        EXPECT_EQ(Enemies[0].PathX, (std::vector<Long>{0, 30, 0, -30}));
        EXPECT_EQ(Enemies[0].PathY, (std::vector<Long>{-30, 0, 30, 0}));
        // Down, then left, then up, then right, then down again.
        EXPECT_EQ(LegsOver(1000), (std::vector<Long>{2, 3, 0, 1, 2}));
    });
}

TEST(FollowerTest, CounterClockwiseTurnsLeftAtEachWall) {
    test::RunHeadless(test::Options(), [] {
        OpenStage({test::Record("ROCK", {4, 3, 11, 3, 1}), test::Record("ROCK", {4, 10, 11, 10, 1}),
                   test::Record("ROCK", {4, 4, 4, 9, 1}), test::Record("ROCK", {11, 4, 11, 9, 1}),
                   test::Record("ENEMY4", {7, 6, 1, 2})});
        EXPECT_EQ(Enemies[0].PathX, (std::vector<Long>{0, -30, 0, 30}));
        EXPECT_EQ(LegsOver(1000), (std::vector<Long>{1, 2, 3, 0, 1}));
    });
}

TEST(FollowerTest, TurnsAndMovesAlongTheNewLegInOneFrame) {
    test::RunHeadless(test::Options(), [] {
        // Starting right with a wall right beside it.
        OpenStage({test::Record("ROCK", {8, 6, 8, 6, 1}), test::Record("ENEMY3", {7, 6, 1, 2})});
        const float left = Sprite(0).left(), top = Sprite(0).top();
        MoveEnemies();
        EXPECT_EQ(Enemies[0].Leg, 2);
        EXPECT_EQ(Sprite(0).left(), left);
        EXPECT_EQ(Sprite(0).top(), top + 30);
    });
}

TEST(FollowerTest, BoxedInTurnsEveryFrameAndStepsIntoEachWall) {
    test::RunHeadless(test::Options(), [] {
        OpenStage({test::Record("ROCK", {6, 5, 8, 5, 1}), test::Record("ROCK", {6, 7, 8, 7, 1}),
                   test::Record("ROCK", {6, 6, 6, 6, 1}), test::Record("ROCK", {8, 6, 8, 6, 1}),
                   test::Record("ENEMY3", {7, 6, 0, 1})});
        const float left = Sprite(0).left(), top = Sprite(0).top();
        const Long wantLeg[] = {1, 2, 3, 0, 1};
        const float wantDx[] = {15, 15, 0, 0, 15};
        const float wantDy[] = {0, 15, 15, 0, 0};
        for (int i = 0; i < 5; ++i) {
            MoveEnemies();
            EXPECT_EQ(Enemies[0].Leg, wantLeg[i]) << i;
            EXPECT_EQ(Sprite(0).left() - left, wantDx[i]) << i;
            EXPECT_EQ(Sprite(0).top() - top, wantDy[i]) << i;
        }
    });
}

struct DropCase {
    const char* name;
    float shipDx, shipDy; // ship relative to the dropper, twips
    bool falls;
};
VEXARO_PRINT_CASE_BY_NAME(DropCase)

class DropperTest : public ::testing::TestWithParam<DropCase> {};

TEST_P(DropperTest, StartsOnlyForAShipCloseBelow) {
    const DropCase c = GetParam();
    test::RunHeadless(test::Options(), [&] {
        OpenStage({test::Record("ENEMY5", {8, 2})});
        const float top = Sprite(0).top();
        fMain().iRocket.move(Sprite(0).left() + c.shipDx, top + c.shipDy);
        MoveEnemies();
        EXPECT_EQ(Enemies[0].StepY, c.falls ? 2 : 0);
        EXPECT_EQ(Sprite(0).top(), top + (c.falls ? 2 : 0));
    });
}

INSTANTIATE_TEST_SUITE_P(
    Distances, DropperTest,
    ::testing::Values(DropCase{"above", 0, -100, false}, DropCase{"level", 0, 0, false},
                      DropCase{"justBelow", 0, 1, true}, DropCase{"within160px", 300, 2399, true},
                      DropCase{"at160px", 0, 2400, false}, DropCase{"beyond160px", 0, 3000, false},
                      DropCase{"besideByAWidth", 480, 500, false},
                      DropCase{"besideByLess", -479, 500, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DropperTest, KeepsFallingFasterAndStopsBelowTheRange) {
    test::RunHeadless(test::Options(), [] {
        OpenStage({test::Record("ENEMY5", {8, 2})});
        fMain().iRocket.move(Sprite(0).left(), Sprite(0).top() + 600);
        MoveEnemies();
        fMain().iRocket.move(0, 0); // moving away does not stop it
        MoveEnemies();
        MoveEnemies();
        EXPECT_EQ(Enemies[0].StepY, 6);
        // Exactly at the bottom it falls on; below it stops for good.
        const float bottom = float(RangeTop + RangeHeight);
        Sprite(0).move(Sprite(0).left(), bottom - 8);
        MoveEnemies(); // step 8: exactly at the bottom
        EXPECT_EQ(Sprite(0).top(), bottom);
        EXPECT_EQ(Enemies[0].Done, 0);
        MoveEnemies();
        EXPECT_EQ(Sprite(0).top(), bottom + 10);
        EXPECT_EQ(Enemies[0].Done, kTrue);
        MoveEnemies();
        EXPECT_EQ(Sprite(0).top(), bottom + 10);
        EXPECT_EQ(Enemies[0].StepY, 10);
    });
}

TEST(GridLookupTest, OutsideTheGridIsAWall) {
    test::RunHeadless(test::Options(), [] {
        OpenStage({});
        EXPECT_TRUE(IsWallAt(-20000, 5000));
        EXPECT_TRUE(IsWallAt(5000, -20000));
        EXPECT_TRUE(IsWallAt(233 * 480, 5000));
        EXPECT_TRUE(IsWallAt(5000, 233 * 480 + 1));
        EXPECT_FALSE(IsWallAt(288 * 15 + 5, 224 * 15 + 5)); // the range's first cell
        EXPECT_TRUE(IsWallAt(288 * 15 - 5, 224 * 15 + 5));  // the margin
    });
}

} // namespace
