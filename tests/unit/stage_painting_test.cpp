// The painted background: the fill and its strips, the starfield, rock tiles, shaded decorative
// tiles, and the capsule and person pictures composed over what lies beneath them.
#include "core/random.h"
#include "harness.h"
#include "tests/fixtures/stage_fixture.h"

#include <gtest/gtest.h>

#include <map>

using platform::Pixel;
using platform::Surface;
using stage_test::AppFolder;
using stage_test::OpenGame;
using stage_test::Rec;
using stage_test::WithRound;

namespace {

const Pixel kBackColour = platform::Rgb(128, 64, 64);
const std::int32_t kFillBgr = 0x563412; // not one of the star colours
const Pixel kFill = platform::FromBgr(kFillBgr);

class BackgroundFill : public ::testing::TestWithParam<int> {};

// The fill ends 32 twips short of the right and bottom edges: two pixels of the back colour
// stay at 15 and at 12 twips per pixel.
TEST_P(BackgroundFill, LeavesTheStripsAtTheRightAndBottom) {
    WithRound(
        {Rec("ROUNDRANGE", {20, 15, kFillBgr, 0, 60})},
        [] {
            const Surface& s = fMain().pScreen.surface();
            const int w = s.width(), h = s.height();
            EXPECT_EQ(s.get(0, 0), kFill);
            EXPECT_EQ(s.get(w - 3, h - 3), kFill);
            for (int i = 0; i < 2; ++i) {
                EXPECT_EQ(s.get(w - 1 - i, 10), kBackColour);
                EXPECT_EQ(s.get(10, h - 1 - i), kBackColour);
            }
        },
        GetParam());
}

INSTANTIATE_TEST_SUITE_P(Dpi, BackgroundFill, ::testing::Values(96, 120));

std::map<Pixel, int> ColoursOtherThan(const Surface& s, Pixel background, int w, int h) {
    std::map<Pixel, int> counts;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (const Pixel p = s.get(x, y); p != background) ++counts[p];
    return counts;
}

struct StarCase {
    int dpi;
    int w, h;      // range in cells
    int low, high; // stars expected: 50001 / (twips per pixel)^2, give or take
};

class StarCount : public ::testing::TestWithParam<StarCase> {};

TEST_P(StarCount, AboutOnePointInTwipsSquaredLands) {
    const StarCase c = GetParam();
    WithRound(
        {Rec("ROUNDRANGE", {c.w, c.h, kFillBgr, -1, 60})},
        [&] {
            const Surface& s = fMain().pScreen.surface();
            // Within the filled part only; the strips keep the back colour.
            const auto stars = ColoursOtherThan(s, kFill, s.width() - 3, s.height() - 3);
            int n = 0;
            for (auto [colour, count] : stars)
                n += count;
            EXPECT_GE(n, c.low);
            EXPECT_LE(n, c.high);
        },
        c.dpi);
}

// 50001 / 225 = 222 at 15 twips per pixel, 50001 / 144 = 347 at 12, whatever the size.
INSTANTIATE_TEST_SUITE_P(Cases, StarCount,
                         ::testing::Values(StarCase{96, 20, 15, 180, 265},
                                           StarCase{96, 120, 90, 180, 265},
                                           StarCase{120, 20, 15, 290, 405},
                                           StarCase{120, 60, 40, 290, 405}));

TEST(Starfield, FlagOtherThanMinusOneDrawsNone) {
    for (std::int32_t flag : {0, 1, -2}) {
        WithRound({Rec("ROUNDRANGE", {20, 15, kFillBgr, flag, 60})}, [] {
            const Surface& s = fMain().pScreen.surface();
            EXPECT_TRUE(ColoursOtherThan(s, kFill, s.width() - 3, s.height() - 3).empty());
            EXPECT_EQ(RandomDrawCount(), 0);
        });
    }
}

TEST(Starfield, TakesExactlyThreeDrawsPerPoint) {
    WithRound({Rec("ROUNDRANGE", {20, 15, kFillBgr, -1, 60})},
              [] { EXPECT_EQ(RandomDrawCount(), 3 * 50001); });
}

// k = round(r x 15) gives colours 0 and 15 half as often as each of the others. The stars of
// forty loads in a row (each load draws a new field from where the sequence stands) are counted.
class StarColours : public ::testing::TestWithParam<int> {};

TEST_P(StarColours, FollowTheRoundingIntervals) {
    AppFolder folder;
    folder.writeRound(1, {Rec("ROUNDRANGE", {20, 15, kFillBgr, -1, 60})});
    auto options = test::Options();
    options.dpi = GetParam();
    test::RunHeadless(options, [&] {
        OpenGame(folder);
        std::map<Pixel, int> stars;
        int total = 0;
        for (int load = 0; load < 40; ++load) {
            LoadRound(1);
            const Surface& s = fMain().pScreen.surface();
            for (auto [colour, count] : ColoursOtherThan(s, kFill, s.width() - 3, s.height() - 3)) {
                stars[colour] += count;
                total += count;
            }
        }
        const double perPixel = 1.0 / (TwipsX * TwipsY); // of the 50001 points per load
        EXPECT_NEAR(total / 40.0, 50001 * perPixel, 50001 * perPixel * 0.06);
        ASSERT_EQ(stars.size(), 16u);
        for (Long k = 0; k < 16; ++k) {
            const double share = double(stars[StarColour(k)]) / total;
            const double expected = (k == 0 || k == 15) ? 1.0 / 30 : 1.0 / 15;
            EXPECT_NEAR(share, expected, expected * 0.3) << "colour " << k;
        }
    });
}

INSTANTIATE_TEST_SUITE_P(Dpi, StarColours, ::testing::Values(96, 120));

// One point with chosen draws: positions round half to even, and a and b count pixels.
TEST(Starfield, PlacesAPointByItsRoundedDraws) {
    WithRound({Rec("ROUNDRANGE", {20, 15, kFillBgr, 0, 60})}, [] {
        std::vector<double> draws = {0.5, 0.25, 0.5}; // a = 1.5 -> 2, b = 0.5 -> 0, k = 7.5 -> 8
        for (int i = 1; i <= 50000; ++i)
            draws.insert(draws.end(), {0.99, 0.99, 0.0});
        QueueRandomDraws(draws);
        DrawStarfield(10, 20, 3, 2);
        const Surface& s = fMain().pScreen.surface();
        EXPECT_EQ(s.get(12, 20), StarColour(8));
        EXPECT_EQ(s.get(13, 22), StarColour(0)); // every other point: (2.97, 1.98, 0) rounded
        const auto stars = ColoursOtherThan(s, kFill, s.width() - 3, s.height() - 3);
        ASSERT_EQ(stars.size(), 2u);
        EXPECT_EQ(stars.at(StarColour(8)) + stars.at(StarColour(0)), 2);
    });
}

// --- rock tiles --------------------------------------------------------------------------------

// The loop as the round was designed to paint it: whole tiles at (32j, 32i), bounds inclusive.
Surface TilesByLoop(const Surface& sheet, int tile, int w, int h) {
    Surface s(w, h, platform::Rgb(255, 255, 255));
    for (int i = 0; i <= h / 32; ++i)
        for (int j = 0; j <= w / 32; ++j)
            BitBlt(s, 32 * j, 32 * i, 32, 32, sheet, 0, 32 * (tile - 1), platform::SRCCOPY);
    return s;
}

class RockTiles : public ::testing::TestWithParam<std::array<int, 3>> {};

TEST_P(RockTiles, MatchTheInclusiveLoopPixelForPixel) {
    const auto [tile, w, h] = GetParam();
    WithRound({Rec("ROUNDRANGE", {20, 15})}, [&] {
        FMain& f = fMain();
        auto& box = f.pRock[CreateSprite(f.pRock)];
        box.setSize(float(w * TwipsX), float(h * TwipsY));
        FillRockTiles(tile, box);
        EXPECT_TRUE(box.surface() == TilesByLoop(f.pRockDat.surface(), tile, w, h));
        EXPECT_LT(box.surface().storedBytes(), 64u * 1024); // one tile, not every pixel
    });
}

// 720 pixels high is 22.5 tiles (23 rows of copies, the last cut in half); 64 high gets a
// third row that lies outside; odd sizes cut the last column and row.
INSTANTIATE_TEST_SUITE_P(Sizes, RockTiles,
                         ::testing::Values(std::array<int, 3>{1, 1216, 720},
                                           std::array<int, 3>{2, 64, 64},
                                           std::array<int, 3>{6, 85, 69},
                                           std::array<int, 3>{4, 32, 32},
                                           std::array<int, 3>{3, 10, 500}));

TEST(RockTiles, OffTheSheetCopiesWhatLiesThere) {
    WithRound({Rec("ROUNDRANGE", {20, 15})}, [] {
        FMain& f = fMain();
        for (Long tile : {0L, 7L, -5L, 1000000L}) {
            auto& box = f.pRock[CreateSprite(f.pRock)];
            box.setSize(float(40 * TwipsX), float(40 * TwipsY));
            const Surface before = box.surface();
            FillRockTiles(tile, box);
            EXPECT_TRUE(box.surface() == before) << tile; // nothing of the sheet lies there
        }
    });
}

// --- decorative tiles ----------------------------------------------------------------------------

Pixel SheetPixel(const platform::PictureBox& sheet, int x, int y) {
    return sheet.surface().get(x, y);
}

TEST(BmpBox, ShadedTileIsTileAndCheckerboard) {
    WithRound({Rec("ROUNDRANGE", {20, 15, kFillBgr, 0, 60}), Rec("BMPBOX", {2, 3, 3, 3, 4, -1}),
               Rec("BMPBOX", {5, 3, 5, 3, 4, 0})},
              [] {
                  FMain& f = fMain();
                  const Surface& s = f.pScreen.surface();
                  for (int cell : {2, 3}) {
                      const int x0 = 288 + 32 * cell, y0 = 224 + 96;
                      for (int y = 0; y < 32; ++y)
                          for (int x = 0; x < 32; ++x)
                              ASSERT_EQ(s.get(x0 + x, y0 + y), SheetPixel(f.pRockDat, x, 96 + y) &
                                                                   SheetPixel(f.pMask, x, y))
                                  << x << "," << y;
                  }
                  const int x0 = 288 + 160, y0 = 224 + 96;
                  for (int y = 0; y < 32; ++y)
                      for (int x = 0; x < 32; ++x)
                          ASSERT_EQ(s.get(x0 + x, y0 + y), SheetPixel(f.pRockDat, x, 96 + y));
                  EXPECT_EQ(s.get(288 + 128, y0), kFill); // cell 4 between them
              });
}

TEST(BmpBox, ReversedBoundsPaintNothing) {
    WithRound({Rec("ROUNDRANGE", {20, 15, kFillBgr, 0, 60})}, [] {
        const Surface before = fMain().pScreen.surface();
        BuildBmpBox(5, 3, 3, 3, 2, -1);
        BuildBmpBox(3, 5, 3, 3, 2, 0);
        EXPECT_TRUE(fMain().pScreen.surface() == before);
    });
}

// --- capsule and person pictures ---------------------------------------------------------------

// image XOR (mask AND NOT background), from the sheet's two halves.
Pixel Composed(const platform::PictureBox& sheet, int x, int y, Pixel background) {
    return SheetPixel(sheet, x, y) ^ (SheetPixel(sheet, x, 32 + y) & ~background & 0xFFFFFF);
}

void ExpectComposedOver(const platform::PictureBox& sprite, const platform::PictureBox& sheet,
                        const Surface& background, int bx, int by) {
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(sprite.surface().get(x, y),
                      Composed(sheet, x, y, background.get(bx + x, by + y)))
                << sprite.name() << " at " << x << "," << y;
}

TEST(Composition, CapsuleAndPersonOverShadedTilesPixelByPixel) {
    // Shading under both, so the background differs from pixel to pixel.
    WithRound({Rec("ROUNDRANGE", {20, 15, kFillBgr, -1, 60}), Rec("BMPBOX", {0, 0, 19, 1, 2, -1}),
               Rec("ENERGY", {3, 0}), Rec("RESQ", {4, 1})},
              [] {
                  FMain& f = fMain();
                  const Surface& field = f.pScreen.surface();
                  ExpectComposedOver(f.pEnergy[1], f.pEnergyDat, field, 288 + 96, 224);
                  ExpectComposedOver(f.pResq[1], f.pResqDat, field, 288 + 128, 224 + 32);
              });
}

// The snapshot holds only the playfield picture as painted so far: rock sprites and tiles
// painted later do not show through.
TEST(Composition, SeesOnlyWhatWasPaintedBeforeIt) {
    WithRound({Rec("ROUNDRANGE", {20, 15, kFillBgr, 0, 60}), Rec("ROCK", {3, 3, 3, 3, 1}),
               Rec("ENERGY", {3, 3}), Rec("RESQ", {5, 5}), Rec("BMPBOX", {5, 5, 5, 5, 4, -1})},
              [] {
                  FMain& f = fMain();
                  const Surface plain(1216, 928, kFill);
                  ExpectComposedOver(f.pEnergy[1], f.pEnergyDat, plain, 0, 0);
                  ExpectComposedOver(f.pResq[1], f.pResqDat, plain, 0, 0);
              });
}

} // namespace
