#include "platform/damage.h"

#include <algorithm>

namespace platform {

ClipRect ClipRect::intersect(const ClipRect& o) const {
    return {std::max(x0, o.x0), std::max(y0, o.y0), std::min(x1, o.x1), std::min(y1, o.y1)};
}

void Damage::resize(int width, int height) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    cols_ = (width_ + kTile - 1) / kTile;
    rows_ = (height_ + kTile - 1) / kTile;
    tiles_.assign(std::size_t(cols_) * rows_, 0);
    marked_ = false;
}

void Damage::add(const ClipRect& r, int width, int height) {
    if (width != width_ || height != height_) {
        resize(width, height);
        whole_ = true;
    }
    if (whole_) return; // nothing finer to remember
    const ClipRect in = r.intersect({0, 0, width_, height_});
    if (in.empty()) return;
    for (int row = in.y0 / kTile; row <= (in.y1 - 1) / kTile; ++row)
        std::fill_n(&tiles_[std::size_t(row) * cols_ + in.x0 / kTile],
                    (in.x1 - 1) / kTile - in.x0 / kTile + 1, std::uint8_t(1));
    marked_ = true;
}

std::vector<ClipRect> Damage::take(int width, int height, bool& whole) {
    std::vector<ClipRect> rects;
    whole = whole_ || width != width_ || height != height_;
    if (whole) {
        resize(width, height);
        whole_ = false;
        return rects;
    }
    if (!marked_) return rects;
    // Spans of marked tiles row by row; a span equal to one that ended on the row above grows
    // that one downwards, so that a tall change is one rectangle.
    std::vector<std::size_t> open, stillOpen; // rects that reach the row above
    for (int row = 0; row < rows_; ++row) {
        const std::uint8_t* line = &tiles_[std::size_t(row) * cols_];
        const int y0 = row * kTile, y1 = std::min(height_, y0 + kTile);
        stillOpen.clear();
        for (int col = 0; col < cols_;) {
            if (!line[col]) {
                ++col;
                continue;
            }
            const int first = col;
            while (col < cols_ && line[col])
                ++col;
            const int x0 = first * kTile, x1 = std::min(width_, col * kTile);
            const auto above = std::find_if(open.begin(), open.end(), [&](std::size_t i) {
                return rects[i].x0 == x0 && rects[i].x1 == x1;
            });
            if (above != open.end()) {
                rects[*above].y1 = y1;
                stillOpen.push_back(*above);
            } else {
                stillOpen.push_back(rects.size());
                rects.push_back({x0, y0, x1, y1});
            }
        }
        open.swap(stillOpen);
    }
    std::fill(tiles_.begin(), tiles_.end(), std::uint8_t(0));
    marked_ = false;
    return rects;
}

} // namespace platform
