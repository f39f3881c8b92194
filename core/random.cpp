#include "core/random.h"

#include <cstdint>
#include <deque>

namespace {
constexpr std::uint64_t kStart = 0x56657861726F2121ULL; // the same start on every run
std::uint64_t g_state = kStart;
std::deque<double> g_queued;
long long g_draws = 0;

// splitmix64: small, fast, and uniform enough for flicker and stars.
std::uint64_t Next() {
    std::uint64_t z = (g_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}
} // namespace

double Rnd() {
    ++g_draws;
    if (!g_queued.empty()) {
        const double v = g_queued.front();
        g_queued.pop_front();
        return v;
    }
    return double(Next() >> 11) * 0x1.0p-53;
}

void ResetRandom() {
    g_state = kStart;
    g_queued.clear();
    g_draws = 0;
}

void QueueRandomDraws(const std::vector<double>& values) {
    g_queued.insert(g_queued.end(), values.begin(), values.end());
}

long long RandomDrawCount() {
    return g_draws;
}
