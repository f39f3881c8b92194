// Recording a game and playing it back exactly. The recorder notes, at the platform's door,
// everything the game takes from the desktop (tick reads, message steps, the input handed over
// in them, the desktop's answers); the player hands the game the same things in the same
// order. The entry programs start either; the platform's functions consult them.
#pragma once

#include "platform/recording.h"

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

struct FileRead;

struct RecordingHeader {
    std::uint32_t startTick = 0;
    int dpi = 96;
    int firstRound = 1;
    std::string madeBy;
};

// Starts recording into `path`, made anew. False with a message when it cannot be written.
bool StartRecording(const std::string& path, const RecordingHeader& header, std::string& error);
// Keeps the recording's clock without writing anything (the real game's trace uses it).
void StartClockOnly(std::uint32_t startTick);
// Writes what has been noted so far (at the end of every game). When the file cannot be written
// the recording stops there and the player is told; the game goes on.
void FlushRecording();
// Ends the recording with its closing line and closes the file: `how` is the process's exit
// status, "stop" (a headless run was stopped) or "exit" (the process ended another way).
// Returns why the file could not be written, or nothing.
std::string FinishRecording(const std::string& how);
bool IsRecording();

// Plays `recording`: from now on the game's input and the desktop's answers come from it.
void StartPlayback(std::shared_ptr<const Recording> recording);
// Forgets the playback (a headless run is over).
void EndPlayback();
bool IsPlaying();
// The player asked to stop (Escape in the real window); nothing when it has stopped already.
void StopPlaybackByPlayer();

// Milliseconds since the recording's start, by its clock: the trace's clock while recording
// the real game or playing.
std::int64_t RecordingClockElapsed();

} // namespace platform

// What the platform's door uses; nothing else calls these.
namespace platform::replay {

// Recording.
void NoteRead(std::uint32_t tick);
void NoteStepEnd();
// The clock seen where an input or an answer comes: how far it moved since it was last seen.
std::uint32_t NoteNow();
// A line of the recording being made, `delta` milliseconds after the clock was last seen.
void WriteLine(std::uint32_t delta, const std::string& line);
// An input or an answer, noted with the clock as it stands. `makeLine()` gives its line of the
// recording; it is called only while one is made, so a game not recorded builds no line.
template <class MakeLine>
void Note(const MakeLine& makeLine) {
    const std::uint32_t delta = NoteNow();
    if (IsRecording()) WriteLine(delta, makeLine());
}
// The line for a file the game read: its bytes, or "same" when they are the bytes read last
// time under that name (which it remembers).
std::string FileLine(const std::string& name, const FileRead& read);

// Playing: each answers what the game asks, or ends the playback when the recording holds
// something else there (it does not fit this game) or nothing more (it ends there).
std::uint32_t PlayRead();
// A message step: the recording's input up to the end of the step.
void PlayStep();
// A turn of a loop that waits for input: the next input (or the clock moving on).
void PlayTurn();
// An answer of the given kind; `inputMayCome`: the desktop handed the game input while it was
// asked (a message box stays up for a while).
const RecordedItem& PlayAnswer(RecordedItem::Kind kind, bool inputMayCome);
// The bytes of a recorded file.
std::vector<std::uint8_t> PlayedFileBytes(const RecordedItem& item);
int PlayedDpi();
// Ends the playback because the recording does not fit this game at `item`.
[[noreturn]] void Mismatch(const RecordedItem& item, const std::string& what);

} // namespace platform::replay
