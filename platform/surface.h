// Pixel surfaces and bit-block transfers.
//
// A surface is stored in square chunks. A chunk that holds one colour, or a repeat of the
// surface's pattern, keeps no pixels of its own: a large playfield that is mostly one colour, or
// a rock filled with one tile, costs almost nothing until something is drawn into it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

using Pixel = std::uint32_t; // 0x00RRGGBB

constexpr Pixel Rgb(int r, int g, int b) {
    return (Pixel(r & 255) << 16) | (Pixel(g & 255) << 8) | Pixel(b & 255);
}

// The design stores colours as 0x00BBGGRR; surfaces use 0x00RRGGBB.
constexpr Pixel FromBgr(std::int32_t bgr) {
    return Rgb(bgr & 255, (bgr >> 8) & 255, (bgr >> 16) & 255);
}

// src over dst with coverage alpha (0 keeps dst, 255 gives src), rounded per channel.
constexpr Pixel BlendPixel(Pixel dst, Pixel src, unsigned alpha) {
    if (alpha >= 255) return src;
    if (alpha == 0) return dst;
    auto mix = [alpha](unsigned d, unsigned s) {
        return (s * alpha + d * (255 - alpha) + 127) / 255;
    };
    return Rgb(int(mix((dst >> 16) & 255, (src >> 16) & 255)),
               int(mix((dst >> 8) & 255, (src >> 8) & 255)), int(mix(dst & 255, src & 255)));
}

// Raster operations of BitBlt.
enum RasterOp : std::uint32_t {
    SRCCOPY = 0x00CC0020,   // source
    SRCERASE = 0x00440328,  // source AND NOT destination
    SRCINVERT = 0x00660046, // source XOR destination
};

class Surface {
  public:
    Surface() = default;
    Surface(int width, int height, Pixel fill = 0);
    Surface(const Surface& other);
    Surface& operator=(const Surface& other);
    Surface(Surface&&) noexcept = default;
    Surface& operator=(Surface&&) noexcept = default;

    int width() const { return width_; }
    int height() const { return height_; }

    // Drops everything and gives the surface a new size, all of one colour.
    void reset(int width, int height, Pixel fill);
    void fill(Pixel colour) { reset(width_, height_, colour); }
    // Fills a rectangle, clipped to the surface.
    void fillRect(int x, int y, int w, int h, Pixel colour);
    // Makes the whole surface a repeat of the w x h block of src at (sx, sy), starting at (0, 0).
    void fillPattern(const Surface& src, int sx, int sy, int w, int h);

    // Single pixels; out-of-range reads give 0 and writes are ignored.
    Pixel get(int x, int y) const;
    void set(int x, int y, Pixel p);

    // Row spans; the caller keeps x .. x + n inside the surface.
    void readRow(int x, int y, int n, Pixel* out) const;
    void writeRow(int x, int y, int n, const Pixel* in);

    // Bytes of pixel storage currently held (for the memory benchmarks).
    std::size_t storedBytes() const;

    bool operator==(const Surface& other) const;

  private:
    static constexpr int kChunk = 32; // a sprite of 32 x 32 pixels is one chunk
    enum class ChunkKind : std::uint8_t { Solid, Pattern, Pixels };
    struct Chunk {
        ChunkKind kind = ChunkKind::Solid;
        Pixel solid = 0;
        std::unique_ptr<Pixel[]> pixels;
    };

    Chunk& chunkAt(int x, int y) { return chunks_[(y / kChunk) * chunksX_ + x / kChunk]; }
    const Chunk& chunkAt(int x, int y) const {
        return chunks_[(y / kChunk) * chunksX_ + x / kChunk];
    }
    Pixel background(const Chunk& c, int x, int y) const;
    Pixel* materialise(int chunkX, int chunkY);

    int width_ = 0;
    int height_ = 0;
    int chunksX_ = 0;
    int chunksY_ = 0;
    std::vector<Chunk> chunks_;
    std::vector<Pixel> pattern_;
    int patternW_ = 0;
    int patternH_ = 0;
};

// Copies a w x h block from src (sx, sy) to dst (x, y) combining by the raster operation,
// exact per bit, clipped at both surfaces' edges. dst and src may be the same surface only
// when the blocks do not overlap.
void BitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
            std::uint32_t rop);

// A picture with its own transparency, as icons and vector drawings have. alpha is empty for an
// opaque picture, otherwise one byte per pixel (0 transparent .. 255 opaque).
struct Picture {
    Surface pixels;
    std::vector<std::uint8_t> alpha;
    int width() const { return pixels.width(); }
    int height() const { return pixels.height(); }
    std::uint8_t alphaAt(int x, int y) const {
        return alpha.empty() ? 255 : alpha[std::size_t(y) * pixels.width() + x];
    }
};

// Bumped by every change to anything that can be seen; a backend presents only when it moved.
extern std::uint64_t g_pictureGeneration;
inline void MarkChanged() {
    ++g_pictureGeneration;
}

} // namespace platform
