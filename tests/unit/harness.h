// Helpers for tests that run the real game code on the headless backend.
#pragma once

#include "core/main.h"
#include "platform/headless/headless.h"
#include "platform/trace.h"

#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace test {

// The folder with the built game's data (rnd_dat/, wav/).
inline std::string BuildDir() {
    return VEXARO_BUILD_DIR "/";
}
inline std::string SourceDir() {
    return VEXARO_SOURCE_DIR "/";
}

struct Run {
    platform::headless::Result result;
    std::vector<std::string> trace;

    // Lines whose "ev" is the given event.
    std::vector<std::string> events(const std::string& ev) const {
        std::vector<std::string> out;
        for (const auto& line : trace)
            if (platform::TraceIs(line, ev)) out.push_back(line);
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
    return platform::TraceField(line, key, fallback);
}

} // namespace test

#include "core/game_state.h"
#include "display/fmain.h"
#include "shell/commands.h"
#include "stage/stage.h"

#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <unistd.h>

namespace test {

// Inside a run: the main window as start-up leaves it, without the splash's second.
inline void OpenMainWindow() {
    TwipsX = TwipsY = platform::g_twipsX;
    AppDir = BuildDir();
    ConnectMainWindow(fMain());
    ShowMainWindow();
}

inline RoundRecord Record(const std::string& keyword, std::initializer_list<std::int32_t> params) {
    RoundRecord r;
    r.Keyword = keyword;
    int i = 0;
    for (std::int32_t p : params)
        r.Param[std::size_t(i++)] = p;
    return r;
}

// Builds a stage from records, as LoadRound does after reading a sound file.
inline void BuildFromRecords(const std::vector<RoundRecord>& records) {
    RoundFileContents contents;
    contents.RecordCount = std::int32_t(records.size());
    contents.Records = records;
    BuildStage(contents);
}

// Writes rnd_dat/R<n>.dat.rnd under dir in the game's file layout.
inline void WriteRoundFile(const std::string& dir, int n, const std::vector<RoundRecord>& records) {
    std::vector<std::uint8_t> bytes;
    auto put32 = [&](std::int32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(std::uint8_t(std::uint32_t(v) >> (8 * i)));
    };
    put32(std::int32_t(records.size()));
    for (const auto& r : records) {
        bytes.push_back(std::uint8_t(r.Keyword.size()));
        bytes.push_back(std::uint8_t(r.Keyword.size() >> 8));
        for (char c : DecodeRoundString(r.Keyword))
            bytes.push_back(std::uint8_t(c));
        for (std::int32_t p : r.Param)
            put32(p);
    }
    std::string cmd = "mkdir -p '" + dir + "/rnd_dat'";
    if (std::system(cmd.c_str()) != 0) return;
    std::ofstream out(dir + "/rnd_dat/R" + std::to_string(n) + ".dat.rnd", std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A fresh temporary folder for one test.
inline std::string TempDir(const std::string& name) {
    const std::string dir = "/tmp/vexaro-test-" + name + "-" + std::to_string(::getpid());
    std::string cmd = "rm -rf '" + dir + "' && mkdir -p '" + dir + "'";
    if (std::system(cmd.c_str()) != 0) return "/tmp";
    return dir;
}

} // namespace test

// Parameterised cases print by their name.
#define VEXARO_PRINT_CASE_BY_NAME(Type)                                                            \
    inline void PrintTo(const Type& c, std::ostream* os) {                                         \
        *os << c.name;                                                                             \
    }
