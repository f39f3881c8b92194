#include "midi.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace gensounds {

namespace {

enum EventOrder { kNoteOff = 0, kSetup = 1, kNoteOn = 2, kEnd = 3 };

void PutBigEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void PutVariableLength(std::string& out, std::uint32_t value) {
    std::uint8_t bytes[5];
    int count = 0;
    do {
        bytes[count++] = value & 0x7F;
        value >>= 7;
    } while (value != 0);
    while (count > 0) {
        --count;
        out.push_back(static_cast<char>(bytes[count] | (count > 0 ? 0x80 : 0)));
    }
}

[[noreturn]] void Fail(const std::string& what, std::string_view token) {
    throw std::runtime_error(what + ": '" + std::string(token) + "'");
}

int ParseNumber(std::string_view text, std::string_view token) {
    if (text.empty()) Fail("missing number", token);
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') Fail("bad number", token);
        value = value * 10 + (c - '0');
    }
    return value;
}

int ParseLength(std::string_view text, std::string_view token) {
    if (!text.empty() && text.back() == 't')
        return ParseNumber(text.substr(0, text.size() - 1), token) * kTicksPerQuarter / 3;
    return ParseNumber(text, token) * kSixteenth;
}

std::vector<std::string_view> SplitTokens(std::string_view text) {
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    auto isSpace = [](char c) { return c == ' ' || c == '\n'; };
    while (i < text.size()) {
        while (i < text.size() && isSpace(text[i]))
            ++i;
        std::size_t j = i;
        if (j < text.size() && text[j] == '|')
            ++j; // a bar line stands alone
        else
            while (j < text.size() && !isSpace(text[j]) && text[j] != '|')
                ++j;
        if (j > i) tokens.push_back(text.substr(i, j - i));
        i = j;
    }
    return tokens;
}

} // namespace

int ParseKey(std::string_view name) {
    static constexpr int kSemitone[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    if (name.size() < 2 || name[0] < 'A' || name[0] > 'G') return -1;
    int key = kSemitone[name[0] - 'A'];
    std::size_t i = 1;
    if (name[i] == '#')
        ++key, ++i;
    else if (name[i] == 'b')
        --key, ++i;
    if (i + 1 != name.size() || name[i] < '0' || name[i] > '8') return -1;
    return key + 12 * (name[i] - '0' + 1);
}

void Track::Add(int tick, int order, std::vector<std::uint8_t> data) {
    events_.push_back({tick, order, std::move(data)});
}

void Track::NoteAt(int tick, int key, int length, int velocity) {
    const auto status = static_cast<std::uint8_t>(channel_);
    Add(tick, kNoteOn,
        {static_cast<std::uint8_t>(0x90 | status), static_cast<std::uint8_t>(key),
         static_cast<std::uint8_t>(velocity)});
    Add(tick + std::max(1, length), kNoteOff,
        {static_cast<std::uint8_t>(0x80 | status), static_cast<std::uint8_t>(key), 64});
}

void Track::Play(std::string_view notes) {
    for (std::string_view token : SplitTokens(notes)) {
        if (token == "|") {
            if (cursor_ % kBar != 0) Fail("bar line inside a bar in track " + name_, token);
            continue;
        }
        if (token[0] == 'v' || token[0] == 'g') {
            const int value = ParseNumber(token.substr(1), token);
            if (value < 1 || value > 127) Fail("out of range", token);
            (token[0] == 'v' ? velocity_ : gatePercent_) = value;
            continue;
        }
        const std::size_t colon = token.find(':');
        if (colon == std::string_view::npos) Fail("missing length", token);
        const int length = ParseLength(token.substr(colon + 1), token);
        const std::string_view pitches = token.substr(0, colon);
        if (pitches != "r") {
            const int sounding = std::max(kSixteenth / 4, length * gatePercent_ / 100);
            std::size_t start = 0;
            while (start <= pitches.size()) {
                const std::size_t plus = std::min(pitches.find('+', start), pitches.size());
                const int key = ParseKey(pitches.substr(start, plus - start));
                if (key < 0) Fail("bad note", token);
                NoteAt(cursor_, key, sounding, velocity_);
                start = plus + 1;
            }
        }
        cursor_ += length;
    }
}

void Track::Program(int program) {
    Add(cursor_, kSetup,
        {static_cast<std::uint8_t>(0xC0 | channel_), static_cast<std::uint8_t>(program)});
}

void Track::Control(int controller, int value) {
    Add(cursor_, kSetup,
        {static_cast<std::uint8_t>(0xB0 | channel_), static_cast<std::uint8_t>(controller),
         static_cast<std::uint8_t>(value)});
}

void Track::Tempo(double beatsPerMinute) {
    const auto microseconds = static_cast<std::uint32_t>(60000000.0 / beatsPerMinute + 0.5);
    Add(cursor_, kSetup,
        {0xFF, 0x51, 3, static_cast<std::uint8_t>(microseconds >> 16),
         static_cast<std::uint8_t>(microseconds >> 8), static_cast<std::uint8_t>(microseconds)});
}

void Track::TimeSignature44() {
    Add(cursor_, kSetup, {0xFF, 0x58, 4, 4, 2, 24, 8});
}

int Track::LastTick() const {
    int last = 0;
    for (const MidiEvent& e : events_)
        last = std::max(last, e.tick);
    return last;
}

std::string Track::Encode(int endTick) const {
    std::vector<MidiEvent> events = events_;
    std::vector<std::uint8_t> nameEvent = {0xFF, 0x03, static_cast<std::uint8_t>(name_.size())};
    nameEvent.insert(nameEvent.end(), name_.begin(), name_.end());
    events.push_back({0, -1, nameEvent});
    events.push_back({endTick, kEnd, {0xFF, 0x2F, 0}});
    std::stable_sort(events.begin(), events.end(), [](const MidiEvent& a, const MidiEvent& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::string body;
    int previous = 0;
    for (const MidiEvent& e : events) {
        PutVariableLength(body, static_cast<std::uint32_t>(e.tick - previous));
        body.append(e.data.begin(), e.data.end());
        previous = e.tick;
    }
    std::string chunk = "MTrk";
    PutBigEndian(chunk, static_cast<std::uint32_t>(body.size()), 4);
    return chunk + body;
}

std::string EncodeMidiFile(const std::vector<Track>& tracks, int tailTicks) {
    int last = 0;
    for (const Track& t : tracks)
        last = std::max(last, t.LastTick());
    std::string out = "MThd";
    PutBigEndian(out, 6, 4);
    PutBigEndian(out, 1, 2); // format 1: simultaneous tracks
    PutBigEndian(out, static_cast<std::uint32_t>(tracks.size()), 2);
    PutBigEndian(out, kTicksPerQuarter, 2);
    for (const Track& t : tracks)
        out += t.Encode(last + tailTicks);
    return out;
}

} // namespace gensounds
