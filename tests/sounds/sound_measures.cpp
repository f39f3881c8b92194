#include "sound_measures.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>

namespace soundtest {

namespace {

std::uint32_t Le(const std::string& b, std::size_t at, int size) {
    std::uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(b[at + i]);
    return v;
}

std::uint32_t Be(const std::string& b, std::size_t at, int size) {
    std::uint32_t v = 0;
    for (int i = 0; i < size; ++i)
        v = (v << 8) | static_cast<std::uint8_t>(b[at + i]);
    return v;
}

// Reads a MIDI variable-length number; false when it runs past `end`.
bool ReadVarLen(const std::string& b, std::size_t& at, std::size_t end, std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
        if (at >= end) return false;
        const auto byte = static_cast<std::uint8_t>(b[at++]);
        value = (value << 7) | (byte & 0x7F);
        if ((byte & 0x80) == 0) return true;
    }
    return false;
}

struct TrackScan {
    std::uint32_t endTick = 0;
    std::uint32_t lastNoteOff = 0;
};

// Walks one track chunk, collecting tempo changes, notes and programs.
bool ScanTrack(const std::string& b, std::size_t at, std::size_t end, Midi& midi,
               std::map<std::uint32_t, std::uint32_t>& tempos, TrackScan& scan) {
    std::uint32_t tick = 0;
    int running = 0;
    while (at < end) {
        std::uint32_t delta = 0;
        if (!ReadVarLen(b, at, end, delta) || at >= end) return false;
        tick += delta;
        int status = static_cast<std::uint8_t>(b[at]);
        if (status & 0x80)
            ++at;
        else if (running != 0)
            status = running;
        else
            return false;
        if (status == 0xFF) {
            if (at >= end) return false;
            const int type = static_cast<std::uint8_t>(b[at++]);
            std::uint32_t length = 0;
            if (!ReadVarLen(b, at, end, length) || at + length > end) return false;
            if (type == 0x51 && length == 3) tempos[tick] = Be(b, at, 3);
            at += length;
            if (type == 0x2F) {
                scan.endTick = tick;
                return true;
            }
            continue;
        }
        if (status == 0xF0 || status == 0xF7) {
            std::uint32_t length = 0;
            if (!ReadVarLen(b, at, end, length) || at + length > end) return false;
            at += length;
            continue;
        }
        running = status;
        const int kind = status & 0xF0;
        const int dataBytes = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
        if (at + dataBytes > end) return false;
        const int first = static_cast<std::uint8_t>(b[at]);
        const int second = dataBytes == 2 ? static_cast<std::uint8_t>(b[at + 1]) : 0;
        at += dataBytes;
        if (kind == 0x90 && second > 0) midi.channelUsed[status & 0x0F] = true;
        if (kind == 0x80 || (kind == 0x90 && second == 0))
            scan.lastNoteOff = std::max(scan.lastNoteOff, tick);
        if (kind == 0xC0) midi.programs.push_back(first);
    }
    return false; // no end of track
}

double TicksToSeconds(std::uint32_t ticks, int division,
                      const std::map<std::uint32_t, std::uint32_t>& tempos) {
    double seconds = 0.0;
    std::uint32_t at = 0;
    std::uint32_t tempo = 500000; // 120 beats a minute until told otherwise
    for (const auto& [tick, microseconds] : tempos) {
        if (tick >= ticks) break;
        seconds += (tick - at) * (tempo / 1e6) / division;
        at = tick;
        tempo = microseconds;
    }
    return seconds + (ticks - at) * (tempo / 1e6) / division;
}

} // namespace

std::optional<std::string> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::optional<Wave> ParseWav(const std::string& b) {
    if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0)
        return std::nullopt;
    Wave wave;
    std::size_t at = 12;
    while (at + 8 <= b.size()) {
        const std::string id = b.substr(at, 4);
        const std::uint32_t size = Le(b, at + 4, 4);
        at += 8;
        if (size > b.size() - at) return std::nullopt;
        if (id == "fmt " && size >= 16) {
            if (Le(b, at, 2) != 1) return std::nullopt; // PCM only
            wave.channels = static_cast<int>(Le(b, at + 2, 2));
            wave.rate = static_cast<int>(Le(b, at + 4, 4));
            wave.bits = static_cast<int>(Le(b, at + 14, 2));
        } else if (id == "data") {
            if (wave.bits != 16 || wave.channels < 1) return std::nullopt;
            Wave raw = FromRaw16(b.substr(at, size), wave.channels, wave.rate);
            wave.mono = std::move(raw.mono);
            wave.clipped = raw.clipped;
            return wave;
        }
        at += size + (size & 1);
    }
    return std::nullopt;
}

Wave FromRaw16(const std::string& bytes, int channels, int rate) {
    Wave wave;
    wave.channels = channels;
    wave.rate = rate;
    wave.bits = 16;
    const std::size_t frames = bytes.size() / (2 * channels);
    wave.mono.resize(frames);
    for (std::size_t f = 0; f < frames; ++f) {
        double sum = 0.0;
        for (int c = 0; c < channels; ++c) {
            const auto s = static_cast<std::int16_t>(Le(bytes, (f * channels + c) * 2, 2));
            if (s >= 32767 || s <= -32768) ++wave.clipped;
            sum += s / 32768.0;
        }
        wave.mono[f] = sum / channels;
    }
    return wave;
}

std::optional<Midi> ParseMidi(const std::string& b) {
    if (b.size() < 14 || b.compare(0, 4, "MThd") != 0 || Be(b, 4, 4) != 6) return std::nullopt;
    Midi midi;
    midi.format = static_cast<int>(Be(b, 8, 2));
    const int declaredTracks = static_cast<int>(Be(b, 10, 2));
    const int division = static_cast<int>(Be(b, 12, 2));
    if (division <= 0 || division >= 0x8000) return std::nullopt; // ticks per quarter only
    std::map<std::uint32_t, std::uint32_t> tempos;
    std::uint32_t endTick = 0, lastNoteOff = 0;
    std::size_t at = 14;
    for (int t = 0; t < declaredTracks; ++t) {
        if (at + 8 > b.size() || b.compare(at, 4, "MTrk") != 0) return std::nullopt;
        const std::uint32_t size = Be(b, at + 4, 4);
        at += 8;
        if (size > b.size() - at) return std::nullopt;
        TrackScan scan;
        if (!ScanTrack(b, at, at + size, midi, tempos, scan)) return std::nullopt;
        endTick = std::max(endTick, scan.endTick);
        lastNoteOff = std::max(lastNoteOff, scan.lastNoteOff);
        at += size;
        ++midi.tracks;
    }
    midi.seconds = TicksToSeconds(endTick, division, tempos);
    midi.lastNoteOff = TicksToSeconds(lastNoteOff, division, tempos);
    return midi;
}

Loudness Measure(const std::vector<double>& samples, int rate, double floor) {
    Loudness result;
    std::size_t first = samples.size(), last = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double magnitude = std::fabs(samples[i]);
        result.peak = std::max(result.peak, magnitude);
        if (magnitude > floor) {
            first = std::min(first, i);
            last = i;
        }
    }
    if (first > last) return result;
    double sum = 0.0;
    for (std::size_t i = first; i <= last; ++i)
        sum += samples[i] * samples[i];
    result.start = static_cast<double>(first) / rate;
    result.end = static_cast<double>(last + 1) / rate;
    result.rms = std::sqrt(sum / static_cast<double>(last + 1 - first));
    return result;
}

std::vector<double> WindowRms(const std::vector<double>& samples, int rate, double from, double to,
                              double seconds) {
    std::vector<double> out;
    const auto window = static_cast<std::size_t>(seconds * rate);
    for (auto at = static_cast<std::size_t>(from * rate);
         at + window <= std::min(samples.size(), static_cast<std::size_t>(to * rate));
         at += window) {
        double sum = 0.0;
        for (std::size_t i = at; i < at + window; ++i)
            sum += samples[i] * samples[i];
        out.push_back(std::sqrt(sum / static_cast<double>(window)));
    }
    return out;
}

double CrossingRate(const std::vector<double>& samples, int rate, double from, double to) {
    const auto begin = static_cast<std::size_t>(from * rate);
    const auto end = std::min(samples.size(), static_cast<std::size_t>(to * rate));
    int crossings = 0;
    for (std::size_t i = begin + 1; i < end; ++i)
        if ((samples[i - 1] < 0) != (samples[i] < 0)) ++crossings;
    return end > begin ? crossings * static_cast<double>(rate) / static_cast<double>(end - begin)
                       : 0.0;
}

double ToDb(double linear) {
    return 20.0 * std::log10(std::max(linear, 1e-12));
}

} // namespace soundtest
