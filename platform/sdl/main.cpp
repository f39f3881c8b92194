// The real game's entry. Without arguments it plays as designed; --record keeps a game,
// --replay shows a kept one in the window, and --trace writes what happens (as vexaro-sim does).
#include "core/main.h"
#include "core/game_state.h"
#include "platform/backend.h"
#include "platform/desktop.h"
#include "platform/file_read.h"
#include "platform/replay.h"
#include "platform/sdl/backend_sdl.h"
#include "platform/trace.h"

// SDL_main: on Windows SDL's own entry point calls main with the command line in UTF-8, as every
// path of the game is.
#include <SDL.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

std::FILE* g_trace = nullptr;

void WriteTrace(const std::string& line) {
    std::fputs(line.c_str(), g_trace);
    std::fputc('\n', g_trace);
}

struct Arguments {
    std::string record, replay, trace;
};

bool ParseArguments(int argc, char** argv, Arguments& args, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string* into = arg == "--record"   ? &args.record
                            : arg == "--replay" ? &args.replay
                            : arg == "--trace"  ? &args.trace
                                                : nullptr;
        if (!into) {
            error = "unknown argument " + arg +
                    " (the game takes --record FILE, --replay FILE "
                    "and --trace FILE)";
            return false;
        }
        if (i + 1 >= argc) {
            error = arg + " needs a file";
            return false;
        }
        *into = argv[++i];
    }
    if (!args.record.empty() && !args.replay.empty()) {
        error = "--record and --replay cannot be used together";
        return false;
    }
    return true;
}

// A fault before the game starts: one line on the console and in a message box (the desktop's
// own: no recording plays or is made of it).
[[noreturn]] void Refuse(const std::string& message) {
    std::fprintf(stderr, "Vexaro!!: %s\n", message.c_str());
    platform::desktop::MsgBox(message, platform::vbOKOnly, "Vexaro!!");
    platform::desktop::EndProcess(2);
}

} // namespace

int main(int argc, char** argv) {
    Arguments args;
    std::string error;
    const bool understood = ParseArguments(argc, argv, args, error);
    auto recording = std::make_shared<platform::Recording>();
    const bool replaying = understood && !args.replay.empty();
    const bool loaded = !replaying || platform::LoadRecording(args.replay, *recording, error);
    // The recording's screen and answers hold from the start, the window's scale included.
    if (replaying && loaded) {
        g_firstRound = recording->firstRound;
        platform::StartPlayback(recording);
    }
    platform::sdl::Start();
    if (!understood || !loaded) Refuse(error);

    const std::uint32_t start = platform::desktop::Ticks();
    if (!args.record.empty() &&
        !platform::StartRecording(args.record, {start, platform::ScreenDpi(), 1, "vexaro"}, error))
        Refuse(error);
    if (!args.trace.empty()) {
        // Binary: the same lines, ending in a bare newline, on every system.
        g_trace = platform::OpenForWriting(args.trace, "wb");
        if (!g_trace) Refuse("cannot write " + args.trace);
        // The trace counts the ticks the game has seen, so a replay traces the same.
        if (!platform::IsRecording() && !platform::IsPlaying()) platform::StartClockOnly(start);
        platform::SetTraceClock(&platform::RecordingClockElapsed);
        platform::SetTraceSink(&WriteTrace);
    }
    Main();
    platform::RunMessageLoop();
}
