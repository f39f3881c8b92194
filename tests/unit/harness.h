// Helpers for tests that run the real game code on the headless backend.
#pragma once

#include "core/main.h"
#include "platform/headless/headless.h"

#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace test {

// The folder with the built game's data (rnd_dat/, wav/).
inline std::string BuildDir() { return VEXARO_BUILD_DIR "/"; }
inline std::string SourceDir() { return VEXARO_SOURCE_DIR "/"; }

struct Run {
    platform::headless::Result result;
    std::vector<std::string> trace;

    // Lines whose "ev" is the given event.
    std::vector<std::string> events(const std::string& ev) const {
        std::vector<std::string> out;
        for (const auto& line : trace)
            if (line.find("\"ev\":\"" + ev + "\"") != std::string::npos) out.push_back(line);
        return out;
    }
};

// Options for a run with the game's data from the build folder and a script given as text.
inline platform::headless::Options Options(const std::string& script = "") {
    platform::headless::Options options;
    options.appDir = BuildDir();
    std::istringstream in(script);
    std::string error;
    platform::headless::ParseScript(in, options.script, options.answers, error);
    return options;
}

// Runs `body` on the headless backend with a fresh process state; the trace is collected.
inline Run RunHeadless(platform::headless::Options options, const std::function<void()>& body) {
    Run run;
    options.traceLine = [&run](const std::string& line) { run.trace.push_back(line); };
    run.result = platform::headless::Run(options, [&] {
        ResetProcessState();
        body();
    });
    return run;
}

// Integer field of a trace line ("key":value), or `fallback` when absent.
inline long long Field(const std::string& line, const std::string& key, long long fallback = -1) {
    const std::string needle = "\"" + key + "\":";
    const auto at = line.find(needle);
    if (at == std::string::npos) return fallback;
    return std::stoll(line.substr(at + needle.size()));
}

} // namespace test
