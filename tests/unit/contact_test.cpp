// Probes and contact responses: what each contact does, which probe wins, and what the lookup
// can no longer find once a sprite is taken.
#include "core/flight.h"
#include "events/contact.h"
#include "events/gauges.h"
#include "harness.h"

#include <gtest/gtest.h>

using platform::VK_SPACE;

namespace {

// A 20 x 15 range; the ship at cell (8, 6) in the middle of the open space.
void OpenStage(std::vector<RoundRecord> extra) {
    test::OpenMainWindow();
    std::vector<RoundRecord> records = {test::Record("ROUNDRANGE", {20, 15, 0, 0, 100}),
                                        test::Record("MYSHIP", {8, 6})};
    records.insert(records.end(), extra.begin(), extra.end());
    test::BuildFromRecords(records);
    GameMode = kFlying;
    PrepareRoundView();
    for (int vk : {platform::VK_LEFT, platform::VK_RIGHT, VK_SPACE})
        platform::KeyUpEvent(vk);
}

// Places the ship so that its probe origin (centre pixel plus the border offset) lies at
// playfield pixel (x, y), and sets its velocity as it will stand at the probes.
void PlaceProbeOrigin(Long x, Long y, Long vx, Long vy) {
    fMain().iRocket.move(float((x - kProbeBorderOffset - 16) * TwipsX),
                         float((y - kProbeBorderOffset - 16) * TwipsY));
    ShipVX = vx;
    ShipVY = vy;
}

// Range cell (x, y) top-left in playfield pixels.
Long CellX(Long x) {
    return 288 + 32 * x;
}
Long CellY(Long y) {
    return 224 + 32 * y;
}

struct PadCase {
    const char* name;
    Long vx, vy;
    bool fromAbove; // the pad lies below the origin, else beside it
    Long wantMode;
};
VEXARO_PRINT_CASE_BY_NAME(PadCase)

class PadTest : public ::testing::TestWithParam<PadCase> {};

TEST_P(PadTest, TouchdownOnlyFromTheVerticalProbeBelowTheSpeed) {
    const PadCase c = GetParam();
    test::RunHeadless(test::Options(), [&] {
        OpenStage({test::Record("GOAL", {10, 10})}); // pixels 608..671 x 544..575
        if (c.fromAbove)
            PlaceProbeOrigin(CellX(10) + 20, CellY(10) - 10, c.vx, c.vy); // pad 16 px below
        else
            PlaceProbeOrigin(CellX(10) - 10, CellY(10) + 5, c.vx, c.vy); // pad 16 px right
        ProbeContacts();
        EXPECT_EQ(GameMode, c.wantMode);
    });
}

INSTANTIATE_TEST_SUITE_P(Pad, PadTest,
                         ::testing::Values(PadCase{"dropAt44", 0, 44, true, kRoundCleared},
                                           PadCase{"dropAt45", 0, 45, true, kCrashed},
                                           PadCase{"slowWithDrift", 7, 10, true, kRoundCleared},
                                           PadCase{"slideIntoSide", 5, 0, false, kCrashed},
                                           PadCase{"slideIntoSideSlowly", 1, 1, false, kCrashed}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ContactTest, RisingOntoThePadClears) {
    test::RunHeadless(test::Options(), [] {
        OpenStage({test::Record("GOAL", {10, 10})});
        PlaceProbeOrigin(CellX(10) + 20, CellY(11) + 10, 0, -30); // pad 16 px above
        ProbeContacts();
        EXPECT_EQ(GameMode, kRoundCleared);
    });
}

TEST(ContactTest, RockAboveWhileRisingCrashes) {
    test::RunHeadless(test::Options(), [] {
        OpenStage({test::Record("ROCK", {8, 2, 9, 3, 1})});
        PlaceProbeOrigin(CellX(8) + 20, CellY(4) + 10, 0, -3);
        ProbeContacts();
        EXPECT_EQ(GameMode, kCrashed);
    });
}

TEST(ContactTest, HoveringStillProbesItsOwnCentreTwice) {
    test::RunHeadless(test::Options(), [] {
        OpenStage({test::Record("ENERGY", {12, 6})});
        Lives = 3;
        PlaceProbeOrigin(CellX(12) + 10, CellY(6) + 10, 0, 0);
        ProbeContacts();
        // The first probe takes the capsule and hides it; the second finds the playfield.
        EXPECT_EQ(Lives, 4);
        EXPECT_EQ(GameMode, kFlying);
        EXPECT_FALSE(fMain().pEnergy[1].visible());
    });
}

TEST(ContactTest, PlayfieldAloneIsNoContact) {
    test::RunHeadless(test::Options(), [] {
        OpenStage({});
        PlaceProbeOrigin(CellX(5), CellY(5), 3, 3);
        ProbeContacts();
        EXPECT_EQ(GameMode, kFlying);
    });
}

struct CapsuleCase {
    Long lives, wantLives;
};

class CapsuleTest : public ::testing::TestWithParam<CapsuleCase> {};

TEST_P(CapsuleTest, GivesASpareShipUpToNine) {
    const CapsuleCase c = GetParam();
    const auto run = test::RunHeadless(test::Options(), [&] {
        OpenStage({test::Record("ENERGY", {12, 6})});
        Lives = c.lives;
        ContactResponse(fMain().pEnergy[1].handle(), kTrue);
        EXPECT_EQ(Lives, c.wantLives);
        EXPECT_FALSE(fMain().pEnergy[1].visible());
        EXPECT_EQ(GameMode, kFlying);
        int shown = 0;
        for (int i = 0; i < 9; ++i)
            shown += fMain().pDamege[i].visible() ? 1 : 0;
        EXPECT_EQ(shown, c.wantLives);
    });
    ASSERT_EQ(run.events("sound").size(), 1u);
    EXPECT_NE(run.events("sound")[0].find("\"file\":\"get.wav\",\"sync\":false"),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Lives, CapsuleTest,
                         ::testing::Values(CapsuleCase{3, 4}, CapsuleCase{8, 9}, CapsuleCase{9, 9},
                                           CapsuleCase{0, 1}));

TEST(ContactTest, LaterProbeWins) {
    test::RunHeadless(test::Options(), [] {
        // A rock to the right, the pad below: crash first, then touchdown.
        OpenStage({test::Record("ROCK", {11, 7, 11, 7, 1}), test::Record("GOAL", {9, 8})});
        PlaceProbeOrigin(CellX(11) - 10, CellY(8) - 10, 2, 10);
        ProbeContacts();
        EXPECT_EQ(GameMode, kRoundCleared);
    });
    test::RunHeadless(test::Options(), [] {
        // A capsule to the right, a rock below: the life is gained, then the crash.
        OpenStage({test::Record("ENERGY", {11, 7}), test::Record("ROCK", {9, 8, 10, 8, 1})});
        Lives = 3;
        PlaceProbeOrigin(CellX(11) - 10, CellY(8) - 10, 2, 10);
        ProbeContacts();
        EXPECT_EQ(Lives, 4);
        EXPECT_EQ(GameMode, kCrashed);
    });
}

TEST(ContactTest, EnemyAndRockCrashWithoutHidingAnything) {
    test::RunHeadless(test::Options(), [] {
        OpenStage({test::Record("ENEMY1", {12, 6, 1, 2}), test::Record("ROCK", {3, 3, 3, 3, 1})});
        ContactResponse(fMain().pEnemy[1].handle(), kFalse);
        EXPECT_EQ(GameMode, kCrashed);
        EXPECT_TRUE(fMain().pEnemy[1].visible());
        GameMode = kFlying;
        ContactResponse(fMain().pRock[2].handle(), kTrue); // pRock(1) is the ground block
        EXPECT_EQ(GameMode, kCrashed);
        EXPECT_TRUE(fMain().pRock[2].visible());
        GameMode = kFlying;
        ContactResponse(kOtherWindow, kFalse);
        EXPECT_EQ(GameMode, kCrashed);
    });
}

TEST(ContactTest, PersonIsRecordedByTheCellOfItsSprite) {
    const auto run = test::RunHeadless(test::Options(), [] {
        OpenStage({test::Record("RESQ", {4, 11}), test::Record("RESQ", {15, 2})});
        ContactResponse(fMain().pResq[2].handle(), kTrue);
        EXPECT_EQ(RescuedCount, 1);
        EXPECT_EQ(RescuedTotal, 1);
        EXPECT_EQ(Rescued[0].Col, 15);
        EXPECT_EQ(Rescued[0].Row, 2);
        EXPECT_FALSE(fMain().pResq[2].visible());
        EXPECT_TRUE(fMain().pResq[1].visible());
        EXPECT_EQ(GameMode, kFlying);
    });
    ASSERT_EQ(run.events("sound").size(), 1u);
    EXPECT_NE(run.events("sound")[0].find("thank.wav"), std::string::npos);
}

// A person rescued, then a crash and the retry: not placed again, recorded once.
TEST(ContactTest, RescuedPersonStaysRescuedAfterARetry) {
    const std::string dir = test::TempDir("retry");
    test::WriteRoundFile(dir, 1,
                         {test::Record("ROUNDRANGE", {20, 15, 0, 0, 100}),
                          test::Record("MYSHIP", {8, 6}), test::Record("RESQ", {4, 11}),
                          test::Record("RESQ", {15, 2})});
    auto options = test::Options();
    options.appDir = dir + "/";
    test::RunHeadless(options, [&] {
        test::OpenMainWindow();
        AppDir = dir + "/";
        RoundNo = 1;
        RescuedCount = 0;
        LoadRound(RoundNo);
        ASSERT_EQ(RescueCount, 2);
        ContactResponse(fMain().pResq[1].handle(), kTrue);
        ContactResponse(kOtherWindow, kTrue); // crash
        LoadRound(RoundNo);                   // the retry
        EXPECT_EQ(RescueCount, 1);
        EXPECT_EQ(fMain().pResq.Count(), 2); // the template and the one still waiting
        EXPECT_EQ(Rescues[0].Col, 15);
        EXPECT_EQ(RescuedCount, 1);
        ContactResponse(fMain().pResq[1].handle(), kFalse);
        EXPECT_EQ(RescuedCount, 2);
        EXPECT_EQ(Rescued[0].Col, 4);
        EXPECT_EQ(Rescued[1].Col, 15);
    });
}

TEST(ContactTest, CapsuleIsBackAfterARetry) {
    test::RunHeadless(test::Options(), [] {
        OpenStage({test::Record("ENERGY", {12, 6})});
        Lives = 3;
        ContactResponse(fMain().pEnergy[1].handle(), kTrue);
        test::BuildFromRecords(
            {test::Record("ROUNDRANGE", {20, 15, 0, 0, 100}), test::Record("ENERGY", {12, 6})});
        EXPECT_TRUE(fMain().pEnergy[1].visible());
        ContactResponse(fMain().pEnergy[1].handle(), kTrue);
        EXPECT_EQ(Lives, 5);
    });
}

TEST(ContactTest, RoundWithoutObjectsCrashesOnEverythingButTouchdown) {
    test::RunHeadless(test::Options(), [] {
        OpenStage({test::Record("GOAL", {10, 10})});
        EXPECT_EQ(fMain().pEnergy.Count(), 1);
        ContactResponse(fMain().pGoal.handle(), kTrue);
        EXPECT_EQ(GameMode, kCrashed);
        GameMode = kFlying;
        ContactResponse(fMain().pEnergy[0].handle(), kFalse); // the template is no capsule
        EXPECT_EQ(GameMode, kCrashed);
    });
}

} // namespace
