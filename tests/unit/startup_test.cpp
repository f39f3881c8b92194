// Start-up: the order of Main's steps, the second instance, the twips factors and the main
// window as the load handler leaves it.
#include "core/game_state.h"
#include "display/fmain.h"
#include "harness.h"
#include "platform/compose.h"

#include <gtest/gtest.h>

namespace {

using test::Field;

TEST(StartupTest, SplashThenOneSecondThenMainWindowThenSplashGone) {
    const auto run = test::RunHeadless(test::Options(), [] { Main(); });
    const auto windows = run.events("window");
    ASSERT_EQ(windows.size(), 3u);
    EXPECT_NE(windows[0].find("\"form\":\"fAbout\",\"do\":\"show\""), std::string::npos);
    EXPECT_NE(windows[1].find("\"form\":\"fMain\",\"do\":\"show\""), std::string::npos);
    EXPECT_NE(windows[2].find("\"form\":\"fAbout\",\"do\":\"unload\""), std::string::npos);
    // One message step for the splash, then a wait of 1000 ms: 1 + 1001 steps; the main
    // window's load handler takes one more.
    EXPECT_EQ(Field(windows[0], "t"), 0);
    EXPECT_EQ(Field(windows[1], "t"), 1 + 1001 + 1);
    EXPECT_EQ(Field(windows[2], "t"), Field(windows[1], "t"));
    EXPECT_EQ(GameMode, 0);
    EXPECT_EQ(RoundNo, 0);
    EXPECT_EQ(Lives, 0);
    EXPECT_EQ(EnemyCount, 0);
}

TEST(StartupTest, SecondInstanceEndsAfterShowingItsSplash) {
    auto options = test::Options();
    options.otherInstanceRunning = true;
    const auto run = test::RunHeadless(options, [] { Main(); });
    EXPECT_TRUE(run.result.ended);
    EXPECT_EQ(run.result.status, 0);
    ASSERT_EQ(run.events("window").size(), 1u); // the splash, nothing else
    EXPECT_EQ(run.events("exit").size(), 1u);
    EXPECT_EQ(run.result.ticks, 1);
    EXPECT_TRUE(AppDir.empty()); // ended before it learnt its folder
}

TEST(StartupTest, AppDirEndsWithOneSeparator) {
    for (const std::string dir : {"/", "/tmp/game", "/tmp/game/"}) {
        auto options = test::Options();
        options.appDir = dir;
        test::RunHeadless(options, [] { Main(); });
        const std::string want = dir.back() == '/' ? dir : dir + "/";
        EXPECT_EQ(AppDir, want);
    }
}

struct DpiCase {
    int dpi;
    Long twips;
    int clientWidth, clientHeight; // pixels
    int tileRows, tileColumns;     // title copies, inclusive loops
};

class DpiTest : public ::testing::TestWithParam<DpiCase> {};

TEST_P(DpiTest, TwipsAndWindowScale) {
    const DpiCase c = GetParam();
    auto options = test::Options();
    options.dpi = c.dpi;
    int width = 0, height = 0;
    test::RunHeadless(options, [&] {
        Main();
        width = platform::ClientPixelWidth(fMain().form);
        height = platform::ClientPixelHeight(fMain().form);
    });
    EXPECT_EQ(TwipsX, c.twips);
    EXPECT_EQ(TwipsY, c.twips);
    EXPECT_EQ(width, c.clientWidth);
    EXPECT_EQ(height, c.clientHeight);
    EXPECT_EQ(platform::RoundLong(kMainOuterHeight) / (192 * c.twips) + 1, c.tileRows);
    EXPECT_EQ(platform::RoundLong(kMainOuterWidth) / (256 * c.twips) + 1, c.tileColumns);
}

INSTANTIATE_TEST_SUITE_P(Screens, DpiTest,
                         ::testing::Values(DpiCase{96, 15, 621, 397, 3, 3},
                                           DpiCase{120, 12, 776, 496, 3, 4},
                                           // Halves go to the even neighbour: 7.5 to 8,
                                           // 4.5 to 4.
                                           DpiCase{192, 8, 1164, 744, 5, 5},
                                           DpiCase{320, 4, 2328, 1488, 9, 10}),
                         [](const auto& info) { return "dpi" + std::to_string(info.param.dpi); });

TEST(LayoutTest, ControlsAtLoad) {
    test::RunHeadless(test::Options(), [] {
        Main();
        FMain& f = fMain();
        EXPECT_EQ(f.form.caption, "Vexaro!!");
        EXPECT_EQ(f.form.width(), 9390);
        EXPECT_EQ(f.form.height(), 6630);
        EXPECT_FALSE(f.pFrame.visible());
        EXPECT_FALSE(f.pPanel.visible());
        EXPECT_FALSE(f.pScreen.visible());
        EXPECT_FALSE(f.pMessage.visible());
        EXPECT_FALSE(f.pEnding.visible());
        EXPECT_EQ(f.lRound.caption(), "");
        EXPECT_FALSE(f.tLastSec.enabled());
        EXPECT_EQ(f.tLastSec.interval, 1000);
        // Sheets take their pictures' sizes.
        EXPECT_EQ(f.pTitle.width(), 256 * 15);
        EXPECT_EQ(f.pRockDat.height(), 192 * 15);
        EXPECT_EQ(f.pMsg[5].width(), 320 * 15);
        EXPECT_EQ(f.pCount[2].height(), 96 * 15);
        EXPECT_EQ(f.pGoal.width(), 64 * 15);
        EXPECT_EQ(f.pRock[0].width(), 85 * 15);
        EXPECT_EQ(f.pRock[0].height(), 69 * 15);
        for (int i = 0; i < 9; ++i) {
            EXPECT_EQ(f.pDamege[i].left(), 840);
            EXPECT_EQ(f.pDamege[i].top(), 5400 - 480 * i);
        }
        EXPECT_EQ(f.pFrame.width(), 7875);
        EXPECT_EQ(f.pPanel.left(), 7860);
        EXPECT_EQ(f.lLine.y1, 2640);
        EXPECT_EQ(f.lLineF.y1, 1380);
    });
}

TEST(LayoutTest, WindowBoxesStackFrontToBack) {
    test::RunHeadless(test::Options(), [] {
        Main();
        FMain& f = fMain();
        std::vector<std::string> boxes;
        const auto& children = f.form.children();
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            if ((*it)->windowed()) boxes.push_back((*it)->name());
        const std::vector<std::string> want = {
            "pEnding",   "pMask",     "pMsg(5)",    "pMsg(4)",  "pResqDat", "pMsg(3)",
            "pCount(2)", "pCount(1)", "pCount(0)",  "pMessage", "pMsg(2)",  "pMsg(1)",
            "pMsg(0)",   "pPanel",    "pEnergyDat", "pTitle",   "pRockDat", "pFrame"};
        EXPECT_EQ(boxes, want);

        std::vector<std::string> sprites, images;
        for (const auto* c : f.pScreen.children())
            (c->windowed() ? sprites : images)
                .insert((c->windowed() ? sprites : images).begin(), c->name());
        EXPECT_EQ(sprites, (std::vector<std::string>{"pResq(0)", "pEnemy(0)", "pEnergy(0)", "pGoal",
                                                     "pRock(0)"}));
        EXPECT_EQ(images, (std::vector<std::string>{"iHFunsha", "iExplode(1)", "iExplode(0)",
                                                    "sRange", "iRocket", "iFunsha"}));
    });
}

TEST(LayoutTest, TitleTilesFillTheIdleWindow) {
    test::RunHeadless(test::Options(), [] {
        Main();
        const auto frame = platform::headless::ComposeMainWindow();
        const auto& title = fMain().pTitle.surface();
        const int bar = platform::MenuBarPixelHeight(fMain().form);
        ASSERT_EQ(frame.width, 621);
        ASSERT_EQ(frame.height, bar + 397);
        for (int y = 0; y < 397; y += 7)
            for (int x = 0; x < 621; x += 5)
                ASSERT_EQ(frame.at(x, bar + y), title.get(x % 256, y % 192)) << x << "," << y;
    });
}

} // namespace
