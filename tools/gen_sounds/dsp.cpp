#include "dsp.h"

namespace gensounds {

namespace {

// Exact for the sizes used here; avoids std::floor's dependence on the rounding mode.
double FloorOf(double x) {
    const auto truncated = static_cast<double>(static_cast<long long>(x));
    return truncated > x ? truncated - 1.0 : truncated;
}

// sin(x) for |x| <= pi/2 by its Taylor series; the error is below 1e-9, far under 16-bit steps.
double SineQuarter(double x) {
    const double x2 = x * x;
    double term = x;
    double sum = x;
    for (int n = 1; n <= 8; ++n) {
        term = -term * x2 / ((2.0 * n) * (2.0 * n + 1.0));
        sum += term;
    }
    return sum;
}

void PutLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

double SineCycles(double cycles) {
    double phase = cycles - FloorOf(cycles); // [0, 1)
    // Fold into [-1/4, 1/4] of a cycle, where the series converges fast.
    if (phase > 0.75)
        phase -= 1.0;
    else if (phase > 0.25)
        phase = 0.5 - phase;
    return SineQuarter(2.0 * kPi * phase);
}

double Exp(double x) {
    constexpr double kLn2 = 0.69314718055994530942;
    const double whole = FloorOf(x / kLn2);
    const double rest = x - whole * kLn2; // [0, ln 2)
    double term = 1.0;
    double sum = 1.0;
    for (int n = 1; n <= 14; ++n) {
        term *= rest / n;
        sum += term;
    }
    // Multiply by 2^whole one step at a time: exact, and whole stays small here.
    const double factor = whole >= 0 ? 2.0 : 0.5;
    for (double steps = whole >= 0 ? whole : -whole; steps > 0; steps -= 1.0)
        sum *= factor;
    return sum;
}

double NoteHz(double midiNote) {
    constexpr double kLn2 = 0.69314718055994530942;
    return 440.0 * Exp(kLn2 * (midiNote - 69.0) / 12.0);
}

double SoftClip(double x) {
    const double magnitude = x < 0 ? -x : x;
    return x / (1.0 + 0.28 * magnitude * magnitude);
}

double Noise::Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<double>(state_) / 2147483648.0 - 1.0;
}

double LowPass::Process(double input, double cutoffHz) {
    // Matched-pole coefficient, 1 - e^(-2 pi fc / fs).
    const double coefficient = 1.0 - Exp(-2.0 * kPi * cutoffHz / kSampleRate);
    state_ += coefficient * (input - state_);
    return state_;
}

int SecondsToSamples(double seconds) {
    return static_cast<int>(seconds * kSampleRate + 0.5);
}

double SampleToSeconds(int index) {
    return static_cast<double>(index) / kSampleRate;
}

void MixInto(Samples& target, const Samples& source, int offset, double gain) {
    if (target.size() < offset + source.size()) target.resize(offset + source.size(), 0.0);
    for (std::size_t i = 0; i < source.size(); ++i)
        target[offset + i] += gain * source[i];
}

void Finish(Samples& samples, double peakDb, double fadeInSeconds, double fadeOutSeconds) {
    double peak = 0.0;
    for (double s : samples)
        peak = s > peak ? s : (-s > peak ? -s : peak);
    if (peak == 0.0) return;
    const double gain = Exp(peakDb / 20.0 * 2.30258509299404568402) / peak;
    const int fadeIn = SecondsToSamples(fadeInSeconds);
    const int fadeOut = SecondsToSamples(fadeOutSeconds);
    const int count = static_cast<int>(samples.size());
    for (int i = 0; i < count; ++i) {
        double shape = 1.0;
        if (i < fadeIn) shape = static_cast<double>(i) / fadeIn;
        const int fromEnd = count - 1 - i;
        if (fromEnd < fadeOut) shape *= static_cast<double>(fromEnd) / fadeOut;
        samples[i] *= gain * shape;
    }
}

std::string EncodeWav(const Samples& samples) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    PutLe(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    PutLe(out, 16, 4);          // format chunk size
    PutLe(out, 1, 2);           // PCM
    PutLe(out, 1, 2);           // mono
    PutLe(out, kSampleRate, 4); // frames per second
    PutLe(out, kSampleRate * 2, 4);
    PutLe(out, 2, 2);  // bytes per frame
    PutLe(out, 16, 2); // bits per sample
    out += "data";
    PutLe(out, dataBytes, 4);
    for (double s : samples) {
        double scaled = s * 32767.0;
        scaled = scaled > 32767.0 ? 32767.0 : (scaled < -32767.0 ? -32767.0 : scaled);
        const auto rounded = static_cast<std::int16_t>(scaled < 0 ? scaled - 0.5 : scaled + 0.5);
        PutLe(out, static_cast<std::uint16_t>(rounded), 2);
    }
    return out;
}

} // namespace gensounds
