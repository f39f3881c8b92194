#include "effects.h"

namespace gensounds {

namespace {

struct Partial {
    double ratio;     // frequency relative to the fundamental
    double amplitude; // relative level
    double decay;     // seconds for the partial to fall to 1/e; 0 means it does not decay
};

// Additive tone: a sum of partials, each with its own decay, under a linear attack and a
// raised-cosine release so neither end clicks. Partials at or above 16 kHz are left out, which
// keeps every tone free of aliasing.
Samples Tone(double hz, double seconds, const std::vector<Partial>& partials, double attack,
             double release, double vibratoDepth = 0.0) {
    const int count = SecondsToSamples(seconds);
    const int attackSamples = SecondsToSamples(attack);
    const int releaseSamples = SecondsToSamples(release);
    Samples out(count, 0.0);
    for (const Partial& p : partials) {
        if (hz * p.ratio >= 16000.0) continue;
        double phase = 0.0;
        for (int i = 0; i < count; ++i) {
            const double t = SampleToSeconds(i);
            // Vibrato at 6 Hz, easing in over the first quarter second.
            const double ease = t < 0.25 ? t / 0.25 : 1.0;
            const double wobble = 1.0 + vibratoDepth * ease * SineCycles(6.0 * t);
            phase += hz * p.ratio * wobble / kSampleRate;
            const double level = p.decay > 0.0 ? Exp(-t / p.decay) : 1.0;
            out[i] += p.amplitude * level * SineCycles(phase);
        }
    }
    for (int i = 0; i < count; ++i) {
        if (i < attackSamples) out[i] *= static_cast<double>(i) / attackSamples;
        const int fromEnd = count - 1 - i;
        if (fromEnd < releaseSamples) {
            const double x = static_cast<double>(fromEnd) / releaseSamples; // 1 -> 0
            out[i] *= 0.5 - 0.5 * SineCycles(0.5 * x + 0.25);               // raised-cosine fade
        }
    }
    return out;
}

// A mellow square: odd harmonics falling faster than a true square, so it is bright but not
// buzzy.
std::vector<Partial> SoftSquare(double decay) {
    return {{1, 1.0, decay},
            {3, 0.30, decay * 0.7},
            {5, 0.14, decay * 0.5},
            {7, 0.07, decay * 0.4},
            {9, 0.035, decay * 0.3}};
}

// A struck bar: nearly harmonic partials, the upper ones dying quickly.
std::vector<Partial> Chime(double decay) {
    return {{1, 1.0, decay},
            {2, 0.35, decay * 0.55},
            {3, 0.12, decay * 0.3},
            {4.2, 0.08, decay * 0.15},
            {5.4, 0.05, decay * 0.08}};
}

} // namespace

Samples MakeBeep() {
    // A clean 880 Hz tone with a touch of second harmonic, so it carries on small speakers.
    const std::vector<Partial> partials = {{1, 1.0, 0}, {2, 0.12, 0}, {3, 0.04, 0}};
    Samples out = Tone(880.0, 0.15, partials, 0.004, 0.03);
    Finish(out, -3.0, 0.0, 0.0);
    return out;
}

Samples MakeGet() {
    // Quick rising major arpeggio (C6 E6 G6 C7), the top note left ringing with a little shimmer.
    const double notes[] = {84, 88, 91, 96};
    const double step = 0.045;
    Samples out;
    for (int i = 0; i < 4; ++i) {
        const bool last = i == 3;
        const double length = last ? 0.32 : 0.12;
        Samples tone = Tone(NoteHz(notes[i]), length, SoftSquare(last ? 0.14 : 0.05), 0.004,
                            last ? 0.06 : 0.03, last ? 0.006 : 0.0);
        MixInto(out, tone, SecondsToSamples(i * step), last ? 1.0 : 0.8);
    }
    // A faint octave-up sparkle over the last note.
    Samples sparkle = Tone(NoteHz(108), 0.22, {{1, 1.0, 0.07}}, 0.004, 0.05);
    MixInto(out, sparkle, SecondsToSamples(3 * step), 0.18);
    Finish(out, -3.0, 0.0, 0.01);
    return out;
}

Samples MakeThank() {
    // Ding-ding-dong upwards, G5 C6 E6, a friendly "thank you" on soft chimes.
    const double notes[] = {79, 84, 88};
    const double onsets[] = {0.0, 0.13, 0.26};
    Samples out;
    for (int i = 0; i < 3; ++i) {
        const double length = i == 2 ? 0.70 : 0.45;
        Samples tone = Tone(NoteHz(notes[i]), length, Chime(i == 2 ? 0.28 : 0.16), 0.006, 0.08);
        MixInto(out, tone, SecondsToSamples(onsets[i]), i == 2 ? 1.0 : 0.85);
    }
    Finish(out, -3.0, 0.0, 0.01);
    return out;
}

Samples MakeBomb() {
    const double seconds = 1.1;
    const int count = SecondsToSamples(seconds);
    Samples out(count, 0.0);
    Noise white(0xB0A4u);
    LowPass crackTone, bodyA, bodyB, rumbleA, rumbleB;
    double brown = 0.0;
    double thumpPhase = 0.0;
    for (int i = 0; i < count; ++i) {
        const double t = SampleToSeconds(i);
        const double n = white.Next();
        // Crack: the first few milliseconds of bright noise give the punch.
        const double crack = (n - crackTone.Process(n, 1500.0)) * Exp(-t / 0.018);
        // Body: noise whose brightness closes from 5 kHz to 150 Hz as the blast spreads.
        const double cutoff = 150.0 + 4850.0 * Exp(-t / 0.09);
        const double body = bodyB.Process(bodyA.Process(n, cutoff), cutoff) * Exp(-t / 0.28);
        // Thump: a sine dropping from 140 Hz to 38 Hz.
        const double thumpHz = 38.0 + 102.0 * Exp(-t / 0.08);
        thumpPhase += thumpHz / kSampleRate;
        const double thump = SineCycles(thumpPhase) * Exp(-t / 0.22);
        // Rumble: slow brown noise that lingers after everything else.
        brown = 0.996 * brown + 0.04 * n;
        const double rumble = rumbleB.Process(rumbleA.Process(brown, 180.0), 180.0) *
                              (1.0 - Exp(-t / 0.03)) * Exp(-t / 0.45);
        out[i] = SoftClip(0.9 * crack + 2.6 * body + 0.9 * thump + 2.2 * rumble);
    }
    Finish(out, -3.0, 0.001, 0.12);
    return out;
}

Samples MakeWave06() {
    // "Da-da-da daaa, da-DAAA": a bright square-wave jingle in C major over a bass, ending on a
    // held C major chord.
    struct Note {
        double start, length, pitch, level;
    };
    const Note melody[] = {{0.00, 0.10, 76, 0.8}, {0.10, 0.10, 79, 0.8},  {0.20, 0.10, 84, 0.85},
                           {0.30, 0.22, 88, 1.0}, {0.55, 0.10, 86, 0.85}, {0.65, 0.10, 88, 0.9},
                           {0.78, 0.82, 91, 1.0}};
    const Note harmony[] = {{0.30, 0.22, 84, 0.5}, {0.78, 0.82, 88, 0.55}, {0.78, 0.82, 84, 0.5}};
    const Note bass[] = {
        {0.00, 0.28, 48, 0.9}, {0.30, 0.22, 55, 0.9}, {0.55, 0.20, 55, 0.8}, {0.78, 0.82, 48, 1.0}};
    Samples out;
    auto play = [&out](const Note& note, double decay, double vibrato, double gain) {
        const bool held = note.length > 0.5;
        Samples tone = Tone(NoteHz(note.pitch), note.length, SoftSquare(held ? decay * 3 : decay),
                            0.004, held ? 0.25 : 0.03, held ? vibrato : 0.0);
        MixInto(out, tone, SecondsToSamples(note.start), gain * note.level);
    };
    for (const Note& n : melody)
        play(n, 0.25, 0.005, 1.0);
    for (const Note& n : harmony)
        play(n, 0.25, 0.004, 0.55);
    for (const Note& n : bass)
        play(n, 0.35, 0.0, 0.8);
    Finish(out, -3.0, 0.0, 0.02);
    return out;
}

} // namespace gensounds
