// Pixel-art helpers: sprites typed as rows of characters, shapes shaded from one light, and the
// outline that holds them together.
#pragma once

#include "canvas.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace art {

// One character per pixel; characters not in the legend ('.' by habit) stay transparent.
Canvas FromRows(const std::vector<std::string>& rows, const std::map<char, Colour>& legend);

// How much a surface with the unit normal (nx, ny, nz) faces the light, which comes from the
// top-left and a little from the viewer: -1 .. 1.
double FacingLight(double nx, double ny, double nz);

// A colour of a dark-to-light ramp for a light value: -0.25 and below is the darkest step,
// 0.95 and above the lightest.
Colour Shade(const std::vector<Colour>& ramp, double light);

// The light on a sphere at the offset (dx, dy) from its centre, radius r (inside only).
double SphereLight(double dx, double dy, double r);

// A seeded generator of our own, so two runs draw the same pictures (xorshift32).
class Dice {
  public:
    explicit Dice(std::uint32_t seed) : state_(seed ? seed : 1) {}
    std::uint32_t next();
    int below(int n) { return int(next() % std::uint32_t(n)); } // 0 .. n - 1
  private:
    std::uint32_t state_;
};

// Builds a sprite of parts; each pixel keeps the front-most part offered to it (the lowest
// depth). finish() rings the shape with an outline, and draws the edge of a part that lies in
// front of another with that part's own edge colour, so overlapping pieces stay apart.
class Layers {
  public:
    Layers(int width, int height);
    void offer(int x, int y, int depth, Colour colour);
    bool taken(int x, int y) const;
    Canvas finish(Colour outline, const std::map<int, Colour>& edgeOfPart) const;

  private:
    int depthAt(int x, int y) const;
    int width_, height_;
    std::vector<int> depth_;
    std::vector<Colour> colour_;
};

} // namespace art
