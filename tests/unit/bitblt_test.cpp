// Bit-block transfers: each raster operation exact per bit, and clipping at every edge of both
// surfaces.
#include "platform/surface.h"

#include "harness.h"

#include <gtest/gtest.h>

#include <random>

using namespace platform;

namespace {

struct RopCase {
    const char* name;
    std::uint32_t rop;
    Pixel src, dst, expected;
};
VEXARO_PRINT_CASE_BY_NAME(RopCase)

class RasterOpTest : public ::testing::TestWithParam<RopCase> {};

TEST_P(RasterOpTest, CombinesEveryBit) {
    const RopCase c = GetParam();
    Surface src(3, 2, c.src), dst(3, 2, c.dst);
    BitBlt(dst, 0, 0, 3, 2, src, 0, 0, c.rop);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(dst.get(x, y), c.expected) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, RasterOpTest,
    ::testing::Values(
        RopCase{"copy", SRCCOPY, 0x00A5C3F0, 0x005A3C0F, 0x00A5C3F0},
        RopCase{"eraseKeepsSourceWhereDestIsClear", SRCERASE, 0x00FF00FF, 0x0000FF0F, 0x00FF00F0},
        RopCase{"eraseWhiteDest", SRCERASE, 0x00123456, 0x00FFFFFF, 0},
        RopCase{"invert", SRCINVERT, 0x00F0F0F0, 0x00FF00AA, 0x000FF05A},
        RopCase{"invertTwiceRestores", SRCINVERT, 0x00000000, 0x00ABCDEF, 0x00ABCDEF}),
    [](const auto& info) { return std::string(info.param.name); });

// Erase then invert with the same mask leaves destination AND mask: the game's half-tone shading.
TEST(RasterOpTest, EraseThenInvertIsAnd) {
    Surface mask(2, 1, 0);
    mask.set(1, 0, 0x00FFFFFF);
    Surface tile(2, 1, 0x00336699);
    BitBlt(tile, 0, 0, 2, 1, mask, 0, 0, SRCERASE);
    BitBlt(tile, 0, 0, 2, 1, mask, 0, 0, SRCINVERT);
    EXPECT_EQ(tile.get(0, 0), 0u);
    EXPECT_EQ(tile.get(1, 0), 0x00336699u);
}

// A 4 x 4 source with distinct pixels, copied onto a 4 x 4 destination of zeros.
Surface Numbered() {
    Surface s(4, 4, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            s.set(x, y, Pixel(0x100 + y * 4 + x));
    return s;
}

struct ClipCase {
    const char* name;
    int x, y, w, h, sx, sy;
    // Expected destination pixel at (dx, dy): source (dx + offX, dy + offY) when inside the
    // copied rectangle [x0, x1) x [y0, y1), else 0.
    int x0, y0, x1, y1, offX, offY;
};
VEXARO_PRINT_CASE_BY_NAME(ClipCase)

class ClipTest : public ::testing::TestWithParam<ClipCase> {};

TEST_P(ClipTest, CopiesOnlyWhatBothSurfacesHold) {
    const ClipCase c = GetParam();
    const Surface src = Numbered();
    Surface dst(4, 4, 0);
    BitBlt(dst, c.x, c.y, c.w, c.h, src, c.sx, c.sy, SRCCOPY);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool inside = x >= c.x0 && x < c.x1 && y >= c.y0 && y < c.y1;
            const Pixel want = inside ? src.get(x + c.offX, y + c.offY) : 0;
            EXPECT_EQ(dst.get(x, y), want) << c.name << " at " << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(
    Edges, ClipTest,
    ::testing::Values(ClipCase{"whole", 0, 0, 4, 4, 0, 0, 0, 0, 4, 4, 0, 0},
                      ClipCase{"destLeft", -1, 0, 4, 4, 0, 0, 0, 0, 3, 4, 1, 0},
                      ClipCase{"destTop", 0, -2, 4, 4, 0, 0, 0, 0, 4, 2, 0, 2},
                      ClipCase{"destRight", 2, 0, 4, 4, 0, 0, 2, 0, 4, 4, -2, 0},
                      ClipCase{"destBottom", 0, 3, 4, 4, 0, 0, 0, 3, 4, 4, 0, -3},
                      ClipCase{"srcLeft", 0, 0, 4, 4, -1, 0, 1, 0, 4, 4, -1, 0},
                      ClipCase{"srcTop", 0, 0, 4, 4, 0, -3, 0, 3, 4, 4, 0, -3},
                      ClipCase{"srcRight", 0, 0, 4, 4, 3, 0, 0, 0, 1, 4, 3, 0},
                      ClipCase{"srcBottom", 0, 0, 4, 4, 0, 2, 0, 0, 4, 2, 0, 2},
                      ClipCase{"outsideEntirely", 5, 5, 4, 4, 0, 0, 0, 0, 0, 0, 0, 0},
                      ClipCase{"negativeSize", 0, 0, -2, 4, 0, 0, 0, 0, 0, 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// Large surfaces keep no pixels where they are one colour or one repeated tile.
TEST(SurfaceStorageTest, SolidAndPatternAreasCostNoPixels) {
    Surface big(7456, 7456, 0x00404080);
    big.fillRect(0, 0, 7454, 7454, 0);
    EXPECT_LT(big.storedBytes(), 4u << 20);
    EXPECT_EQ(big.get(7455, 100), 0x00404080u);
    EXPECT_EQ(big.get(7453, 7453), 0u);

    Surface tile(32, 32, 0);
    for (int i = 0; i < 32; ++i)
        tile.set(i, i, 0x00FFFFFF);
    Surface rock(7456, 10512, 0x00FFFFFF);
    rock.fillTile(tile, 0, 0);
    // A few bytes of bookkeeping per chunk; the pixels alone would take 313 MB.
    EXPECT_LT(rock.storedBytes(), 2u << 20);
    EXPECT_EQ(rock.get(32 * 100 + 5, 32 * 7 + 5), 0x00FFFFFFu);
    EXPECT_EQ(rock.get(32 * 100 + 5, 32 * 7 + 6), 0u);
    rock.set(40, 40, 0x00123456); // drawing into it stores just that chunk
    EXPECT_EQ(rock.get(40, 40), 0x00123456u);
    EXPECT_EQ(rock.get(41, 41), 0x00FFFFFFu);
    EXPECT_LT(rock.storedBytes(), 2u << 20);
}

// A copy shares its pixels until one of the two is drawn into; then each keeps its own.
TEST(SurfaceStorageTest, ACopyKeepsItsPixelsWhenEitherIsDrawnInto) {
    Surface a(70, 40, 0x111111);
    a.set(5, 5, 0x0000AA);
    a.set(40, 10, 0x0000BB);
    Surface b = a;
    b.set(5, 5, 0x0000CC);
    a.set(40, 10, 0x0000DD);
    a.fillRect(0, 30, 70, 10, 0x0000EE);
    EXPECT_EQ(a.get(5, 5), 0x0000AAu);
    EXPECT_EQ(b.get(5, 5), 0x0000CCu);
    EXPECT_EQ(a.get(40, 10), 0x0000DDu);
    EXPECT_EQ(b.get(40, 10), 0x0000BBu);
    EXPECT_EQ(b.get(3, 35), 0x111111u);
}

// A tile repeated over a surface of any size, and a tile copied onto whole chunks, keep the
// tile's one block.
TEST(SurfaceStorageTest, WholeChunkCopiesShareTheirBlock) {
    Surface sheet(32, 64, 0);
    for (int i = 0; i < 32; ++i)
        sheet.set(i, 32 + (i * 7) % 32, 0x00FFFFFF);
    Surface rock(7744, 10848, 0x00FFFFFF);
    rock.fillTile(sheet, 0, 32);
    EXPECT_LT(rock.storedBytes(), 4096u);
    EXPECT_EQ(rock.get(32 * 200 + 3, 32 * 300 + 21), 0x00FFFFFFu);
    Surface field(320, 320, 0x00123456);
    for (int cell = 0; cell < 100; ++cell)
        BitBlt(field, 32 * (cell % 10), 32 * (cell / 10), 32, 32, sheet, 0, 32, SRCCOPY);
    EXPECT_LT(field.storedBytes(), 8192u);
    EXPECT_TRUE(field.get(32 * 4 + 3, 32 * 7 + 21) == 0x00FFFFFFu);
}

// Surfaces of every make (one colour, a repeated tile, pixels, chunks cut at the edges) drawn
// into at random, against plain tables of pixels: every operation gives the same pixels.
TEST(SurfaceModelTest, EveryOperationMatchesPixelByPixel) {
    std::mt19937 random(3);
    const auto any = [&](int lo, int hi) {
        return std::uniform_int_distribution<int>(lo, hi)(random);
    };
    const auto position = [&](int size) { // often on a chunk's corner
        return any(0, 2) ? 32 * any(-1, size / 32 + 1) : any(-40, size + 40);
    };
    const Pixel colours[] = {0x000000, 0xFFFFFF, 0x123456, 0x00FF00, 0x0F0F0F};
    const auto colour = [&] { return any(0, 3) ? colours[any(0, 4)] : Pixel(random() & 0xFFFFFF); };

    struct Model {
        int w = 0, h = 0;
        std::vector<Pixel> p;
        Pixel get(int x, int y) const { return p[std::size_t(y) * w + x]; }
        Pixel& at(int x, int y) { return p[std::size_t(y) * w + x]; }
    };
    std::vector<Surface> surfaces(4);
    std::vector<Model> models(4);
    const auto resetBoth = [&](int i, int w, int h, Pixel c) {
        surfaces[i].reset(w, h, c);
        models[i] = Model{w, h, std::vector<Pixel>(std::size_t(w) * h, c)};
    };
    for (int i = 0; i < 4; ++i)
        resetBoth(i, any(1, 130), any(1, 130), colour());

    for (int step = 0; step < 4000; ++step) {
        const int i = any(0, 3), j = any(0, 3);
        Surface& s = surfaces[i];
        Model& m = models[i];
        switch (any(0, 9)) {
        case 0:
            resetBoth(i, any(0, 130), any(0, 130), colour());
            break;
        case 1: {
            const int x = any(-2, m.w + 1), y = any(-2, m.h + 1);
            const Pixel c = colour();
            s.set(x, y, c);
            if (x >= 0 && y >= 0 && x < m.w && y < m.h) m.at(x, y) = c;
            break;
        }
        case 2: {
            const int x = position(m.w), y = position(m.h), w = any(-5, 100), h = any(-5, 100);
            const Pixel c = colour();
            s.fillRect(x, y, w, h, c);
            for (int yy = std::max(0, y); yy < std::min(m.h, y + h); ++yy)
                for (int xx = std::max(0, x); xx < std::min(m.w, x + w); ++xx)
                    m.at(xx, yy) = c;
            break;
        }
        case 3: {
            if (i == j || models[j].w < 32 || models[j].h < 32) break;
            const int sx = 32 * any(0, models[j].w / 32 - 1),
                      sy = 32 * any(0, models[j].h / 32 - 1);
            s.fillTile(surfaces[j], sx, sy);
            for (int y = 0; y < m.h; ++y)
                for (int x = 0; x < m.w; ++x)
                    m.at(x, y) = models[j].get(sx + x % 32, sy + y % 32);
            break;
        }
        case 4:
            if (i == j) break;
            surfaces[i] = surfaces[j];
            models[i] = models[j];
            break;
        default: {
            if (i == j) break; // a surface onto itself only where the blocks part; not here
            const std::uint32_t rops[] = {SRCCOPY, SRCERASE, SRCINVERT};
            const std::uint32_t rop = rops[any(0, 2)];
            const Model& from = models[j];
            const int x = position(m.w), y = position(m.h);
            const int sx = position(from.w), sy = position(from.h);
            const int w = any(0, 2) ? 32 * any(1, 3) : any(-3, 90);
            const int h = any(0, 2) ? 32 * any(1, 3) : any(-3, 90);
            BitBlt(s, x, y, w, h, surfaces[j], sx, sy, rop);
            for (int dy = 0; dy < h; ++dy)
                for (int dx = 0; dx < w; ++dx) {
                    const int tx = x + dx, ty = y + dy, fx = sx + dx, fy = sy + dy;
                    if (tx < 0 || ty < 0 || tx >= m.w || ty >= m.h) continue;
                    if (fx < 0 || fy < 0 || fx >= from.w || fy >= from.h) continue;
                    const Pixel a = from.get(fx, fy), d = m.get(tx, ty);
                    m.at(tx, ty) = rop == SRCCOPY    ? a
                                   : rop == SRCERASE ? (a & ~d & 0x00FFFFFF)
                                                     : (a ^ d);
                }
            break;
        }
        }
        for (int k = 0; k < 4; ++k) {
            ASSERT_EQ(surfaces[k].width(), models[k].w);
            ASSERT_EQ(surfaces[k].height(), models[k].h);
            for (int y = 0; y < models[k].h; ++y)
                for (int x = 0; x < models[k].w; ++x)
                    ASSERT_EQ(surfaces[k].get(x, y), models[k].get(x, y))
                        << "surface " << k << " at " << x << "," << y << " after step " << step;
        }
    }
}

} // namespace
