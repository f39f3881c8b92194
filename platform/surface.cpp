#include "platform/surface.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>

namespace platform {

namespace {

constexpr int kChunk = Surface::kChunk;
using Block = Surface::Block;

Pixel Combine(std::uint32_t rop, Pixel src, Pixel dst) {
    switch (rop) {
    case SRCERASE:
        return src & ~dst & 0x00FFFFFF;
    case SRCINVERT:
        return src ^ dst;
    default:
        return src;
    }
}

bool KnownRop(std::uint32_t rop) {
    return rop == SRCCOPY || rop == SRCERASE || rop == SRCINVERT;
}

} // namespace

Surface::Surface(int width, int height, Pixel fill) {
    reset(width, height, fill);
}

Surface& Surface::operator=(const Surface& other) {
    if (this == &other) return *this;
    Surface copy(other); // the blocks are shared, not copied
    return *this = std::move(copy);
}

Surface& Surface::operator=(Surface&& other) noexcept {
    if (this == &other) return *this;
    const int oldWidth = width_, oldHeight = height_;
    width_ = other.width_;
    height_ = other.height_;
    chunksX_ = other.chunksX_;
    chunksY_ = other.chunksY_;
    chunks_ = std::move(other.chunks_);
    whole_ = std::move(other.whole_);
    changed(0, 0, std::max(oldWidth, width_), std::max(oldHeight, height_));
    return *this;
}

void Surface::reset(int width, int height, Pixel fill) {
    const int oldWidth = width_, oldHeight = height_;
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    chunksX_ = (width_ + kChunk - 1) / kChunk;
    chunksY_ = (height_ + kChunk - 1) / kChunk;
    chunks_.clear();
    chunks_.shrink_to_fit();
    whole_ = Chunk{nullptr, fill};
    changed(0, 0, std::max(oldWidth, width_), std::max(oldHeight, height_));
}

void Surface::splitIntoChunks() {
    if (uniform()) chunks_.assign(std::size_t(chunksX_) * chunksY_, whole_);
}

Surface::Chunk& Surface::chunkForWrite(int cx, int cy) {
    if (uniform() && chunksX_ * chunksY_ == 1) return whole_; // a sprite's one chunk
    splitIntoChunks();
    return chunks_[std::size_t(cy) * chunksX_ + cx];
}

Pixel* Surface::pixelsForWrite(int cx, int cy) {
    Chunk& c = chunkForWrite(cx, cy);
    if (!c.block) {
        c.block = std::make_shared<Block>();
        c.block->fill(c.solid);
    } else if (c.block.use_count() > 1) {
        c.block = std::make_shared<Block>(*c.block); // someone else still shows these pixels
    }
    return c.block->data();
}

void Surface::fillRect(int x, int y, int w, int h, Pixel colour) {
    const int x0 = std::max(0, x), y0 = std::max(0, y);
    const int x1 = int(std::min<long long>(width_, (long long)x + std::max(0, w)));
    const int y1 = int(std::min<long long>(height_, (long long)y + std::max(0, h)));
    if (x0 >= x1 || y0 >= y1) return;
    if (x0 == 0 && y0 == 0 && x1 == width_ && y1 == height_) return reset(width_, height_, colour);
    if (uniform() && !whole_.block && whole_.solid == colour) return; // nothing changes

    // Chunks cut the same way from the same pixels end the same: the strips along a playfield's
    // edges share one block per kind of cut.
    struct Cut {
        const Block* from;
        Pixel solid;
        int ax, ay, bx, by;
        std::shared_ptr<Block> result;
    } last{};
    bool haveLast = false;
    for (int cy = y0 / kChunk; cy <= (y1 - 1) / kChunk; ++cy) {
        for (int cx = x0 / kChunk; cx <= (x1 - 1) / kChunk; ++cx) {
            const int ax = std::max(x0, cx * kChunk) - cx * kChunk;
            const int bx = std::min(x1, (cx + 1) * kChunk) - cx * kChunk;
            const int ay = std::max(y0, cy * kChunk) - cy * kChunk;
            const int by = std::min(y1, (cy + 1) * kChunk) - cy * kChunk;
            Chunk& c = chunkForWrite(cx, cy);
            // The chunk counts as covered when the fill reaches the surface's edge.
            const bool whole = ax == 0 && ay == 0 && (bx == kChunk || cx * kChunk + bx == width_) &&
                               (by == kChunk || cy * kChunk + by == height_);
            if (whole) {
                c = Chunk{nullptr, colour};
                continue;
            }
            if (haveLast && last.from == c.block.get() && (c.block || last.solid == c.solid) &&
                std::tie(last.ax, last.ay, last.bx, last.by) == std::tie(ax, ay, bx, by)) {
                c.block = last.result;
                continue;
            }
            last = Cut{c.block.get(), c.solid, ax, ay, bx, by, nullptr};
            Pixel* p = pixelsForWrite(cx, cy);
            for (int yy = ay; yy < by; ++yy)
                std::fill_n(p + yy * kChunk + ax, bx - ax, colour);
            last.result = c.block;
            haveLast = true;
        }
    }
    changed(x0, y0, x1, y1);
}

void Surface::fillTile(const Surface& src, int sx, int sy) {
    if (sx % kChunk != 0 || sy % kChunk != 0 || !src.fullChunk(sx / kChunk, sy / kChunk)) return;
    // Chunks start at the surface's corner, so every chunk is the tile.
    const Chunk tile = src.chunk(sx / kChunk, sy / kChunk);
    reset(width_, height_, 0);
    whole_ = tile;
}

Pixel Surface::get(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return chunk(x / kChunk, y / kChunk).at(x % kChunk, y % kChunk);
}

void Surface::set(int x, int y, Pixel p) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixelsForWrite(x / kChunk, y / kChunk)[(y % kChunk) * kChunk + x % kChunk] = p;
    changed(x, y, x + 1, y + 1);
}

void Surface::readRow(int x, int y, int n, Pixel* out) const {
    const int cy = y / kChunk, ly = y % kChunk;
    while (n > 0) {
        const Chunk& c = chunk(x / kChunk, cy);
        const int run = std::min(n, kChunk - x % kChunk);
        if (c.block)
            std::memcpy(out, c.block->data() + ly * kChunk + x % kChunk, sizeof(Pixel) * run);
        else
            std::fill_n(out, run, c.solid);
        out += run;
        x += run;
        n -= run;
    }
}

void Surface::writeRow(int x, int y, int n, const Pixel* in) {
    changed(x, y, x + n, y + 1);
    while (n > 0) {
        const int run = std::min(n, kChunk - x % kChunk);
        Pixel* p = pixelsForWrite(x / kChunk, y / kChunk);
        std::memcpy(p + (y % kChunk) * kChunk + x % kChunk, in, sizeof(Pixel) * run);
        in += run;
        x += run;
        n -= run;
    }
}

std::size_t Surface::storedBytes() const {
    std::size_t bytes = chunks_.capacity() * sizeof(Chunk);
    auto share = [](const Chunk& c) {
        return c.block ? sizeof(Block) / std::size_t(c.block.use_count()) : 0;
    };
    if (uniform()) return bytes + share(whole_);
    for (const Chunk& c : chunks_)
        bytes += share(c);
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

namespace {

// Results of combining two whole chunks, kept while the stage is built or the ending's scene
// darkened (ForgetChunkResults drops them after each): painting a tile shaded onto a cell, or a
// capsule's picture over a cell, gives the same pixels for the same two chunks every time. The
// entries hold on to the blocks they were made from, so that a block's address names the same
// pixels for as long as it is a key.
class ChunkResults {
  public:
    using Chunk = std::pair<std::shared_ptr<Block>, Pixel>; // a block, or one colour
    std::shared_ptr<Block> find(std::uint32_t rop, const Chunk& src, const Chunk& dst) {
        const auto it = entries_.find(keyOf(rop, src, dst));
        return it == entries_.end() ? nullptr : it->second.result;
    }
    void keep(std::uint32_t rop, const Chunk& src, const Chunk& dst,
              std::shared_ptr<Block> result) {
        if (entries_.size() >= kMaxEntries) entries_.clear();
        entries_[keyOf(rop, src, dst)] = Entry{src.first, dst.first, std::move(result)};
    }
    void clear() { entries_.clear(); }

  private:
    static constexpr std::size_t kMaxEntries = 1024;
    using Key = std::tuple<std::uint32_t, const Block*, Pixel, const Block*, Pixel>;
    struct Entry {
        std::shared_ptr<Block> src, dst, result;
    };
    static Key keyOf(std::uint32_t rop, const Chunk& src, const Chunk& dst) {
        return {rop, src.first.get(), src.first ? 0 : src.second, dst.first.get(),
                dst.first ? 0 : dst.second};
    }
    std::map<Key, Entry> entries_;
};

ChunkResults& Results() {
    static ChunkResults results;
    return results;
}

// Copies a w x h block row by row through a buffer.
void BlitRows(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
              std::uint32_t rop) {
    std::vector<Pixel> s(w), d(w);
    for (int row = 0; row < h; ++row) {
        src.readRow(sx, sy + row, w, s.data());
        if (rop != SRCCOPY) {
            dst.readRow(x, y + row, w, d.data());
            for (int i = 0; i < w; ++i)
                s[i] = Combine(rop, s[i], d[i]);
        }
        dst.writeRow(x, y + row, w, s.data());
    }
}

} // namespace

void ForgetChunkResults() {
    Results().clear();
}

void BitBlt(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
            std::uint32_t rop) {
    if (!KnownRop(rop)) return; // no other operation is used by the game
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
    // The destination's watcher hears of the whole block once, not of each of its rows.
    SurfaceWatcher* const watcher = dst.watcher_.who;
    dst.watcher_.who = nullptr;
    Surface::copyBlock(dst, x, y, w, h, src, sx, sy, rop);
    dst.watcher_.who = watcher;
    dst.changed(x, y, x + w, y + h);
}

void Surface::copyBlock(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx,
                        int sy, std::uint32_t rop) {
    // A source of one colour copies as a fill (a sprite sized from its plain template).
    if (rop == SRCCOPY && src.uniform() && !src.whole_.block)
        return dst.fillRect(x, y, w, h, src.whole_.solid);
    const bool aligned = x % kChunk == 0 && y % kChunk == 0 && sx % kChunk == 0 && sy % kChunk == 0;
    if (!aligned) return BlitRows(dst, x, y, w, h, src, sx, sy, rop);

    // Chunk against chunk: whole chunks are shared or combined once; the rest goes by rows.
    for (int oy = 0; oy < h; oy += kChunk) {
        for (int ox = 0; ox < w; ox += kChunk) {
            const int cw = std::min(kChunk, w - ox), ch = std::min(kChunk, h - oy);
            const int dcx = (x + ox) / kChunk, dcy = (y + oy) / kChunk;
            const int scx = (sx + ox) / kChunk, scy = (sy + oy) / kChunk;
            if (cw < kChunk || ch < kChunk || !dst.fullChunk(dcx, dcy) ||
                !src.fullChunk(scx, scy)) {
                BlitRows(dst, x + ox, y + oy, cw, ch, src, sx + ox, sy + oy, rop);
                continue;
            }
            const Surface::Chunk from = src.chunk(scx, scy); // a copy: src may be dst
            Surface::Chunk& to = dst.chunkForWrite(dcx, dcy);
            if (rop == SRCCOPY) {
                to = from;
                continue;
            }
            if (!from.block && !to.block) {
                to.solid = Combine(rop, from.solid, to.solid);
                continue;
            }
            const ChunkResults::Chunk a{from.block, from.solid}, b{to.block, to.solid};
            std::shared_ptr<Block> result = Results().find(rop, a, b);
            if (!result) {
                result = std::make_shared<Block>();
                for (int i = 0; i < kChunk * kChunk; ++i)
                    (*result)[i] = Combine(rop, from.at(i % kChunk, i / kChunk),
                                           to.at(i % kChunk, i / kChunk));
                Results().keep(rop, a, b, result);
            }
            to.block = std::move(result);
        }
    }
}

} // namespace platform
