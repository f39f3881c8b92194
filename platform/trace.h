// The headless trace: one JSON object per line, each with the tick ("t") and the event ("ev").
// The SDL backend keeps no trace; building an event then costs one test of a flag.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

bool TraceEnabled();

// Builds one event; emits it when it goes out of scope.
class TraceEvent {
  public:
    explicit TraceEvent(std::string_view ev);
    ~TraceEvent();
    TraceEvent(const TraceEvent&) = delete;
    TraceEvent& operator=(const TraceEvent&) = delete;

    TraceEvent& add(std::string_view key, std::int64_t value);
    TraceEvent& add(std::string_view key, int value) { return add(key, std::int64_t(value)); }
    TraceEvent& add(std::string_view key, double value);
    TraceEvent& add(std::string_view key, bool value);
    TraceEvent& add(std::string_view key, std::string_view value);
    TraceEvent& add(std::string_view key, const char* value) {
        return add(key, std::string_view(value));
    }
    // A value written as it stands (an array or object already in JSON).
    TraceEvent& addRaw(std::string_view key, std::string_view json);

  private:
    bool on_;
    std::string line_;
};

std::string JsonQuote(std::string_view text);

// A file as the trace names it: without its folder, the same wherever the game lives.
std::string BaseName(const std::string& path);

// Reading a trace line back: the integer of a field ("key":value), or `fallback` without one.
inline long long TraceField(const std::string& line, const std::string& key,
                            long long fallback = -1) {
    const std::string needle = "\"" + key + "\":";
    const auto at = line.find(needle);
    if (at == std::string::npos) return fallback;
    return std::stoll(line.substr(at + needle.size()));
}
// Whether a trace line is of the event `ev`.
inline bool TraceIs(const std::string& line, const std::string& ev) {
    return line.find("\"ev\":\"" + ev + "\"") != std::string::npos;
}

// Set by the headless backend: where lines go. nullptr switches the trace off.
using TraceSink = void (*)(const std::string& line);
void SetTraceSink(TraceSink sink);
// Ticks since the run began, for the "t" field; set by the headless backend.
void SetTraceClock(std::int64_t (*clock)());

} // namespace platform
