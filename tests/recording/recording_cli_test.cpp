// vexaro-sim --record and --replay: every replay script of the rounds (whatever tests/replays
// holds), recorded while it plays and then played from the recording alone, gives the same
// trace, and a recording of the whole game stays small; bad recordings and bad uses of the two
// options get one line and status 2.
#include "tests/fixtures/sim_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string kSource = VEXARO_SOURCE_DIR "/";

using sim_test::Outcome;
using sim_test::ReadLines;
using sim_test::ReadText;
using sim_test::TempPath;

// vexaro-sim with the arguments: its exit status, its trace and what it said.
Outcome Sim(const std::string& args, const std::string& name) {
    return sim_test::RunSim(VEXARO_SIM, args, name);
}

// The round of a round's own replay ("R3.txt" gives "3"), or nothing for another file.
std::string RoundOfScript(const std::string& name) {
    if (name.size() < 6 || name[0] != 'R' || !name.ends_with(".txt")) return "";
    const std::string digits = name.substr(1, name.size() - 5);
    const bool number =
        std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
    return number ? digits : "";
}

// The replay scripts there are now, by file name: each round's (R1.txt ...) and the whole
// game's (full-game.txt).
std::vector<std::string> ReplayScripts() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kSource + "tests/replays")) {
        const std::string name = entry.path().filename().string();
        const bool wholeGame = name.starts_with("full-game") && name.ends_with(".txt");
        if (wholeGame || !RoundOfScript(name).empty()) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

class RecordedReplay : public ::testing::TestWithParam<std::string> {};

TEST_P(RecordedReplay, PlaysBackFromTheRecordingToTheSameTrace) {
    const std::string name = GetParam();
    // A round's own replay starts at that round ("R3.txt"); the others start at the first.
    const std::string round = RoundOfScript(name);
    const std::string from = round.empty() ? "" : "--round " + round + " ";
    const std::string recording = TempPath(name + ".rec");
    const Outcome made = Sim(from + "--script " + kSource + "tests/replays/" + name +
                                 " --until idle --record " + recording,
                             name + "-made");
    ASSERT_EQ(made.status, 0);
    ASSERT_FALSE(made.trace.empty());
    const Outcome played = Sim("--replay " + recording + " --until idle", name + "-played");
    EXPECT_EQ(played.status, 0);
    EXPECT_TRUE(played.errors.empty()) << played.errors.front();
    EXPECT_EQ(played.trace, made.trace);

    // A whole game, from the start to the ending, fits in a megabyte with room to spare.
    const auto bytes = fs::file_size(recording);
    RecordProperty("recording_bytes", std::to_string(bytes));
    std::cout << name << ": " << bytes << " bytes of recording, " << made.trace.size()
              << " lines of trace\n";
    EXPECT_LE(bytes, 1u << 20);
}

INSTANTIATE_TEST_SUITE_P(Scripts, RecordedReplay, ::testing::ValuesIn(ReplayScripts()),
                         [](const auto& info) {
                             std::string n = info.param.substr(0, info.param.rfind('.'));
                             std::replace_if(
                                 n.begin(), n.end(), [](char c) { return !std::isalnum(c); }, '_');
                             return n;
                         });

struct BadUse {
    const char* name;
    std::string recording; // written to a file and played; empty: `args` alone
    std::string args;
    const char* says;
};

class BadRecordingUse : public ::testing::TestWithParam<BadUse> {};

TEST_P(BadRecordingUse, GetsOneLineAndStatusTwo) {
    const BadUse& c = GetParam();
    std::string args = c.args;
    if (!c.recording.empty()) {
        const std::string path = TempPath(std::string(c.name) + ".rec");
        std::ofstream(path, std::ios::binary) << c.recording;
        args = "--replay " + path + " " + args;
    }
    const Outcome o = Sim(args, c.name);
    EXPECT_EQ(o.status, 2);
    ASSERT_EQ(o.errors.size(), 1u);
    EXPECT_NE(o.errors[0].find(c.says), std::string::npos) << o.errors[0];
    EXPECT_TRUE(o.trace.empty()); // nothing was played
}

INSTANTIATE_TEST_SUITE_P(
    Uses, BadRecordingUse,
    ::testing::Values(
        BadUse{"script", "1100 tap space\n", "", "not a Vexaro!! recording"},
        BadUse{"newer", "vexaro-recording 3\nsomething new\n", "",
               "made by a newer Vexaro!! (recording format 3; this game plays format 1)"},
        BadUse{"badLine", "vexaro-recording 1\ns 1\nr 0*\n", "", "line 3: bad run \"0*\""},
        BadUse{"withScript", "vexaro-recording 1\n", "--script /dev/null",
               "--replay plays a recording as it was made"},
        BadUse{"withRound", "vexaro-recording 1\n", "--round 3",
               "--replay plays a recording as it was made"},
        BadUse{"missing", "", "--replay /nonexistent/game.rec",
               "cannot read /nonexistent/game.rec"},
        BadUse{"unwritable", "", "--ticks 10 --record /nonexistent/dir/game.rec",
               "cannot write /nonexistent/dir/game.rec (No such file or directory)"},
        BadUse{"diskFull", "", "--ticks 10 --record /dev/full",
               "cannot write /dev/full (No space left on device)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RecordingThatCannotBeWritten, StopsWithOneLineWhileTheGameGoesOn) {
    // Room for two kilobytes of files: the recording of the first game does not fit when it is
    // written out at the game's end.
    const std::string path = TempPath("small.rec"), err = TempPath("small.err");
    const std::string command =
        "bash -c \"trap '' XFSZ; ulimit -f 2; exec " + std::string(VEXARO_SIM) + " --script " +
        kSource + "tests/replays/full-game.txt --until idle --record " + path + "\" 2>" + err;
    const int raw = std::system(command.c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 2);
    const auto errors = ReadLines(err);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(
        errors[0].find("the recording stops here: cannot write " + path + " (File too large)"),
        std::string::npos)
        << errors[0];
    // What did fit plays, up to where it was cut.
    const Outcome played = Sim("--replay " + path, "small-played");
    EXPECT_EQ(played.status, 2);
    ASSERT_EQ(played.errors.size(), 1u);
    EXPECT_NE(played.errors[0].find("cut short"), std::string::npos);
    EXPECT_FALSE(played.trace.empty());
}

TEST(CutRecording, PlaysUpToItsEndThenSaysSoWithStatusTwo) {
    const std::string whole = TempPath("cut-whole.rec");
    const Outcome made =
        Sim("--round 1 --script " + kSource + "tests/replays/R1.txt --ticks 9000 --record " + whole,
            "cut-made");
    ASSERT_EQ(made.status, 0);
    const std::string text = ReadText(whole);
    const std::string cut = TempPath("cut.rec");
    std::ofstream(cut, std::ios::binary) << text.substr(0, text.size() * 2 / 3);
    const Outcome played = Sim("--replay " + cut, "cut-played");
    EXPECT_EQ(played.status, 2);
    ASSERT_EQ(played.errors.size(), 1u);
    EXPECT_NE(played.errors[0].find("the recording ends here: it was cut short after line"),
              std::string::npos);
    ASSERT_FALSE(played.trace.empty());
    ASSERT_LT(played.trace.size(), made.trace.size());
    EXPECT_TRUE(std::equal(played.trace.begin(), played.trace.end(), made.trace.begin()));
}

} // namespace
