// Input while a modal window is up: keys and menu clicks go to the front modal window, never to
// the main window behind it, as on the desktop.
#include "core/game_state.h"
#include "display/fmain.h"
#include "harness.h"
#include "platform/backend.h"
#include "shell/fabout.h"

#include <gtest/gtest.h>

namespace {

using test::Field;

struct ModalCase {
    const char* name;
    const char* action; // what the player does while the about window is up
};
VEXARO_PRINT_CASE_BY_NAME(ModalCase)

class ModalInputTest : public ::testing::TestWithParam<ModalCase> {};

// The about window is up from 1100 to 3000; the action comes at 1200.
TEST_P(ModalInputTest, NeverReachesTheMainWindowBehindIt) {
    auto options = test::Options("1100 menu mHelpAbout\n1200 " + std::string(GetParam().action) +
                                 "\n3000 click fAbout");
    options.stopAfterTicks = 3050;
    const auto run = test::RunHeadless(options, [] { Main(); });
    EXPECT_FALSE(run.result.ended) << "the main window was closed behind the about window";
    EXPECT_TRUE(run.events("mode").empty()) << "a game started behind the about window";
    EXPECT_EQ(fMain().form.windowState, 0) << "Escape minimised the main window";
    EXPECT_FALSE(fAboutLoaded());
    // The press never reached the game's key record either.
    for (const int key : {platform::VK_SPACE, platform::VK_RETURN, platform::VK_ESCAPE})
        EXPECT_EQ(platform::GetAsyncKeyState(key), 0) << key;
}

INSTANTIATE_TEST_SUITE_P(
    Actions, ModalInputTest,
    ::testing::Values(ModalCase{"space", "tap space"}, ModalCase{"spaceHeld", "down space"},
                      ModalCase{"escape", "tap escape"}, ModalCase{"enter", "tap enter"},
                      ModalCase{"startMenu", "menu mGameStart"}, ModalCase{"close", "close"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ModalInputTest, QuitMenuBehindTheAboutWindowAsksNothing) {
    auto options = test::Options("answer yes\n1100 menu mHelpAbout\n1200 menu mGameEnd\n"
                                 "3000 click fAbout");
    options.stopAfterTicks = 3050;
    const auto run = test::RunHeadless(options, [] { Main(); });
    EXPECT_TRUE(run.events("msgbox").empty());
    EXPECT_FALSE(run.result.ended);
}

TEST(ModalInputTest, KeysReachTheMainWindowAgainOnceTheAboutWindowHasClosed) {
    auto options = test::Options("1100 menu mHelpAbout\n3000 click fAbout\n3100 tap space");
    options.stopAfterTicks = 3200;
    const auto run = test::RunHeadless(options, [] { Main(); });
    const auto modes = run.events("mode");
    ASSERT_FALSE(modes.empty());
    EXPECT_EQ(Field(modes[0], "to"), 1);
    EXPECT_EQ(Field(modes[0], "t"), 3100);
}

} // namespace
