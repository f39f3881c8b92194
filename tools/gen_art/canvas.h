// The generator's drawing board: a picture with its own transparency, coverage masks, colour
// ramps and the few shapes every picture of the game is made of.
#pragma once

#include "platform/surface.h"

#include <cstdint>
#include <vector>

namespace art {

using Colour = platform::Pixel; // 0x00RRGGBB

constexpr Colour Hex(std::uint32_t rgb) {
    return rgb & 0x00FFFFFF;
}
constexpr int Red(Colour c) {
    return int((c >> 16) & 255);
}
constexpr int Green(Colour c) {
    return int((c >> 8) & 255);
}
constexpr int Blue(Colour c) {
    return int(c & 255);
}

// a + (b - a) * t / range, per channel, rounded; t is clamped to 0 .. range.
Colour Mix(Colour a, Colour b, int t, int range);

// A colour ramp of stops at positions 0 .. 1000, read at position t (clamped).
struct Stop {
    int at;
    Colour colour;
};
Colour RampAt(const std::vector<Stop>& stops, int t);

// t (0 .. range) snapped to the middle of one of `bands` equal steps, still in 0 .. 1000: the
// stepped gradients of pixel art instead of smooth ones.
int Banded(int t, int range, int bands);

class Canvas {
  public:
    Canvas() = default;
    Canvas(int width, int height, Colour fill = 0, std::uint8_t alpha = 255);

    int width() const { return width_; }
    int height() const { return height_; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    Colour at(int x, int y) const { return rgb_[index(x, y)]; }
    std::uint8_t alphaAt(int x, int y) const { return alpha_[index(x, y)]; }
    bool opaqueAt(int x, int y) const { return inside(x, y) && alphaAt(x, y) != 0; }

    // Writes outside the canvas are ignored.
    void put(int x, int y, Colour c);
    void erase(int x, int y);
    void blend(int x, int y, Colour c, int alpha);
    void fillRect(int x, int y, int w, int h, Colour c);

    // Paints src with its transparency at (x, y).
    void drawOver(const Canvas& src, int x, int y);

    Canvas upscaled(int factor) const; // nearest neighbour: every pixel becomes a block
    Canvas mirrored() const;           // left to right
    Canvas transposed() const;         // (x, y) -> (y, x)
    bool hasTransparency() const;

    platform::Picture toPicture(bool keepAlpha) const;
    static Canvas fromPicture(const platform::Picture& picture);

  private:
    std::size_t index(int x, int y) const { return std::size_t(y) * width_ + x; }
    int width_ = 0;
    int height_ = 0;
    std::vector<Colour> rgb_;
    std::vector<std::uint8_t> alpha_;
};

// Coverage 0 .. 255 per pixel: the shape of lettering and of anything drawn by outline.
class Mask {
  public:
    Mask() = default;
    Mask(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    int at(int x, int y) const;
    bool on(int x, int y) const { return at(x, y) >= 128; }
    void set(int x, int y, int v);

    // Hard edges: every pixel fully in or out.
    Mask thresholded(int level = 128) const;
    // Grown by a round pen of the given radius (hard edges).
    Mask dilated(int radius) const;
    Mask shifted(int dx, int dy) const;
    // Resampled to a new size by bilinear coverage, so a later threshold keeps curves smooth.
    Mask resized(int width, int height) const;
    // The same mask inside a larger one, with `margin` empty pixels on every side.
    Mask padded(int margin) const;
    Mask rotatedClockwise() const;

    struct Box {
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0; // x1, y1 exclusive; empty when x0 >= x1
    };
    Box bounds() const;

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> v_;
};

// A plate with a bevelled frame: a dark border line, then `bevel` pixels lit from the top-left
// around a face whose colour the caller paints first (the face is left as it is).
void BevelFrame(Canvas& canvas, int x, int y, int w, int h, int bevel, int lightPercent,
                int darkPercent, Colour border);

// Vertical gradient over a rectangle, in `bands` steps.
void VerticalGradient(Canvas& canvas, int x, int y, int w, int h, const std::vector<Stop>& stops,
                      int bands);

} // namespace art
