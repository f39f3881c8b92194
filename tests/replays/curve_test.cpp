// The nine replays flown at a player's pace, and the difficulty curve they draw: every replay
// keeps the pilot's rules at every frame, and the figures of the rounds rise from a first
// flight in round 1 to round 9, the hardest by every figure.
#include "tools/replay_search/pilot_rules.h"
#include "tools/rounds/round_stats.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kRounds = 9;

const RoundFigures& Figures(int round) {
    static std::vector<RoundFigures> figures = [] {
        std::vector<RoundFigures> all(kRounds);
        for (int n = 1; n <= kRounds; ++n) {
            std::string error;
            const bool measured =
                MeasureRound(VEXARO_BUILD_DIR "/rnd_dat/R" + std::to_string(n) + ".dat.rnd",
                             VEXARO_SOURCE_DIR "/tests/replays/R" + std::to_string(n) + ".txt",
                             VEXARO_BUILD_DIR, all[std::size_t(n - 1)], error);
            EXPECT_TRUE(measured) << error;
        }
        return all;
    }();
    return figures[std::size_t(round - 1)];
}

class PlayerPacedFlight : public ::testing::TestWithParam<int> {};

TEST_P(PlayerPacedFlight, KeepsThePilotsRulesAtEveryFrame) {
    const RoundFigures& f = Figures(GetParam());
    ASSERT_TRUE(f.flown);
    EXPECT_TRUE(f.cleared);
    EXPECT_FALSE(f.crashed);
    EXPECT_EQ(f.peopleAboard, f.people);
    EXPECT_EQ(f.capsulesTaken, f.capsules);
    EXPECT_GE(f.shortestKeyState, replay::kMinKeyFrames);
    EXPECT_EQ(f.framesBreakingRules, 0) << "frames closer to rock or an enemy than the rules";
    EXPECT_GE(f.clearance, replay::RockMargin(GetParam()));
    EXPECT_LE(f.touchdownSpeed, replay::kMaxTouchdownSpeed);
}

INSTANTIATE_TEST_SUITE_P(Rounds, PlayerPacedFlight, ::testing::Range(1, kRounds + 1),
                         [](const auto& info) { return "R" + std::to_string(info.param); });

// The figures of the curve, each turned so that a greater value asks more of the player.
struct Figure {
    const char* name;
    std::function<double(const RoundFigures&)> ask;
};

const std::vector<Figure>& CurveFigures() {
    static const std::vector<Figure> figures = {
        {"route length", [](const RoundFigures& f) { return f.route; }},
        {"flight time", [](const RoundFigures& f) { return double(f.frames); }},
        {"narrowest clearance", [](const RoundFigures& f) { return -f.clearance; }},
        {"narrowest passage", [](const RoundFigures& f) { return -f.passage; }},
        {"enemies near", [](const RoundFigures& f) { return double(f.enemiesNear); }},
        {"capsules", [](const RoundFigures& f) { return double(f.capsules); }},
        {"people", [](const RoundFigures& f) { return double(f.people); }},
        {"allowance ratio", [](const RoundFigures& f) { return -f.allowanceRatio(); }},
    };
    return figures;
}

TEST(DifficultyCurve, RoundOneIsAFirstFlight) {
    const RoundFigures& f = Figures(1);
    EXPECT_EQ(f.enemyCount(), 0);
    EXPECT_GE(f.passage, 3.0);
    EXPECT_TRUE(f.padInView) << "the pad is not on screen at the start";
}

TEST(DifficultyCurve, EachRoundAsksMoreThanTheOneBeforeAndNeverLess) {
    for (int n = 2; n <= kRounds; ++n) {
        bool more = false;
        for (const Figure& figure : CurveFigures()) {
            const double before = figure.ask(Figures(n - 1)), now = figure.ask(Figures(n));
            EXPECT_GE(now, before) << "round " << n << " asks less by " << figure.name;
            more = more || now > before;
        }
        EXPECT_TRUE(more) << "round " << n << " asks no more than round " << n - 1;
    }
}

TEST(DifficultyCurve, RoundNineIsTheHardestByEveryFigureAndTheLargest) {
    for (const Figure& figure : CurveFigures())
        for (int n = 1; n < kRounds; ++n)
            EXPECT_GE(figure.ask(Figures(kRounds)), figure.ask(Figures(n)))
                << "round " << n << " asks more by " << figure.name;
    EXPECT_GE(Figures(kRounds).width, 100);
    EXPECT_GE(Figures(kRounds).height, 60);
}

TEST(DifficultyCurve, EveryAllowanceIsTwiceTheFlightAndTwentySeconds) {
    for (int n = 1; n <= kRounds; ++n)
        EXPECT_GE(Figures(n).allowance, 2 * Figures(n).flightSeconds() + 20) << "round " << n;
}

TEST(DifficultyCurve, TheNineFlightsLastAtLeastFourMinutes) {
    double seconds = 0;
    for (int n = 1; n <= kRounds; ++n)
        seconds += Figures(n).flightSeconds();
    EXPECT_GE(seconds, 240);
}

} // namespace
