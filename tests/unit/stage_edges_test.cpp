// The edges of what a round file may hold: the widest and highest range, whose playfield
// reaches past the collision grid, and the fastest enemies, whose steps fill a 32-bit number.
#include "core/flight.h"
#include "events/gauges.h"
#include "harness.h"
#include "tests/fixtures/stage_fixture.h"

#include <gtest/gtest.h>

#include <cmath>

using stage_test::AppFolder;
using stage_test::GridAt;
using stage_test::OpenGame;
using stage_test::Px;
using stage_test::Py;
using stage_test::Rec;
using stage_test::WithRound;

namespace {

// --- the largest range -------------------------------------------------------------------------

// Range cell (223, 225) is the grid's last cell; the playfield's margins go 9 columns and 7
// rows further.
TEST(LargestRange, ReachesTheGridsLastCellWithItsMarginsPastIt) {
    WithRound({Rec("ROUNDRANGE", {224, 226, 0x203040, -1, 60})}, [] {
        FMain& f = fMain();
        EXPECT_EQ(Px(f.pScreen.width()), 242 * 32);
        EXPECT_EQ(Py(f.pScreen.height()), 240 * 32);
        for (int v = 0; v < kGridSize; ++v)
            for (int u = 0; u < kGridSize; ++u)
                ASSERT_EQ(GridAt(u, v), u >= 9 && v >= 7 ? kGridOpen : kGridOutside)
                    << u << "," << v;
        // The ground block lies wholly past the grid: under the range's bottom edge.
        ASSERT_EQ(f.pRock.Count(), 2);
        EXPECT_EQ(Py(f.pRock[1].top()), 233 * 32);
        EXPECT_EQ(Px(f.pRock[1].width()), 242 * 32);
        EXPECT_EQ(Py(f.pRock[1].height()), 48 * 226);
        EXPECT_EQ(f.pScreen.surface().get(7743 - 2, 7679 - 2), platform::FromBgr(0x203040));
    });
}

// What lies on the playfield past the grid reads as wall, and the last cells inside are open.
TEST(LargestRange, MarginsPastTheGridReadAsWalls) {
    WithRound({Rec("ROUNDRANGE", {224, 226})}, [] {
        const double cell = 32.0 * TwipsX, half = cell / 2;
        EXPECT_FALSE(IsWallAt(232 * cell + half, 232 * cell + half));
        for (int i = 0; i < 240; ++i) {
            for (int column = 233; column < 242; ++column)
                ASSERT_TRUE(IsWallAt(column * cell + half, std::min(i, 239) * cell + half));
            for (int row = 233; row < 240; ++row)
                ASSERT_TRUE(IsWallAt(std::min(i, 241) * cell + half, row * cell + half));
        }
    });
}

// Enemies at the range's far edges turn at the margin past the grid, as at any wall, and never
// leave the range.
TEST(LargestRange, EnemiesTurnAtTheMarginsPastTheGrid) {
    test::RunHeadless(test::Options(), [] {
        test::OpenMainWindow();
        test::BuildFromRecords({Rec("ROUNDRANGE", {224, 226}), Rec("MYSHIP", {0, 0}),
                                Rec("ENEMY1", {220, 100, 1, 3}), Rec("ENEMY2", {100, 222, 1, 3}),
                                Rec("ENEMY3", {222, 224, 1, 5}), Rec("ENEMY4", {222, 224, 2, 5})});
        PrepareRoundView();
        const float right = float(RangeLeft + RangeWidth), bottom = float(RangeTop + RangeHeight);
        bool turned[4] = {};
        for (int frame = 0; frame < 300; ++frame) {
            MoveEnemies();
            for (int i = 0; i < 4; ++i) {
                const auto& e = fMain().pEnemy[Enemies[i].Sprite];
                ASSERT_LE(e.left() + e.width(), right + 5 * TwipsX) << i << " at " << frame;
                ASSERT_LE(e.top() + e.height(), bottom + 5 * TwipsY) << i << " at " << frame;
            }
            turned[0] = turned[0] || Enemies[0].StepX < 0;
            turned[1] = turned[1] || Enemies[1].StepY < 0;
            turned[2] = turned[2] || Enemies[2].Leg != 1;
            turned[3] = turned[3] || Enemies[3].Leg != 2;
        }
        for (bool t : turned)
            EXPECT_TRUE(t);
    });
}

// A whole game on the largest range: the ship starts in its bottom-right corner, beside the
// margins past the grid, and lands on the pad below it.
TEST(LargestRange, PlaysToATouchdownInItsFarCorner) {
    AppFolder folder;
    folder.writeRound(1, {Rec("ROUNDRANGE", {224, 226, 0, -1, 60}), Rec("MYSHIP", {222, 223}),
                          Rec("GOAL", {221, 225}), Rec("ENEMY1", {223, 200, 1, 4}),
                          Rec("ENEMY2", {223, 190, 1, 4}), Rec("ENERGY", {223, 225})});
    auto options = test::Options("1100 tap space\n");
    options.appDir = folder.dir();
    options.stopAfterTicks = 12000;
    const auto run = test::RunHeadless(options, [] { Main(); });
    long long cleared = 0, crashed = 0;
    for (const auto& frame : run.events("frame")) {
        if (test::Field(frame, "round") != 1) break; // round 2 is missing: the stage stays
        cleared += test::Field(frame, "mode") == kRoundCleared;
        crashed += test::Field(frame, "mode") == kCrashed;
    }
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(crashed, 0);
}

// --- the fastest enemies -----------------------------------------------------------------------

struct SpeedCase {
    const char* name;
    int dpi;
};
VEXARO_PRINT_CASE_BY_NAME(SpeedCase)

class FastestEnemyTest : public ::testing::TestWithParam<SpeedCase> {};

// Steps as large as a Long holds on the coarsest screen: they are exact, patrols turn at the
// walls beyond the grid and come back, followers go round, and flying with them on the
// playfield draws and probes as ever.
TEST_P(FastestEnemyTest, StepsFitAndTheEnemiesStayBounded) {
    const std::int32_t s = std::int32_t(kMaxEnemySpeed);
    auto options = test::Options();
    options.dpi = GetParam().dpi;
    test::RunHeadless(options, [&] {
        test::OpenMainWindow();
        test::BuildFromRecords({Rec("ROUNDRANGE", {20, 15}), Rec("MYSHIP", {1, 1}),
                                Rec("ENEMY1", {5, 5, 1, s}), Rec("ENEMY2", {6, 6, -1, s}),
                                Rec("ENEMY1", {7, 7, -s, 1}), Rec("ENEMY3", {8, 8, 0, s}),
                                Rec("ENEMY4", {9, 9, 3, -s}), Rec("ENEMY5", {10, 2})});
        const std::int64_t step = std::int64_t(s) * TwipsX;
        EXPECT_EQ(Enemies[0].StepX, step);
        EXPECT_EQ(Enemies[1].StepY, -std::int64_t(s) * TwipsY);
        EXPECT_EQ(Enemies[2].StepX, -step);
        EXPECT_EQ(Enemies[3].PathX[1], step);
        EXPECT_EQ(Enemies[4].PathX[1], step);
        EXPECT_LE(std::llabs(step), std::int64_t(INT32_MAX));
        GameMode = kFlying;
        PrepareRoundView();
        bool turned[2] = {};
        for (int frame = 0; frame < 40; ++frame) {
            FlyFrame();
            turned[0] = turned[0] || Enemies[0].StepX != step;
            turned[1] = turned[1] || Enemies[1].StepY != -std::int64_t(s) * TwipsY;
            platform::FrameBuffer picture;
            platform::ComposeWindow(fMain().form, picture);
            for (Long i = 0; i < EnemyCount; ++i) {
                const auto& e = fMain().pEnemy[Enemies[i].Sprite];
                ASSERT_TRUE(std::isfinite(e.left()) && std::isfinite(e.top()));
                ASSERT_LE(std::fabs(double(e.left())), 2.0 * INT32_MAX) << i;
                ASSERT_LE(std::fabs(double(e.top())), 2.0 * INT32_MAX) << i;
            }
            GameMode = kFlying; // an enemy flung across the ship crashes it; fly on
        }
        // Each patrol has turned: a wall lies one step away on both sides.
        EXPECT_TRUE(turned[0]);
        EXPECT_TRUE(turned[1]);
    });
}

INSTANTIATE_TEST_SUITE_P(Screens, FastestEnemyTest,
                         ::testing::Values(SpeedCase{"dpi96", 96}, SpeedCase{"dpi24", 24}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
