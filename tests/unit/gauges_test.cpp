// The fuel gauge and the one-second timer, over every allowance a round file can hold.
#include "events/gauges.h"
#include "harness.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr Long kLowest = std::numeric_limits<Long>::min();
constexpr Long kHighest = std::numeric_limits<Long>::max();

struct MarkerCase {
    const char* name;
    Long timeLeft;
    Long y; // twips at 15 twips per pixel
};
VEXARO_PRINT_CASE_BY_NAME(MarkerCase)

class FuelMarkerTest : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(FuelMarkerTest, TwoPixelsPerSecondFromTheTopAt166) {
    const MarkerCase c = GetParam();
    test::RunHeadless(test::Options(), [&] {
        test::OpenMainWindow();
        EXPECT_EQ(FuelMarkerY(c.timeLeft), c.y);
    });
}

// Up to 2^30 twips off the strip the rule is exact; beyond, the marker stays there.
INSTANTIATE_TEST_SUITE_P(
    Seconds, FuelMarkerTest,
    ::testing::Values(MarkerCase{"full", 166, 0}, MarkerCase{"hundred", 100, 132 * 15},
                      MarkerCase{"empty", 0, 332 * 15}, MarkerCase{"overdrawn", -20, 372 * 15},
                      MarkerCase{"moreThanAFullStrip", 1000, -1668 * 15},
                      MarkerCase{"lastExactBelow", 166 - 35791394, 1073741820},
                      MarkerCase{"firstHeldBelow", 166 - 35791395, kFarthestMarkerY},
                      MarkerCase{"lastExactAbove", 166 + 35791394, -1073741820},
                      MarkerCase{"firstHeldAbove", 166 + 35791395, -kFarthestMarkerY},
                      MarkerCase{"lowestLong", kLowest, kFarthestMarkerY},
                      MarkerCase{"highestLong", kHighest, -kFarthestMarkerY}),
    [](const auto& info) { return std::string(info.param.name); });

struct TickCase {
    const char* name;
    Long from;
    int ticks;
    Long to;
};
VEXARO_PRINT_CASE_BY_NAME(TickCase)

class TimerTickTest : public ::testing::TestWithParam<TickCase> {};

TEST_P(TimerTickTest, OneSecondLessAndTheMarkerFollows) {
    const TickCase c = GetParam();
    test::RunHeadless(test::Options(), [&] {
        test::OpenMainWindow();
        TimeLeft = c.from;
        for (int i = 0; i < c.ticks; ++i)
            tLastSec_Timer();
        EXPECT_EQ(TimeLeft, c.to);
        const FMain& f = fMain();
        EXPECT_EQ(f.lLineF.y1, float(FuelMarkerY(c.to)));
        EXPECT_EQ(f.lLineF.y2, f.lLineF.y1);
    });
}

// The time has no lower limit but the lowest Long: it never wraps round to the highest.
INSTANTIATE_TEST_SUITE_P(Ticks, TimerTickTest,
                         ::testing::Values(TickCase{"tenFromThirty", 30, 10, 20},
                                           TickCase{"intoTheNegative", 1, 3, -2},
                                           TickCase{"fromTheHighest", kHighest, 2, kHighest - 2},
                                           TickCase{"downToTheLowest", kLowest + 2, 2, kLowest},
                                           TickCase{"staysAtTheLowest", kLowest + 1, 5, kLowest}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
