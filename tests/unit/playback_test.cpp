// Recording a game headlessly and playing the recording: the same trace, whatever the game did
// (menus, message boxes, the about window and its links, help, a second instance, the clock's
// wrap, a missing or bad round); the round it read comes from the recording; a cut recording
// plays up to its cut and says so; one that does not fit the game says where.
#include "core/game_state.h"
#include "harness.h"
#include "platform/recording.h"
#include "tests/fixtures/sim_process.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

namespace {

using sim_test::ReadText;
using test::Field;

std::vector<RoundRecord> FallRound() {
    return {test::Record("ROUNDRANGE", {10, 10, 0, 0, 100}), test::Record("MYSHIP", {4, 2}),
            test::Record("ROCK", {0, 6, 9, 6, 1}), test::Record("GOAL", {0, 9})};
}
std::vector<RoundRecord> LandRound() {
    return {test::Record("ROUNDRANGE", {10, 10, 0, 0, 100}), test::Record("MYSHIP", {4, 2}),
            test::Record("GOAL", {4, 4})};
}

struct Recorded {
    test::Run run;
    std::string text; // the recording
};

// Runs the game from Main with `options`, recording it.
Recorded RecordGame(platform::headless::Options options, const std::string& name) {
    g_firstRound = 1;
    options.recordPath = test::TempDir("rec-" + name) + "/game.rec";
    Recorded r;
    r.run = test::RunHeadless(options, [] { Main(); });
    r.text = ReadText(options.recordPath);
    return r;
}

// Plays a recording from Main, with the game's data in `appDir`, stopped after `stopAfterTicks`
// (-1: played to its end).
test::Run Play(std::shared_ptr<const platform::Recording> recording, const std::string& appDir,
               std::int64_t stopAfterTicks = -1) {
    g_firstRound = recording->firstRound;
    platform::headless::Options options;
    options.appDir = appDir;
    options.replay = std::move(recording);
    options.stopAfterTicks = stopAfterTicks;
    return test::RunHeadless(options, [] { Main(); });
}

// Plays a recording's text from Main, with the game's data in `appDir`.
test::Run Replay(const std::string& text, const std::string& appDir = test::BuildDir()) {
    auto recording = std::make_shared<platform::Recording>();
    std::string error;
    EXPECT_TRUE(platform::ParseRecording(text, *recording, error)) << error;
    return Play(std::move(recording), appDir);
}

std::string GameFolder(const std::string& name, const std::vector<RoundRecord>& round) {
    const std::string dir = test::TempDir(name);
    test::WriteRoundFile(dir, 1, round);
    return dir + "/";
}

struct Scenario {
    const char* name;
    std::string script;
    std::int64_t ticks;
    void (*tweak)(platform::headless::Options&);
};
VEXARO_PRINT_CASE_BY_NAME(Scenario)

class PlaybackScenario : public ::testing::TestWithParam<Scenario> {};

TEST_P(PlaybackScenario, PlaysBackToTheSameTrace) {
    const Scenario& s = GetParam();
    auto options = test::Options(s.script);
    options.appDir = GameFolder(std::string("play-") + s.name, FallRound());
    options.stopAfterTicks = s.ticks;
    if (s.tweak) s.tweak(options);
    const Recorded made = RecordGame(options, s.name);
    ASSERT_FALSE(made.run.trace.empty());

    // Played where no round file is: the recording holds the round the game read.
    const std::string empty = test::TempDir(std::string("empty-") + s.name) + "/";
    const auto played = Replay(made.text, empty);
    EXPECT_EQ(played.trace, made.run.trace);
    EXPECT_EQ(played.result.ended, made.run.result.ended);
    EXPECT_EQ(played.result.status, made.run.result.status);
    EXPECT_EQ(played.result.ticks, made.run.result.ticks);
    EXPECT_EQ(played.result.message, "");
}

INSTANTIATE_TEST_SUITE_P(
    Games, PlaybackScenario,
    ::testing::Values(
        Scenario{"crashes", "1100 tap space\n", 40000, nullptr},
        Scenario{"menus",
                 "answer no\n1100 menu mGameStart\n4200 menu mGameStop\n6000 menu mGameStop\n"
                 "6500 menu mSetSound\n7000 menu mGameEnd\n7100 menu mSetZOrder\n9000 tap enter\n"
                 "11000 tap enter\n12000 tap escape\n14000 tap enter\n16000 close\n",
                 30000, nullptr},
        Scenario{"quitYes", "answer yes\n1100 tap space\n5000 menu mGameEnd\n", 9000, nullptr},
        Scenario{"aboutAndLinks",
                 "1100 menu mHelpAbout\n1200 tap space\n1300 click lblMail\n1400 click lblHttp\n"
                 "1500 click fAbout\n1600 tap space\n",
                 8000, [](auto& o) { o.shellResult = 2; }},
        Scenario{"helpMissing", "1100 menu mHelpHelp\n1200 tap space\n", 6000, nullptr},
        Scenario{"secondInstance", "", 3000, [](auto& o) { o.otherInstanceRunning = true; }},
        Scenario{"clockWraps", "1100 tap space\n", 12000,
                 [](auto& o) { o.startTick = 4294965000u; }},
        Scenario{"dpi120", "1100 tap space\n4500 down right\n5000 up right\n", 8000,
                 [](auto& o) { o.dpi = 120; }},
        Scenario{"missingRound", "1100 tap space\n", 6000,
                 [](auto& o) { o.appDir = test::TempDir("noround") + "/"; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Playback, ABadRoundFileIsRefusedAgainWithItsMessage) {
    const std::string dir = test::TempDir("badround");
    std::system(
        ("mkdir -p " + dir + "/rnd_dat && printf 'nonsense' > " + dir + "/rnd_dat/R1.dat.rnd")
            .c_str());
    auto options = test::Options("1100 tap space\n");
    options.appDir = dir + "/";
    options.stopAfterTicks = 6000;
    const Recorded made = RecordGame(options, "badround");
    ASSERT_EQ(made.run.events("msgbox").size(), 1u);
    EXPECT_EQ(Replay(made.text, test::TempDir("empty-badround") + "/").trace, made.run.trace);
}

// Whatever a file's path, the recording names it so that it reads back and plays back as that
// file's: a DEL byte, blanks, a name longer than a recording's names may be. Two long paths
// that end alike stay apart.
TEST(Playback, AnyFileNameReadsBackAndPlaysAsThatFile) {
    const std::string dir = test::TempDir("names") + "/";
    const std::string longFolder = "/" + std::string(300, 'd') + "/a/R1.dat.rnd";
    const std::vector<std::string> paths{dir + "del\x7fname", dir + "a b\tc",
                                         dir + std::string(300, 'x'), longFolder, dir};
    std::ofstream(paths[0]) << "here";
    auto askAll = [](const std::vector<std::string>& asked, std::vector<bool>& answers) {
        return [&asked, &answers] {
            for (const auto& path : asked)
                answers.push_back(platform::FileExists(path));
        };
    };
    auto options = test::Options();
    options.appDir = dir;
    options.recordPath = dir + "names.rec";
    options.stopAfterTicks = 5;
    std::vector<bool> made;
    ASSERT_EQ(test::RunHeadless(options, askAll(paths, made)).result.message, "");
    EXPECT_EQ(made, (std::vector<bool>{true, false, false, false, false}));

    auto recording = std::make_shared<platform::Recording>();
    std::string error;
    ASSERT_TRUE(platform::ParseRecording(ReadText(options.recordPath), *recording, error)) << error;
    platform::headless::Options played;
    played.appDir = dir;
    played.replay = recording;
    std::vector<bool> answers;
    const auto run = test::RunHeadless(played, askAll(paths, answers));
    EXPECT_EQ(run.result.message, "");
    EXPECT_EQ(answers, made);

    std::vector<std::string> otherEnd = paths;
    otherEnd[3] = "/" + std::string(300, 'e') + "/a/R1.dat.rnd";
    std::vector<bool> misfit;
    const auto other = test::RunHeadless(played, askAll(otherEnd, misfit));
    EXPECT_EQ(other.result.status, 2);
    EXPECT_NE(other.result.message.find("does not fit this game"), std::string::npos)
        << other.result.message;
}

TEST(Playback, TheRoundReadComesFromTheRecordingNotFromTheDisk) {
    auto options = test::Options("1100 tap space\n");
    options.appDir = GameFolder("landing", LandRound());
    options.stopAfterTicks = 9000;
    const Recorded made = RecordGame(options, "landing");
    // On disk now: a round where the ship crashes.
    const auto played = Replay(made.text, GameFolder("crashing", FallRound()));
    EXPECT_EQ(played.trace, made.run.trace);
    EXPECT_EQ(played.events("mode").size(), made.run.events("mode").size());
}

TEST(Playback, AGameIsOnDiskWhenItEndsWhileTheNextIsOnlyInMemory) {
    const std::string folder = GameFolder("flush", FallRound());
    const std::string path = test::TempDir("flush-rec") + "/game.rec";
    std::string midGame, afterGame;
    auto options = test::Options("1100 tap space\n");
    options.appDir = folder;
    options.recordPath = path;
    bool started = false;
    options.idle = [&]() {
        if (GameMode != kNoGame && !started) {
            started = true;
            midGame = ReadText(path);
        }
        if (started && GameMode == kNoGame && afterGame.empty()) afterGame = ReadText(path);
        return false;
    };
    options.stopAfterTicks = 60000;
    g_firstRound = 1;
    const auto run = test::RunHeadless(options, [] { Main(); });
    // While the game ran, the file held the header and what came before the game.
    EXPECT_EQ(midGame.find("file rnd_dat"), std::string::npos);
    // Once it was over, the whole game was there: playing it gives the game up to its end.
    ASSERT_NE(afterGame.find("file rnd_dat/R1.dat.rnd read"), std::string::npos);
    const auto played = Replay(afterGame, folder);
    EXPECT_EQ(played.result.status, 2);
    EXPECT_NE(played.result.message.find("cut short"), std::string::npos);
    std::vector<std::string> gameOver;
    for (const auto& line : run.trace) {
        gameOver.push_back(line);
        if (platform::TraceIs(line, "mode") && Field(line, "to") == 0) break;
    }
    ASSERT_GE(played.trace.size(), gameOver.size());
    EXPECT_EQ(std::vector<std::string>(played.trace.begin(),
                                       played.trace.begin() + std::ptrdiff_t(gameOver.size())),
              gameOver);
}

// A game in which the ship falls onto rock, recorded.
Recorded RecordFallGame(const std::string& name, const std::string& script, std::int64_t ticks) {
    auto options = test::Options(script);
    options.appDir = GameFolder(name, FallRound());
    options.stopAfterTicks = ticks;
    return RecordGame(options, name);
}

// A key is held while the keyboard or a pad holds it, in a recording as in the game.
TEST(Playback, AKeyHeldByTheKeyboardStaysHeldWhenAPadLetsGoOfIt) {
    const Recorded made =
        RecordFallGame("pad", "1100 tap space\n4600 down space\n5100 up space\n", 9000);
    // The lift's press and release (Space's start is "+97 down 32" and its tap's release
    // follows it; the lift's press is the second "down 32" line).
    const std::string press = "\ndown 32\n", release = "\nup 32\n";
    const auto pressAt = made.text.find(press);
    ASSERT_NE(pressAt, std::string::npos);
    const auto releaseAt = made.text.find(release, pressAt);
    ASSERT_NE(releaseAt, std::string::npos);
    auto played = [](std::string text) {
        return Replay(text, test::TempDir("empty-pad") + "/").trace;
    };
    auto replaced = [&](std::size_t at, const std::string& from, const std::string& to) {
        return made.text.substr(0, at) + to + made.text.substr(at + from.size());
    };
    // A pad pressing and letting go of Space while the keyboard holds it changes nothing.
    EXPECT_EQ(played(replaced(pressAt, press, press + "pad-down 32\npad-up 32\n")), made.run.trace);
    // The lift from the pad alone is the same lift.
    std::string padOnly = replaced(releaseAt, release, "\npad-up 32\n");
    padOnly.replace(pressAt, press.size(), "\npad-down 32\n");
    EXPECT_EQ(played(padOnly), made.run.trace);
    // But the pad letting go does not release the keyboard's Space: the lift goes on.
    EXPECT_NE(played(replaced(releaseAt, release, "\npad-up 32\n")), made.run.trace);
}

// Cut after a fraction of the recording's bytes.
class CutRecording : public ::testing::TestWithParam<double> {};

TEST_P(CutRecording, PlaysUpToTheCutAndSaysSo) {
    static const Recorded made =
        RecordFallGame("cut", "1100 tap space\n4600 down right\n4700 up right\n", 30000);
    const std::string cut = made.text.substr(0, std::size_t(double(made.text.size()) * GetParam()));
    const auto played = Replay(cut, test::TempDir("empty-cut") + "/");
    EXPECT_EQ(played.result.status, 2);
    EXPECT_NE(played.result.message.find("the recording ends here: it was cut short after line"),
              std::string::npos)
        << played.result.message;
    // What it played is the game as it was, up to there.
    ASSERT_LE(played.trace.size(), made.run.trace.size());
    for (std::size_t i = 0; i < played.trace.size(); ++i)
        ASSERT_EQ(played.trace[i], made.run.trace[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(Fractions, CutRecording,
                         ::testing::Values(0.02, 0.1, 0.25, 0.5, 0.613, 0.75, 0.9, 0.999));

struct MisfitCase {
    const char* name;
    const char* from;
    const char* to;
};
VEXARO_PRINT_CASE_BY_NAME(MisfitCase)

class MisfitRecording : public ::testing::TestWithParam<MisfitCase> {};

TEST_P(MisfitRecording, SaysWhereItDoesNotFitTheGame) {
    static const Recorded made = RecordFallGame("misfit", "1100 tap space\n", 9000);
    std::string text = made.text;
    const std::string from = GetParam().from, to = GetParam().to;
    ASSERT_NE(text.find(from), std::string::npos) << text;
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    const auto played = Replay(text);
    EXPECT_EQ(played.result.status, 2);
    EXPECT_NE(played.result.message.find("the recording does not fit this game: at line"),
              std::string::npos)
        << played.result.message;
    EXPECT_EQ(played.result.message.find('\n'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Edits, MisfitRecording,
                         ::testing::Values(MisfitCase{"answerForAnother", "instance 0\n",
                                                      "msgbox 1\n"},
                                           MisfitCase{"otherFile", "wav/dr.mid", "wav/xx.mid"},
                                           MisfitCase{"otherRound", "file rnd_dat/R1.dat.rnd",
                                                      "file rnd_dat/R2.dat.rnd"},
                                           MisfitCase{"noSuchMenu", "down 32\n", "menu mNothing\n"},
                                           MisfitCase{"answerMissing", "instance 0\n", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

// A recording changed at random: a number, a line dropped, doubled, moved or turned into
// another kind of line.
std::string Mangle(const std::string& text, std::mt19937& random) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    auto any = [&](std::size_t from) {
        return std::uniform_int_distribution<std::size_t>(from, lines.size() - 1)(random);
    };
    static const char* const kOthers[] = {"down 32",  "up 39", "menu mGameStop", "timer tLastSec",
                                          "msgbox 6", "mci 0", "wave",           "close fMain",
                                          "s 0*3",    "r 7",   "instance 1",     "end stop"};
    const int changes = std::uniform_int_distribution<int>(1, 3)(random);
    for (int c = 0; c < changes && lines.size() > 2; ++c) {
        std::string& line = lines[any(1)];
        switch (std::uniform_int_distribution<int>(0, 4)(random)) {
        case 0: { // a number becomes another
            const auto digit = line.find_first_of("0123456789");
            if (digit == std::string::npos) break;
            const auto end = line.find_first_not_of("0123456789", digit);
            line.replace(digit, end == std::string::npos ? std::string::npos : end - digit,
                         std::to_string(std::uniform_int_distribution<int>(0, 3000)(random)));
            break;
        }
        case 1:
            lines.erase(lines.begin() + std::ptrdiff_t(any(1)));
            break;
        case 2:
            lines.insert(lines.begin() + std::ptrdiff_t(any(1)), line);
            break;
        case 3:
            std::swap(line, lines[any(1)]);
            break;
        default:
            line = kOthers[std::uniform_int_distribution<std::size_t>(0, 11)(random)];
        }
    }
    std::string out;
    for (const auto& line : lines)
        out += line + "\n";
    return out;
}

TEST(Playback, AMangledRecordingEndsInItsOwnTimeWithAtMostOneLine) {
    const Recorded made =
        RecordFallGame("mangle", "1100 tap space\n4600 down right\n4700 up right\n", 20000);
    std::mt19937 random(20260214);
    int played = 0;
    for (int i = 0; i < 150; ++i) {
        const std::string text = Mangle(made.text, random);
        auto recording = std::make_shared<platform::Recording>();
        std::string error;
        if (!platform::ParseRecording(text, *recording, error)) continue; // refused whole
        ++played;
        const auto run = Play(std::move(recording), test::BuildDir(), 60000);
        EXPECT_TRUE(run.result.status == 0 || run.result.status == 2) << i << "\n" << text;
        EXPECT_EQ(run.result.message.find('\n'), std::string::npos);
        if (run.result.status == 2) {
            EXPECT_FALSE(run.result.message.empty()) << i;
        }
    }
    EXPECT_GT(played, 50);
}

} // namespace
