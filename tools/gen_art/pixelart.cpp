#include "pixelart.h"

#include <algorithm>
#include <cmath>

namespace art {

Canvas FromRows(const std::vector<std::string>& rows, const std::map<char, Colour>& legend) {
    int width = 0;
    for (const auto& row : rows)
        width = std::max(width, int(row.size()));
    Canvas out(width, int(rows.size()), 0, 0);
    for (int y = 0; y < int(rows.size()); ++y)
        for (int x = 0; x < int(rows[y].size()); ++x)
            if (auto it = legend.find(rows[y][x]); it != legend.end()) out.put(x, y, it->second);
    return out;
}

double FacingLight(double nx, double ny, double nz) {
    // (-1, -1.2, 1.15), normalised.
    return nx * -0.51554 + ny * -0.61865 + nz * 0.59287;
}

Colour Shade(const std::vector<Colour>& ramp, double light) {
    const int steps = int(ramp.size());
    const double t = (light + 0.25) / 1.2 * (steps - 1);
    return ramp[std::clamp(int(t + 0.5), 0, steps - 1)];
}

double SphereLight(double dx, double dy, double r) {
    const double nx = dx / r, ny = dy / r;
    const double nz2 = 1.0 - nx * nx - ny * ny;
    return FacingLight(nx, ny, nz2 > 0 ? std::sqrt(nz2) : 0.0);
}

std::uint32_t Dice::next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

Layers::Layers(int width, int height)
    : width_(width), height_(height), depth_(std::size_t(width) * height, -1),
      colour_(std::size_t(width) * height, 0) {}

int Layers::depthAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return -1;
    return depth_[std::size_t(y) * width_ + x];
}

bool Layers::taken(int x, int y) const {
    return depthAt(x, y) >= 0;
}

void Layers::offer(int x, int y, int depth, Colour colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    const std::size_t i = std::size_t(y) * width_ + x;
    if (depth_[i] >= 0 && depth_[i] <= depth) return;
    depth_[i] = depth;
    colour_[i] = colour;
}

Canvas Layers::finish(Colour outline, const std::map<int, Colour>& edgeOfPart) const {
    Canvas out(width_, height_, 0, 0);
    static const int kSteps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const int depth = depthAt(x, y);
            if (depth < 0) continue;
            bool open = false, overlaps = false;
            for (const auto& step : kSteps) {
                const int other = depthAt(x + step[0], y + step[1]);
                open = open || other < 0;
                overlaps = overlaps || other > depth;
            }
            const auto edge = edgeOfPart.find(depth);
            if (open)
                out.put(x, y, outline);
            else if (overlaps && edge != edgeOfPart.end())
                out.put(x, y, edge->second);
            else
                out.put(x, y, colour_[std::size_t(y) * width_ + x]);
        }
    return out;
}

} // namespace art
