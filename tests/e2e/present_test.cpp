// Putting pictures on the screen: where the picture lies in a window of any size (full screen
// included), which parts changed, how they are enlarged into the screen's pixels, and how often
// a picture may go out.
#include "platform/sdl/present.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace platform;
using namespace platform::sdl;

namespace {

FrameBuffer Picture(int w, int h, Pixel fill = 0x102030) {
    FrameBuffer f;
    f.width = w;
    f.height = h;
    f.pixels.assign(std::size_t(w) * h, fill);
    return f;
}

TEST(PictureLayout, LargestWholeFactorCentredOnBlack) {
    const struct {
        int windowW, windowH, scale, x, y;
    } cases[] = {
        {1242, 834, 2, 0, 0},      // a window of the picture's own size, enlarged twice
        {621, 417, 1, 0, 0},       // and once
        {1280, 1024, 2, 19, 95},   // full screen on the tests' display
        {1920, 1080, 2, 339, 123}, // full screen on a wide one: bars left and right too
        {2560, 1440, 3, 348, 94},  {3840, 2160, 5, 367, 37},
        {600, 400, 1, 0, 0}, // smaller than the picture: its top-left part, menu bar first
    };
    for (const auto& c : cases) {
        const PictureLayout l = FitPicture(c.windowW, c.windowH, 621, 417);
        EXPECT_EQ(l.scale, c.scale) << c.windowW << " x " << c.windowH;
        EXPECT_EQ(l.x, c.x) << c.windowW << " x " << c.windowH;
        EXPECT_EQ(l.y, c.y) << c.windowW << " x " << c.windowH;
    }
    EXPECT_EQ(FitPicture(800, 600, 0, 0).scale, 1); // no picture yet
}

TEST(ChangedAreas, NothingChangedNothingToShow) {
    EXPECT_TRUE(ChangedAreas(Picture(621, 417), Picture(621, 417)).empty());
}

TEST(ChangedAreas, ANewSizeIsShownWhole) {
    const std::vector<Area> want{{0, 0, 621, 417}};
    EXPECT_EQ(ChangedAreas(FrameBuffer{}, Picture(621, 417)), want);
    EXPECT_EQ(ChangedAreas(Picture(620, 417), Picture(621, 417)), want);
}

TEST(ChangedAreas, ChangedTilesJoinedAlongRowsAndDown) {
    const struct {
        const char* what;
        std::vector<std::pair<int, int>> changed; // pixels
        std::vector<Area> areas;
    } cases[] = {
        {"one pixel: its tile", {{40, 70}}, {{32, 64, 32, 32}}},
        {"two tiles apart on one row", {{0, 0}, {100, 5}}, {{0, 0, 32, 32}, {96, 0, 32, 32}}},
        {"neighbouring tiles: one area", {{31, 0}, {32, 0}}, {{0, 0, 64, 32}}},
        {"the same span on rows below: one tall area",
         {{40, 0}, {40, 40}, {40, 80}},
         {{32, 0, 32, 96}}},
        {"different spans stay apart", {{40, 0}, {80, 40}}, {{32, 0, 32, 32}, {64, 32, 32, 32}}},
        {"the last tiles are cut at the picture's edge", {{620, 416}}, {{608, 416, 13, 1}}},
    };
    for (const auto& c : cases) {
        const FrameBuffer before = Picture(621, 417);
        FrameBuffer after = before;
        for (const auto& [x, y] : c.changed)
            after.at(x, y) = 0xFFFFFF;
        EXPECT_EQ(ChangedAreas(before, after), c.areas) << c.what;
    }
}

TEST(ChangedAreas, CopiedAreasMakeThePicturesEqual) {
    FrameBuffer shown = Picture(200, 100);
    FrameBuffer now = shown;
    for (int i = 0; i < 100; ++i)
        now.at((i * 37) % 200, (i * 11) % 100) = Pixel(i);
    for (const Area& a : ChangedAreas(shown, now))
        CopyArea(now, a, shown);
    EXPECT_EQ(shown.pixels, now.pixels);
}

TEST(ChangedWithin, ComposedAreasNarrowedToWhatChanged) {
    const struct {
        const char* what;
        std::vector<std::pair<int, int>> changed; // pixels
        std::vector<ClipRect> composed;
        std::vector<Area> areas;
    } cases[] = {
        {"composed again the same: nothing", {}, {{0, 0, 64, 64}}, {}},
        {"one pixel of a composed area", {{10, 12}}, {{8, 8, 32, 32}}, {{10, 12, 1, 1}}},
        {"two pixels: the rows and columns between them",
         {{9, 30}, {20, 9}},
         {{8, 8, 32, 32}},
         {{9, 9, 12, 22}}},
        {"each area on its own; one beyond the picture cut at its edge",
         {{1, 1}, {199, 99}},
         {{0, 0, 8, 8}, {192, 96, 208, 104}},
         {{1, 1, 1, 1}, {199, 99, 1, 1}}},
        {"a change outside every area composed is not looked for", {{50, 50}}, {{0, 0, 8, 8}}, {}},
    };
    for (const auto& c : cases) {
        const FrameBuffer shown = Picture(200, 100);
        FrameBuffer now = shown;
        for (const auto& [x, y] : c.changed)
            now.at(x, y) = 0xFFFFFF;
        EXPECT_EQ(ChangedWithin(shown, now, c.composed), c.areas) << c.what;
    }
}

// A screen buffer with room to spare at the end of every row, as real ones have.
struct Screen {
    Screen(int w, int h, std::uint32_t opaque = 0)
        : w(w), h(h), pitchPixels(w + 3), data(std::size_t(pitchPixels) * h, 0xDEADBEEF) {
        pixels = {data.data(), w, h, pitchPixels * 4, opaque};
    }
    std::uint32_t at(int x, int y) const { return data[std::size_t(y) * pitchPixels + x]; }
    int w, h, pitchPixels;
    std::vector<std::uint32_t> data;
    ScreenPixels pixels;
};

FrameBuffer Numbered(int w, int h) {
    FrameBuffer f = Picture(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            f.at(x, y) = Pixel(0x10000 * (x + 1) + y + 1);
    return f;
}

TEST(Paint, EveryPixelBecomesASquareAtItsPlaceAndTheRestIsBlack) {
    const FrameBuffer picture = Numbered(3, 2);
    Screen screen(9, 7, 0xFF000000);
    const PictureLayout layout{2, 1, 2};
    PaintAll(picture, layout, screen.pixels);
    for (int y = 0; y < screen.h; ++y)
        for (int x = 0; x < screen.w; ++x) {
            const int px = (x - 1) / 2, py = (y - 2) / 2;
            const bool on = x >= 1 && y >= 2 && px < 3 && py < 2;
            const std::uint32_t want = on ? (0xFF000000 | picture.at(px, py)) : 0xFF000000;
            EXPECT_EQ(screen.at(x, y), want) << x << ", " << y;
        }
    // Nothing is written beyond a row's pixels.
    EXPECT_EQ(screen.data[screen.w], 0xDEADBEEF);
}

TEST(Paint, AnAreaTouchesOnlyItsOwnSquaresClippedToTheScreen) {
    const FrameBuffer picture = Numbered(4, 4);
    Screen screen(7, 7); // the picture at 2x would need 8 x 8
    PaintArea(picture, {2, 2, 2, 2}, {2, 0, 0}, screen.pixels);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 7; ++x) {
            const bool inArea = x >= 4 && y >= 4;
            EXPECT_EQ(screen.at(x, y), inArea ? picture.at(x / 2, y / 2) : 0xDEADBEEF)
                << x << ", " << y;
        }
    EXPECT_EQ(screen.data[7], 0xDEADBEEF); // the spare pixels after the clipped row
    const Area on = OnScreen({2, 2, 2, 2}, {3, 10, 20});
    EXPECT_EQ(on, (Area{16, 26, 6, 6}));
}

TEST(PresentPace, NoMorePicturesThanTheScreenRefreshes) {
    PresentPace unknown;
    EXPECT_TRUE(unknown.due(5));
    unknown.presented(5);
    EXPECT_TRUE(unknown.due(5)); // no rate: no limit

    PresentPace pace(60);        // a period of 17 whole milliseconds, never shorter than 1/60 s
    EXPECT_TRUE(pace.due(1000)); // the first picture at once
    pace.presented(1000);
    EXPECT_FALSE(pace.due(1016));
    EXPECT_EQ(pace.waitMs(1010), 7);
    EXPECT_TRUE(pace.due(1017));
    EXPECT_EQ(pace.waitMs(1500), 0);

    pace.presented(0xFFFFFFF8u); // the clock wraps after 49 days
    EXPECT_FALSE(pace.due(8));
    EXPECT_TRUE(pace.due(9));

    PresentPace fast(144);
    fast.presented(0);
    EXPECT_FALSE(fast.due(6));
    EXPECT_TRUE(fast.due(7));
}

} // namespace
