#include "canvas.h"

#include <algorithm>

namespace art {

Colour Mix(Colour a, Colour b, int t, int range) {
    if (range <= 0) return b;
    t = std::clamp(t, 0, range);
    auto channel = [&](int ca, int cb) {
        return ((ca * (range - t) + cb * t) * 2 + range) / (2 * range);
    };
    return platform::Rgb(channel(Red(a), Red(b)), channel(Green(a), Green(b)),
                         channel(Blue(a), Blue(b)));
}

Colour RampAt(const std::vector<Stop>& stops, int t) {
    if (stops.empty()) return 0;
    if (t <= stops.front().at) return stops.front().colour;
    for (std::size_t i = 1; i < stops.size(); ++i)
        if (t <= stops[i].at)
            return Mix(stops[i - 1].colour, stops[i].colour, t - stops[i - 1].at,
                       stops[i].at - stops[i - 1].at);
    return stops.back().colour;
}

int Banded(int t, int range, int bands) {
    if (range <= 0 || bands <= 1) return 0;
    const int band = std::clamp(t * bands / range, 0, bands - 1);
    return band * 1000 / (bands - 1);
}

Canvas::Canvas(int width, int height, Colour fill, std::uint8_t alpha)
    : width_(width), height_(height), rgb_(std::size_t(width) * height, fill),
      alpha_(std::size_t(width) * height, alpha) {}

void Canvas::put(int x, int y, Colour c) {
    if (!inside(x, y)) return;
    rgb_[index(x, y)] = c;
    alpha_[index(x, y)] = 255;
}

void Canvas::erase(int x, int y) {
    if (!inside(x, y)) return;
    rgb_[index(x, y)] = 0;
    alpha_[index(x, y)] = 0;
}

void Canvas::blend(int x, int y, Colour c, int alpha) {
    if (!inside(x, y) || alpha <= 0) return;
    if (alpha >= 255) return put(x, y, c);
    const std::size_t i = index(x, y);
    const int below = alpha_[i];
    // Porter-Duff "over" on straight (not premultiplied) colours.
    const int out = alpha + below * (255 - alpha) / 255;
    auto channel = [&](int src, int dst) {
        return (src * alpha * 255 + dst * below * (255 - alpha) + out * 255 / 2) / (out * 255);
    };
    rgb_[i] = platform::Rgb(channel(Red(c), Red(rgb_[i])), channel(Green(c), Green(rgb_[i])),
                            channel(Blue(c), Blue(rgb_[i])));
    alpha_[i] = std::uint8_t(out);
}

void Canvas::fillRect(int x, int y, int w, int h, Colour c) {
    for (int yy = std::max(0, y); yy < std::min(height_, y + h); ++yy)
        for (int xx = std::max(0, x); xx < std::min(width_, x + w); ++xx)
            put(xx, yy, c);
}

void Canvas::drawOver(const Canvas& src, int x, int y) {
    for (int sy = 0; sy < src.height(); ++sy)
        for (int sx = 0; sx < src.width(); ++sx)
            blend(x + sx, y + sy, src.at(sx, sy), src.alphaAt(sx, sy));
}

Canvas Canvas::upscaled(int factor) const {
    Canvas out(width_ * factor, height_ * factor, 0, 0);
    for (int y = 0; y < out.height_; ++y)
        for (int x = 0; x < out.width_; ++x) {
            const std::size_t from = index(x / factor, y / factor);
            out.rgb_[out.index(x, y)] = rgb_[from];
            out.alpha_[out.index(x, y)] = alpha_[from];
        }
    return out;
}

Canvas Canvas::mirrored() const {
    Canvas out(width_, height_, 0, 0);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            out.rgb_[out.index(width_ - 1 - x, y)] = rgb_[index(x, y)];
            out.alpha_[out.index(width_ - 1 - x, y)] = alpha_[index(x, y)];
        }
    return out;
}

Canvas Canvas::transposed() const {
    Canvas out(height_, width_, 0, 0);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            out.rgb_[out.index(y, x)] = rgb_[index(x, y)];
            out.alpha_[out.index(y, x)] = alpha_[index(x, y)];
        }
    return out;
}

bool Canvas::hasTransparency() const {
    return std::any_of(alpha_.begin(), alpha_.end(), [](std::uint8_t a) { return a != 255; });
}

platform::Picture Canvas::toPicture(bool keepAlpha) const {
    platform::Picture picture;
    picture.pixels.reset(width_, height_, 0);
    for (int y = 0; y < height_; ++y)
        picture.pixels.writeRow(0, y, width_, &rgb_[index(0, y)]);
    // A fully transparent pixel has no colour worth keeping: store it as black, so the file
    // does not depend on what was drawn and then erased there.
    if (keepAlpha) {
        picture.alpha = alpha_;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (alpha_[index(x, y)] == 0) picture.pixels.set(x, y, 0);
    }
    return picture;
}

Canvas Canvas::fromPicture(const platform::Picture& picture) {
    Canvas out(picture.width(), picture.height());
    for (int y = 0; y < out.height_; ++y) {
        picture.pixels.readRow(0, y, out.width_, &out.rgb_[out.index(0, y)]);
        for (int x = 0; x < out.width_; ++x)
            out.alpha_[out.index(x, y)] = picture.alphaAt(x, y);
    }
    return out;
}

Mask::Mask(int width, int height)
    : width_(width), height_(height), v_(std::size_t(width) * height, 0) {}

int Mask::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return v_[std::size_t(y) * width_ + x];
}

void Mask::set(int x, int y, int v) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    v_[std::size_t(y) * width_ + x] = std::uint8_t(std::clamp(v, 0, 255));
}

Mask Mask::thresholded(int level) const {
    Mask out(width_, height_);
    for (std::size_t i = 0; i < v_.size(); ++i)
        out.v_[i] = v_[i] >= level ? 255 : 0;
    return out;
}

Mask Mask::dilated(int radius) const {
    Mask out(width_, height_);
    const int reach = radius * radius + radius; // a round pen without single-pixel nubs
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            if (!on(x, y)) continue;
            for (int dy = -radius; dy <= radius; ++dy)
                for (int dx = -radius; dx <= radius; ++dx)
                    if (dx * dx + dy * dy <= reach) out.set(x + dx, y + dy, 255);
        }
    return out;
}

Mask Mask::shifted(int dx, int dy) const {
    Mask out(width_, height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            out.set(x + dx, y + dy, at(x, y));
    return out;
}

Mask Mask::resized(int width, int height) const {
    Mask out(width, height);
    if (width_ == 0 || height_ == 0) return out;
    for (int y = 0; y < height; ++y) {
        const double fy = (y + 0.5) * height_ / height - 0.5;
        const int y0 = fy < 0 ? -1 : int(fy);
        const double wy = fy - y0;
        for (int x = 0; x < width; ++x) {
            const double fx = (x + 0.5) * width_ / width - 0.5;
            const int x0 = fx < 0 ? -1 : int(fx);
            const double wx = fx - x0;
            const double top = at(x0, y0) * (1 - wx) + at(x0 + 1, y0) * wx;
            const double bottom = at(x0, y0 + 1) * (1 - wx) + at(x0 + 1, y0 + 1) * wx;
            out.set(x, y, int(top * (1 - wy) + bottom * wy + 0.5));
        }
    }
    return out;
}

Mask Mask::padded(int margin) const {
    Mask out(width_ + 2 * margin, height_ + 2 * margin);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            out.set(x + margin, y + margin, at(x, y));
    return out;
}

Mask Mask::rotatedClockwise() const {
    Mask out(height_, width_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            out.set(height_ - 1 - y, x, at(x, y));
    return out;
}

Mask::Box Mask::bounds() const {
    Box box{width_, height_, 0, 0};
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (at(x, y) != 0) {
                box.x0 = std::min(box.x0, x);
                box.y0 = std::min(box.y0, y);
                box.x1 = std::max(box.x1, x + 1);
                box.y1 = std::max(box.y1, y + 1);
            }
    return box;
}

void BevelFrame(Canvas& canvas, int x, int y, int w, int h, int bevel, int lightPercent,
                int darkPercent, Colour border) {
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx) {
            const int left = xx - x, right = x + w - 1 - xx, top = yy - y, bottom = y + h - 1 - yy;
            const int depth = std::min({left, right, top, bottom});
            if (depth == 0) {
                canvas.put(xx, yy, border);
                continue;
            }
            if (depth > bevel) continue;
            // The light comes from the top-left: the top and left faces catch it; the two
            // corners where a lit face meets a dark one go to the dark face.
            const bool lit = (top == depth || left == depth) && bottom != depth && right != depth;
            const Colour face = canvas.at(xx, yy);
            // The outermost ring is the strongest, fading towards the face.
            const int strength = (bevel - depth + 1 + bevel) * 100 / (2 * bevel);
            canvas.put(xx, yy,
                       lit ? Mix(face, 0xFFFFFF, lightPercent * strength / 100, 100)
                           : Mix(face, 0x000000, darkPercent * strength / 100, 100));
        }
}

void VerticalGradient(Canvas& canvas, int x, int y, int w, int h, const std::vector<Stop>& stops,
                      int bands) {
    for (int yy = 0; yy < h; ++yy) {
        const Colour c = RampAt(stops, Banded(yy, h, bands));
        for (int xx = 0; xx < w; ++xx)
            canvas.put(x + xx, y + yy, c);
    }
}

} // namespace art
