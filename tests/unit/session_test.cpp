// Whole games on the headless backend: attempts and lives, banners and their waits, pause and
// resume, the ending, and the window's commands while a game runs.
#include "core/session.h"
#include "events/gauges.h"
#include "events/presentation.h"
#include "harness.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using test::Field;

// Rounds made for the session's paths: in "fall" the ship drops onto rock and crashes; in
// "land" it drops gently onto the pad right below it.
std::vector<RoundRecord> FallRound(Long seconds = 100) {
    return {test::Record("ROUNDRANGE", {10, 10, 0, 0, seconds}), test::Record("MYSHIP", {4, 2}),
            test::Record("ROCK", {0, 6, 9, 6, 1}), test::Record("GOAL", {0, 9})};
}
std::vector<RoundRecord> LandRound() {
    return {test::Record("ROUNDRANGE", {10, 10, 0, 0, 100}), test::Record("MYSHIP", {4, 2}),
            test::Record("GOAL", {4, 4})};
}

struct Game {
    std::string dir;
    platform::headless::Options options;
};

// A game folder with round files; the game runs from Main, Space starts it at tick 1100, and
// the run stops when the game is over (or after `ticks`).
Game MakeGame(const std::string& name, const std::vector<std::vector<RoundRecord>>& rounds,
              const std::string& script, std::int64_t ticks = -1) {
    Game g;
    g.dir = test::TempDir(name);
    for (std::size_t i = 0; i < rounds.size(); ++i)
        test::WriteRoundFile(g.dir, int(i + 1), rounds[i]);
    g.options = test::Options("1100 tap space\n" + script);
    g.options.appDir = g.dir + "/";
    g.options.stopAfterTicks = ticks;
    bool started = false;
    g.options.idle = [started]() mutable {
        if (GameMode != kNoGame) started = true;
        return started && GameMode == kNoGame;
    };
    return g;
}

test::Run Play(const Game& g) {
    return test::RunHeadless(g.options, [] { Main(); });
}

std::vector<long long> Banners(const test::Run& run) {
    std::vector<long long> n;
    for (const auto& line : run.events("message"))
        n.push_back(Field(line, "n"));
    return n;
}

TEST(SessionTest, ThreeLivesGiveFourAttempts) {
    const auto run = Play(MakeGame("four", {FallRound()}, ""));
    EXPECT_EQ(Banners(run), (std::vector<long long>{4, 1, 4, 1, 4, 1, 4, 2}));
    EXPECT_EQ(run.events("explode").size(), 4u * 21u);
    EXPECT_EQ(GameMode, kNoGame);
    EXPECT_EQ(Lives, -1);
    EXPECT_FALSE(fMain().pPanel.visible());
    EXPECT_FALSE(fMain().pFrame.visible());
    EXPECT_TRUE(fMain().form.findMenuItem("mGameStart")->enabled);
    EXPECT_FALSE(fMain().form.findMenuItem("mGameStop")->enabled);
    // Game over waits its five seconds (51 polls of a little over 100 ms) without Space.
    const auto over = run.events("message").back();
    const auto hidden = run.events("message-hidden").back();
    const long long wait = Field(hidden, "t") - Field(over, "t");
    EXPECT_GE(wait, 51 * 101);
    EXPECT_LE(wait, 51 * 103 + 5);
}

TEST(SessionTest, SpaceShortensTheCrashBanner) {
    // The first crash banner (You Lose!) comes up after the explosion; Space ends it early.
    auto g = MakeGame("space", {FallRound()}, "", 9000);
    const auto probe = Play(g);
    const auto first = probe.events("message")[1];
    ASSERT_EQ(Field(first, "n"), 1);
    const long long shown = Field(first, "t");
    g = MakeGame("space", {FallRound()}, std::to_string(shown + 500) + " tap space", 9000);
    const auto run = Play(g);
    const auto hidden = run.events("message-hidden");
    ASSERT_GE(hidden.size(), 2u);
    EXPECT_GE(Field(hidden[1], "t"), shown + 500);
    EXPECT_LE(Field(hidden[1], "t"), shown + 500 + 110);
}

TEST(SessionTest, TimeOverBannerWhenTheTimeRanOutBeforeTheCrash) {
    // Two seconds of time: hovering on the spot until the engines die, then the fall.
    std::string script = "4100 down space\n";
    for (int t = 4100; t < 9000; t += 40)
        script += std::to_string(t) + " up space\n" + std::to_string(t + 20) + " down space\n";
    const auto run = Play(MakeGame("timeover", {FallRound(2)}, script, 20000));
    const auto banners = Banners(run);
    ASSERT_GE(banners.size(), 2u);
    EXPECT_EQ(banners[1], kMsgTimeOver);
}

struct AllowanceCase {
    const char* name;
    Long seconds;
    std::string script; // Space starts the game at 1100 and stays held
    bool keysAlive;
    Long lastTime; // TimeLeft in the last frame of the first attempt
    int banner;    // after its crash
    Long markerY;
};
VEXARO_PRINT_CASE_BY_NAME(AllowanceCase)

class AllowanceTest : public ::testing::TestWithParam<AllowanceCase> {};

// A round file may grant any Long. Near the lowest the time stops there: the engines stay dead
// with Space held all the way down and the crash is a time over; near the highest the engines
// work. The fuel marker stays far off its strip either way.
TEST_P(AllowanceTest, AtTheEdgesOfALong) {
    const AllowanceCase c = GetParam();
    const std::vector<RoundRecord> deepFall = {
        test::Record("ROUNDRANGE", {10, 40, 0, 0, c.seconds}), test::Record("MYSHIP", {4, 2}),
        test::Record("ROCK", {0, 38, 9, 38, 1}), test::Record("GOAL", {0, 39})};
    auto g = MakeGame("allowance", {deepFall}, c.script, 12000);
    g.options.script.front().kind = platform::headless::Action::Kind::Down;
    g.options.script.erase(g.options.script.begin() + 1); // no release of the starting Space
    const auto run = Play(g);

    std::vector<std::string> flown;
    const long long retry = run.events("load").size() > 1 ? Field(run.events("load")[1], "t") : -1;
    for (const auto& frame : run.events("frame"))
        if (retry < 0 || Field(frame, "t") < retry) flown.push_back(frame);
    ASSERT_GT(flown.size(), 150u); // longer than a second
    bool rose = false;
    for (const auto& frame : flown) {
        rose = rose || Field(frame, "vy") < 0;
        EXPECT_EQ(Field(frame, "time") >= 1, c.keysAlive) << frame;
    }
    EXPECT_EQ(rose, c.keysAlive);
    EXPECT_EQ(Field(flown.back(), "time"), c.lastTime);
    const auto banners = Banners(run);
    ASSERT_GE(banners.size(), 2u);
    EXPECT_EQ(banners[1], c.banner);
    EXPECT_EQ(fMain().lLineF.y1, float(c.markerY));
}

constexpr Long kLowestLong = std::numeric_limits<Long>::min();
constexpr Long kHighestLong = std::numeric_limits<Long>::max();

// About two seconds of flight in each: the deep fall, or a climb and the fall after it.
INSTANTIATE_TEST_SUITE_P(
    Seconds, AllowanceTest,
    ::testing::Values(AllowanceCase{"lowest", kLowestLong, "", false, kLowestLong, kMsgTimeOver,
                                    kFarthestMarkerY},
                      AllowanceCase{"oneAboveTheLowest", kLowestLong + 1, "", false, kLowestLong,
                                    kMsgTimeOver, kFarthestMarkerY},
                      AllowanceCase{"highest", kHighestLong, "5500 up space", true,
                                    kHighestLong - 3, kMsgYouLose, -kFarthestMarkerY}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SessionTest, ClearingTheLastRoundPlaysTheEndingAndANewStartBeginsAtRoundOne) {
    g_firstRound = 1;
    auto g = MakeGame("ending",
                      {LandRound(), LandRound(), LandRound(), LandRound(), LandRound(), LandRound(),
                       LandRound(), LandRound(), LandRound()},
                      "");
    const auto run = Play(g);
    EXPECT_EQ(Banners(run),
              (std::vector<long long>{4, 0, 4, 0, 4, 0, 4, 0, 4, 0, 4, 0, 4, 0, 4, 0, 4, 0}));
    EXPECT_EQ(run.events("ending").size(), 1u);
    EXPECT_EQ(RoundNo, 10);
    EXPECT_EQ(GameMode, kNoGame);
    EXPECT_TRUE(fMain().pEnding.visible());

    // Space once the ending is over: a new game, from round 1.
    const long long over = Field(run.events("mode").back(), "t");
    std::istringstream script("1100 tap space\n" + std::to_string(over + 200) + " tap space\n");
    g.options.script.clear();
    std::string error;
    platform::headless::ParseScript(script, g.options.script, g.options.answers, error);
    g.options.idle = nullptr;
    g.options.stopAfterTicks = over + 3000;
    const auto again = Play(g);
    const auto loads = again.events("load");
    ASSERT_EQ(loads.size(), 10u);
    EXPECT_GT(Field(loads.back(), "t"), over);
    EXPECT_EQ(Field(loads.back(), "round"), 1);
    EXPECT_FALSE(fMain().pEnding.visible());
}

TEST(SessionTest, RetryKeepsRescuedPeopleAndRestartsTheTime) {
    // The person stands right under the falling ship; the rock below crashes it.
    auto round = FallRound(50);
    round.push_back(test::Record("RESQ", {4, 4}));
    round.push_back(test::Record("RESQ", {8, 1}));
    const auto run = Play(MakeGame("retry", {round}, "", 14000));
    const auto loads = run.events("load");
    ASSERT_GE(loads.size(), 2u);
    const auto frames = run.events("frame");
    // On the retry, one person is rescued already and the time is the round's again.
    long long firstOfRetry = -1;
    for (const auto& f : frames)
        if (Field(f, "t") > Field(loads[1], "t")) {
            firstOfRetry = Field(f, "rescued");
            EXPECT_EQ(Field(f, "time"), 50);
            break;
        }
    EXPECT_EQ(firstOfRetry, 1);
}

TEST(SessionTest, PauseDuringTheCountdownStartsWhenItEnds) {
    // Enter or Escape while the attempt is prepared: not a single frame is flown, and the pause
    // banner follows the count. Only Escape minimises the window.
    for (const std::string key : {"enter", "escape"}) {
        const auto run = Play(MakeGame("pausecount", {FallRound()}, "2500 tap " + key, 6000));
        EXPECT_TRUE(run.events("frame").empty()) << key;
        const auto banners = Banners(run);
        ASSERT_GE(banners.size(), 2u) << key;
        EXPECT_EQ(banners[1], kMsgPause) << key;
        EXPECT_GT(Field(run.events("message")[1], "t"), Field(run.events("countdown").back(), "t"));
        EXPECT_EQ(fMain().form.windowState, key == "escape" ? 1 : 0) << key;
    }
}

TEST(SessionTest, TimeRunsOnWhilePausedAndFlightResumesAfterEnter) {
    // Pause at once with Escape during the countdown, wait 5 s, resume with Enter.
    const auto run =
        Play(MakeGame("pausetime", {FallRound(100)}, "2500 tap escape\n12000 tap enter", 16000));
    const auto frames = run.events("frame");
    ASSERT_FALSE(frames.empty());
    const long long firstFrame = Field(frames.front(), "t");
    EXPECT_GE(firstFrame, 12000 + 1000); // the grace second
    EXPECT_LE(Field(frames.front(), "time"), 100 - 8);
    EXPECT_EQ(fMain().form.windowState, 0); // restored before flight goes on
}

TEST(SessionTest, EscapeDuringTheCrashBannerIsOverwritten) {
    auto g = MakeGame("escape", {FallRound()}, "", 9000);
    const auto probe = Play(g);
    const long long shown = Field(probe.events("message")[1], "t");
    const auto run =
        Play(MakeGame("escape", {FallRound()}, std::to_string(shown + 300) + " tap escape", 14000));
    const auto modes = run.events("mode");
    // 4 (crash) -> 2 (Escape) -> 1 (retry), and the retry flies.
    bool sawPause = false, sawRetry = false;
    for (const auto& m : modes) {
        if (Field(m, "from") == 4 && Field(m, "to") == 2) sawPause = true;
        if (sawPause && Field(m, "from") == 2 && Field(m, "to") == 1) sawRetry = true;
    }
    EXPECT_TRUE(sawPause);
    EXPECT_TRUE(sawRetry);
    EXPECT_EQ(Banners(run)[2], kMsgWait);
}

TEST(SessionTest, MenuStatesBeforeDuringAndAfterAGame) {
    auto g = MakeGame("menus", {FallRound()}, "");
    bool during = false;
    g.options.idle = [&during, started = false]() mutable {
        if (GameMode != kNoGame) {
            started = true;
            during = !fMain().form.findMenuItem("mGameStart")->enabled &&
                     fMain().form.findMenuItem("mGameStop")->enabled &&
                     fMain().form.findMenuItem("mGameEnd")->enabled;
        }
        return started && GameMode == kNoGame;
    };
    test::RunHeadless(g.options, [] {
        Main();
        EXPECT_TRUE(fMain().form.findMenuItem("mGameStart")->enabled);
        EXPECT_FALSE(fMain().form.findMenuItem("mGameStop")->enabled);
        EXPECT_TRUE(fMain().form.findMenuItem("mGameEnd")->enabled);
    });
    EXPECT_TRUE(during);
    EXPECT_TRUE(fMain().form.findMenuItem("mGameStart")->enabled);
    EXPECT_FALSE(fMain().form.findMenuItem("mGameStop")->enabled);
}

TEST(SessionTest, PauseFromTheMenuThenEnterLeavesTheItemChecked) {
    const auto run =
        Play(MakeGame("menupause", {FallRound()}, "4600 menu mGameStop\n7000 tap enter", 9000));
    const auto* item = fMain().form.findMenuItem("mGameStop");
    EXPECT_TRUE(item->checked);
    EXPECT_EQ(item->caption, "再開");
    EXPECT_EQ(Banners(run)[1], kMsgPause);
}

TEST(SessionTest, ResumeFromTheMenuSendsEnter) {
    const auto run = Play(
        MakeGame("menuresume", {FallRound()}, "4600 menu mGameStop\n7000 menu mGameStop", 12000));
    const auto* item = fMain().form.findMenuItem("mGameStop");
    EXPECT_FALSE(item->checked);
    EXPECT_EQ(item->caption, "停止");
    // Flight went on after the pause: frames after 7000 + the grace second.
    bool resumed = false;
    for (const auto& f : run.events("frame"))
        resumed = resumed || Field(f, "t") > 8000;
    EXPECT_TRUE(resumed);
}

TEST(SessionTest, QuitAnsweredNoLeavesTheGameWhereItWasAndYesEndsIt) {
    const auto plain = Play(MakeGame("quit", {FallRound()}, "", 8000));
    const auto no = Play(MakeGame("quit", {FallRound()}, "answer no\n3000 menu mGameEnd", 8000));
    const auto msgboxes = no.events("msgbox");
    ASSERT_EQ(msgboxes.size(), 1u);
    EXPECT_NE(msgboxes[0].find("\"text\":\"Vexaro!!を終了しますか？\",\"title\":\"Vexaro!!\","
                               "\"answer\":\"no\""),
              std::string::npos);
    // Apart from the menu line and the box, the trace is the same.
    std::vector<std::string> rest;
    for (const auto& line : no.trace)
        if (line.find("\"ev\":\"menu\"") == std::string::npos &&
            line.find("\"ev\":\"msgbox\"") == std::string::npos)
            rest.push_back(line);
    EXPECT_EQ(rest, plain.trace);

    const auto yes = Play(MakeGame("quit", {FallRound()}, "answer yes\n3000 menu mGameEnd", 8000));
    EXPECT_TRUE(yes.result.ended);
    EXPECT_EQ(yes.result.status, 0);
    EXPECT_EQ(yes.result.ticks, 3000);
}

TEST(SessionTest, ClosingTheWindowEndsAtOnce) {
    const auto run = Play(MakeGame("close", {FallRound()}, "5000 close", 9000));
    EXPECT_TRUE(run.result.ended);
    EXPECT_EQ(run.result.status, 0);
    EXPECT_EQ(run.result.ticks, 5000);
}

} // namespace
