#include "tools/replay_search/pilot_rules.h"

#include "core/twips.h"
#include "display/fmain.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <sstream>

namespace replay {

int LongestFlightFrames(Long allowance) {
    const std::int64_t frames = (std::int64_t(allowance) - 2) * 100;
    return int(std::clamp<std::int64_t>(frames, 0, INT_MAX));
}

int RockMargin(int round) {
    return round <= 3 ? 16 : 6;
}

double BoxGap(const PixelBox& a, const PixelBox& b) {
    const int dx = std::max({0, b.left - (a.left + a.width), a.left - (b.left + b.width)});
    const int dy = std::max({0, b.top - (a.top + a.height), a.top - (b.top + b.height)});
    return std::hypot(double(dx), double(dy));
}

PixelBox BoxOf(const platform::Control& c) {
    return {int(PixelsX(c.left())), int(PixelsY(c.top())), int(PixelsX(c.width())),
            int(PixelsY(c.height()))};
}

PixelBox ShipBox() {
    return BoxOf(fMain().iRocket);
}

bool WallCell(int column, int row) {
    if (column < 0 || row < 0 || column >= kGridSize || row >= kGridSize) return true;
    return Grid[std::size_t(row) * kGridSize + std::size_t(column)] != 0;
}

double RockGap(const PixelBox& box, double sight) {
    const int reach = int(std::ceil(sight));
    const auto cellOf = [](int pixel) { return int(std::floor(pixel / 32.0)); };
    const int c0 = cellOf(box.left - reach), c1 = cellOf(box.left + box.width + reach);
    const int r0 = cellOf(box.top - reach), r1 = cellOf(box.top + box.height + reach);
    double best = sight;
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            if (WallCell(c, r)) best = std::min(best, BoxGap(box, {32 * c, 32 * r, 32, 32}));
    return best;
}

double EnemyGap(const PixelBox& box, Long i) {
    const platform::PictureBox* sprite = fMain().pEnemy.Find(Enemies[std::size_t(i)].Sprite);
    if (!sprite || !sprite->visible()) return 1e9;
    return BoxGap(box, BoxOf(*sprite));
}

namespace {

bool NearAny(const PixelBox& box, ControlArray<platform::PictureBox>& sprites) {
    for (int i = 1; i < sprites.Count(); ++i)
        if (BoxGap(box, BoxOf(sprites[i])) <= kReachRadius) return true;
    return false;
}

} // namespace

bool Reaching(const PixelBox& box) {
    FMain& f = fMain();
    return BoxGap(box, BoxOf(f.pGoal)) <= kReachRadius || NearAny(box, f.pEnergy) ||
           NearAny(box, f.pResq);
}

double NeededGap(const PixelBox& box, int margin) {
    return Reaching(box) ? 1 : margin;
}

bool KeepsDistance(int margin) {
    const PixelBox ship = ShipBox();
    const double need = NeededGap(ship, margin);
    if (RockGap(ship, need) < need) return false;
    for (Long i = 0; i < EnemyCount; ++i)
        if (EnemyGap(ship, i) < need) return false;
    return true;
}

int ShortestKeyState(const std::vector<std::string>& scriptLines) {
    long long shortest = LLONG_MAX, previous = -1;
    for (const std::string& line : scriptLines) {
        std::istringstream words(line);
        long long tick = 0;
        std::string action;
        if (!(words >> tick >> action)) continue;
        if (action != "down" && action != "up" && action != "tap") continue;
        if (previous >= 0 && tick != previous) shortest = std::min(shortest, tick - previous);
        previous = tick;
    }
    if (shortest == LLONG_MAX) return INT_MAX;
    return int(shortest / kTicksPerFrame);
}

} // namespace replay
