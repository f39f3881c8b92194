#include "platform/replay.h"

#include "platform/backend.h"
#include "platform/desktop.h"
#include "platform/file_read.h"
#include "platform/input.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

namespace platform {

namespace {

// The clock as the recording has seen it: the start, and where it stood when last seen (a tick
// read, an input, an answer, the end of a message step).
struct Clock {
    bool on = false;
    std::uint32_t start = 0;
    std::uint32_t now = 0;
};
Clock g_clock;

struct Recorder {
    std::FILE* file = nullptr;
    std::string path;
    RecordingWriter writer;
    // The last bytes read of each file, so that reading it again costs one word.
    std::map<std::string, std::vector<std::uint8_t>> lastRead;
};
Recorder g_recorder;

struct Player {
    std::shared_ptr<const Recording> recording;
    std::size_t read = 0; // the run of tick reads playing
    std::uint32_t readUsed = 0;
    std::size_t item = 0; // the item playing
    std::uint32_t stepUsed = 0;
    bool over = false;
};
std::unique_ptr<Player> g_player;

// Moves the clock `delta` on from where it was last seen.
void Observe(std::uint32_t delta) {
    g_clock.now += delta;
}

void FinishAtExit() {
    const std::string error = FinishRecording("exit");
    if (!error.empty()) std::fprintf(stderr, "Vexaro!!: %s\n", error.c_str());
}

// --- playing -------------------------------------------------------------------------------

[[noreturn]] void Over(int status, const std::string& message) {
    g_player->over = true;
    desktop::PlaybackOver(status, message);
}

const RecordedItem* Peek() {
    const auto& items = g_player->recording->items;
    return g_player->item < items.size() ? &items[g_player->item] : nullptr;
}

void Advance(std::uint32_t delta) {
    Observe(delta);
    desktop::PlaybackClock(RecordingClockElapsed());
}

const RecordedItem& Take() {
    const RecordedItem& item = *Peek();
    ++g_player->item;
    Advance(item.delta);
    return item;
}

void TakeStepEnd() {
    const RecordedItem& steps = *Peek();
    if (++g_player->stepUsed == steps.count) {
        g_player->stepUsed = 0;
        ++g_player->item;
    }
    Advance(steps.delta);
}

std::string Describe(const RecordedItem& item) {
    using K = RecordedItem::Kind;
    switch (item.kind) {
    case K::Steps:
        return "a message step";
    case K::MsgBox:
        return "a message box's answer";
    case K::Shell:
        return "the opener's answer";
    case K::Mci:
        return "the music channel's answer";
    case K::Exists:
        return "whether " + item.name + " exists";
    case K::Instance:
        return "the instance check";
    case K::Wave:
        return "a sound's end";
    case K::File:
        return "the contents of " + item.name;
    case K::End:
        return "the end";
    case K::KeyDown:
        return item.pad ? "a gamepad's key press" : "a key press";
    case K::KeyUp:
        return item.pad ? "a gamepad's key release" : "a key release";
    case K::Menu:
        return "the menu command " + item.name;
    case K::Close:
        return "the closing of " + item.form;
    case K::Click:
        return "a click on " + item.form;
    case K::Move:
        return "a mouse move over " + item.form;
    case K::Wheel:
        return "a wheel turn over " + item.form;
    case K::Timer:
        return "the timer " + item.name;
    }
    return "something else";
}

bool IsInput(const RecordedItem& item) {
    using K = RecordedItem::Kind;
    return item.kind >= K::KeyDown && item.kind <= K::Timer;
}

// Nothing more where the game asks for `what`: the recording was cut short, or it has played
// to its end, or (when it still holds something else) it does not fit this game.
[[noreturn]] void RanOut(const std::string& what) {
    const Recording& r = *g_player->recording;
    const RecordedItem* next = Peek();
    if (!r.complete)
        Over(2, "the recording ends here: it was cut short after line " + std::to_string(r.lines));
    if (next && next->kind != RecordedItem::Kind::End) replay::Mismatch(*next, what);
    if (next && next->name != "stop" && next->name != "exit")
        replay::Mismatch(*next, what); // the game goes on where the recorded one had ended
    if (next) Take();                  // the clock as it stood when the recording ended
    Over(0, "");
}

[[noreturn]] void Misfit(const RecordedItem& item, const std::string& why) {
    Over(2,
         "the recording does not fit this game: at line " + std::to_string(item.line) + " " + why);
}

// Input for something the game does not have (now).
[[noreturn]] void NotThere(const RecordedItem& item, const std::string& what) {
    Misfit(item, "it holds " + Describe(item) + ", but the game has no " + what + " now");
}

Form* FindForm(const RecordedItem& item) {
    const auto& forms = Form::All();
    Form* found = nullptr;
    for (Form* form : forms)
        if (form->name() == item.form && (!found || form->loaded)) found = form;
    if (!found) NotThere(item, "window " + item.form);
    return found;
}

Control* FindControlOf(Form& form, const RecordedItem& item) {
    if (item.name == "-") return nullptr;
    Control* control = FindControl(form, item.name);
    if (!control) NotThere(item, item.name + " in " + item.form);
    return control;
}

KeySource SourceOf(const RecordedItem& item) {
    return item.pad ? KeySource::Gamepad : KeySource::Keyboard;
}

void Deliver(const RecordedItem& item) {
    using K = RecordedItem::Kind;
    const From from = From::Recording;
    switch (item.kind) {
    case K::KeyDown:
        if (item.form.empty() || item.form == "-")
            KeyDownEvent(item.form.empty() ? MainForm() : nullptr, item.value, SourceOf(item),
                         from);
        else
            FormKeyEvent(*FindForm(item), item.value, from);
        break;
    case K::KeyUp:
        KeyUpEvent(item.value, SourceOf(item), from);
        break;
    case K::Menu: {
        MenuItem* menu = MainForm() ? MainForm()->findMenuItem(item.name) : nullptr;
        if (!menu) NotThere(item, "menu command " + item.name);
        MenuEvent(*menu, from);
        break;
    }
    case K::Close:
        CloseEvent(*FindForm(item), from);
        break;
    case K::Click:
    case K::Move: {
        Form& form = *FindForm(item);
        Control* over = FindControlOf(form, item);
        if (item.kind == K::Click)
            ClickEvent(form, over, item.value, item.y, from);
        else
            MouseMoveEvent(form, over, item.value, item.y, from);
        break;
    }
    case K::Wheel:
        WheelEvent(*FindForm(item), item.value, from);
        break;
    case K::Timer: {
        Timer* timer = Timer::Find(item.name);
        if (!timer) NotThere(item, "timer " + item.name);
        TimerEvent(*timer, from);
        break;
    }
    default:
        break;
    }
}

// Plays the next input, or the end of a message step; true when it was a step's end. Anything
// else is not where the game asks for `what`.
bool PlayInputOrStepEnd(const std::string& what) {
    const RecordedItem* next = Peek();
    if (!next || next->kind == RecordedItem::Kind::End) RanOut(what);
    if (next->kind == RecordedItem::Kind::Steps) {
        TakeStepEnd();
        return true;
    }
    if (!IsInput(*next)) replay::Mismatch(*next, what);
    Deliver(Take());
    return false;
}

} // namespace

// --- recording -----------------------------------------------------------------------------

namespace {

std::string CannotWrite(const std::string& path, int error) {
    return "cannot write " + path + " (" + std::strerror(error) + ")";
}

// Writes out what is buffered; on a failure returns why.
std::string WriteOut() {
    g_recorder.writer.closeRuns();
    const std::string text = g_recorder.writer.take();
    errno = 0;
    if (text.empty() || (std::fwrite(text.data(), 1, text.size(), g_recorder.file) == text.size() &&
                         std::fflush(g_recorder.file) == 0))
        return "";
    return CannotWrite(g_recorder.path, errno);
}

void CloseRecording() {
    std::fclose(g_recorder.file);
    g_recorder = Recorder{};
}

} // namespace

bool StartRecording(const std::string& path, const RecordingHeader& header, std::string& error) {
    std::FILE* file = OpenForWriting(path, "wb");
    if (!file) {
        error = CannotWrite(path, errno);
        return false;
    }
    g_recorder = Recorder{};
    g_recorder.file = file;
    g_recorder.path = path;
    g_recorder.writer.header(header.startTick, header.dpi, header.firstRound, header.madeBy);
    error = WriteOut();
    if (!error.empty()) {
        CloseRecording();
        return false;
    }
    g_clock = {true, header.startTick, header.startTick};
    static const bool registered = std::atexit(FinishAtExit) == 0;
    (void)registered;
    return true;
}

void StartClockOnly(std::uint32_t startTick) {
    g_clock = {true, startTick, startTick};
}

void FlushRecording() {
    if (!g_recorder.file) return;
    const std::string error = WriteOut();
    if (error.empty()) return;
    // The game goes on without it (the clock stays, for the trace); the player is told once.
    CloseRecording();
    desktop::Notify("the recording stops here: " + error);
}

std::string FinishRecording(const std::string& how) {
    if (!g_recorder.file) return "";
    g_recorder.writer.closeRuns(); // the end is the last line
    replay::Note([&how] { return "end " + how; });
    const std::string error = WriteOut();
    CloseRecording();
    g_clock.on = false;
    return error.empty() ? "" : "the recording is cut short: " + error;
}

bool IsRecording() {
    return g_recorder.file != nullptr;
}

std::int64_t RecordingClockElapsed() {
    return g_clock.on ? std::int64_t(std::uint32_t(g_clock.now - g_clock.start)) : 0;
}

// --- playing -------------------------------------------------------------------------------

void StartPlayback(std::shared_ptr<const Recording> recording) {
    g_player = std::make_unique<Player>();
    g_player->recording = std::move(recording);
    const std::uint32_t start = g_player->recording->startTick;
    g_clock = {true, start, start};
}

void EndPlayback() {
    g_player.reset();
    g_clock.on = false;
}

bool IsPlaying() {
    return g_player != nullptr;
}

void StopPlaybackByPlayer() {
    if (g_player && !g_player->over) Over(0, "");
}

} // namespace platform

namespace platform::replay {

void NoteRead(std::uint32_t tick) {
    if (!g_clock.on) return;
    const std::uint32_t delta = tick - g_clock.now;
    g_clock.now = tick;
    if (g_recorder.file) g_recorder.writer.read(delta);
}

void NoteStepEnd() {
    if (!g_clock.on) return;
    const std::uint32_t delta = desktop::StepsMoveTheClock() ? desktop::Ticks() - g_clock.now : 0;
    Observe(delta);
    if (g_recorder.file) g_recorder.writer.stepEnd(delta);
}

std::uint32_t NoteNow() {
    if (!g_clock.on) return 0;
    const std::uint32_t delta = desktop::Ticks() - g_clock.now;
    Observe(delta);
    return delta;
}

void WriteLine(std::uint32_t delta, const std::string& line) {
    g_recorder.writer.line(delta, line);
}

std::string FileLine(const std::string& name, const FileRead& read) {
    std::string line = "file " + name + " " + std::string(FileStatusWord(int(read.status)));
    if (read.status == FileRead::Status::TooLarge) line += " " + std::to_string(read.size);
    if (read.status == FileRead::Status::Read) {
        auto& last = g_recorder.lastRead[name];
        if (!last.empty() && last == read.bytes) {
            line = "file " + name + " same";
        } else {
            const std::string data = Base64(read.bytes);
            line += " " + std::to_string(read.bytes.size()) + " " + (data.empty() ? "-" : data);
            last = read.bytes;
        }
    }
    return line;
}

std::uint32_t PlayRead() {
    const auto& reads = g_player->recording->reads;
    if (g_player->read >= reads.size()) RanOut("the clock");
    const TickRun& run = reads[g_player->read];
    if (++g_player->readUsed == run.count) {
        g_player->readUsed = 0;
        ++g_player->read;
    }
    Advance(run.delta);
    return g_clock.now;
}

void PlayStep() {
    desktop::PlaybackStep();
    while (!PlayInputOrStepEnd("a message step")) {
    }
}

void PlayTurn() {
    desktop::PlaybackStep();
    PlayInputOrStepEnd("input");
}

const RecordedItem& PlayAnswer(RecordedItem::Kind kind, bool inputMayCome) {
    RecordedItem wanted;
    wanted.kind = kind;
    for (;;) {
        const RecordedItem* next = Peek();
        if (!next || next->kind == RecordedItem::Kind::End) RanOut(Describe(wanted));
        if (next->kind == kind) return Take();
        if (!inputMayCome || !IsInput(*next)) Mismatch(*next, Describe(wanted));
        Deliver(Take());
    }
}

std::vector<std::uint8_t> PlayedFileBytes(const RecordedItem& item) {
    return RecordedFileBytes(*g_player->recording, item);
}

int PlayedDpi() {
    return g_player->recording->dpi;
}

void Mismatch(const RecordedItem& item, const std::string& what) {
    Misfit(item, "it holds " + Describe(item) + " where the game asks for " + what);
}

} // namespace platform::replay
