#include "tools/replay_search/distance_field.h"

#include "core/game_state.h"

#include <algorithm>
#include <cmath>
#include <queue>

namespace replay {

namespace {

bool WallCell(int column, int row) {
    if (column < 0 || row < 0 || column >= kGridSize || row >= kGridSize) return true;
    return Grid[std::size_t(row) * kGridSize + std::size_t(column)] != 0;
}

// Whether any wall cell touches the square of half-size `reach` around (x, y).
bool NearWall(int x, int y, int reach) {
    const int c0 = int(std::floor(double(x - reach) / 32)), c1 = (x + reach) / 32;
    const int r0 = int(std::floor(double(y - reach) / 32)), r1 = (y + reach) / 32;
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            if (WallCell(c, r)) return true;
    return false;
}

bool NearBox(int x, int y, int reach, const PixelBox& b) {
    return x + reach >= b.left && x - reach < b.left + b.width && y + reach >= b.top &&
           y - reach < b.top + b.height;
}

} // namespace

DistanceField::DistanceField(int widthPixels, int heightPixels, int clearance,
                             const std::vector<PixelBox>& blocked)
    : columns_(widthPixels / kStep + 1), rows_(heightPixels / kStep + 1) {
    open_.assign(std::size_t(columns_) * rows_, 0);
    distance_.assign(open_.size(), kUnreachable);
    for (int sy = 0; sy < rows_; ++sy)
        for (int sx = 0; sx < columns_; ++sx) {
            const int x = sx * kStep, y = sy * kStep;
            bool open = !NearWall(x, y, clearance);
            for (const PixelBox& b : blocked)
                open = open && !NearBox(x, y, clearance, b);
            open_[std::size_t(Index(sx, sy))] = open ? 1 : 0;
        }
}

void DistanceField::Solve(const std::vector<Seed>& seeds) {
    using Entry = std::pair<double, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    std::fill(distance_.begin(), distance_.end(), kUnreachable);
    for (const Seed& s : seeds) {
        const int sx = int(std::lround(s.x / kStep)), sy = int(std::lround(s.y / kStep));
        if (!Inside(sx, sy)) continue;
        const int i = Index(sx, sy);
        if (s.distance < distance_[std::size_t(i)]) {
            distance_[std::size_t(i)] = s.distance;
            queue.push({s.distance, i});
        }
    }
    static constexpr int kDx[8] = {1, -1, 0, 0, 1, 1, -1, -1};
    static constexpr int kDy[8] = {0, 0, 1, -1, 1, -1, 1, -1};
    while (!queue.empty()) {
        const auto [d, i] = queue.top();
        queue.pop();
        if (d > distance_[std::size_t(i)]) continue;
        const int sx = i % columns_, sy = i / columns_;
        for (int k = 0; k < 8; ++k) {
            const int nx = sx + kDx[k], ny = sy + kDy[k];
            if (!Inside(nx, ny)) continue;
            const int n = Index(nx, ny);
            if (!open_[std::size_t(n)]) continue;
            const double nd = d + (k < 4 ? kStep : kStep * M_SQRT2);
            if (nd < distance_[std::size_t(n)]) {
                distance_[std::size_t(n)] = nd;
                queue.push({nd, n});
            }
        }
    }
}

double DistanceField::At(double x, double y) const {
    const int sx = int(std::lround(x / kStep)), sy = int(std::lround(y / kStep));
    if (!Inside(sx, sy)) return kUnreachable;
    return distance_[std::size_t(Index(sx, sy))];
}

double DistanceField::Around(double x, double y, double radius) const {
    double best = kUnreachable;
    for (double dy = -radius; dy <= radius; dy += kStep)
        for (double dx = -radius; dx <= radius; dx += kStep) {
            const double step = std::hypot(dx, dy);
            if (step <= radius) best = std::min(best, At(x + dx, y + dy) + step);
        }
    return best;
}

bool DistanceField::Open(double x, double y) const {
    const int sx = int(std::lround(x / kStep)), sy = int(std::lround(y / kStep));
    return Inside(sx, sy) && open_[std::size_t(Index(sx, sy))] != 0;
}

} // namespace replay
