// The frame's arithmetic: thrust and gravity, the side keys, dead keys after the time runs
// out, the range edges, the camera, the markers and the flames.
#include "core/flight.h"
#include "core/random.h"
#include "events/gauges.h"
#include "harness.h"

#include <gtest/gtest.h>

using platform::VK_LEFT;
using platform::VK_RIGHT;
using platform::VK_SPACE;

namespace {

// A 20 x 15 range with nothing in it, the ship at cell (8, 6), a round of 100 seconds.
void OpenEmptyStage() {
    test::OpenMainWindow();
    test::BuildFromRecords(
        {test::Record("ROUNDRANGE", {20, 15, 0, 0, 100}), test::Record("MYSHIP", {8, 6})});
    GameMode = kFlying;
    PrepareRoundView();
}

void Hold(const std::vector<int>& keys) {
    for (int vk : {VK_LEFT, VK_RIGHT, VK_SPACE})
        platform::KeyUpEvent(vk);
    for (int vk : keys)
        platform::KeyDownEvent(nullptr, vk);
}

struct Step {
    std::vector<int> keys;
    Long vx, vy; // after the frame
};

struct MotionCase {
    const char* name;
    std::vector<Step> steps;
};
VEXARO_PRINT_CASE_BY_NAME(MotionCase)

class MotionTest : public ::testing::TestWithParam<MotionCase> {};

TEST_P(MotionTest, VelocitiesFrameByFrame) {
    const MotionCase c = GetParam();
    test::RunHeadless(test::Options(), [&] {
        OpenEmptyStage();
        int frame = 0;
        for (const Step& step : c.steps) {
            Hold(step.keys);
            FlyFrame();
            EXPECT_EQ(ShipVX, step.vx) << "frame " << frame;
            EXPECT_EQ(ShipVY, step.vy) << "frame " << frame;
            ++frame;
        }
    });
}

INSTANTIATE_TEST_SUITE_P(
    Keys, MotionTest,
    ::testing::Values(
        MotionCase{"thrustFromRest",
                   {{{VK_SPACE}, 0, -2}, {{VK_SPACE}, 0, -4}, {{VK_SPACE}, 0, -6}}},
        MotionCase{"releaseAddsOnePerFrame",
                   {{{VK_SPACE}, 0, -2}, {{VK_SPACE}, 0, -4}, {{}, 0, -3}, {{}, 0, -2}}},
        MotionCase{"gravityAlone", {{{}, 0, 1}, {{}, 0, 2}, {{}, 0, 3}}},
        MotionCase{"rightAndLeftIsRight",
                   {{{VK_LEFT, VK_RIGHT}, 1, 1}, {{VK_LEFT, VK_RIGHT}, 2, 2}}},
        MotionCase{"leftDrifts", {{{VK_LEFT}, -1, 1}, {{VK_LEFT}, -2, 2}, {{}, -2, 3}}},
        MotionCase{"noMaximum",
                   {{{VK_RIGHT, VK_SPACE}, 1, -2},
                    {{VK_RIGHT, VK_SPACE}, 2, -4},
                    {{VK_RIGHT, VK_SPACE}, 3, -6}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FrameTest, DeadKeysAfterTheTimeRunsOut) {
    test::RunHeadless(test::Options(), [] {
        OpenEmptyStage();
        FMain& f = fMain();
        Hold({VK_RIGHT, VK_SPACE});
        FlyFrame(); // the side flame shows, the ship leans right
        const float flameLeft = f.iHFunsha.left();
        const auto leaning = f.iRocket.picture();
        EXPECT_EQ(leaning, f.iRockectDat[2].picture());
        TimeLeft = 0;
        const Long vx = ShipVX;
        FlyFrame();
        EXPECT_EQ(ShipVX, vx);     // drift kept
        EXPECT_EQ(ShipVY, -2 + 1); // falls
        EXPECT_FALSE(f.iFunsha.visible());
        EXPECT_TRUE(f.iHFunsha.visible()); // left where it was
        EXPECT_EQ(f.iHFunsha.left(), flameLeft);
        EXPECT_EQ(f.iRocket.picture(), leaning);
        TimeLeft = -5;
        FlyFrame();
        EXPECT_EQ(ShipVY, 0);
    });
}

struct EdgeCase {
    const char* name;
    float left, top; // the ship's position, twips relative to the range's corner
    Long vx, vy;     // velocity before the frame
    std::vector<int> keys;
    Long wantVx, wantVy;
};
VEXARO_PRINT_CASE_BY_NAME(EdgeCase)

class EdgeTest : public ::testing::TestWithParam<EdgeCase> {};

// The range is 20 x 15 cells: 9600 x 7200 twips from (4320, 3360).
TEST_P(EdgeTest, StopsOnTheAxisThatWouldLeave) {
    const EdgeCase c = GetParam();
    test::RunHeadless(test::Options(), [&] {
        OpenEmptyStage();
        fMain().iRocket.move(float(RangeLeft) + c.left, float(RangeTop) + c.top);
        ShipVX = c.vx;
        ShipVY = c.vy;
        Hold(c.keys);
        FlyFrame();
        EXPECT_EQ(ShipVX, c.wantVx);
        EXPECT_EQ(ShipVY, c.wantVy);
    });
}

INSTANTIATE_TEST_SUITE_P(
    Range, EdgeTest,
    ::testing::Values(
        // Left: the next left edge must lie strictly right of the range's left edge.
        EdgeCase{"leftReachesEdge", 1, 3000, 0, 0, {VK_LEFT}, 0, 1},
        EdgeCase{"leftStaysInside", 2, 3000, 0, 0, {VK_LEFT}, -1, 1},
        EdgeCase{"leftAtEdgeHeld", 0, 3000, 0, 0, {VK_LEFT}, 0, 1},
        // Right: the next left edge must lie strictly left of the range's right edge, 16
        // pixels beyond where the ship's right side leaves the range.
        EdgeCase{"rightReachesLimit", 9599, 3000, 0, 0, {VK_RIGHT}, 0, 1},
        EdgeCase{"rightBelowLimit", 9598, 3000, 0, 0, {VK_RIGHT}, 1, 1},
        EdgeCase{"rightFastOverLimit", 9000, 3000, 700, 0, {}, 0, 1},
        // Top: the next top edge strictly below the range's top edge.
        EdgeCase{"topReached", 3000, 2, 0, 0, {VK_SPACE}, 0, 0},
        EdgeCase{"topBelow", 3000, 3, 0, 0, {VK_SPACE}, 0, -2},
        // No bottom limit.
        EdgeCase{"noBottom", 3000, 7190, 0, 40, {}, 0, 41}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FrameTest, RisingAgainstTheTopStopsAndFallsWhenReleased) {
    test::RunHeadless(test::Options(), [] {
        OpenEmptyStage();
        FMain& f = fMain();
        f.iRocket.move(f.iRocket.left(), float(RangeTop + 4));
        Hold({VK_SPACE});
        FlyFrame();
        EXPECT_EQ(ShipVY, -2);
        FlyFrame(); // would reach the top: stopped
        EXPECT_EQ(ShipVY, 0);
        EXPECT_EQ(f.iRocket.top(), float(RangeTop + 2));
        Hold({});
        FlyFrame();
        EXPECT_EQ(ShipVY, 1);
    });
}

TEST(FrameTest, CameraAndMarkersUseThePreviousFrame) {
    test::RunHeadless(test::Options(), [] {
        OpenEmptyStage();
        FMain& f = fMain();
        Hold({VK_SPACE});
        FlyFrame();
        FlyFrame();
        ASSERT_EQ(ShipVY, -4);
        const float L = f.iRocket.left(), T = f.iRocket.top();
        FlyFrame();
        // Centred on where the ship was before this frame's move.
        EXPECT_EQ(f.pScreen.left(), 3937 - L - 240);
        EXPECT_EQ(f.pScreen.top(), 2977 - T - 240);
        // The marker uses the velocity before this frame's thrust: -4.
        EXPECT_EQ(f.lLine.y1, 2490 + -4 * 32);
        EXPECT_EQ(f.lLine.y2, f.lLine.y1);
        EXPECT_EQ(f.iRocket.top(), T - 6);
    });
}

TEST(FrameTest, FlamesForKnownDraws) {
    test::RunHeadless(test::Options(), [] {
        OpenEmptyStage();
        FMain& f = fMain();
        const float L = f.iRocket.left(), T = f.iRocket.top();
        // Side flame first (horizontal, then vertical draw), then the main flame.
        QueueRandomDraws({0.5, 0.25, 0.0, 0.999});
        Hold({VK_LEFT, VK_SPACE});
        FlyFrame();
        EXPECT_FLOAT_EQ(f.iHFunsha.left(), L + 480 + 0.5f * 150 - 75);
        EXPECT_FLOAT_EQ(f.iHFunsha.top(), T + 0.25f * 50);
        EXPECT_EQ(f.iHFunsha.picture(), f.iFunshaDat[0].picture());
        EXPECT_EQ(f.iRocket.picture(), f.iRockectDat[0].picture());
        EXPECT_FLOAT_EQ(f.iFunsha.left(), L - 75);
        EXPECT_FLOAT_EQ(f.iFunsha.top(), float(T + 480 + 0.999 * 50));
        EXPECT_TRUE(f.iFunsha.visible());

        QueueRandomDraws({1.0 - 1e-9, 0.0});
        Hold({VK_RIGHT});
        const float L2 = f.iRocket.left(), T2 = f.iRocket.top();
        FlyFrame();
        EXPECT_FLOAT_EQ(f.iHFunsha.left(), float(L2 - 480 + (1.0 - 1e-9) * 150 - 75));
        EXPECT_FLOAT_EQ(f.iHFunsha.top(), T2);
        EXPECT_EQ(f.iHFunsha.picture(), f.iFunshaDat[2].picture());
        EXPECT_FALSE(f.iFunsha.visible());

        const long long before = RandomDrawCount();
        Hold({});
        FlyFrame(); // no flame, no draw
        EXPECT_EQ(RandomDrawCount(), before);
        EXPECT_FALSE(f.iHFunsha.visible());
        EXPECT_EQ(f.iRocket.picture(), f.iRockectDat[1].picture());
    });
}

TEST(FrameTest, PaceHoldsTenTicksAndNotAfterALongPause) {
    test::RunHeadless(test::Options(), [] {
        OpenEmptyStage();
        LastFrameTick = Long(platform::GetTickCount()) - 5000; // long ago: no wait
        auto start = platform::GetTickCount();
        PaceFrame();
        EXPECT_EQ(platform::GetTickCount() - start, 2u); // one turn, then one more step
        start = platform::GetTickCount();
        PaceFrame();
        // LastFrameTick was read before the last step; ten ticks on from it, plus the step.
        EXPECT_EQ(platform::GetTickCount() - start, 10u);
    });
}

struct FirstFrameCase {
    const char* name;
    std::uint32_t startTick;
    bool flownBefore;  // LastFrameTick is from a frame flown `ago` ticks before the start
    std::uint32_t ago; // otherwise it is still 0, as the program starts
};
VEXARO_PRINT_CASE_BY_NAME(FirstFrameCase)

class FirstFrameTest : public ::testing::TestWithParam<FirstFrameCase> {};

// However long ago the previous frame was flown, or whether one ever was, the first frame of a
// flight goes on after one message step; the frames after it keep the pace of ten ticks.
TEST_P(FirstFrameTest, IsNotHeldBack) {
    const FirstFrameCase c = GetParam();
    auto options = test::Options("200 down enter\n"); // pauses the flight
    options.startTick = c.startTick;
    const auto run = test::RunHeadless(options, [&] {
        OpenEmptyStage();
        if (c.flownBefore) LastFrameTick = Long(platform::GetTickCount() - c.ago);
        RunFrameLoop();
        EXPECT_EQ(GameMode, kPaused);
    });
    std::vector<long long> ticks;
    for (const auto& line : run.events("frame"))
        ticks.push_back(test::Field(line, "t"));
    ASSERT_GE(ticks.size(), 4u);
    EXPECT_EQ(ticks[1] - ticks[0], 2);
    for (std::size_t i = 2; i < ticks.size(); ++i)
        EXPECT_EQ(ticks[i] - ticks[i - 1], 10) << "frame " << i;
}

INSTANTIATE_TEST_SUITE_P(
    LastFrame, FirstFrameTest,
    ::testing::Values(FirstFrameCase{"fiveSecondsAgo", 1000, true, 5000},
                      FirstFrameCase{"neverAtTickZero", 0, false, 0},
                      FirstFrameCase{"neverJustPast2pow31", 0x80000000u, false, 0},
                      FirstFrameCase{"neverAtTheTopOfTheCount", 0xFFFFFF00u, false, 0},
                      FirstFrameCase{"justOver2pow31TicksAgo", 5000, true, 0x80000005u},
                      FirstFrameCase{"almost2pow32TicksAgo", 5000, true, 0xFFFFFFF8u}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FrameTest, PaceAcrossTheTickWrap) {
    auto options = test::Options();
    options.startTick = 0xFFFFFFF0u;
    test::RunHeadless(options, [] {
        LastFrameTick = Long(platform::GetTickCount());
        const auto start = platform::GetTickCount();
        PaceFrame();
        // Reads at +0 .. +10, each followed by a step, then one more step.
        EXPECT_EQ(platform::GetTickCount() - start, 12u);
    });
}

} // namespace
