// Reading the game's sound files and measuring rendered audio, for the sound tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace soundtest {

std::optional<std::string> ReadBytes(const std::string& path);

struct Wave {
    int channels = 0;
    int rate = 0;
    int bits = 0;
    std::vector<double> mono; // samples in [-1, 1], channels averaged
    int clipped = 0;          // samples at full scale
};
// A PCM WAV file; nothing when it is not one.
std::optional<Wave> ParseWav(const std::string& bytes);

// Interleaved signed 16-bit samples, as the disk audio driver writes them.
Wave FromRaw16(const std::string& bytes, int channels, int rate);

struct Midi {
    int format = -1;
    int tracks = 0;
    double seconds = 0.0;      // to the last end of track, following the tempo map
    double lastNoteOff = 0.0;  // seconds
    bool channelUsed[16] = {}; // channels with notes
    std::vector<int> programs; // program changes seen, in order
};
// A Standard MIDI file; nothing when it cannot be read to its end.
std::optional<Midi> ParseMidi(const std::string& bytes);

struct Loudness {
    double start = 0.0; // seconds of the first sample above the floor
    double end = 0.0;   // seconds just after the last one
    double peak = 0.0;  // largest magnitude, 1 = full scale
    double rms = 0.0;   // over the audible part
};
// Measures the part of a signal louder than `floor` (linear, e.g. 0.01 for -40 dBFS).
Loudness Measure(const std::vector<double>& samples, int rate, double floor);

// Root mean square of each window of `seconds` between `from` and `to` (seconds).
std::vector<double> WindowRms(const std::vector<double>& samples, int rate, double from, double to,
                              double seconds);

// Zero crossings per second over a part of the signal: twice its main frequency for a tone.
double CrossingRate(const std::vector<double>& samples, int rate, double from, double to);

double ToDb(double linear);

} // namespace soundtest
