#include "platform/child_index.h"

#include "platform/controls.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// The smallest buckets are 64 pixels square, twice a sprite; each level doubles them, and the
// last, 16384 pixels, takes everything larger. Positions past 16384 pixels share the last row or
// column of buckets.
constexpr int kSmallestBucketPixels = 64;
constexpr int kLevels = 9;
constexpr int kExtentPixels = kSmallestBucketPixels << (kLevels - 1);

// The bucket of a coordinate, clamped to the level's buckets (NaN gives the first).
int Clamp(double v, int count) {
    if (v >= count - 1) return count - 1;
    return v > 0 ? int(v) : 0;
}

} // namespace

ChildIndex::ChildIndex(int twipsPerPixelX, int twipsPerPixelY) {
    for (int k = 0; k < kLevels; ++k) {
        Level level;
        const int pixels = kSmallestBucketPixels << k;
        level.size = double(pixels) * twipsPerPixelX;
        level.sizeY = double(pixels) * twipsPerPixelY;
        level.columns = level.rows = kExtentPixels / pixels;
        level.heads.assign(std::size_t(level.columns) * level.rows, -1);
        levels_.push_back(std::move(level));
    }
}

int ChildIndex::levelFor(const Control& child) const {
    for (int k = 0; k < kLevels - 1; ++k)
        if (child.width() <= levels_[k].size && child.height() <= levels_[k].sizeY) return k;
    return kLevels - 1;
}

int ChildIndex::bucketFor(const Level& level, const Control& child) const {
    return Clamp(child.top() / level.sizeY, level.rows) * level.columns +
           Clamp(child.left() / level.size, level.columns);
}

void ChildIndex::link(int e) {
    Entry& entry = entries_[e];
    int& head = levels_[entry.level].heads[entry.bucket];
    entry.prev = -1;
    entry.next = head;
    if (head >= 0) entries_[head].prev = e;
    head = e;
}

void ChildIndex::unlink(int e) {
    Entry& entry = entries_[e];
    if (entry.prev >= 0)
        entries_[entry.prev].next = entry.next;
    else
        levels_[entry.level].heads[entry.bucket] = entry.next;
    if (entry.next >= 0) entries_[entry.next].prev = entry.prev;
}

void ChildIndex::insert(Control& child) {
    int e;
    if (!free_.empty()) {
        e = free_.back();
        free_.pop_back();
    } else {
        e = int(entries_.size());
        entries_.emplace_back();
    }
    Entry& entry = entries_[e];
    entry.control = &child;
    entry.level = levelFor(child);
    entry.bucket = bucketFor(levels_[entry.level], child);
    child.indexEntry_ = e;
    link(e);
}

void ChildIndex::erase(Control& child) {
    const int e = child.indexEntry_;
    if (e < 0) return;
    unlink(e);
    entries_[e].control = nullptr;
    free_.push_back(e);
    child.indexEntry_ = -1;
}

void ChildIndex::moved(Control& child) {
    const int e = child.indexEntry_;
    if (e < 0) return;
    Entry& entry = entries_[e];
    const int level = levelFor(child);
    const int bucket = bucketFor(levels_[level], child);
    if (level == entry.level && bucket == entry.bucket) return;
    unlink(e);
    entry.level = level;
    entry.bucket = bucket;
    link(e);
}

void ChildIndex::collect(int x0, int y0, int x1, int y1, int twipsPerPixelX, int twipsPerPixelY,
                         std::vector<Control*>& out) const {
    // Two pixels more on each side cover the rounding of twips to pixels.
    const double left = double(x0 - 2) * twipsPerPixelX, right = double(x1 + 2) * twipsPerPixelX;
    const double top = double(y0 - 2) * twipsPerPixelY, bottom = double(y1 + 2) * twipsPerPixelY;
    for (const Level& level : levels_) {
        // A child starts at most one bucket before the rectangle when it reaches into it.
        const int c0 = Clamp(std::floor((left - level.size) / level.size), level.columns);
        const int c1 = Clamp(std::floor(right / level.size), level.columns);
        const int r0 = Clamp(std::floor((top - level.sizeY) / level.sizeY), level.rows);
        const int r1 = Clamp(std::floor(bottom / level.sizeY), level.rows);
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                for (int e = level.heads[std::size_t(r) * level.columns + c]; e >= 0;
                     e = entries_[e].next)
                    out.push_back(entries_[e].control);
    }
}

} // namespace platform
