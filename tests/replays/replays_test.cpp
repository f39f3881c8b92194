// Every round proven clearable: its replay, played by vexaro-sim from the countdown, lands on
// the pad with every person of the round aboard, crashes nowhere, and touches down with the
// time left that was recorded when the replay was made, so that a changed round or a changed
// frame rule that breaks the flight is caught. The whole-game replay reaches the ending. Every
// replay changes keys at a player's pace.
#include "platform/trace.h"
#include "tests/fixtures/sim_process.h"
#include "tools/replay_search/pilot_rules.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

const std::string kSource = VEXARO_SOURCE_DIR "/";

using sim_test::ReadLines;

long long Field(const std::string& line, const std::string& key, long long fallback = -1) {
    return platform::TraceField(line, key, fallback);
}

bool IsEvent(const std::string& line, const std::string& ev) {
    return platform::TraceIs(line, ev);
}

// "# KEY VALUE" in a replay's header.
long long HeaderValue(const std::vector<std::string>& lines, const std::string& key) {
    const std::string prefix = "# " + key + " ";
    for (const std::string& line : lines)
        if (line.rfind(prefix, 0) == 0) return std::stoll(line.substr(prefix.size()));
    return -1;
}

// People placed by a round, counted in its text form.
int PeopleOfRound(int round) {
    int people = 0;
    for (const std::string& line : ReadLines(kSource + "rounds/R" + std::to_string(round) + ".txt"))
        people += line.rfind("RESQ", 0) == 0;
    return people;
}

// Plays a script with vexaro-sim and returns the trace.
std::vector<std::string> Play(const std::string& args, const std::string& name) {
    return sim_test::PlaySim(VEXARO_SIM, args, "replay-" + name);
}

// What the trace shows of one round's flights.
struct RoundFlight {
    bool cleared = false;
    long long timeLeft = -1;
    long long rescued = -1;
    long long crashes = 0;
};

RoundFlight FlightOf(const std::vector<std::string>& trace, int round) {
    RoundFlight flight;
    bool inRound = false;
    for (const std::string& line : trace) {
        if (IsEvent(line, "frame")) {
            inRound = Field(line, "round") == round;
            if (inRound && Field(line, "mode") == 8 && !flight.cleared) {
                flight.cleared = true;
                flight.timeLeft = Field(line, "time");
                flight.rescued = Field(line, "rescued");
            }
        } else if (inRound && IsEvent(line, "mode") && Field(line, "to") == 4) {
            ++flight.crashes;
        }
    }
    return flight;
}

std::string ReplayPath(int round) {
    return kSource + "tests/replays/R" + std::to_string(round) + ".txt";
}

class RoundReplay : public ::testing::TestWithParam<int> {};

TEST_P(RoundReplay, ClearsTheRoundWithEveryPersonAndTheRecordedTimeLeft) {
    const int round = GetParam();
    const std::vector<std::string> script = ReadLines(ReplayPath(round));
    ASSERT_FALSE(script.empty()) << ReplayPath(round);
    const long long recordedTimeLeft = HeaderValue(script, "time-left");
    ASSERT_GE(recordedTimeLeft, 1) << "the replay's header records no time left";
    // Run a few frames past the last key event, which follows the touchdown.
    const long long lastTick = std::stoll(script.back());
    const std::vector<std::string> trace =
        Play("--round " + std::to_string(round) + " --script " + ReplayPath(round) + " --ticks " +
                 std::to_string(lastTick + 300),
             "R" + std::to_string(round));

    const RoundFlight flight = FlightOf(trace, round);
    EXPECT_TRUE(flight.cleared) << "round " << round << " was not cleared";
    EXPECT_EQ(flight.crashes, 0);
    EXPECT_EQ(flight.rescued, PeopleOfRound(round));
    EXPECT_EQ(flight.timeLeft, recordedTimeLeft);
}

INSTANTIATE_TEST_SUITE_P(Rounds, RoundReplay, ::testing::Range(1, 10),
                         [](const auto& info) { return "R" + std::to_string(info.param); });

// A player's pace: no key changes within 8 frames of the one before, in every round's replay
// and in the whole game.
TEST(Replays, ChangeKeysNoSoonerThanEightFramesAfterTheChangeBefore) {
    std::vector<std::string> paths;
    for (int round = 1; round <= 9; ++round)
        paths.push_back(ReplayPath(round));
    paths.push_back(kSource + "tests/replays/full-game.txt");
    for (const std::string& path : paths) {
        const std::vector<std::string> script = ReadLines(path);
        ASSERT_FALSE(script.empty()) << path;
        EXPECT_GE(replay::ShortestKeyState(script), replay::kMinKeyFrames) << path;
    }
}

TEST(NineRounds, PassTheRoundFileCheck) {
    std::string command = std::string(VEXARO_ROUNDS_TOOL) + " check";
    for (int round = 1; round <= 9; ++round)
        command += " " VEXARO_BUILD_DIR "/rnd_dat/R" + std::to_string(round) + ".dat.rnd";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

TEST(FullGameReplay, ClearsAllNineRoundsAndPlaysTheEnding) {
    const std::vector<std::string> trace =
        Play("--script " + kSource + "tests/replays/full-game.txt --until idle", "full-game");
    ASSERT_FALSE(trace.empty());
    for (int round = 1; round <= 9; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const RoundFlight flight = FlightOf(trace, round);
        EXPECT_TRUE(flight.cleared);
        EXPECT_EQ(flight.crashes, 0);
        EXPECT_EQ(flight.rescued, PeopleOfRound(round));
        // The same flight as the round's own replay, so the same time to spare.
        EXPECT_EQ(flight.timeLeft, HeaderValue(ReadLines(ReplayPath(round)), "time-left"));
    }
    bool ending = false;
    long long lastMode = -1;
    for (const std::string& line : trace) {
        ending = ending || IsEvent(line, "ending");
        if (IsEvent(line, "mode")) lastMode = Field(line, "to");
    }
    EXPECT_TRUE(ending) << "the ending was not shown";
    EXPECT_EQ(lastMode, 0) << "GameMode is not 0 at the end";
}

} // namespace
