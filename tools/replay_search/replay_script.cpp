#include "tools/replay_search/replay_script.h"
#include "platform/trace.h"

#include "core/game_state.h"
#include "core/main.h"
#include "platform/headless/headless.h"
#include "tools/replay_search/flight_snapshot.h"

#include <algorithm>
#include <sstream>

namespace replay {

namespace {

long long Field(const std::string& line, const std::string& key, long long fallback = -1) {
    return platform::TraceField(line, key, fallback);
}

bool IsEvent(const std::string& line, const std::string& ev) {
    return platform::TraceIs(line, ev);
}

const char* KeyName(std::uint8_t bit) {
    return bit == kKeyLeft ? "left" : bit == kKeyRight ? "right" : "space";
}

// Reads the frame and mode events of a trace into round outcomes.
class TraceReader {
  public:
    void Line(const std::string& line) {
        if (IsEvent(line, "frame")) {
            const int round = int(Field(line, "round"));
            if (outcome.rounds.empty() || outcome.rounds.back().round != round ||
                outcome.rounds.back().cleared) {
                RoundOutcome r;
                r.round = round;
                r.firstFrameTick = Field(line, "t");
                outcome.rounds.push_back(r);
            }
            RoundOutcome& r = outcome.rounds.back();
            const long long mode = Field(line, "mode");
            if (r.cleared || r.crashed) return;
            ++r.frames;
            r.rescued = int(Field(line, "rescued"));
            if (mode == kRoundCleared) {
                r.cleared = true;
                r.timeLeft = int(Field(line, "time"));
            } else if (mode == kCrashed) {
                r.crashed = true;
            }
        } else if (IsEvent(line, "mode")) {
            if (Field(line, "to") == kCrashed && !outcome.rounds.empty())
                outcome.rounds.back().crashed = true;
            if (Field(line, "to") == kNoGame && Field(line, "from") != kNoGame)
                outcome.backToNoGame = true;
        } else if (IsEvent(line, "ending")) {
            outcome.endingShown = true;
        }
    }
    GameOutcome outcome;
};

} // namespace

std::int64_t FrameTick(std::int64_t first, int n) {
    return n == 0 ? first : first + 2 + 10 * std::int64_t(n - 1);
}

std::vector<std::string> KeyEvents(const std::vector<std::uint8_t>& keys, std::int64_t first) {
    std::vector<std::string> lines;
    std::uint8_t held = 0;
    auto change = [&](std::int64_t t, std::uint8_t want) {
        for (std::uint8_t bit : {kKeyLeft, kKeyRight, kKeySpace})
            if ((held & bit) && !(want & bit))
                lines.push_back(std::to_string(t) + " up " + KeyName(bit));
        for (std::uint8_t bit : {kKeyLeft, kKeyRight, kKeySpace})
            if (!(held & bit) && (want & bit))
                lines.push_back(std::to_string(t) + " down " + KeyName(bit));
        held = want;
    };
    // Between the reads of frames n - 1 and n: the countdown's last second before frame 0, the
    // only message step between frames 0 and 1, mid-pace for the others.
    const auto slot = [first](int n) {
        return n == 0 ? first - 100 : n == 1 ? first + 1 : FrameTick(first, n) - 5;
    };
    for (int n = 0; n < int(keys.size()); ++n)
        if (keys[std::size_t(n)] != held) change(slot(n), keys[std::size_t(n)]);
    // Everything is let go where the next frame would read the keys, so the last key state
    // lasts as long as the flight holds it; a replay always ends after its flight, with a
    // release of Space when no key is held any more.
    const std::int64_t end = slot(int(keys.size()));
    if (held == 0) lines.push_back(std::to_string(end) + " up space");
    change(end, 0);
    return lines;
}

bool RunScript(platform::headless::Options options, int firstRound,
               const std::vector<std::string>& script, std::string& error) {
    std::ostringstream text;
    for (const std::string& line : script)
        text << line << "\n";
    std::istringstream in(text.str());
    if (!platform::headless::ParseScript(in, options.script, options.answers, error)) return false;
    platform::headless::Run(options, [firstRound] {
        ResetProcessState();
        g_firstRound = firstRound;
        Main();
    });
    return true;
}

std::int64_t StopTick(const std::vector<std::string>& script) {
    std::int64_t last = 0;
    for (const std::string& line : script)
        last = std::max(last, LineTick(line));
    return last + 300;
}

GameOutcome RunGame(const std::string& appDir, int firstRound,
                    const std::vector<std::string>& script, std::int64_t stopTick,
                    std::string& error) {
    platform::headless::Options options;
    options.appDir = appDir;
    TraceReader reader;
    options.traceLine = [&reader](const std::string& line) { reader.Line(line); };
    if (stopTick >= 0) {
        options.stopAfterTicks = stopTick;
    } else {
        bool gameHasRun = false;
        options.idle = [gameHasRun]() mutable {
            if (GameMode != kNoGame) gameHasRun = true;
            return gameHasRun && GameMode == kNoGame;
        };
    }
    RunScript(options, firstRound, script, error);
    return reader.outcome;
}

std::int64_t FirstFrameTick(const std::string& appDir, int firstRound,
                            const std::vector<std::string>& script, int round, std::string& error) {
    platform::headless::Options options;
    options.appDir = appDir;
    std::int64_t tick = -1;
    options.traceLine = [&tick, round](const std::string& line) {
        if (tick < 0 && IsEvent(line, "frame") && Field(line, "round") == round)
            tick = Field(line, "t");
    };
    options.idle = [&tick] { return tick >= 0; };
    RunScript(options, firstRound, script, error);
    return tick;
}

std::int64_t LineTick(const std::string& line) {
    try {
        return std::stoll(line);
    } catch (...) {
        return -1;
    }
}

} // namespace replay
