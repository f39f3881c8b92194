// Pixel surfaces and bit-block transfers.
//
// A surface is stored in square chunks of 32 x 32 pixels, aligned to its top-left corner. A chunk
// of one colour keeps no pixels, and chunks with the same pixels share one block of them: a
// large playfield that is mostly one colour, a rock filled with one tile, a sprite copied from its
// template or a tile copied onto a cell cost a few bytes until something is drawn into them.
#pragma once

#include <array>
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

// Told of every change to the pixels of a surface it watches, where the change happens: the
// picture box that shows the surface marks that part of its window's picture as changed.
class SurfaceWatcher {
  public:
    // Pixels [x0, x1) x [y0, y1) of the surface changed (they may reach beyond its edges).
    virtual void surfaceChanged(int x0, int y0, int x1, int y1) = 0;

  protected:
    ~SurfaceWatcher() = default;
};

class Surface {
  public:
    Surface() = default;
    Surface(int width, int height, Pixel fill = 0);
    // A copy or a move takes the pixels, never the watcher: a surface keeps its own.
    Surface(const Surface& other) = default;
    Surface& operator=(const Surface& other);
    Surface(Surface&&) noexcept = default;
    Surface& operator=(Surface&& other) noexcept;

    // The one watcher told of every change from now on (nullptr: none).
    void watch(SurfaceWatcher* watcher) { watcher_.who = watcher; }

    int width() const { return width_; }
    int height() const { return height_; }

    // Drops everything and gives the surface a new size, all of one colour.
    void reset(int width, int height, Pixel fill);
    void fill(Pixel colour) { reset(width_, height_, colour); }
    // Fills a rectangle, clipped to the surface.
    void fillRect(int x, int y, int w, int h, Pixel colour);
    // Makes the whole surface a repeat of the chunk-sized tile of src at (sx, sy), starting at
    // (0, 0): the tile's one block for every chunk. The tile must be a whole chunk of src (sx and
    // sy multiples of kChunk, inside src); any other leaves the surface as it is.
    void fillTile(const Surface& src, int sx, int sy);

    // Single pixels; out-of-range reads give 0 and writes are ignored.
    Pixel get(int x, int y) const;
    void set(int x, int y, Pixel p);

    // Row spans; the caller keeps x .. x + n inside the surface.
    void readRow(int x, int y, int n, Pixel* out) const;
    void writeRow(int x, int y, int n, const Pixel* in);

    // Bytes of storage the surface holds (for the memory benchmarks and tests); a block of
    // pixels that several surfaces share counts in proportion to its holders.
    std::size_t storedBytes() const;

    bool operator==(const Surface& other) const;

    // Pixels are kept in square chunks; a sprite of 32 x 32 pixels is one chunk.
    static constexpr int kChunk = 32;
    using Block = std::array<Pixel, kChunk * kChunk>;

  private:
    friend void BitBlt(Surface&, int, int, int, int, const Surface&, int, int, std::uint32_t);
    // BitBlt's work once both blocks are clipped.
    static void copyBlock(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx,
                          int sy, std::uint32_t rop);

    // One chunk: all of one colour, or a block of pixels. Blocks are shared between chunks and
    // surfaces (a copy, a whole-chunk transfer, a repeated tile) and copied before a write when
    // anything else still holds them.
    struct Chunk {
        std::shared_ptr<Block> block;
        Pixel solid = 0;
        Pixel at(int lx, int ly) const { return block ? (*block)[ly * kChunk + lx] : solid; }
    };

    bool uniform() const { return chunks_.empty(); }
    const Chunk& chunk(int cx, int cy) const {
        return uniform() ? whole_ : chunks_[std::size_t(cy) * chunksX_ + cx];
    }
    Chunk& chunkForWrite(int cx, int cy);
    Pixel* pixelsForWrite(int cx, int cy);
    void splitIntoChunks();
    // Whether chunk (cx, cy) lies wholly inside the surface.
    bool fullChunk(int cx, int cy) const {
        return cx >= 0 && cy >= 0 && (cx + 1) * kChunk <= width_ && (cy + 1) * kChunk <= height_;
    }

    void changed(int x0, int y0, int x1, int y1) const {
        if (watcher_.who) watcher_.who->surfaceChanged(x0, y0, x1, y1);
    }
    void changedWhole() const { changed(0, 0, width_, height_); }

    // Not copied nor moved with the pixels.
    struct Watcher {
        SurfaceWatcher* who = nullptr;
        Watcher() = default;
        Watcher(const Watcher&) {}
        Watcher& operator=(const Watcher&) { return *this; }
    };

    int width_ = 0;
    int height_ = 0;
    int chunksX_ = 0;
    int chunksY_ = 0;
    // Empty while every chunk is `whole_`: a surface of one colour or one repeated tile keeps a
    // single chunk however large it is.
    std::vector<Chunk> chunks_;
    Chunk whole_;
    Watcher watcher_;
};

// Copies a w x h block from src (sx, sy) to dst (x, y) combining by the raster operation,
// exact per bit, clipped at both surfaces' edges. dst and src may be the same surface only
// when the blocks do not overlap.
void BitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
            std::uint32_t rop);
// Forgets the results of combining whole chunks that BitBlt keeps for a painting of many cells,
// and the blocks they hold; the stage builder and the ending call it when their painting is done.
void ForgetChunkResults();

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

} // namespace platform
