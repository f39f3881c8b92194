// The pilot's rules as the replay search and the round figures apply them: the gap between two
// boxes, the key states of a script, the room the ship keeps on a built stage, and the plan
// files that steer the search.
#include "core/game_state.h"
#include "display/fmain.h"
#include "stage/round_file.h"
#include "tools/replay_search/pilot_rules.h"
#include "tools/replay_search/plan_file.h"
#include "tools/rounds/round_stats.h"
#include "tools/rounds/round_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace replay;

namespace {

struct GapCase {
    PixelBox a, b;
    double gap;
};

TEST(BoxGap, IsZeroForTouchingOrOverlappingBoxesAndStraightOrCornerToCornerOtherwise) {
    const GapCase cases[] = {
        {{0, 0, 32, 32}, {10, 10, 32, 32}, 0},   // overlapping
        {{0, 0, 32, 32}, {32, 0, 32, 32}, 0},    // side by side, touching
        {{0, 0, 32, 32}, {38, 5, 32, 32}, 6},    // beside, 6 pixels between
        {{0, 40, 32, 32}, {0, 0, 32, 32}, 8},    // below
        {{0, 0, 32, 32}, {35, 36, 32, 32}, 5},   // corner to corner: 3 and 4
        {{100, 0, 32, 32}, {0, 0, 64, 320}, 36}, // to the right of a tall one
    };
    for (const GapCase& c : cases) {
        EXPECT_DOUBLE_EQ(BoxGap(c.a, c.b), c.gap);
        EXPECT_DOUBLE_EQ(BoxGap(c.b, c.a), c.gap);
    }
}

struct KeyCase {
    std::vector<std::string> script;
    int frames;
};

TEST(ShortestKeyState, IsTheLeastTimeBetweenChangesWithOneTickOneChange) {
    const KeyCase cases[] = {
        {{"1100 tap space", "4456 down space", "4536 up space"}, 8},
        {{"4456 down space", "4535 up space"}, 7},
        // Keys changed at one tick are one change; comments and answers are no changes.
        {{"# first-frame 4556", "4456 down left", "4456 down space", "4536 up left",
          "4536 up space", "answer ok", "4700 down right"},
         8},
        {{"100 down space", "300 up space", "350 down left"}, 5},
        {{"1100 tap space"}, INT_MAX},
        {{}, INT_MAX},
    };
    for (const KeyCase& c : cases)
        EXPECT_EQ(ShortestKeyState(c.script), c.frames) << ::testing::PrintToString(c.script);
}

TEST(LongestFlightFrames, IsTwoSecondsShortOfTheAllowanceForAnyAllowanceAFileGives) {
    const struct {
        Long allowance;
        int frames;
    } cases[] = {
        {45, 4300},             // round 1
        {2, 0},                 // no time to fly
        {1, 0},                 // less than none
        {INT32_MIN, 0},         // the lowest a file may give
        {21474838, 2147483600}, // the last whole second below the largest int
        {21474839, INT_MAX},    // the next one would pass it
        {INT32_MAX, INT_MAX},   // the highest a file may give
    };
    for (const auto& c : cases)
        EXPECT_EQ(LongestFlightFrames(c.allowance), c.frames) << c.allowance;
}

// A built stage: a 20 x 15 range with a wall at column 10, a capsule at (5, 12) with a rock at
// its right, a guard standing still at (2, 2); the range starts at pixel (288, 224).
class RoomTest : public ::testing::Test {
  protected:
    void Build(const std::function<void()>& checks) {
        const std::string text = "ROUNDRANGE 20 15 0 0 60\n"
                                 "ROCK 10 0 10 14 1\n"
                                 "ROCK 6 12 6 12 1\n"
                                 "MYSHIP 1 1\nGOAL 14 14\nENERGY 5 12\n"
                                 "ENEMY1 2 2 0 0\n";
        std::vector<std::uint8_t> bytes;
        std::string error;
        ASSERT_TRUE(CompileRoundText(text, bytes, error)) << error;
        RoundFileContents contents;
        ASSERT_TRUE(ReadRoundFile(bytes, contents, error)) << error;
        OnBuiltStage(contents, checks);
    }
    static void ShipAt(int x, int y) { fMain().iRocket.move(float(x * TwipsX), float(y * TwipsY)); }
};

TEST_F(RoomTest, TheShipKeepsItsMarginFromRockAndEnemies) {
    Build([] {
        // The wall's left edge is at pixel 608.
        ShipAt(570, 384);
        EXPECT_DOUBLE_EQ(RockGap(ShipBox(), 100), 6);
        EXPECT_TRUE(KeepsDistance(6));
        EXPECT_FALSE(KeepsDistance(7));
        ShipAt(571, 384);
        EXPECT_FALSE(KeepsDistance(6));
        // The guard's box is 352..384 by 288..320.
        ShipAt(390, 288);
        EXPECT_DOUBLE_EQ(EnemyGap(ShipBox(), 0), 6);
        EXPECT_TRUE(KeepsDistance(6));
        ShipAt(389, 290);
        EXPECT_FALSE(KeepsDistance(6));
    });
}

TEST_F(RoomTest, NearACapsuleTheShipMayComeCloseButNeverScrapes) {
    Build([] {
        // The capsule's box is 448..480 by 608..640, the rock beside it 480..512.
        ShipAt(446, 575);
        EXPECT_TRUE(Reaching(ShipBox()));
        EXPECT_LT(RockGap(ShipBox(), 100), 6);
        EXPECT_TRUE(KeepsDistance(6));
        ShipAt(490, 600); // over the rock
        EXPECT_TRUE(Reaching(ShipBox()));
        EXPECT_FALSE(KeepsDistance(6));
        // Farther than 40 pixels from the capsule the margin holds again.
        ShipAt(446 + 80, 530);
        EXPECT_FALSE(Reaching(ShipBox()));
    });
}

struct PlanCase {
    std::string text;
    std::string error; // empty: the plan is read
};

TEST(ReadPlan, KeepsAPlayersPaceAndNamesTheBadLine) {
    const PlanCase cases[] = {
        {"take 3 4\nvia 5.5 6 r=20 v=30\nland\n", ""},
        {"beam 300\nhold 12\nmargin 10\nspeed 24\nland\n", ""},
        {"hold 4\nland\n", ":1: hold needs a number of at least 8"},
        {"speed 0\nland\n", ":1: speed needs a number of at least 1"},
        {"via 1\nland\n", ":1: via needs a cell X Y"},
        {"take 1 2 r=3\nland\n", ":1: bad option \"r=3\""},
        {"land\nvia 1 2\n", ":2: nothing may follow \"land\""},
        {"via 1 2\n", "the route must end with \"land\""},
    };
    const std::string path = std::filesystem::temp_directory_path() /
                             ("vexaro-plan-" + std::to_string(getpid()) + ".plan");
    for (const PlanCase& c : cases) {
        std::ofstream(path) << c.text;
        Plan plan;
        std::string error;
        const bool read = ReadPlan(path, plan, error);
        EXPECT_EQ(read, c.error.empty()) << c.text << error;
        if (!c.error.empty()) {
            EXPECT_NE(error.find(c.error), std::string::npos) << error;
        }
    }
    std::filesystem::remove(path);
    Plan plan;
    std::string error;
    std::ofstream(path) << "land\n";
    ASSERT_TRUE(ReadPlan(path, plan, error));
    EXPECT_EQ(plan.hold, kMinKeyFrames);
    std::filesystem::remove(path);
}

} // namespace
