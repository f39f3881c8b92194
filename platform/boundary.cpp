// The platform's door: every call the game makes of the desktop passes here. What the desktop
// answers goes to the recorder when a recording is made; while a recording plays, the answers
// come from it instead (the desktop still plays the sounds and shows the windows). The trace
// hears the calls the same way on both backends.
#include "platform/backend.h"
#include "platform/desktop.h"
#include "platform/file_read.h"
#include "platform/replay.h"
#include "platform/sound.h"
#include "platform/trace.h"

#include <cstdio>

namespace platform {

namespace {

using Kind = RecordedItem::Kind;

// A file as a recording names it: relative to the game's folder, so that a recording plays on
// a machine where the game lives elsewhere.
std::string RecordedName(const std::string& path) {
    const std::string dir = desktop::ExecutableDir();
    return RecordingName(path.starts_with(dir) ? std::string_view(path).substr(dir.size()) : path);
}

const RecordedItem& PlayedFile(Kind kind, const std::string& path) {
    const RecordedItem& item = replay::PlayAnswer(kind, false);
    if (item.name != RecordedName(path))
        replay::Mismatch(item, (kind == Kind::File ? "the contents of " : "whether ") +
                                   RecordedName(path) + (kind == Kind::File ? "" : " exists"));
    return item;
}

const char* AnswerName(int answer) {
    return answer == vbYes ? "yes" : answer == vbNo ? "no" : "ok";
}

FileRead ReadFromDisk(const std::string& path, std::uint64_t limit) {
    FileRead result;
    // A file that says it is larger than the limit is not read at all.
    if (const auto size = PlainFileSize(path); size && *size > limit) {
        result.status = FileRead::Status::TooLarge;
        result.size = *size;
        return result;
    }
    // Never an exception: a failing disk or a special file gives a status (the reader reads one
    // byte past the limit at most, whatever size the file claims).
    switch (ReadFileBytes(path, limit, result.bytes)) {
    case DiskRead::Read:
        break;
    case DiskRead::Missing:
        return result;
    case DiskRead::NotAFile:
        result.status = FileRead::Status::NotAFile;
        return result;
    case DiskRead::NoAccess:
        result.status = FileRead::Status::CannotOpen;
        return result;
    case DiskRead::Failed:
        result.status = FileRead::Status::ReadFailed;
        return result;
    }
    result.size = result.bytes.size();
    if (result.size > limit) {
        result.status = FileRead::Status::TooLarge;
        result.bytes.clear();
        return result;
    }
    result.status = FileRead::Status::Read;
    return result;
}

} // namespace

std::uint32_t GetTickCount() {
    if (IsPlaying()) return replay::PlayRead();
    const std::uint32_t tick = desktop::Ticks();
    replay::NoteRead(tick);
    return tick;
}

void DoEvents() {
    if (IsPlaying()) return replay::PlayStep();
    desktop::Step();
    replay::NoteStepEnd();
}

void WaitingForTick(std::uint32_t tick) {
    if (!IsPlaying()) desktop::WaitingForTick(tick);
}

void ModalWait() {
    if (IsPlaying()) return replay::PlayTurn();
    desktop::Wait();
}

void RunMessageLoop() {
    for (;;) {
        FlushRecording(); // a game has ended (or none has begun): the recording is on disk
        if (IsPlaying())
            replay::PlayTurn();
        else
            desktop::IdleStep();
    }
}

int ScreenDpi() {
    return IsPlaying() ? replay::PlayedDpi() : desktop::ScreenDpi();
}

std::string ExecutableDir() {
    return desktop::ExecutableDir();
}

bool AnotherInstanceRunning() {
    if (IsPlaying()) return replay::PlayAnswer(Kind::Instance, false).value != 0;
    const bool running = desktop::AnotherInstanceRunning();
    replay::Note([running] { return std::string("instance ") + (running ? "1" : "0"); });
    return running;
}

void ShowForm(Form& form, bool modal) {
    TraceEvent("window").add("form", form.name()).add("do", modal ? "show-modal" : "show");
    desktop::ShowForm(form, modal);
}

void UnloadForm(Form& form) {
    TraceEvent("window").add("form", form.name()).add("do", "unload");
    desktop::UnloadForm(form);
}

int MsgBox(const std::string& text, int buttons, const std::string& title) {
    int answer = 0;
    if (IsPlaying()) {
        answer = replay::PlayAnswer(Kind::MsgBox, true).value;
    } else {
        answer = desktop::MsgBox(text, buttons, title);
        replay::Note([answer] { return "msgbox " + std::to_string(answer); });
    }
    TraceEvent("msgbox")
        .add("text", text)
        .add("title", title.empty() ? std::string("Vexaro!!") : title)
        .add("answer", AnswerName(answer));
    return answer;
}

void SendKeys(std::string_view keys) {
    if (!IsPlaying()) desktop::SendKeys(keys); // the keystroke is in the recording
}

int ShellExecute(const std::string& file) {
    int result = 0;
    if (IsPlaying()) { // a recording opens nothing on the machine that plays it
        result = replay::PlayAnswer(Kind::Shell, true).value;
    } else {
        result = desktop::ShellExecute(file);
        replay::Note([result] { return "shell " + std::to_string(result); });
    }
    TraceEvent("shell").add("file", file).add("result", result);
    return result;
}

void EndProcess(int status) {
    TraceEvent("exit").add("status", status);
    const std::string error = FinishRecording(std::to_string(status));
    if (!error.empty()) std::fprintf(stderr, "Vexaro!!: %s\n", error.c_str());
    desktop::EndProcess(status);
}

bool FileExists(const std::string& path) {
    if (IsPlaying()) return PlayedFile(Kind::Exists, path).value != 0;
    const bool exists = IsPlainFile(path);
    replay::Note(
        [&] { return std::string("exists ") + (exists ? "1 " : "0 ") + RecordedName(path); });
    return exists;
}

FileRead ReadFile(const std::string& path, std::uint64_t limit) {
    if (!IsPlaying()) {
        FileRead read = ReadFromDisk(path, limit);
        replay::Note([&] { return replay::FileLine(RecordedName(path), read); });
        return read;
    }
    const RecordedItem& item = PlayedFile(Kind::File, path);
    FileRead read;
    read.status = FileRead::Status(item.value);
    read.size = item.size;
    if (read.status == FileRead::Status::Read) read.bytes = replay::PlayedFileBytes(item);
    return read;
}

bool sndPlaySound(const std::string& path, int flags) {
    TraceEvent("sound").add("file", BaseName(path)).add("sync", flags == SND_SYNC);
    const bool played = desktop::sndPlaySound(path, flags);
    // A sound that plays to its end holds the game: the recording notes when it let go.
    if (flags == SND_SYNC) {
        if (IsPlaying())
            replay::PlayAnswer(Kind::Wave, false);
        else
            replay::Note([] { return std::string("wave"); });
    }
    return played;
}

int mciSendString(std::string_view command) {
    const int result = desktop::mciSendString(command); // the tune plays either way
    if (IsPlaying()) return replay::PlayAnswer(Kind::Mci, false).value;
    replay::Note([result] { return "mci " + std::to_string(result); });
    return result;
}

} // namespace platform
