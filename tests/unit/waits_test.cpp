// The waits: how long they take, how many times they look at the key, and what counts as a
// press.
#include "core/waits.h"
#include "harness.h"
#include "platform/backend.h"

#include <gtest/gtest.h>

using platform::GetTickCount;

namespace {

struct WaitCase {
    const char* name;
    Long ms;
    std::uint32_t startTick;
    std::uint32_t expectedTicks;
};
VEXARO_PRINT_CASE_BY_NAME(WaitCase)

class WaitMillisecondsTest : public ::testing::TestWithParam<WaitCase> {};

TEST_P(WaitMillisecondsTest, LastsAtLeastItsTimeAndOneStep) {
    const WaitCase c = GetParam();
    auto options = test::Options();
    options.startTick = c.startTick;
    std::uint32_t took = 0;
    test::RunHeadless(options, [&] {
        const std::uint32_t before = GetTickCount();
        WaitMilliseconds(c.ms);
        took = GetTickCount() - before;
    });
    EXPECT_EQ(took, c.expectedTicks);
}

// Each turn reads the tick and then takes one message step (1 ms on the virtual clock), so a
// wait of n ms returns after n + 1 steps; 0 and negative waits still take one step.
INSTANTIATE_TEST_SUITE_P(Cases, WaitMillisecondsTest,
                         ::testing::Values(WaitCase{"zero", 0, 0, 1},
                                           WaitCase{"negative", -50, 0, 1},
                                           WaitCase{"one", 1, 0, 2},
                                           WaitCase{"second", 1000, 0, 1001},
                                           WaitCase{"wrap", 1000, 0xFFFFFF00u, 1001},
                                           WaitCase{"wrapAtOnce", 10, 0xFFFFFFFFu, 11}),
                         [](const auto& info) { return std::string(info.param.name); });

struct KeyWaitCase {
    const char* name;
    Long seconds;
    const char* script;    // key actions, ticks since the run began
    Long expected;         // kTrue or kFalse
    std::int64_t minTicks; // the wait's length, within
    std::int64_t maxTicks;
};
VEXARO_PRINT_CASE_BY_NAME(KeyWaitCase)

class WaitForKeyTest : public ::testing::TestWithParam<KeyWaitCase> {};

TEST_P(WaitForKeyTest, AnswersAndLasts) {
    const KeyWaitCase c = GetParam();
    Long answer = 99;
    std::int64_t took = 0;
    test::RunHeadless(test::Options(c.script), [&] {
        platform::DoEvents(); // lets the actions of tick 0 happen first
        const auto start = platform::headless::Now();
        answer = WaitForKey(c.seconds, platform::VK_SPACE);
        took = platform::headless::Now() - start;
    });
    EXPECT_EQ(answer, c.expected);
    EXPECT_GE(took, c.minTicks);
    EXPECT_LE(took, c.maxTicks);
}

// With no key a wait of n seconds polls 10n + 1 times, 100 ms and a bit each.
INSTANTIATE_TEST_SUITE_P(
    Cases, WaitForKeyTest,
    ::testing::Values(
        KeyWaitCase{"zeroSeconds", 0, "", kFalse, 0, 1},
        KeyWaitCase{"negativeSeconds", -3, "", kFalse, 0, 1},
        KeyWaitCase{"oneSecondNoKey", 1, "", kFalse, 11 * 101, 11 * 103},
        KeyWaitCase{"threeSecondsNoKey", 3, "", kFalse, 31 * 101, 31 * 103},
        KeyWaitCase{"fiveSecondsNoKey", 5, "", kFalse, 51 * 101, 51 * 103},
        KeyWaitCase{"pressEndsEarly", 3, "500 tap space", kTrue, 499, 700},
        // Held from before the wait: first the release, then a full wait.
        KeyWaitCase{"heldAtEntry", 1, "0 down space\n2000 up space", kFalse, 1999 + 11 * 101,
                    1999 + 11 * 103},
        KeyWaitCase{"heldAtEntryZero", 0, "0 down space\n300 up space", kFalse, 299, 301},
        // Down and up between two polls still counts.
        KeyWaitCase{"pressBetweenPolls", 3, "150 down space\n151 up space", kTrue, 149, 260}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WaitForKeyTest, OtherKeysDoNotCount) {
    Long answer = 99;
    test::RunHeadless(test::Options("100 tap enter\n200 tap left"),
                      [&] { answer = WaitForKey(1, platform::VK_SPACE); });
    EXPECT_EQ(answer, kFalse);
}

TEST(GetAsyncKeyStateTest, ReportsHeldAndPressedSinceLastLook) {
    std::vector<std::int16_t> seen;
    test::RunHeadless(test::Options("1 down left\n3 up left\n5 tap left"), [&] {
        auto look = [&] { seen.push_back(platform::GetAsyncKeyState(platform::VK_LEFT)); };
        look();               // t 0: nothing yet
        platform::DoEvents(); // t 0 -> 1
        platform::DoEvents(); // t 1: down
        look();               // held and pressed
        look();               // held only
        platform::DoEvents(); // t 2
        platform::DoEvents(); // t 3: up
        look();               // nothing
        platform::DoEvents(); // t 4
        platform::DoEvents(); // t 5: down
        platform::DoEvents(); // t 6: up
        look();               // pressed since the last look, not held
        look();               // nothing
    });
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen[0], 0);
    EXPECT_EQ(std::uint16_t(seen[1]), 0x8001);
    EXPECT_EQ(std::uint16_t(seen[2]), 0x8000);
    EXPECT_EQ(seen[3], 0);
    EXPECT_EQ(seen[4], 1);
    EXPECT_EQ(seen[5], 0);
}

// Keyboard and gamepad side by side: a key is held while either holds it, and presses from both
// between two looks are one press.
TEST(GetAsyncKeyStateTest, KeyboardAndGamepadHoldOneKeyTogether) {
    using platform::KeySource;
    constexpr KeySource kKeys = KeySource::Keyboard, kPad = KeySource::Gamepad;
    struct Step {
        char event; // 'd' down, 'u' up, 'l' look
        KeySource source;
        std::uint16_t seen; // for a look
    };
    const struct {
        const char* what;
        std::vector<Step> steps;
    } cases[] = {
        {"pad up while the keyboard holds",
         {{'d', kKeys, 0},
          {'d', kPad, 0},
          {'l', kKeys, 0x8001},
          {'u', kPad, 0},
          {'l', kKeys, 0x8000},
          {'u', kKeys, 0},
          {'l', kKeys, 0}}},
        {"keyboard up while the pad holds (the window lost the keyboard)",
         {{'d', kPad, 0},
          {'d', kKeys, 0},
          {'u', kKeys, 0},
          {'l', kKeys, 0x8001},
          {'l', kKeys, 0x8000},
          {'u', kPad, 0},
          {'l', kKeys, 0}}},
        {"a press from each between two looks is one press",
         {{'d', kKeys, 0},
          {'u', kKeys, 0},
          {'d', kPad, 0},
          {'u', kPad, 0},
          {'l', kKeys, 1},
          {'l', kKeys, 0}}},
        {"a release from a source that never held it changes nothing",
         {{'d', kPad, 0}, {'u', kKeys, 0}, {'l', kKeys, 0x8001}}},
    };
    for (const auto& c : cases) {
        platform::ResetKeys();
        int look = 0;
        for (const Step& step : c.steps) {
            if (step.event == 'd') platform::KeyDownEvent(nullptr, platform::VK_SPACE, step.source);
            if (step.event == 'u') platform::KeyUpEvent(platform::VK_SPACE, step.source);
            if (step.event == 'l') {
                EXPECT_EQ(std::uint16_t(platform::GetAsyncKeyState(platform::VK_SPACE)), step.seen)
                    << c.what << ", look " << ++look;
            }
        }
    }
    platform::ResetKeys();
}

} // namespace
