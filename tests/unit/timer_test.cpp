// How long a message step may wait before the next timer is due: the longest wait of the real
// window's steps, so that a timer never fires late however long the game's loop sleeps.
#include "harness.h"
#include "platform/controls.h"
#include "platform/desktop.h"

#include <gtest/gtest.h>

using platform::Timer;

namespace {

struct DueCase {
    const char* name;
    std::uint32_t startTick; // the clock when the timers are enabled
    int interval;            // of the first timer; 0 leaves it without an interval
    bool enabled;
    int secondInterval; // an enabled second timer, or 0 for none
    std::uint32_t elapsed;
    int atMost;
    int expected;
};
VEXARO_PRINT_CASE_BY_NAME(DueCase)

class TimerDueTest : public ::testing::TestWithParam<DueCase> {};

TEST_P(TimerDueTest, WaitEndsWhenTheNextTimerIsDue) {
    const DueCase c = GetParam();
    auto options = test::Options();
    options.startTick = c.startTick;
    int wait = -1;
    test::RunHeadless(options, [&] {
        Timer first("first"), second("second");
        first.interval = c.interval;
        first.setEnabled(c.enabled);
        second.interval = c.secondInterval;
        second.setEnabled(c.secondInterval > 0);
        wait = Timer::MsUntilDue(platform::desktop::Ticks() + c.elapsed, c.atMost);
    });
    EXPECT_EQ(wait, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimerDueTest,
    ::testing::Values(DueCase{"none_enabled", 0, 1000, false, 0, 0, 100, 100},
                      DueCase{"due_later_than_the_wait", 0, 1000, true, 0, 300, 100, 100},
                      DueCase{"due_within_the_wait", 0, 1000, true, 0, 950, 100, 50},
                      DueCase{"due_now", 0, 1000, true, 0, 1000, 100, 0},
                      DueCase{"overdue", 0, 1000, true, 0, 1700, 100, 0},
                      DueCase{"no_interval_never_fires", 0, 0, true, 0, 0, 100, 100},
                      DueCase{"the_sooner_of_two", 0, 1000, true, 30, 10, 100, 20},
                      DueCase{"a_disabled_one_does_not_count", 0, 10, false, 1000, 0, 100, 100},
                      DueCase{"across_the_clocks_wrap", 0xFFFFFFF0u, 1000, true, 0, 990, 100, 10},
                      DueCase{"a_negative_wait_is_no_wait", 0, 0, false, 0, 0, -5, 0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
