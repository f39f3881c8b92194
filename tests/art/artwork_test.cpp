// The committed pictures: made by their generator, byte for byte, and shaped the way the game
// uses them.
#include "platform/assets.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string kAssets = VEXARO_ASSET_DIR "/";
constexpr platform::Pixel kWhite = 0xFFFFFF;
constexpr platform::Pixel kBlack = 0x000000;

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::shared_ptr<platform::Picture> Asset(const std::string& name) {
    auto picture = platform::ReadPng(kAssets + name);
    if (!picture) ADD_FAILURE() << name << " cannot be read";
    return picture;
}

bool Opaque(const platform::Picture& p, int x, int y) {
    return p.alphaAt(x, y) != 0;
}

// Runs the generator once into a fresh folder shared by the tests that compare its output.
class Generated : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = fs::temp_directory_path() / ("vexaro-art-" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        const std::string command = std::string("\"") + VEXARO_GEN_ART + "\" \"" +
                                    folder_.string() + "\" \"" + (folder_ / "sheet.png").string() +
                                    "\"";
        status_ = std::system(command.c_str());
    }
    static void TearDownTestSuite() { fs::remove_all(folder_); }

    static inline fs::path folder_;
    static inline int status_ = -1;
};

TEST_F(Generated, EveryCommittedPictureIsTheGeneratorsOutputByteForByte) {
    ASSERT_EQ(status_, 0);
    int compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kAssets)) {
        if (entry.path().extension() != ".png") continue;
        const fs::path name = fs::relative(entry.path(), kAssets);
        const fs::path made = folder_ / name;
        ASSERT_TRUE(fs::exists(made)) << name << " is not made any more";
        EXPECT_TRUE(Bytes(entry.path()) == Bytes(made))
            << name << " differs from what the generator draws; run "
            << "vexaro-gen-art assets docs/artwork.png and commit the result";
        ++compared;
    }
    EXPECT_GT(compared, 0);
}

TEST_F(Generated, EveryPictureMadeIsCommitted) {
    ASSERT_EQ(status_, 0);
    for (const auto& entry : fs::recursive_directory_iterator(folder_)) {
        if (!entry.is_regular_file()) continue;
        const std::string name = fs::relative(entry.path(), folder_).string();
        if (name == "sheet.png") continue;
        EXPECT_TRUE(fs::exists(kAssets + name)) << name << " is made but not in assets/";
    }
}

TEST_F(Generated, ContactSheetIsUpToDate) {
    ASSERT_EQ(status_, 0);
    EXPECT_TRUE(Bytes(VEXARO_CONTACT_SHEET) == Bytes(folder_ / "sheet.png"))
        << "docs/artwork.png is stale";
}

TEST(GeneratorUse, WithoutAFolderItExplainsItselfAndFails) {
    const std::string command = std::string("\"") + VEXARO_GEN_ART + "\" 2>/dev/null";
    const int status = std::system(command.c_str());
    ASSERT_NE(status, -1);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
}

struct Expected {
    const char* name;
    int width, height;
    bool ownTransparency; // icons and drawings; sheets and banners are opaque
};

const Expected kPictures[] = {
    {"pTitle.png", 256, 192, false},   {"panelTitle.png", 256, 192, false},
    {"pMsg0.png", 320, 128, false},    {"pMsg1.png", 320, 128, false},
    {"pMsg2.png", 320, 128, false},    {"pMsg3.png", 320, 128, false},
    {"pMsg4.png", 320, 128, false},    {"pMsg5.png", 320, 128, false},
    {"pRockDat.png", 32, 192, false},  {"pEnergyDat.png", 32, 64, false},
    {"pResqDat.png", 32, 64, false},   {"pMask.png", 32, 32, false},
    {"ship0.png", 32, 32, true},       {"ship1.png", 32, 32, true},
    {"ship2.png", 32, 32, true},       {"flame0.png", 32, 32, true},
    {"flame1.png", 32, 32, true},      {"flame2.png", 32, 32, true},
    {"explode0.png", 32, 32, true},    {"explode1.png", 32, 32, true},
    {"pEnemy0.png", 32, 32, false},    {"pEnergy0.png", 32, 32, false},
    {"pResq0.png", 32, 32, false},     {"pGoal.png", 64, 32, false},
    {"pCount0.png", 96, 96, false},    {"pCount1.png", 96, 96, false},
    {"pCount2.png", 96, 96, false},    {"pFunsha.png", 21, 332, false},
    {"pLast.png", 21, 332, false},     {"pEnding.png", 534, 400, false},
    {"aboutLogo.png", 420, 262, true}, {"handCursor.png", 32, 32, true},
};

class PictureShape : public ::testing::TestWithParam<Expected> {};

TEST_P(PictureShape, HasItsSizeAndItsKindOfTransparency) {
    const Expected& e = GetParam();
    const auto p = Asset(e.name);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->width(), e.width);
    EXPECT_EQ(p->height(), e.height);
    EXPECT_EQ(!p->alpha.empty(), e.ownTransparency);
}

INSTANTIATE_TEST_SUITE_P(Assets, PictureShape, ::testing::ValuesIn(kPictures),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             return name.substr(0, name.find('.'));
                         });

TEST(EndingCredits, AreTransparentAndAtLeastTwiceTheSceneInItsProportions) {
    const auto p = Asset("imgEnding.png");
    ASSERT_TRUE(p);
    EXPECT_GE(p->width(), 1050);
    EXPECT_GE(p->height(), 794);
    // Stretched over the 525 x 397 scene: other proportions would distort the lettering.
    EXPECT_EQ(p->width() * 397, p->height() * 525);
    EXPECT_FALSE(p->alpha.empty());
}

TEST(ShadeMask, IsBlackWhereXPlusYIsEvenAndWhiteWhereOdd) {
    const auto p = Asset("pMask.png");
    ASSERT_TRUE(p);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(p->pixels.get(x, y), (x + y) % 2 == 0 ? kBlack : kWhite)
                << "at " << x << "," << y;
}

class TwoPartSheet : public ::testing::TestWithParam<const char*> {};

// The stage composes the sprite as image XOR (mask AND NOT background): the sprite shows where
// the mask is black, and only pure white lets the background through where it is white.
TEST_P(TwoPartSheet, MaskIsBlackExactlyWhereThePictureIsNotWhite) {
    const auto p = Asset(GetParam());
    ASSERT_TRUE(p);
    int covered = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const platform::Pixel image = p->pixels.get(x, y);
            const platform::Pixel mask = p->pixels.get(x, 32 + y);
            ASSERT_TRUE(mask == kBlack || mask == kWhite)
                << "grey in the mask at " << x << "," << y;
            if (mask == kBlack) {
                EXPECT_NE(image, kWhite) << "pure white inside the figure at " << x << "," << y;
                ++covered;
            } else {
                EXPECT_EQ(image, kWhite) << "colour outside the mask at " << x << "," << y;
            }
        }
    EXPECT_GT(covered, 200) << "the figure is missing";
    EXPECT_EQ(p->pixels.get(0, 32), kWhite) << "the corner must let the background through";
}

// The same composition the stage makes: a snapshot of the background, the mask with SRCERASE,
// the picture with SRCINVERT.
TEST_P(TwoPartSheet, ComposedOverABackgroundShowsTheFigureWithTheBackgroundAroundIt) {
    const auto p = Asset(GetParam());
    ASSERT_TRUE(p);
    platform::Surface background(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            background.set(x, y, platform::Rgb(x * 8, 128 + y * 3, (x * y) & 255));
    platform::Surface sprite = background;
    platform::BitBlt(sprite, 0, 0, 32, 32, p->pixels, 0, 32, platform::SRCERASE);
    platform::BitBlt(sprite, 0, 0, 32, 32, p->pixels, 0, 0, platform::SRCINVERT);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const bool figure = p->pixels.get(x, 32 + y) == kBlack;
            ASSERT_EQ(sprite.get(x, y), figure ? p->pixels.get(x, y) : background.get(x, y))
                << "at " << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(Assets, TwoPartSheet, ::testing::Values("pEnergyDat.png", "pResqDat.png"),
                         [](const auto& info) {
                             std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

// The desktop's icons, one file per size: square plates with rounded corners (mostly clear),
// opaque inside, the ship on them.
TEST(DesktopIcons, OneSquarePlatePerSizeWithRoundCorners) {
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const auto p = Asset("icons/vexaro-" + std::to_string(size) + ".png");
        ASSERT_TRUE(p);
        EXPECT_EQ(p->width(), size);
        EXPECT_EQ(p->height(), size);
        ASSERT_FALSE(p->alpha.empty()) << size;
        const int last = size - 1;
        for (const auto& [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}})
            EXPECT_LT(p->alphaAt(x, y), 128) << size << ": corner " << x << "," << y;
        for (const auto& [x, y] : {std::pair{size / 2, 1}, {1, size / 2}, {size / 2, size / 2}})
            EXPECT_EQ(p->alphaAt(x, y), 255) << size << ": " << x << "," << y;
        // The ship's white hull is on it.
        bool white = false;
        for (int y = 0; y < size && !white; ++y)
            for (int x = 0; x < size && !white; ++x)
                white = p->pixels.get(x, y) == kWhite;
        EXPECT_TRUE(white || size < 48) << size; // the small ones are reduced, a little grey
    }
}

class Icon : public ::testing::TestWithParam<const char*> {};

TEST_P(Icon, HasTransparentCornersAroundItsFigure) {
    const auto p = Asset(GetParam());
    ASSERT_TRUE(p);
    ASSERT_FALSE(p->alpha.empty());
    const int w = p->width(), h = p->height();
    EXPECT_FALSE(Opaque(*p, 0, 0));
    EXPECT_FALSE(Opaque(*p, w - 1, 0));
    EXPECT_FALSE(Opaque(*p, 0, h - 1));
    EXPECT_FALSE(Opaque(*p, w - 1, h - 1));
    int opaque = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            opaque += Opaque(*p, x, y) ? 1 : 0;
    EXPECT_GT(opaque, 40);
}

INSTANTIATE_TEST_SUITE_P(Assets, Icon,
                         ::testing::Values("ship0.png", "ship1.png", "ship2.png", "flame0.png",
                                           "flame1.png", "flame2.png", "explode0.png",
                                           "explode1.png", "handCursor.png", "aboutLogo.png",
                                           "imgEnding.png"),
                         [](const auto& info) {
                             std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

bool RowHasInk(const platform::Picture& p, int y) {
    for (int x = 0; x < p.width(); ++x)
        if (Opaque(p, x, y)) return true;
    return false;
}

bool ColumnHasInk(const platform::Picture& p, int x) {
    for (int y = 0; y < p.height(); ++y)
        if (Opaque(p, x, y)) return true;
    return false;
}

// The main flame is drawn 32 pixels below the ship's top, the side flames 32 pixels beside
// it: each must start at the edge of its cell next to the ship, or it floats free of the nozzle.
TEST(Flames, StartAtTheEdgeNextToTheShip) {
    const auto right = Asset("flame0.png"), down = Asset("flame1.png"), left = Asset("flame2.png");
    ASSERT_TRUE(right && down && left);
    EXPECT_TRUE(ColumnHasInk(*right, 0));
    EXPECT_FALSE(ColumnHasInk(*right, 31));
    EXPECT_TRUE(RowHasInk(*down, 0));
    EXPECT_TRUE(ColumnHasInk(*left, 31));
    EXPECT_FALSE(ColumnHasInk(*left, 0));
}

TEST(HandCursor, PointsWithTheFingertipAtTheHotSpot) {
    const auto p = Asset("handCursor.png");
    ASSERT_TRUE(p);
    EXPECT_TRUE(Opaque(*p, 12, 1));
    EXPECT_FALSE(RowHasInk(*p, 0)) << "nothing reaches above the fingertip";
    EXPECT_FALSE(Opaque(*p, 9, 1));
    EXPECT_FALSE(Opaque(*p, 15, 1));
}

int Brightness(platform::Pixel c) {
    return int((c >> 16) & 255) + int((c >> 8) & 255) + int(c & 255);
}

TEST(RockTiles, LastTileRampsFromWhiteOnTheLeftToBlackOnTheRight) {
    const auto p = Asset("pRockDat.png");
    ASSERT_TRUE(p);
    const int top = 32 * 5;
    EXPECT_EQ(p->pixels.get(0, top), kWhite);
    EXPECT_EQ(p->pixels.get(31, top + 31), kBlack);
    for (int x = 1; x < 32; ++x)
        EXPECT_LE(Brightness(p->pixels.get(x, top + 7)), Brightness(p->pixels.get(x - 1, top + 7)));
}

class GaugeStrip : public ::testing::TestWithParam<const char*> {};

TEST_P(GaugeStrip, RunsFromWhiteAtTheTopToRedAtTheBottom) {
    const auto p = Asset(GetParam());
    ASSERT_TRUE(p);
    const platform::Pixel top = p->pixels.get(4, 0), bottom = p->pixels.get(10, 331);
    EXPECT_GT(Brightness(top), 3 * 230);
    EXPECT_GT(int((bottom >> 16) & 255), 200);
    EXPECT_LT(int((bottom >> 8) & 255), 60);
    EXPECT_LT(int(bottom & 255), 60);
}

INSTANTIATE_TEST_SUITE_P(Assets, GaugeStrip, ::testing::Values("pFunsha.png", "pLast.png"),
                         [](const auto& info) {
                             std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

} // namespace
