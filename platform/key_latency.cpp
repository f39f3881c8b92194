#include "platform/key_latency.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace platform::latency {

namespace {

using Clock = std::chrono::steady_clock;

struct Press {
    Clock::time_point arrived;
    Clock::time_point read;
    bool pending = false; // arrived, not yet shown
    bool wasRead = false;
};

struct Log {
    std::FILE* file = nullptr;
    std::array<Press, 256> presses{};
};

// Opened on first use; never closed (every line is flushed as it is written).
Log* TheLog() {
    static Log* log = [] {
        const char* path = std::getenv("VEXARO_KEY_LATENCY");
        if (!path || !*path) return static_cast<Log*>(nullptr);
        std::FILE* file = std::fopen(path, "w");
        if (!file) return static_cast<Log*>(nullptr);
        auto* opened = new Log;
        opened->file = file;
        return opened;
    }();
    return log;
}

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

} // namespace

void KeyArrived(int vkey, double agoMs) {
    Log* log = TheLog();
    if (!log || vkey <= 0 || vkey >= int(log->presses.size())) return;
    Press& p = log->presses[vkey];
    if (p.pending) return; // an auto-repeat, or a press before the last one was shown
    p.arrived = Clock::now() - std::chrono::microseconds(long(agoMs * 1000));
    p.pending = true;
    p.wasRead = false;
}

void KeyRead(int vkey) {
    Log* log = TheLog();
    if (!log || vkey <= 0 || vkey >= int(log->presses.size())) return;
    Press& p = log->presses[vkey];
    if (p.pending && !p.wasRead) {
        p.read = Clock::now();
        p.wasRead = true;
    }
}

void Presented() {
    Log* log = TheLog();
    if (!log) return;
    const Clock::time_point now = Clock::now();
    for (int vkey = 0; vkey < int(log->presses.size()); ++vkey) {
        Press& p = log->presses[vkey];
        if (!p.pending || !p.wasRead) continue;
        std::fprintf(log->file, "%d %.3f %.3f\n", vkey, Ms(p.read - p.arrived),
                     Ms(now - p.arrived));
        std::fflush(log->file);
        p.pending = false;
    }
}

} // namespace platform::latency
