// Small synthesis kit for the sound generator. Everything here uses only additions,
// multiplications and divisions of doubles (no library sine or exponential, no <random>), so the
// generated files are the same bytes on every machine and compiler.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gensounds {

constexpr int kSampleRate = 44100;
constexpr double kPi = 3.14159265358979323846;

using Samples = std::vector<double>;

// sin(2 pi cycles), for any number of cycles.
double SineCycles(double cycles);
// e^x, for x between about -700 and 700.
double Exp(double x);
// Frequency in hertz of a MIDI note number (69 = A4 = 440 Hz).
double NoteHz(double midiNote);
// Soft limiter that keeps small signals unchanged and bends large ones below 1.
double SoftClip(double x);

// Seeded white noise in [-1, 1): a 32-bit xorshift, the same sequence everywhere.
class Noise {
  public:
    explicit Noise(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    double Next();

  private:
    std::uint32_t state_;
};

// One-pole low-pass filter; the cutoff may change every sample.
class LowPass {
  public:
    double Process(double input, double cutoffHz);

  private:
    double state_ = 0.0;
};

int SecondsToSamples(double seconds);
double SampleToSeconds(int index);

// Adds `source` into `target` starting at sample `offset`, growing `target` when needed.
void MixInto(Samples& target, const Samples& source, int offset, double gain = 1.0);

// Scales to the given peak (in dBFS), fades both ends over a few milliseconds so nothing clicks.
void Finish(Samples& samples, double peakDb, double fadeInSeconds, double fadeOutSeconds);

// 16-bit PCM mono WAV bytes.
std::string EncodeWav(const Samples& samples);

} // namespace gensounds
