// A short flight in round 1 from the real start-up, checked frame by frame against the
// arithmetic: thrust, gravity, drift and the frame's order.
#include "harness.h"

#include <gtest/gtest.h>

namespace {

using test::Field;

struct FlightCase {
    const char* name;
    int dpi;
};
VEXARO_PRINT_CASE_BY_NAME(FlightCase)

class RoundOneFlightTest : public ::testing::TestWithParam<FlightCase> {};

// Start at 1100; the countdown ends at about 4550. Hold Space for 0.15 s, let go, drift right,
// then fall until something is touched.
constexpr const char* kScript = "1100 tap space\n"
                                "4560 down space\n"
                                "4710 up space\n"
                                "5200 down right\n"
                                "5500 up right\n";

TEST_P(RoundOneFlightTest, TraceFollowsTheArithmetic) {
    const FlightCase c = GetParam();
    auto options = test::Options(kScript);
    options.dpi = c.dpi;
    options.stopAfterTicks = 20000;
    const auto run = test::RunHeadless(options, [] { Main(); });
    // The first attempt: up to the frame that ended it.
    std::vector<std::string> frames;
    for (const auto& f : run.events("frame")) {
        frames.push_back(f);
        if (Field(f, "mode") != kFlying) break;
    }
    ASSERT_GT(frames.size(), 50u);

    long long minY = Field(frames[0], "y"), startY = minY, startX = Field(frames[0], "x");
    bool rose = false, fell = false, drifted = false;
    for (std::size_t i = 1; i < frames.size(); ++i) {
        const auto& a = frames[i - 1];
        const auto& b = frames[i];
        const long long dvy = Field(b, "vy") - Field(a, "vy");
        const long long dvx = Field(b, "vx") - Field(a, "vx");
        // Thrust or gravity, or a stop at a range edge.
        EXPECT_TRUE(dvy == -2 || dvy == 1 || Field(b, "vy") == 0) << b;
        EXPECT_TRUE(dvx == 0 || dvx == 1 || dvx == -1 || Field(b, "vx") == 0) << b;
        // The ship moves by the velocity of its own frame.
        EXPECT_EQ(Field(b, "y") - Field(a, "y"), Field(b, "vy")) << b;
        EXPECT_EQ(Field(b, "x") - Field(a, "x"), Field(b, "vx")) << b;
        minY = std::min(minY, Field(b, "y"));
        rose = rose || Field(b, "vy") < 0;
        fell = fell || (rose && Field(b, "vy") > 0);
        drifted = drifted || Field(b, "vx") > 0;
    }
    EXPECT_TRUE(rose);
    EXPECT_TRUE(fell);
    EXPECT_TRUE(drifted);
    EXPECT_LT(minY, startY);
    EXPECT_GT(Field(frames.back(), "x"), startX);
    // The flight ends by touching something: cleared or crashed, by what the last frame met.
    const long long mode = Field(frames.back(), "mode");
    EXPECT_TRUE(mode == kCrashed || mode == kRoundCleared);
    if (mode == kRoundCleared) {
        EXPECT_LT(Field(frames.back(), "vy"), 45);
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, RoundOneFlightTest,
                         ::testing::Values(FlightCase{"dpi96", 96}, FlightCase{"dpi120", 120}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
