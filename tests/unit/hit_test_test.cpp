// The point lookup: what a probe finds at a playfield pixel.
#include "display/hit_test.h"
#include "harness.h"
#include "platform/compose.h"
#include "tests/fixtures/stage_fixture.h"

#include <gtest/gtest.h>

using stage_test::AppFolder;
using stage_test::OpenGame;
using stage_test::Rec;

namespace {

// Range cells on the playfield: column x starts at pixel 288 + 32x, row y at 224 + 32y.
constexpr int X(int cell) {
    return 288 + 32 * cell;
}
constexpr int Y(int cell) {
    return 224 + 32 * cell;
}

// A stage with a rock, a capsule over another rock, the pad with a capsule over its right half
// (written before the pad's record), and an enemy over a capsule; the viewport shows the
// playfield from its top-left corner.
const std::vector<RoundRecord> kStage = {
    Rec("ROUNDRANGE", {20, 15}),  Rec("ROCK", {0, 0, 0, 0, 1}), Rec("ENERGY", {2, 0}),
    Rec("ROCK", {4, 0, 4, 0, 2}), Rec("ENERGY", {4, 0}),        Rec("ENERGY", {7, 0}),
    Rec("GOAL", {6, 0}),          Rec("ENERGY", {9, 0}),        Rec("ENEMY1", {9, 0, 1, 1})};

void OnStage(const std::function<void(FMain&)>& body) {
    AppFolder folder;
    folder.writeRound(1, kStage);
    test::RunHeadless(test::Options(), [&] {
        OpenGame(folder);
        LoadRound(1);
        FMain& f = fMain();
        f.pFrame.show();
        f.pScreen.move(0, 0);
        f.pScreen.show();
        body(f);
    });
}

struct Found {
    enum { Rock, Energy, Enemy, Goal, Playfield, Other } what;
    int index = 0;
};

WindowHandle Expected(FMain& f, Found e) {
    switch (e.what) {
    case Found::Rock:
        return f.pRock[e.index].handle();
    case Found::Energy:
        return f.pEnergy[e.index].handle();
    case Found::Enemy:
        return f.pEnemy[e.index].handle();
    case Found::Goal:
        return f.pGoal.handle();
    case Found::Playfield:
        return f.pScreen.handle();
    case Found::Other:
        return kOtherWindow;
    }
    return kOtherWindow;
}

struct LookupCase {
    const char* name;
    int x, y;
    Found found;
};

class Lookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(Lookup, FindsTheFrontmostShownSprite) {
    const LookupCase& c = GetParam();
    OnStage([&](FMain& f) { EXPECT_EQ(WindowFromPlayfieldPoint(c.x, c.y), Expected(f, c.found)); });
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Lookup,
    ::testing::Values(LookupCase{"topLeftPixel", X(0), Y(0), {Found::Rock, 2}},
                      LookupCase{"lastPixel", X(0) + 31, Y(0) + 31, {Found::Rock, 2}},
                      LookupCase{"rightEdgeIsOutside", X(1), Y(0), {Found::Playfield}},
                      LookupCase{"bottomEdgeIsOutside", X(0), Y(1), {Found::Playfield}},
                      LookupCase{"leftOfIt", X(0) - 1, Y(0) + 5, {Found::Playfield}},
                      LookupCase{"capsule", X(2) + 16, Y(0) + 16, {Found::Energy, 1}},
                      LookupCase{"laterCapsuleOverRock", X(4), Y(0), {Found::Energy, 2}},
                      LookupCase{"padLeftHalf", X(6) + 3, Y(0) + 3, {Found::Goal}},
                      LookupCase{"capsuleInFrontOfPad", X(7), Y(0), {Found::Energy, 3}},
                      LookupCase{"enemyOverCapsule", X(9) + 31, Y(0), {Found::Enemy, 1}},
                      LookupCase{"groundBlock", 5, Y(15), {Found::Rock, 1}},
                      LookupCase{"emptyMargin", 5, 5, {Found::Playfield}},
                      LookupCase{"leftOfPlayfield", -1, 5, {Found::Other}},
                      LookupCase{"abovePlayfield", 5, -1, {Found::Other}},
                      // The viewport is 525 x 397 pixels: the playfield beyond it is not seen.
                      LookupCase{"rightOfViewport", 525, 5, {Found::Other}},
                      LookupCase{"belowViewport", 5, 397, {Found::Other}},
                      LookupCase{"lastViewportPixel", 524, 396, {Found::Playfield}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Lookup, HiddenSpritesAreSkipped) {
    OnStage([](FMain& f) {
        f.pEnergy[1].hide();
        EXPECT_EQ(WindowFromPlayfieldPoint(X(2), Y(0)), f.pScreen.handle());
        f.pEnergy[2].hide(); // the rock beneath shows through
        EXPECT_EQ(WindowFromPlayfieldPoint(X(4), Y(0)), f.pRock[3].handle());
        f.pEnemy[1].hide();
        EXPECT_EQ(WindowFromPlayfieldPoint(X(9), Y(0)), f.pEnergy[4].handle());
    });
}

TEST(Lookup, FollowsTheScrolledPlayfield) {
    OnStage([](FMain& f) {
        f.pScreen.move(-400.0f * TwipsX, -300.0f * TwipsY);
        EXPECT_EQ(WindowFromPlayfieldPoint(399, 350), kOtherWindow); // left of the viewport
        EXPECT_EQ(WindowFromPlayfieldPoint(400, 300), f.pScreen.handle());
        EXPECT_EQ(WindowFromPlayfieldPoint(924, 696), f.pScreen.handle());
        EXPECT_EQ(WindowFromPlayfieldPoint(925, 696), kOtherWindow);
        // Beyond the playfield there is nothing of it, in the viewport or not.
        f.pScreen.move(0, 0);
        EXPECT_EQ(WindowFromPlayfieldPoint(1300, 10), kOtherWindow);
    });
}

TEST(Lookup, PlatesAndDigitsOverTheViewportAreNotThePlayfield) {
    OnStage([](FMain& f) {
        f.pMessage.move(100.0f * TwipsX, 50.0f * TwipsY, 320.0f * TwipsX, 128.0f * TwipsY);
        f.pMessage.show();
        EXPECT_EQ(WindowFromPlayfieldPoint(100, 50), kOtherWindow);
        EXPECT_EQ(WindowFromPlayfieldPoint(419, 177), kOtherWindow);
        EXPECT_EQ(WindowFromPlayfieldPoint(420, 177), f.pScreen.handle());
        f.pMessage.hide();
        EXPECT_EQ(WindowFromPlayfieldPoint(100, 50), f.pScreen.handle());

        f.pCount[1].move(100.0f * TwipsX, 90.0f * TwipsY);
        f.pCount[1].show();
        EXPECT_EQ(WindowFromPlayfieldPoint(100 + 95, 90 + 95), kOtherWindow);
        EXPECT_EQ(WindowFromPlayfieldPoint(100 + 96, 90), f.pScreen.handle());
        EXPECT_EQ(WindowFromPlayfieldPoint(100, 90 + 96), f.pScreen.handle());
    });
}

TEST(Lookup, AHiddenViewportShowsNoPlayfield) {
    OnStage([](FMain& f) {
        f.pFrame.hide();
        EXPECT_EQ(WindowFromPlayfieldPoint(5, 5), kOtherWindow);
        f.pFrame.show();
        f.pScreen.hide();
        EXPECT_EQ(WindowFromPlayfieldPoint(5, 5), kOtherWindow);
    });
}

// What is drawn in front is what the lookup finds.
TEST(Lookup, AgreesWithWhatIsDrawn) {
    OnStage([](FMain& f) {
        platform::FrameBuffer frame;
        frame.width = 1216;
        frame.height = 928;
        frame.pixels.assign(std::size_t(frame.width) * frame.height, 0);
        platform::ComposeBox(f.pScreen, 0, 0, {0, 0, frame.width, frame.height}, frame);
        const struct {
            int x, y;
            const platform::PictureBox& front;
        } overlaps[] = {{X(4) + 5, Y(0) + 20, f.pEnergy[2]},
                        {X(7) + 5, Y(0) + 20, f.pEnergy[3]},
                        {X(9) + 5, Y(0) + 20, f.pEnemy[1]}};
        for (const auto& o : overlaps) {
            EXPECT_EQ(WindowFromPlayfieldPoint(o.x, o.y), o.front.handle());
            const int sx = o.x - stage_test::Px(o.front.left());
            const int sy = o.y - stage_test::Py(o.front.top());
            EXPECT_EQ(frame.at(o.x, o.y), o.front.surface().get(sx, sy)) << o.front.name();
        }
    });
}

TEST(Lookup, NoWindowNoPlayfield) {
    test::RunHeadless(test::Options(),
                      [] { EXPECT_EQ(WindowFromPlayfieldPoint(5, 5), kOtherWindow); });
}

} // namespace
