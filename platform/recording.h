// The recording file: everything the game took from the desktop while it ran, in the order it
// took it, as small versioned text. docs/recording-format.md describes it with an example.
// This file reads and writes the text; platform/replay.h records and plays.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

constexpr int kRecordingVersion = 1;
constexpr const char* kRecordingMagic = "vexaro-recording";
// Limits that bound what playing any file can cost: its size, and the tick reads and message
// steps it may hold in all (a game of about nine hours).
constexpr std::uint64_t kMaxRecordingBytes = 256u << 20;
constexpr std::uint64_t kMaxRecordingSteps = std::uint64_t(1) << 26;

// One line of a recording's body after the tick reads were taken out: a run of message steps,
// an input handed to the game, an answer of the desktop, or the end.
struct RecordedItem {
    enum class Kind {
        Steps, // `count` message steps ended, the clock moving `delta` in each
        // Input, handed to the game where it comes.
        KeyDown, // `value` key, `pad` from a gamepad; `form` empty: the main window (and the
                 // key record), "-": no window (the key record only), else that window only
        KeyUp,   // `value` key, `pad`
        Menu,    // `name` menu item
        Close,   // `form`
        Click,   // `form`, `name` control ("-": the background), `value` x, `y`
        Move,    // as Click
        Wheel,   // `form`, `value` notches
        Timer,   // `name`
        // Answers, taken by the call that asked.
        MsgBox,   // `value` button
        Shell,    // `value` result
        Mci,      // `value` result
        Exists,   // `value` 0 or 1, `name` the file
        Instance, // `value` 1 when another instance ran
        Wave,     // a wave played to its end
        File,     // `name` the file, `value` a FileRead::Status, `size`, the bytes at `at`
        End,      // `name`: the process's exit status, "stop" or "exit"
    };
    Kind kind = Kind::Steps;
    std::uint32_t delta = 0; // milliseconds the clock moved before this (for Steps: in each)
    std::uint32_t count = 1; // Steps only
    int line = 0;            // in the file
    std::string form;
    std::string name;
    int value = 0;
    int y = 0;
    bool pad = false;
    std::uint64_t size = 0;
    std::size_t at = 0;  // File: where its bytes are in the recording's text (base64)
    std::size_t len = 0; // File: how many characters of base64
};

// A run of tick reads, each `delta` milliseconds after the last thing the clock was seen at.
struct TickRun {
    std::uint32_t delta = 0;
    std::uint32_t count = 1;
    int line = 0;
};

struct Recording {
    std::uint32_t startTick = 0;
    int dpi = 96;
    int firstRound = 1;
    std::vector<TickRun> reads;
    std::vector<RecordedItem> items;
    bool complete = false; // it has its closing line (else it was cut short)
    int lines = 0;         // whole lines read
    std::string text;      // the file itself (file contents are decoded from it when played)
};

// The name a recording gives a window, control, menu item, timer or file (a file's relative to
// the game's folder): blanks and control bytes become '_', an empty name "-", and a name too
// long for a recording keeps its end behind a hash of the whole. Every name it gives reads back.
std::string RecordingName(std::string_view name);

// The word for a file's status (a FileRead::Status) in a `file` line.
std::string_view FileStatusWord(int status);

// Reads a recording. On a fault returns false with one line saying what is wrong (and where).
// A file that ends in the middle of a line, or without its closing line, is not a fault: it
// was cut short, and `complete` says so.
bool ParseRecording(std::string text, Recording& out, std::string& error);
bool LoadRecording(const std::string& path, Recording& out, std::string& error);

// The bytes of a recorded file.
std::vector<std::uint8_t> RecordedFileBytes(const Recording& recording, const RecordedItem& item);

// Builds a recording's text as things happen: runs of equal tick reads and of equal message
// steps are counted rather than written one by one, so a frame costs a few bytes.
class RecordingWriter {
  public:
    void header(std::uint32_t startTick, int dpi, int firstRound, const std::string& madeBy);
    void read(std::uint32_t delta);
    void stepEnd(std::uint32_t delta);
    // A line of its own (an input, an answer or the end), `delta` milliseconds after the clock
    // was last seen.
    void line(std::uint32_t delta, const std::string& text);
    // Closes the runs, so that everything so far is in whole lines. The tick reads are a stream
    // of their own: a line of input closes only the message steps before it.
    void closeRuns();
    // Takes the text written so far.
    std::string take();

  private:
    struct Run {
        std::uint32_t delta = 0;
        std::uint32_t count = 0;
    };
    // A run line being written, and whether its last word is one of packed runs.
    struct Line {
        std::string text;
        bool packed = false;
    };
    void emit(char kind, Run& run, Line& line);
    void closeLine(char kind, Line& line);

    std::string out_;
    Run reads_, steps_;
    Line readLine_, stepLine_;
};

// Base64 of bytes (the contents of a file read by the game).
std::string Base64(const std::vector<std::uint8_t>& bytes);

} // namespace platform
