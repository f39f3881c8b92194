#include "platform/trace.h"

#include <cmath>
#include <cstdio>

namespace platform {

namespace {
TraceSink g_sink = nullptr;
std::int64_t (*g_clock)() = nullptr;
} // namespace

bool TraceEnabled() {
    return g_sink != nullptr;
}
void SetTraceSink(TraceSink sink) {
    g_sink = sink;
}
void SetTraceClock(std::int64_t (*clock)()) {
    g_clock = clock;
}

std::string JsonQuote(std::string_view text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += char(c);
            }
        }
    }
    return out + "\"";
}

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

TraceEvent::TraceEvent(std::string_view ev) : on_(g_sink != nullptr) {
    if (!on_) return;
    line_ = "{\"t\":" + std::to_string(g_clock ? g_clock() : 0) + ",\"ev\":" + JsonQuote(ev);
}

TraceEvent::~TraceEvent() {
    if (on_) g_sink(line_ + "}");
}

TraceEvent& TraceEvent::addRaw(std::string_view key, std::string_view json) {
    if (on_) {
        line_ += ",";
        line_ += JsonQuote(key);
        line_ += ":";
        line_ += json;
    }
    return *this;
}

TraceEvent& TraceEvent::add(std::string_view key, std::int64_t value) {
    return on_ ? addRaw(key, std::to_string(value)) : *this;
}

TraceEvent& TraceEvent::add(std::string_view key, double value) {
    if (!on_) return *this;
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return addRaw(key, std::to_string(std::int64_t(value)));
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.9g", value);
    return addRaw(key, buf);
}

TraceEvent& TraceEvent::add(std::string_view key, bool value) {
    return on_ ? addRaw(key, value ? "true" : "false") : *this;
}

TraceEvent& TraceEvent::add(std::string_view key, std::string_view value) {
    return on_ ? addRaw(key, JsonQuote(value)) : *this;
}

} // namespace platform
