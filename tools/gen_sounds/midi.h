// Standard MIDI file (format 1) writer with a small note-list language, so the tunes can be
// written down as music rather than as bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace gensounds {

constexpr int kTicksPerQuarter = 480;
constexpr int kSixteenth = kTicksPerQuarter / 4;
constexpr int kBar = 16 * kSixteenth; // every tune here is in 4/4

struct MidiEvent {
    int tick;
    int order;                      // ties at one tick: note-offs first, then setup, then notes
    std::vector<std::uint8_t> data; // status byte and data, or 0xFF type length... for meta
};

// One track of the file: a cursor that note lists advance, and the events written so far.
class Track {
  public:
    Track(std::string name, int channel) : name_(std::move(name)), channel_(channel) {}

    // Writes a note list at the cursor and advances it. Tokens, separated by spaces:
    //   C5:4  F#4:2  Bb3:8   a note and its length in sixteenths (":3t" = three triplet eighths)
    //   E4+G4+B4:16          a chord
    //   r:4                  a rest
    //   v96                  velocity of the following notes (1..127)
    //   g80                  sounding part of each note in percent (articulation)
    //   |                    a bar line, checked: it must fall on a whole bar
    void Play(std::string_view notes);
    // One note at an absolute tick, leaving the cursor alone (drums, timpani rolls).
    void NoteAt(int tick, int key, int length, int velocity);
    void Program(int program);
    void Control(int controller, int value);
    void Tempo(double beatsPerMinute);
    void TimeSignature44();
    void SetCursor(int tick) { cursor_ = tick; }
    int Cursor() const { return cursor_; }
    int LastTick() const;
    // The encoded track chunk; the end of the track is placed at `endTick`.
    std::string Encode(int endTick) const;

  private:
    void Add(int tick, int order, std::vector<std::uint8_t> data);

    std::string name_;
    int channel_;
    int cursor_ = 0;
    int velocity_ = 96;
    int gatePercent_ = 90;
    std::vector<MidiEvent> events_;
};

// Parses a note name such as "C#5" into a MIDI key number (C4 = 60); -1 when it is not one.
int ParseKey(std::string_view name);

// The whole file: a format 1 header and the tracks, each ended `tailTicks` after the last note
// of the whole piece so the final chord can ring out before the player stops.
std::string EncodeMidiFile(const std::vector<Track>& tracks, int tailTicks);

} // namespace gensounds
