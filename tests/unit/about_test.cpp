// The splash and about window: its gradient, its clicks, its links and their colours.
#include "core/waits.h"
#include "harness.h"
#include "shell/fabout.h"

#include <gtest/gtest.h>

namespace {

using test::Field;

TEST(AboutTest, GradientBandsFallFromFullBlue) {
    test::RunHeadless(test::Options(), [] {
        ShowAbout(false);
        const auto& s = fAbout().form.surface();
        ASSERT_EQ(s.width(), 408);
        ASSERT_EQ(s.height(), 249);
        // Seventeen bands, y = 0, 15, ..., 240; band y covers rows y - 1 .. y + 15 and the
        // later band wins, so row r shows the band of the largest y with y - 1 <= r.
        for (int r = 0; r < 249; ++r) {
            int y = 0;
            for (int b = 0; b <= 249; b += 15)
                if (b - 1 <= r) y = b;
            const int blue = 255 - (255 * y) / 249;
            ASSERT_EQ(s.get(200, r), platform::Rgb(0, 0, blue)) << r;
        }
        EXPECT_EQ(s.get(0, 248), platform::Rgb(0, 0, 255 - 255 * 240 / 249));
    });
}

struct ClickCase {
    const char* name;
    const char* control; // the form's own name clicks the bare background
    bool closes;
};
VEXARO_PRINT_CASE_BY_NAME(ClickCase)

class AboutClickTest : public ::testing::TestWithParam<ClickCase> {};

TEST_P(AboutClickTest, ClosesExceptOnTheLinks) {
    const ClickCase c = GetParam();
    auto options = test::Options("1500 menu mHelpAbout\n2000 click " + std::string(c.control));
    options.stopAfterTicks = 3000;
    const auto run = test::RunHeadless(options, [] { Main(); });
    EXPECT_EQ(fAboutLoaded(), !c.closes);
    const auto windows = run.events("window");
    ASSERT_GE(windows.size(), 4u);
    EXPECT_NE(windows[3].find("\"form\":\"fAbout\",\"do\":\"show-modal\""), std::string::npos);
    EXPECT_EQ(run.events("shell").size(), c.closes ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, AboutClickTest,
    ::testing::Values(ClickCase{"background", "fAbout", true},
                      ClickCase{"shapeArea", "Shape1", true}, ClickCase{"version", "lblBer", true},
                      ClickCase{"logo", "Image2", true}, ClickCase{"ship", "Image1", true},
                      ClickCase{"flame", "Image3", true}, ClickCase{"label", "Label3", true},
                      ClickCase{"copyright", "Label5", true},
                      ClickCase{"webLink", "lblHttp", false},
                      ClickCase{"mailLink", "lblMail", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AboutTest, LinksPassTheirTextAndReportNoProgram) {
    for (const int result : {42, 2, 0, 32, 33}) {
        auto options =
            test::Options("1500 menu mHelpAbout\n2000 click lblMail\n2100 click lblHttp");
        options.stopAfterTicks = 3000;
        options.shellResult = result;
        const auto run = test::RunHeadless(options, [] { Main(); });
        const auto shell = run.events("shell");
        ASSERT_EQ(shell.size(), 2u);
        EXPECT_NE(shell[0].find("\"file\":\"team@vexaro.example.com\""), std::string::npos);
        EXPECT_NE(shell[1].find("\"file\":\"https://vexaro.example.com/\""), std::string::npos);
        const bool failed = result <= 32;
        const auto boxes = run.events("msgbox");
        ASSERT_EQ(boxes.size(), failed ? 2u : 0u) << result;
        if (failed) {
            EXPECT_NE(boxes[0].find("関連づけられた実行ファイルがありません"), std::string::npos);
        }
        EXPECT_TRUE(fAboutLoaded()); // the window stays open
    }
}

TEST(AboutTest, LinksTurnYellowAndWhiteAgainOnlyOverTheBackground) {
    test::RunHeadless(test::Options(), [] {
        ShowAbout(false);
        FAbout& a = fAbout();
        const auto white = platform::Rgb(255, 255, 255), yellow = platform::Rgb(255, 255, 0);
        fAbout_MouseMove(&a.lblHttp);
        EXPECT_EQ(a.lblHttp.foreColor, yellow);
        fAbout_MouseMove(&a.Label3); // straight onto another label: stays yellow
        fAbout_MouseMove(&a.Image1);
        EXPECT_EQ(a.lblHttp.foreColor, yellow);
        fAbout_MouseMove(&a.lblMail);
        EXPECT_EQ(a.lblMail.foreColor, yellow);
        fAbout_MouseMove(&a.Shape1); // the shape's area is background
        EXPECT_EQ(a.lblHttp.foreColor, white);
        EXPECT_EQ(a.lblMail.foreColor, white);
        fAbout_MouseMove(&a.lblMail);
        fAbout_MouseMove(nullptr);
        EXPECT_EQ(a.lblMail.foreColor, white);
        EXPECT_TRUE(a.lblHttp.mouseIcon != nullptr);
        EXPECT_EQ(a.lblHttp.mouseHotX, 12);
        EXPECT_EQ(a.lblHttp.mouseHotY, 1);
    });
}

TEST(AboutTest, ANewShowingStartsWhite) {
    test::RunHeadless(test::Options(), [] {
        ShowAbout(false);
        fAbout_MouseMove(&fAbout().lblHttp);
        UnloadAbout();
        ShowAbout(false);
        EXPECT_EQ(fAbout().lblHttp.foreColor, platform::Rgb(255, 255, 255));
    });
}

// The about window closed while its modal loop waits under a nested loop (a game run from
// inside it), shown anew and closed again from there: the new showing makes a new window, and
// the first loop, when the nested one returns, must find its window gone, not read it.
TEST(AboutTest, ShowingAgainUnderTheFirstShowingsLoopEndsThatLoop) {
    auto options = test::Options("1000 click fAbout\n2000 click fAbout");
    options.stopAfterTicks = 5000;
    bool returned = false;
    test::RunHeadless(options, [&] {
        platform::Timer nested{"nested"};
        nested.interval = 500;
        nested.onTimer = [&nested] {
            nested.setEnabled(false);
            WaitMilliseconds(1000); // the first window is closed meanwhile
            EXPECT_FALSE(fAboutLoaded());
            ShowAbout(true);
        };
        nested.setEnabled(true);
        ShowAbout(true);
        returned = true;
        EXPECT_FALSE(fAboutLoaded());
        EXPECT_LT(platform::headless::Now(), 2100);
    });
    EXPECT_TRUE(returned);
}

TEST(AboutTest, ClickingTheSplashClosesItEarlyAndStartUpGoesOn) {
    auto options = test::Options("300 click fAbout");
    options.stopAfterTicks = 2000;
    const auto run = test::RunHeadless(options, [] { Main(); });
    const auto windows = run.events("window");
    ASSERT_EQ(windows.size(), 4u);
    EXPECT_EQ(Field(windows[1], "t"), 300);
    EXPECT_NE(windows[1].find("\"do\":\"unload\""), std::string::npos);
    EXPECT_NE(windows[2].find("\"form\":\"fMain\""), std::string::npos);
}

} // namespace
