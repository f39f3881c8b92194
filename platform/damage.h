// Where a window's picture changed since it was last composed. Every change is marked where it
// happens (a control moved, shown or hidden, a caption or a picture changed, pixels drawn into a
// box), so that a window composes and shows only those parts.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// A rectangle in pixels; x1 and y1 exclusive.
struct ClipRect {
    int x0, y0, x1, y1;
    bool empty() const { return x0 >= x1 || y0 >= y1; }
    ClipRect intersect(const ClipRect& o) const;
    ClipRect moved(int dx, int dy) const { return {x0 + dx, y0 + dy, x1 + dx, y1 + dy}; }
    bool operator==(const ClipRect&) const = default;
};

// The changed parts of one picture, as a grid of small tiles: a change marks every tile it
// touches, so the memory stays the same however many changes come before the picture is drawn.
class Damage {
  public:
    // Side of a tile in pixels: small enough that a moving sprite marks little more than itself.
    static constexpr int kTile = 8;

    // Marks a rectangle of a picture of width x height pixels; a picture of another size than
    // the last one is marked whole.
    void add(const ClipRect& r, int width, int height);
    void addWhole() { whole_ = true; }
    bool any() const { return whole_ || marked_; }

    // The marked parts of a width x height picture as rectangles that do not overlap (the tiles
    // of a row joined, equal spans of rows below one another joined), and forgets them. `whole`
    // says the picture is to be drawn whole instead.
    std::vector<ClipRect> take(int width, int height, bool& whole);

  private:
    void resize(int width, int height);

    bool whole_ = true; // a picture that was never drawn is drawn whole
    bool marked_ = false;
    int width_ = 0, height_ = 0, cols_ = 0, rows_ = 0;
    std::vector<std::uint8_t> tiles_; // rows_ x cols_, 1 where marked
};

} // namespace platform
