// Bit-block transfers: each raster operation exact per bit, and clipping at every edge of both
// surfaces.
#include "platform/surface.h"

#include "harness.h"

#include <gtest/gtest.h>

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
    rock.fillPattern(tile, 0, 0, 32, 32);
    // A few bytes of bookkeeping per chunk; the pixels alone would take 313 MB.
    EXPECT_LT(rock.storedBytes(), 2u << 20);
    EXPECT_EQ(rock.get(32 * 100 + 5, 32 * 7 + 5), 0x00FFFFFFu);
    EXPECT_EQ(rock.get(32 * 100 + 5, 32 * 7 + 6), 0u);
    rock.set(40, 40, 0x00123456); // drawing into it stores just that chunk
    EXPECT_EQ(rock.get(40, 40), 0x00123456u);
    EXPECT_EQ(rock.get(41, 41), 0x00FFFFFFu);
    EXPECT_LT(rock.storedBytes(), 2u << 20);
}

} // namespace
