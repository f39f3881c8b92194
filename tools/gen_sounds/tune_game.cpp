// "dr.mid": an upbeat tune in E minor at 140 beats a minute for flying through the caves.
// Form: intro (4 bars), A (8), A' (8), B (8), A (8), coda (2): about 65 seconds.
#include "midi.h"
#include "tunes.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace gensounds {

namespace {

struct Chord {
    int bass;             // root in the bass register
    std::vector<int> pad; // close voicing around the fourth octave
    std::vector<int> arp; // four chord tones, bottom to top
};

const std::map<std::string, Chord>& Chords() {
    static const std::map<std::string, Chord> chords = {
        {"Em", {40, {64, 67, 71}, {64, 67, 71, 76}}}, {"C", {36, {64, 67, 72}, {64, 67, 72, 76}}},
        {"D", {38, {66, 69, 74}, {66, 69, 74, 78}}},  {"Bm", {35, {66, 71, 74}, {66, 71, 74, 78}}},
        {"B", {35, {66, 71, 75}, {66, 71, 75, 78}}},  {"Am", {45, {64, 69, 72}, {64, 69, 72, 76}}},
    };
    return chords;
}

// A section's harmony: chord names with lengths in sixteenths.
using Changes = std::vector<std::pair<std::string, int>>;

const Changes kIntroChanges = {{"Em", 16}, {"C", 16}, {"D", 16}, {"B", 16}};
const Changes kAChanges = {{"Em", 16}, {"C", 16}, {"D", 16}, {"B", 16}, {"Em", 16},
                           {"C", 16},  {"Am", 8}, {"B", 8},  {"Em", 16}};
const Changes kBChanges = {{"C", 16}, {"D", 16}, {"Bm", 16}, {"Em", 16},
                           {"C", 16}, {"D", 16}, {"B", 16},  {"B", 16}};
const Changes kCodaChanges = {{"B", 16}, {"Em", 16}};

// The melody, bar by bar.
constexpr const char* kTheme = // the A section
    "B4:2 E5:2 G5:2 B5:4 A5:2 G5:2 F#5:2 | G5:6 E5:2 C5:4 E5:4 |"
    "F#5:2 A5:2 D6:2 C6:4 B5:2 A5:2 F#5:2 | F#5:6 D#5:2 B4:8 |"
    "B4:2 E5:2 G5:2 B5:4 A5:2 G5:2 B5:2 | C6:6 B5:2 G5:4 E5:4 |";
constexpr const char* kThemeEnd = "A5:2 C6:2 B5:2 A5:2 F#5:2 D#5:2 F#5:2 A5:2 | G5:4 E5:8 r:4 |";
constexpr const char* kThemeLeadOn = // second time, climbing into the B section
    "A5:2 C6:2 B5:2 A5:2 B5:4 D#6:4 | E6:8 D6:2 B5:2 G5:2 A5:2 |";
constexpr const char* kBridge = // the B section: longer notes, the harmony moves toward G
    "G5:8 E5:4 G5:4 | A5:8 F#5:4 D5:4 | B5:6 A5:2 F#5:4 D5:4 | E5:12 G5:2 A5:2 |"
    "B5:8 C6:4 B5:4 | A5:6 F#5:2 A5:4 D6:4 | D#6:4 B5:4 F#5:4 D#5:4 | F#5:8 r:8 |";
constexpr const char* kCoda = "B4:2 D#5:2 F#5:2 B5:2 A5:4 D#6:4 | E6:12 r:4 |";

// Transposes every note of a note list by whole octaves (for doubling a line lower).
std::string OctaveDown(std::string notes) {
    for (std::size_t i = 0; i + 1 < notes.size(); ++i) {
        const bool isNote = notes[i] >= 'A' && notes[i] <= 'G';
        if (!isNote) continue;
        std::size_t digit = i + 1;
        if (notes[digit] == '#' || notes[digit] == 'b') ++digit;
        if (digit < notes.size() && notes[digit] > '0' && notes[digit] <= '8') --notes[digit];
    }
    return notes;
}

enum class BassStyle { Pulse, Drive, Syncopated, Hold };

void PlayBass(Track& bass, const Changes& changes, BassStyle style) {
    struct Hit {
        int step, length, offset, velocity;
    };
    static const std::vector<Hit> kPulse = {{0, 2, 0, 80},  {2, 2, 0, 60}, {4, 2, 0, 70},
                                            {6, 2, 0, 60},  {8, 2, 0, 80}, {10, 2, 0, 60},
                                            {12, 2, 0, 70}, {14, 2, 0, 60}};
    static const std::vector<Hit> kDrive = {{0, 2, 0, 105},  {2, 2, 0, 80},  {4, 2, 12, 95},
                                            {6, 2, 0, 80},   {8, 2, 0, 100}, {10, 2, 0, 80},
                                            {12, 2, 12, 95}, {14, 2, 7, 85}};
    static const std::vector<Hit> kSyncopated = {
        {0, 6, 0, 105}, {6, 2, 0, 85}, {8, 4, 0, 95}, {12, 2, 7, 85}, {14, 2, 12, 90}};
    static const std::vector<Hit> kHold = {{0, 14, 0, 110}};
    const std::vector<Hit>& pattern = style == BassStyle::Pulse   ? kPulse
                                      : style == BassStyle::Drive ? kDrive
                                      : style == BassStyle::Hold  ? kHold
                                                                  : kSyncopated;
    for (const auto& [name, length] : changes) {
        const int start = bass.Cursor();
        for (const Hit& hit : pattern)
            if (hit.step < length)
                bass.NoteAt(start + hit.step * kSixteenth, Chords().at(name).bass + hit.offset,
                            hit.length * kSixteenth * 85 / 100, hit.velocity);
        bass.SetCursor(start + length * kSixteenth);
    }
}

void PlayPad(Track& pad, const Changes& changes, int velocity) {
    for (const auto& [name, length] : changes) {
        for (int key : Chords().at(name).pad)
            pad.NoteAt(pad.Cursor(), key, length * kSixteenth - 10, velocity);
        pad.SetCursor(pad.Cursor() + length * kSixteenth);
    }
}

// Sixteenth-note arpeggios (running up the chord) or, for the B section, airier eighths.
void PlayArpeggio(Track& arp, const Changes& changes, bool eighths, int velocity) {
    static const int kRunning[] = {0, 1, 2, 3, 1, 2, 3, 2};
    static const int kAiry[] = {0, 2, 3, 2};
    for (const auto& [name, length] : changes) {
        const std::vector<int>& tones = Chords().at(name).arp;
        const int step = eighths ? 2 : 1;
        for (int i = 0; i * step < length; ++i) {
            const int tone =
                eighths ? tones[kAiry[i % 4]] + 12 * (i % 8 >= 4) : tones[kRunning[i % 8]];
            const int accent = (i * step) % 4 == 0 ? 12 : 0;
            arp.NoteAt(arp.Cursor() + i * step * kSixteenth, tone, step * kSixteenth * 6 / 10,
                       velocity + accent);
        }
        arp.SetCursor(arp.Cursor() + length * kSixteenth);
    }
}

// One bar of drums from step patterns: '.' silent, 'o' soft, 'x' normal, 'X' accented.
using DrumBar = std::vector<std::pair<int, const char*>>;

void PlayDrums(Track& drums, const DrumBar& bar) {
    const int start = drums.Cursor();
    for (const auto& [key, steps] : bar) {
        for (int i = 0; i < 16 && steps[i] != '\0'; ++i) {
            const char c = steps[i];
            if (c == '.') continue;
            const int velocity = c == 'X' ? 112 : c == 'x' ? 86 : 52;
            drums.NoteAt(start + i * kSixteenth, key, kSixteenth, velocity);
        }
    }
    drums.SetCursor(start + kBar);
}

using namespace gm;

const DrumBar kIntroBeat = {{kKick, "X.......x......."}, {kClosedHat, "x.o.x.o.x.o.x.o."}};
const DrumBar kGroove = {
    {kKick, "X.....x.X.x....."}, {kSnare, "....X.......X..o"}, {kClosedHat, "x.o.x.o.x.o.x.o."}};
const DrumBar kBusyGroove = {{kKick, "X.....x.X.x....."},
                             {kSnare, "....X.......X..o"},
                             {kClosedHat, "xoxoxoxoxoxoxo.o"},
                             {kOpenHat, "..............x."}};
const DrumBar kHalfTime = {
    {kKick, "X.........x....."}, {kSnare, "........X......."}, {kRide, "x.o.x.o.x.o.x.o."}};
const DrumBar kSnareBuild = {{kKick, "X.......X......."}, {kSnare, "....x...o.o.xxXX"}};
const DrumBar kTomFill = {{kKick, "X.....x.X......."},    {kSnare, "....X..........."},
                          {kTomHigh, "........XX......"}, {kTomMid, "..........xX...."},
                          {kTomLow, "............xX.."},  {kTomFloor, "..............XX"}};

// A section of drums: the first bar opens with a crash, the last one is the given fill.
void PlayDrumSection(Track& drums, int bars, const DrumBar& groove, const DrumBar& fill,
                     bool crash) {
    if (crash) drums.NoteAt(drums.Cursor(), kCrash, kTicksPerQuarter, 100);
    for (int bar = 0; bar < bars; ++bar)
        PlayDrums(drums, bar + 1 == bars ? fill : groove);
}

Track SetUp(const std::string& name, int channel, int program, int volume, int pan, int reverb,
            int chorus) {
    Track track(name, channel);
    track.Program(program);
    track.Control(kVolume, volume);
    track.Control(kPan, pan);
    track.Control(kReverb, reverb);
    track.Control(kChorus, chorus);
    return track;
}

} // namespace

std::string MakeGameTune() {
    Track conductor("Vexaro!! cave flight", 0);
    conductor.TimeSignature44();
    conductor.Tempo(140);

    Track lead = SetUp("Lead", 0, 80, 92, 64, 45, 20);             // square lead
    Track bass = SetUp("Bass", 1, 38, 112, 64, 10, 0);             // synth bass
    Track pad = SetUp("Pad", 2, 89, 78, 84, 70, 40);               // warm pad
    Track arp = SetUp("Arpeggio", 3, 5, 100, 40, 50, 30);          // electric piano
    Track brass = SetUp("Brass", 4, 62, 84, 88, 50, 20);           // synth brass
    Track drums = SetUp("Drums", kDrumChannel, 0, 104, 64, 30, 0); // standard kit

    // Intro: the arpeggio and a pulsing bass, drums building, the pad joining halfway.
    lead.SetCursor(4 * kBar);
    brass.SetCursor(12 * kBar);
    PlayArpeggio(arp, kIntroChanges, false, 80);
    PlayBass(bass, kIntroChanges, BassStyle::Pulse);
    pad.SetCursor(2 * kBar);
    PlayPad(pad, {{"D", 16}, {"B", 16}}, 55);
    PlayDrums(drums, kIntroBeat);
    PlayDrums(drums, kIntroBeat);
    PlayDrums(drums, kGroove);
    PlayDrums(drums, kSnareBuild);

    // A: the theme over the driving bass.
    lead.Play(std::string("v100 g88 ") + kTheme + kThemeEnd);
    PlayBass(bass, kAChanges, BassStyle::Drive);
    PlayPad(pad, kAChanges, 58);
    PlayArpeggio(arp, kAChanges, false, 64);
    PlayDrumSection(drums, 8, kGroove, kTomFill, true);

    // A': the theme again with brass an octave below, busier drums, leading on.
    lead.Play(std::string("v104 ") + kTheme + kThemeLeadOn);
    brass.Play(std::string("v84 g92 ") + OctaveDown(std::string(kTheme) + kThemeLeadOn));
    PlayBass(bass, kAChanges, BassStyle::Drive);
    PlayPad(pad, kAChanges, 60);
    PlayArpeggio(arp, kAChanges, false, 70);
    PlayDrumSection(drums, 8, kBusyGroove, kTomFill, true);

    // B: half-time drums, syncopated bass, the pad forward, the arpeggio opening out.
    lead.Play(std::string("v98 g96 ") + kBridge);
    brass.Play(std::string("v76 ") + OctaveDown(kBridge));
    PlayBass(bass, kBChanges, BassStyle::Syncopated);
    PlayPad(pad, kBChanges, 74);
    PlayArpeggio(arp, kBChanges, true, 70);
    PlayDrumSection(drums, 8, kHalfTime, kSnareBuild, true);

    // A once more, everything playing.
    lead.Play(std::string("v106 g88 ") + kTheme + kThemeEnd);
    brass.Play(std::string("v84 g92 ") + OctaveDown(std::string(kTheme) + kThemeEnd));
    PlayBass(bass, kAChanges, BassStyle::Drive);
    PlayPad(pad, kAChanges, 62);
    PlayArpeggio(arp, kAChanges, false, 72);
    PlayDrumSection(drums, 8, kBusyGroove, kTomFill, true);

    // Coda: up the dominant chord and home to a held E minor.
    lead.Play(std::string("v108 g92 ") + kCoda);
    brass.Play(std::string("v86 ") + OctaveDown(kCoda));
    PlayBass(bass, {{"B", 16}}, BassStyle::Drive);
    PlayBass(bass, {{"Em", 16}}, BassStyle::Hold);
    PlayPad(pad, kCodaChanges, 66);
    PlayArpeggio(arp, {{"B", 16}}, false, 72);
    arp.Play("v80 E4+G4+B4+E5:12");
    PlayDrums(drums, kGroove);
    drums.NoteAt(drums.Cursor(), kCrash, kTicksPerQuarter, 110);
    drums.NoteAt(drums.Cursor(), kKick, kSixteenth, 115);

    return EncodeMidiFile({conductor, lead, bass, pad, arp, brass, drums}, 3 * kTicksPerQuarter);
}

} // namespace gensounds
