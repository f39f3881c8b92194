// "fanfa4.mid": a bright brass fanfare in C major for the ending, about seven seconds.
#include "midi.h"
#include "tunes.h"

namespace gensounds {

using namespace gm;

namespace {

Track SetUp(const std::string& name, int channel, int program, int volume, int pan) {
    Track track(name, channel);
    track.Program(program);
    track.Control(kVolume, volume);
    track.Control(kPan, pan);
    track.Control(kReverb, 70);
    return track;
}

} // namespace

std::string MakeFanfare() {
    Track conductor("Vexaro!! fanfare", 0);
    conductor.TimeSignature44();
    conductor.Tempo(132);
    // Broaden into the last chord.
    conductor.SetCursor(2 * kBar + 8 * kSixteenth);
    conductor.Tempo(120);
    conductor.SetCursor(3 * kBar);
    conductor.Tempo(108);

    Track trumpet = SetUp("Trumpet", 0, 56, 92, 56);
    Track second = SetUp("Trumpet 2", 1, 56, 78, 76);
    Track horns = SetUp("Horns", 2, 60, 80, 44);
    Track trombone = SetUp("Trombone", 3, 57, 84, 70);
    Track timpani = SetUp("Timpani", 4, 47, 92, 64);
    Track drums = SetUp("Cymbals", kDrumChannel, 0, 84, 64);

    trumpet.Play("v112 g85 G4:1t G4:1t G4:1t C5:6 E5:2 G5:4 | A5:4 F5:2 A5:2 C6:6 A5:2 |"
                 "B5:1t B5:1t B5:1t D6:4 B5:2 G5:2 A5:2 B5:2 | g100 v120 C6:12 r:4 |");
    second.Play("v98 g85 E4:1t E4:1t E4:1t G4:6 C5:2 E5:4 | F5:4 C5:2 F5:2 A5:6 F5:2 |"
                "G5:1t G5:1t G5:1t B5:4 G5:2 D5:2 F5:2 G5:2 | g100 v108 G5:12 r:4 |");
    horns.Play("v88 g98 r:4 C4+E4+G4:12 | C4+F4+A4:16 | D4+G4+B4:12 F4+G4+B4:4 |"
               "v100 E4+G4+C5:12 r:4 |");
    trombone.Play("v96 g80 C3:1t C3:1t C3:1t g95 C3:12 | F2:8 A2:8 | G2:1t G2:1t G2:1t G2:12 |"
                  "g100 v108 C2+C3:12 r:4 |");

    // Timpani on the strong beats, then a roll on G into the final C.
    timpani.Play("v100 g90 r:4 C3:4 r:4 G2:4 | F2:8 C3:8 | G2:4 r:4 G2:4");
    for (int i = 0; i < 8; ++i)
        timpani.NoteAt(timpani.Cursor() + i * kSixteenth / 2, 43, kSixteenth / 2, 70 + 5 * i);
    timpani.SetCursor(3 * kBar);
    timpani.Play("v120 C3:8 r:8 |");

    // Cymbal splashes where the fanfare lands, and a snare roll swelling into the end.
    drums.NoteAt(kSixteenth * 4, kCrash, kTicksPerQuarter, 96);
    drums.NoteAt(kSixteenth * 4, kKick, kSixteenth, 100);
    drums.NoteAt(2 * kBar, kCrash, kTicksPerQuarter, 90);
    for (int i = 0; i < 8; ++i)
        drums.NoteAt(2 * kBar + 12 * kSixteenth + i * kSixteenth / 2, kSnare, kSixteenth / 2,
                     60 + 7 * i);
    drums.NoteAt(3 * kBar, kCrash, kTicksPerQuarter, 120);
    drums.NoteAt(3 * kBar, kKick, kSixteenth, 120);

    return EncodeMidiFile({conductor, trumpet, second, horns, trombone, timpani, drums},
                          2 * kTicksPerQuarter);
}

} // namespace gensounds
