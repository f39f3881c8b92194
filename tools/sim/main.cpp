// vexaro-sim: the real game from its start on the headless backend, driven by a script, with a
// trace of what happens and pictures of the window on request.
#include "core/main.h"
#include "core/game_state.h"
#include "platform/headless/headless.h"
#include "platform/recording.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

namespace {

int Usage(const std::string& message) {
    std::fprintf(stderr, "vexaro-sim: %s\n", message.c_str());
    return 2;
}

bool ParseNumber(const std::string& text, long long& value) {
    try {
        std::size_t used = 0;
        value = std::stoll(text, &used, 10);
        return used == text.size();
    } catch (...) {
        return false;
    }
}

} // namespace

int main(int argc, char** argv) {
    platform::headless::Options options;
    std::string tracePath;
    bool untilIdle = false;
    std::string scriptPath, replayPath;
    bool roundGiven = false, screenGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        std::string v;
        long long n = 0;
        if (arg == "--app-dir") {
            if (!value(v)) return Usage("--app-dir needs a folder");
            options.appDir = v;
        } else if (arg == "--dpi") {
            if (!value(v) || !ParseNumber(v, n) || n < 24 || n > 960)
                return Usage("--dpi needs a number from 24 to 960");
            options.dpi = int(n);
            screenGiven = true;
        } else if (arg == "--start-tick") {
            if (!value(v) || !ParseNumber(v, n) || n < 0 || n > 0xFFFFFFFFLL)
                return Usage("--start-tick needs a number from 0 to 4294967295");
            options.startTick = std::uint32_t(n);
            screenGiven = true;
        } else if (arg == "--script") {
            if (!value(v)) return Usage("--script needs a file");
            scriptPath = v;
            std::ifstream in(v);
            if (!in) return Usage("cannot read script " + v);
            std::string error;
            if (!platform::headless::ParseScript(in, options.script, options.answers, error))
                return Usage(v + ": " + error);
        } else if (arg == "--round") {
            if (!value(v) || !ParseNumber(v, n) || n < 1 || n > 9999)
                return Usage("--round needs a round number");
            g_firstRound = Long(n);
            roundGiven = true;
        } else if (arg == "--ticks") {
            if (!value(v) || !ParseNumber(v, n) || n < 0) return Usage("--ticks needs a number");
            options.stopAfterTicks = n;
        } else if (arg == "--until") {
            if (!value(v) || v != "idle") return Usage("--until takes only idle");
            untilIdle = true;
        } else if (arg == "--trace") {
            if (!value(v)) return Usage("--trace needs a file or -");
            tracePath = v;
        } else if (arg == "--shot") {
            if (!value(v)) return Usage("--shot needs T:FILE.png");
            const auto colon = v.find(':');
            if (colon == std::string::npos || !ParseNumber(v.substr(0, colon), n) || n < 0)
                return Usage("--shot needs T:FILE.png");
            options.shots.push_back({n, v.substr(colon + 1)});
        } else if (arg == "--record") {
            if (!value(v)) return Usage("--record needs a file");
            options.recordPath = v;
        } else if (arg == "--replay") {
            if (!value(v)) return Usage("--replay needs a recording");
            replayPath = v;
        } else {
            return Usage("unknown argument " + arg);
        }
    }
    if (!replayPath.empty()) {
        // A recording brings its own input, clock, screen and first round.
        if (!scriptPath.empty() || roundGiven || screenGiven || !options.recordPath.empty())
            return Usage("--replay plays a recording as it was made: no --script, --round, "
                         "--dpi, --start-tick or --record with it");
        auto recording = std::make_shared<platform::Recording>();
        std::string error;
        if (!platform::LoadRecording(replayPath, *recording, error)) return Usage(error);
        g_firstRound = recording->firstRound;
        options.replay = std::move(recording);
    }
    options.firstRound = int(g_firstRound);
    std::stable_sort(options.shots.begin(), options.shots.end(),
                     [](const auto& a, const auto& b) { return a.t < b.t; });

    std::ofstream traceFile;
    std::ostream* trace = nullptr;
    if (tracePath == "-") {
        trace = &std::cout;
    } else if (!tracePath.empty()) {
        traceFile.open(tracePath);
        if (!traceFile) return Usage("cannot write trace " + tracePath);
        trace = &traceFile;
    }
    if (trace) options.traceLine = [trace](const std::string& line) { *trace << line << '\n'; };
    if (untilIdle) {
        bool gameHasRun = false;
        options.idle = [gameHasRun]() mutable {
            if (GameMode != kNoGame) gameHasRun = true;
            return gameHasRun && GameMode == kNoGame;
        };
    }

    const auto result = platform::headless::Run(options, [] {
        ResetProcessState();
        Main();
    });
    if (trace) trace->flush();
    if (!result.message.empty()) std::fprintf(stderr, "vexaro-sim: %s\n", result.message.c_str());
    return result.status;
}
