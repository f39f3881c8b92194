#include "platform/surface.h"

#include <algorithm>
#include <cstring>

namespace platform {

std::uint64_t g_pictureGeneration = 0;

Surface::Surface(int width, int height, Pixel fill) {
    reset(width, height, fill);
}

Surface::Surface(const Surface& other) {
    *this = other;
}

Surface& Surface::operator=(const Surface& other) {
    if (this == &other) return *this;
    width_ = other.width_;
    height_ = other.height_;
    chunksX_ = other.chunksX_;
    chunksY_ = other.chunksY_;
    pattern_ = other.pattern_;
    patternW_ = other.patternW_;
    patternH_ = other.patternH_;
    chunks_.clear();
    chunks_.resize(other.chunks_.size());
    for (std::size_t i = 0; i < chunks_.size(); ++i) {
        const Chunk& from = other.chunks_[i];
        chunks_[i].kind = from.kind;
        chunks_[i].solid = from.solid;
        if (from.pixels) {
            chunks_[i].pixels.reset(new Pixel[kChunk * kChunk]);
            std::memcpy(chunks_[i].pixels.get(), from.pixels.get(),
                        sizeof(Pixel) * kChunk * kChunk);
        }
    }
    MarkChanged();
    return *this;
}

void Surface::reset(int width, int height, Pixel fill) {
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    chunksX_ = (width_ + kChunk - 1) / kChunk;
    chunksY_ = (height_ + kChunk - 1) / kChunk;
    chunks_.clear();
    chunks_.resize(std::size_t(chunksX_) * chunksY_);
    for (Chunk& c : chunks_)
        c.solid = fill;
    pattern_.clear();
    patternW_ = patternH_ = 0;
    MarkChanged();
}

Pixel Surface::background(const Chunk& c, int x, int y) const {
    if (c.kind == ChunkKind::Pattern)
        return pattern_[std::size_t(y % patternH_) * patternW_ + x % patternW_];
    return c.solid;
}

Pixel* Surface::materialise(int chunkX, int chunkY) {
    Chunk& c = chunks_[std::size_t(chunkY) * chunksX_ + chunkX];
    if (c.kind != ChunkKind::Pixels) {
        c.pixels.reset(new Pixel[kChunk * kChunk]);
        const int x0 = chunkX * kChunk;
        const int y0 = chunkY * kChunk;
        for (int y = 0; y < kChunk; ++y)
            for (int x = 0; x < kChunk; ++x)
                c.pixels[y * kChunk + x] = background(c, x0 + x, y0 + y);
        c.kind = ChunkKind::Pixels;
    }
    return c.pixels.get();
}

void Surface::fillRect(int x, int y, int w, int h, Pixel colour) {
    const int x0 = std::max(0, x), y0 = std::max(0, y);
    const int x1 = std::min(width_, x + std::max(0, w)), y1 = std::min(height_, y + std::max(0, h));
    if (x0 >= x1 || y0 >= y1) return;
    for (int cy = y0 / kChunk; cy <= (y1 - 1) / kChunk; ++cy) {
        for (int cx = x0 / kChunk; cx <= (x1 - 1) / kChunk; ++cx) {
            const int ax = std::max(x0, cx * kChunk), bx = std::min(x1, (cx + 1) * kChunk);
            const int ay = std::max(y0, cy * kChunk), by = std::min(y1, (cy + 1) * kChunk);
            const bool whole = ax == cx * kChunk && ay == cy * kChunk &&
                               (bx == (cx + 1) * kChunk || bx == width_) &&
                               (by == (cy + 1) * kChunk || by == height_);
            Chunk& c = chunks_[std::size_t(cy) * chunksX_ + cx];
            if (whole) {
                c.pixels.reset();
                c.kind = ChunkKind::Solid;
                c.solid = colour;
                continue;
            }
            Pixel* p = materialise(cx, cy);
            for (int yy = ay; yy < by; ++yy)
                std::fill_n(p + (yy - cy * kChunk) * kChunk + (ax - cx * kChunk), bx - ax, colour);
        }
    }
    MarkChanged();
}

void Surface::fillPattern(const Surface& src, int sx, int sy, int w, int h) {
    std::vector<Pixel> block(std::size_t(std::max(0, w)) * std::max(0, h));
    for (int y = 0; y < h; ++y)
        src.readRow(sx, sy + y, w, block.data() + std::size_t(y) * w);
    reset(width_, height_, 0);
    if (block.empty()) return;
    pattern_ = std::move(block);
    patternW_ = w;
    patternH_ = h;
    for (Chunk& c : chunks_)
        c.kind = ChunkKind::Pattern;
}

Pixel Surface::get(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    const Chunk& c = chunkAt(x, y);
    if (c.kind == ChunkKind::Pixels) return c.pixels[(y % kChunk) * kChunk + x % kChunk];
    return background(c, x, y);
}

void Surface::set(int x, int y, Pixel p) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    materialise(x / kChunk, y / kChunk)[(y % kChunk) * kChunk + x % kChunk] = p;
    MarkChanged();
}

void Surface::readRow(int x, int y, int n, Pixel* out) const {
    while (n > 0) {
        const Chunk& c = chunkAt(x, y);
        const int run = std::min(n, kChunk - x % kChunk);
        if (c.kind == ChunkKind::Pixels) {
            std::memcpy(out, c.pixels.get() + (y % kChunk) * kChunk + x % kChunk,
                        sizeof(Pixel) * run);
        } else if (c.kind == ChunkKind::Solid) {
            std::fill_n(out, run, c.solid);
        } else {
            const Pixel* row = pattern_.data() + std::size_t(y % patternH_) * patternW_;
            for (int i = 0; i < run; ++i)
                out[i] = row[(x + i) % patternW_];
        }
        out += run;
        x += run;
        n -= run;
    }
}

void Surface::writeRow(int x, int y, int n, const Pixel* in) {
    while (n > 0) {
        const int run = std::min(n, kChunk - x % kChunk);
        Pixel* p = materialise(x / kChunk, y / kChunk);
        std::memcpy(p + (y % kChunk) * kChunk + x % kChunk, in, sizeof(Pixel) * run);
        in += run;
        x += run;
        n -= run;
    }
    MarkChanged();
}

std::size_t Surface::storedBytes() const {
    std::size_t bytes = pattern_.size() * sizeof(Pixel) + chunks_.size() * sizeof(Chunk);
    for (const Chunk& c : chunks_)
        if (c.pixels) bytes += sizeof(Pixel) * kChunk * kChunk;
    return bytes;
}

bool Surface::operator==(const Surface& other) const {
    if (width_ != other.width_ || height_ != other.height_) return false;
    std::vector<Pixel> a(width_), b(width_);
    for (int y = 0; y < height_; ++y) {
        readRow(0, y, width_, a.data());
        other.readRow(0, y, width_, b.data());
        if (a != b) return false;
    }
    return true;
}

void BitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
            std::uint32_t rop) {
    // Clip against the source, then against the destination, moving both corners together.
    if (sx < 0) {
        x -= sx;
        w += sx;
        sx = 0;
    }
    if (sy < 0) {
        y -= sy;
        h += sy;
        sy = 0;
    }
    if (x < 0) {
        sx -= x;
        w += x;
        x = 0;
    }
    if (y < 0) {
        sy -= y;
        h += y;
        y = 0;
    }
    w = std::min({w, src.width() - sx, dst.width() - x});
    h = std::min({h, src.height() - sy, dst.height() - y});
    if (w <= 0 || h <= 0) return;
    std::vector<Pixel> s(w), d(w);
    for (int row = 0; row < h; ++row) {
        src.readRow(sx, sy + row, w, s.data());
        switch (rop) {
        case SRCCOPY:
            break;
        case SRCERASE:
            dst.readRow(x, y + row, w, d.data());
            for (int i = 0; i < w; ++i)
                s[i] &= ~d[i] & 0x00FFFFFF;
            break;
        case SRCINVERT:
            dst.readRow(x, y + row, w, d.data());
            for (int i = 0; i < w; ++i)
                s[i] ^= d[i];
            break;
        default:
            return; // no other operation is used by the game
        }
        dst.writeRow(x, y + row, w, s.data());
    }
}

} // namespace platform
