#include "tools/replay_search/distance_field.h"

#include <algorithm>
#include <cmath>
#include <queue>

namespace replay {

OpenMap::OpenMap(int widthPixels, int heightPixels, const std::function<bool(int, int)>& open)
    : columns_(widthPixels / kStep + 1), rows_(heightPixels / kStep + 1) {
    open_.assign(std::size_t(columns_) * std::size_t(rows_), 0);
    for (int sy = 0; sy < rows_; ++sy)
        for (int sx = 0; sx < columns_; ++sx)
            open_[std::size_t(Index(sx, sy))] = open(sx * kStep, sy * kStep) ? 1 : 0;
}

bool OpenMap::Open(double x, double y) const {
    const int sx = int(std::lround(x / kStep)), sy = int(std::lround(y / kStep));
    return Inside(sx, sy) && OpenSample(Index(sx, sy));
}

DistanceField::DistanceField(const OpenMap& map)
    : map_(map), distance_(std::size_t(map.columns()) * std::size_t(map.rows()), kUnreachable) {}

void DistanceField::Solve(const std::vector<Seed>& seeds) {
    using Entry = std::pair<double, int>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    std::fill(distance_.begin(), distance_.end(), kUnreachable);
    for (const Seed& s : seeds) {
        const int sx = int(std::lround(s.x / kStep)), sy = int(std::lround(s.y / kStep));
        if (!map_.Inside(sx, sy)) continue;
        const int i = map_.Index(sx, sy);
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
        const int sx = i % map_.columns(), sy = i / map_.columns();
        for (int k = 0; k < 8; ++k) {
            const int nx = sx + kDx[k], ny = sy + kDy[k];
            if (!map_.Inside(nx, ny)) continue;
            const int n = map_.Index(nx, ny);
            if (!map_.OpenSample(n)) continue;
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
    if (!map_.Inside(sx, sy)) return kUnreachable;
    return distance_[std::size_t(map_.Index(sx, sy))];
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

} // namespace replay
