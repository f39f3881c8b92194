// vexaro-replay-search: finds a flight through a round with the game's own frame code and
// writes it as a vexaro-sim script, then plays the script in the real game to prove it.
//
//   vexaro-replay-search round N PLAN.txt OUT.txt [--app-dir DIR] [--verbose]
//       searches round N along the waypoints of PLAN.txt and writes the replay OUT.txt
//   vexaro-replay-search full-game REPLAY_DIR OUT.txt [--app-dir DIR]
//       joins REPLAY_DIR/R1.txt .. R9.txt into one game from round 1 to the ending
#include "core/main.h"
#include "core/game_state.h"
#include "display/fmain.h"
#include "events/gauges.h"
#include "platform/backend.h"
#include "platform/headless/headless.h"
#include "stage/stage.h"
#include "tools/replay_search/beam_search.h"
#include "tools/replay_search/pilot_rules.h"
#include "tools/replay_search/replay_script.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

using namespace replay;

namespace {

constexpr std::int64_t kStartTick = 1100; // Space at this tick starts the game
constexpr int kRounds = 9;

int Usage() {
    std::cerr
        << "usage: vexaro-replay-search round N PLAN.txt OUT.txt [--app-dir DIR] [--verbose]\n"
           "       vexaro-replay-search full-game REPLAY_DIR OUT.txt [--app-dir DIR]\n";
    return 2;
}

std::string DefaultAppDir() {
    platform::headless::Options options;
    std::string dir;
    platform::headless::Run(options, [&dir] {
        dir = platform::ExecutableDir();
        platform::EndProcess(0);
    });
    return dir;
}

// The round as its first frame finds it: built, the view prepared, flying.
void PrepareRound(const std::string& appDir, int round) {
    ResetProcessState();
    TwipsX = TwipsY = platform::g_twipsX;
    AppDir = appDir;
    ShowMainWindow();
    RoundNo = round;
    Lives = 3;
    RescuedCount = 0;
    GameMode = kFlying;
    LoadRound(RoundNo);
    PrepareRoundView();
}

struct Found {
    SearchResult search;
    int allowance = 0;
};

Found SearchRound(const std::string& appDir, int round, Plan plan, bool verbose) {
    Found found;
    plan.margin = std::max(plan.margin, RockMargin(round));
    platform::headless::Options options;
    options.appDir = appDir;
    options.maxTicks = std::int64_t(1) << 40;
    platform::headless::Run(options, [&] {
        PrepareRound(appDir, round);
        found.allowance = TimeLeft;
        found.search = SearchFlight(plan, replay::LongestFlightFrames(TimeLeft), verbose);
        platform::EndProcess(0);
    });
    return found;
}

bool WriteLines(const std::string& path, const std::vector<std::string>& lines) {
    std::ofstream out(path, std::ios::trunc);
    for (const std::string& line : lines)
        out << line << "\n";
    return bool(out);
}

bool ReadLines(const std::string& path, std::vector<std::string>& lines) {
    std::ifstream in(path);
    if (!in) return false;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return true;
}

// The number after "# KEY " in a replay's header, or -1.
std::int64_t HeaderValue(const std::vector<std::string>& lines, const std::string& key) {
    const std::string prefix = "# " + key + " ";
    for (const std::string& line : lines)
        if (line.rfind(prefix, 0) == 0) return std::stoll(line.substr(prefix.size()));
    return -1;
}

int CountKeyChanges(const std::vector<std::uint8_t>& keys) {
    int changes = 0;
    for (std::size_t i = 1; i < keys.size(); ++i)
        changes += keys[i] != keys[i - 1];
    return changes;
}

int SearchCommand(int round, const std::string& planPath, const std::string& outPath,
                  const std::string& appDir, bool verbose) {
    Plan plan;
    std::string error;
    if (!ReadPlan(planPath, plan, error)) {
        std::cerr << error << "\n";
        return 1;
    }
    const auto started = std::chrono::steady_clock::now();
    const Found found = SearchRound(appDir, round, plan, verbose);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (!found.search.found) {
        std::cerr << "round " << round << ": no flight found: " << found.search.note << "\n";
        return 1;
    }
    const std::vector<std::string> start = {std::to_string(kStartTick) + " tap space"};
    const std::int64_t first = FirstFrameTick(appDir, round, start, round, error);
    if (first < 0) {
        std::cerr << "round " << round << ": "
                  << (error.empty() ? "the game never flew a frame" : error) << "\n";
        return 1;
    }
    std::vector<std::string> script = start;
    for (const std::string& line : KeyEvents(found.search.keys, first))
        script.push_back(line);
    const GameOutcome outcome = RunGame(appDir, round, script, StopTick(script), error);
    if (!error.empty()) {
        std::cerr << "round " << round << ": " << error << "\n";
        return 1;
    }
    if (outcome.rounds.empty() || !outcome.rounds.front().cleared ||
        outcome.rounds.front().crashed) {
        // Kept for a look at where the game and the search part.
        WriteLines(outPath + ".failed", script);
        std::cerr << "round " << round << ": the game did not clear the round with the script ("
                  << outPath << ".failed)\n";
        return 1;
    }
    const RoundOutcome& r = outcome.rounds.front();
    std::vector<std::string> lines = {
        "# Round " + std::to_string(round) + ": a flight from the countdown to the pad, found by",
        "# vexaro-replay-search along the waypoints of " +
            planPath.substr(planPath.rfind('/') + 1) + " and played back by the game.",
        "# first-frame " + std::to_string(first),
        "# frames " + std::to_string(r.frames),
        "# rescued " + std::to_string(r.rescued),
        "# time-left " + std::to_string(r.timeLeft),
        "# allowance " + std::to_string(found.allowance),
    };
    lines.insert(lines.end(), script.begin(), script.end());
    if (!WriteLines(outPath, lines)) {
        std::cerr << outPath << ": cannot write\n";
        return 1;
    }
    std::printf("round %d: %d frames (%.2f s), %d rescued, %d of %d s left, %d key changes, "
                "searched in %.1f s\n",
                round, r.frames, r.frames / 100.0, r.rescued, r.timeLeft, found.allowance,
                CountKeyChanges(found.search.keys), seconds);
    return 0;
}

int FullGameCommand(const std::string& replayDir, const std::string& outPath,
                    const std::string& appDir) {
    std::vector<std::string> script = {std::to_string(kStartTick) + " tap space"};
    std::string error;
    for (int round = 1; round <= kRounds; ++round) {
        const std::string path = replayDir + "/R" + std::to_string(round) + ".txt";
        std::vector<std::string> lines;
        if (!ReadLines(path, lines)) {
            std::cerr << path << ": cannot read\n";
            return 1;
        }
        const std::int64_t planned = HeaderValue(lines, "first-frame");
        const std::int64_t actual = FirstFrameTick(appDir, 1, script, round, error);
        if (!error.empty()) {
            std::cerr << "the joined script: " << error << "\n";
            return 1;
        }
        if (planned < 0 || actual < 0) {
            std::cerr << path << ": round " << round << " not reached\n";
            return 1;
        }
        // Every key event of the round, moved with its first frame; the start is already done.
        for (const std::string& line : lines) {
            const std::int64_t t = LineTick(line);
            if (line.empty() || line[0] == '#' || t <= kStartTick) continue;
            script.push_back(std::to_string(t - planned + actual) + line.substr(line.find(' ')));
        }
    }
    const GameOutcome outcome = RunGame(appDir, 1, script, -1, error);
    if (!error.empty()) {
        std::cerr << "the joined script: " << error << "\n";
        return 1;
    }
    int cleared = 0;
    for (const RoundOutcome& r : outcome.rounds)
        cleared += r.cleared && !r.crashed;
    if (cleared != kRounds || !outcome.endingShown || !outcome.backToNoGame) {
        std::cerr << "the joined game cleared " << cleared << " rounds\n";
        return 1;
    }
    std::vector<std::string> lines = {
        "# The whole game: rounds 1 to 9 flown with the replays of each round, moved to where",
        "# each round's first frame falls, then the ending. Made by vexaro-replay-search.",
    };
    lines.insert(lines.end(), script.begin(), script.end());
    if (!WriteLines(outPath, lines)) {
        std::cerr << outPath << ": cannot write\n";
        return 1;
    }
    for (const RoundOutcome& r : outcome.rounds)
        std::printf("round %d: %d frames, %d rescued, %d s left\n", r.round, r.frames, r.rescued,
                    r.timeLeft);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args;
    std::string appDir;
    bool verbose = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--app-dir" && i + 1 < argc) {
            appDir = argv[++i];
            if (appDir.back() != '/') appDir += '/';
        } else if (arg == "--verbose") {
            verbose = true;
        } else {
            args.push_back(arg);
        }
    }
    if (appDir.empty()) appDir = DefaultAppDir();
    if (args.size() == 4 && args[0] == "round") {
        int round = 0;
        try {
            round = std::stoi(args[1]);
        } catch (...) {
        }
        if (round < 1 || round > kRounds) return Usage();
        return SearchCommand(round, args[2], args[3], appDir, verbose);
    }
    if (args.size() == 3 && args[0] == "full-game")
        return FullGameCommand(args[1], args[2], appDir);
    return Usage();
}
