// Sounds, banners, the countdown, the explosion and the ending.
#include "core/random.h"
#include "events/gauges.h"
#include "events/presentation.h"
#include "harness.h"
#include "platform/assets.h"
#include "platform/sound.h"
#include "sound/sound.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using test::Field;

// A game folder whose wav/ holds copies of the game's own sounds under the given names.
std::string SoundFolder(const std::string& name,
                        const std::vector<std::pair<std::string, std::string>>& files) {
    const std::string dir = test::TempDir(name);
    std::string cmd = "mkdir -p '" + dir + "/wav'";
    for (const auto& [from, to] : files)
        cmd += " && cp '" + test::BuildDir() + "wav/" + from + "' '" + dir + "/wav/" + to + "'";
    EXPECT_EQ(std::system(cmd.c_str()), 0);
    return dir + "/";
}

TEST(SoundTest, MutedAndMissingDoNothingAndTakeNoTime) {
    const auto run = test::RunHeadless(test::Options(), [] {
        AppDir = test::BuildDir();
        const auto start = platform::GetTickCount();
        SoundOff = kTrue;
        PlaySoundFile("beep.wav", 0);
        PlaySoundFile("dr.mid", 1);
        SoundOff = kFalse;
        PlaySoundFile("nothing.wav", 0);
        PlaySoundFile("nothing.mid", 1);
        SoundOff = 1; // only -1 mutes
        PlaySoundFile("get.wav", 1);
        EXPECT_EQ(platform::GetTickCount(), start);
    });
    ASSERT_EQ(run.events("sound").size(), 1u);
    EXPECT_NE(run.events("sound")[0].find("get.wav"), std::string::npos);
    EXPECT_TRUE(run.events("music").empty());
}

// Sound files whose every read fails (an I/O error, as on a failing disk) are not heard and
// hold nothing up, like any other sound that cannot be played.
TEST(SoundTest, FilesThatFailToReadAreSilentAndTakeNoTime) {
    const std::string dir = test::TempDir("eiosound");
    std::filesystem::create_directory(dir + "/wav");
    for (const char* name : {"beep.wav", "dr.mid"})
        std::filesystem::create_symlink("/proc/self/mem", dir + "/wav/" + name);
    const auto run = test::RunHeadless(test::Options(), [&] {
        AppDir = dir + "/";
        const auto start = platform::GetTickCount();
        PlaySoundFile("beep.wav", 0);
        PlaySoundFile("dr.mid", 1);
        EXPECT_EQ(platform::GetTickCount(), start);
    });
    const auto music = run.events("music");
    ASSERT_FALSE(music.empty());
    EXPECT_NE(music[0].find("\"ok\":false"), std::string::npos) << music[0];
    std::filesystem::remove_all(dir);
}

TEST(SoundTest, SynchronousWaveHoldsTheClockForItsLength) {
    test::RunHeadless(test::Options(), [] {
        AppDir = test::BuildDir();
        auto start = platform::GetTickCount();
        PlaySoundFile("beep.wav", 0);
        EXPECT_EQ(platform::GetTickCount() - start, 150u);
        start = platform::GetTickCount();
        PlaySoundFile("bomb.wav", 1);
        EXPECT_EQ(platform::GetTickCount(), start);
    });
}

TEST(SoundTest, ExtensionDecidesTheWayInAnyLetterCase) {
    const std::string dir = SoundFolder("ext", {{"dr.mid", "a.MID"},
                                                {"dr.mid", "b.Mid"},
                                                {"dr.mid", "c.mid"},
                                                {"get.wav", "d.WAV"},
                                                {"get.wav", "e.rmi"}});
    const auto run = test::RunHeadless(test::Options(), [&] {
        AppDir = dir;
        for (const char* name : {"a.MID", "b.Mid", "c.mid", "d.WAV", "e.rmi"})
            PlaySoundFile(name, 1);
    });
    std::vector<std::string> music;
    for (const auto& line : run.events("music"))
        if (line.find("\"do\":\"open\"") != std::string::npos) music.push_back(line);
    ASSERT_EQ(music.size(), 3u);
    EXPECT_NE(music[0].find("a.MID"), std::string::npos);
    EXPECT_NE(music[2].find("c.mid"), std::string::npos);
    const auto waves = run.events("sound");
    ASSERT_EQ(waves.size(), 2u);
    EXPECT_NE(waves[1].find("e.rmi"), std::string::npos);
}

TEST(SoundTest, ASecondTuneClosesTheFirstAndMutingLeavesItPlaying) {
    const auto run = test::RunHeadless(test::Options(), [] {
        AppDir = test::BuildDir();
        PlaySoundFile("dr.mid", 1);
        PlaySoundFile("fanfa4.mid", 1);
        SoundOff = kTrue;
        PlaySoundFile("dr.mid", 1);
        EXPECT_EQ(platform::mciSendString("status bgm mode"), 0); // still open
    });
    std::vector<std::string> steps;
    for (const auto& line : run.events("music"))
        steps.push_back(line.substr(line.find("\"do\"")));
    EXPECT_EQ(steps,
              (std::vector<std::string>{"\"do\":\"open\",\"file\":\"dr.mid\",\"ok\":true}",
                                        "\"do\":\"play\",\"file\":\"dr.mid\"}",
                                        "\"do\":\"close\",\"file\":\"dr.mid\"}",
                                        "\"do\":\"open\",\"file\":\"fanfa4.mid\",\"ok\":true}",
                                        "\"do\":\"play\",\"file\":\"fanfa4.mid\"}"}));
}

TEST(SoundTest, ATuneThatCannotBeOpenedDoesNotPlay) {
    const std::string dir = SoundFolder("badmid", {{"get.wav", "bad.mid"}});
    const auto run = test::RunHeadless(test::Options(), [&] {
        AppDir = dir;
        PlaySoundFile("bad.mid", 1);
        EXPECT_NE(platform::mciSendString("status bgm mode"), 0);
    });
    EXPECT_EQ(run.events("music").size(), 1u); // the failed open, and no play
    EXPECT_TRUE(run.events("msgbox").empty());
}

struct CountCase {
    const char* name;
    bool withSound;
    std::uint32_t ticks;
};
VEXARO_PRINT_CASE_BY_NAME(CountCase)

class CountDownTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(CountDownTest, ThreeSecondsPlusTheBeeps) {
    const CountCase c = GetParam();
    const auto run = test::RunHeadless(test::Options(), [&] {
        test::OpenMainWindow();
        AppDir = c.withSound ? test::BuildDir() : "/nonexistent/";
        FMain& f = fMain();
        const auto start = platform::GetTickCount();
        CountDown();
        EXPECT_EQ(platform::GetTickCount() - start, c.ticks);
        for (int i = 0; i < 3; ++i) {
            EXPECT_FALSE(f.pCount[i].visible());
            EXPECT_EQ(f.pCount[i].left(), 3937 - 720);
            EXPECT_EQ(f.pCount[i].top(), 64 * 15);
        }
    });
    std::vector<long long> digits;
    for (const auto& line : run.events("countdown"))
        digits.push_back(Field(line, "digit"));
    EXPECT_EQ(digits, (std::vector<long long>{3, 2, 1}));
}

// Each step: a beep (150 ms when present) and a wait of 1000 ms (1001 message steps).
INSTANTIATE_TEST_SUITE_P(Sound, CountDownTest,
                         ::testing::Values(CountCase{"silent", false, 3 * 1001},
                                           CountCase{"beeps", true, 3 * (150 + 1001)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BannerTest, EachLandsCentredOnTheViewport) {
    test::RunHeadless(test::Options(), [] {
        test::OpenMainWindow();
        FMain& f = fMain();
        for (int n = 0; n <= 5; ++n) {
            ShowMessage(n);
            // Viewport centre (262, 198) pixels; the plate 320 x 128 around it.
            EXPECT_EQ(f.pMessage.left(), (262 - 160) * 15);
            EXPECT_EQ(f.pMessage.top(), (198 - 64) * 15);
            EXPECT_EQ(f.pMessage.width(), 320 * 15);
            EXPECT_EQ(f.pMessage.height(), 128 * 15);
            EXPECT_TRUE(f.pMessage.visible());
            EXPECT_EQ(f.form.children().back(), &f.pMessage); // in front of everything
            EXPECT_TRUE(f.pMessage.surface() == f.pMsg[n].surface()) << n;
            HideMessage();
        }
        // Moving the viewport moves the banner with it.
        f.pFrame.move(300, 150);
        ShowMessage(3);
        EXPECT_EQ(f.pMessage.left(), ((300 + 3937) / 15 - 160) * 15);
        EXPECT_EQ(f.pMessage.top(), ((150 + 2977) / 15 - 64) * 15);
    });
}

TEST(ExplosionTest, TwentyOneSquaresAlternatingFromSmoke) {
    std::vector<double> draws;
    for (int k = 0; k < 21; ++k) {
        draws.push_back((k % 7) / 7.0);
        draws.push_back(((k * 3) % 5) / 5.0);
    }
    const auto run = test::RunHeadless(test::Options(), [&] {
        test::OpenMainWindow();
        test::BuildFromRecords(
            {test::Record("ROUNDRANGE", {20, 15, 0, 0, 100}), test::Record("MYSHIP", {8, 6})});
        PrepareRoundView();
        FMain& f = fMain();
        f.iFunsha.show();
        QueueRandomDraws(draws);
        const auto start = platform::GetTickCount();
        ExplodeShip();
        EXPECT_FALSE(f.iRocket.visible());
        EXPECT_FALSE(f.iExplode[0].visible());
        EXPECT_FALSE(f.iExplode[1].visible());
        EXPECT_TRUE(f.iFunsha.visible()); // the flames are left alone
        EXPECT_EQ(platform::GetTickCount() - start, 21u * 31u);
    });
    const auto steps = run.events("explode");
    ASSERT_EQ(steps.size(), 21u);
    // The ship's centre: (288 + 8 * 32 + 16, 224 + 6 * 32 + 16) pixels.
    const double cx = (288 + 256 + 16) * 15.0, cy = (224 + 192 + 16) * 15.0;
    for (int k = 0; k < 21; ++k) {
        const std::string& line = steps[std::size_t(k)];
        const double s = 225.0 * k;
        EXPECT_EQ(Field(line, "image"), k % 2 == 0 ? 1 : 0) << k;
        EXPECT_EQ(Field(line, "size"), 2 * (240 + 225 * k)) << k; // 32 + 30k pixels
        const auto x = std::stod(line.substr(line.find("\"x\":") + 4));
        const auto y = std::stod(line.substr(line.find("\"y\":") + 4));
        EXPECT_NEAR(x, cx - s + draws[2 * std::size_t(k)] * 480, 0.01) << k;
        EXPECT_NEAR(y, cy - s + draws[2 * std::size_t(k) + 1] * 480, 0.01) << k;
    }
    EXPECT_EQ(Field(steps.back(), "size"), 632 * 15);
    ASSERT_EQ(run.events("sound").size(), 1u);
    EXPECT_NE(run.events("sound")[0].find("bomb.wav"), std::string::npos);
}

TEST(EndingTest, ScrollsFromTheBottomDarkensAndEndsTheGame) {
    std::vector<float> tops;
    auto options = test::Options();
    options.idle = [&tops] {
        if (fMainLoaded() && fMain().imgEnding.visible()) tops.push_back(fMain().imgEnding.top());
        return false;
    };
    platform::Surface before;
    const auto run = test::RunHeadless(options, [&] {
        test::OpenMainWindow();
        FMain& f = fMain();
        before = f.pEnding.surface();
        GameMode = kFlying;
        ShowEnding();
        EXPECT_EQ(GameMode, kNoGame);
        EXPECT_TRUE(f.pEnding.visible());
        EXPECT_TRUE(f.imgEnding.visible());
        EXPECT_FALSE(f.pFrame.visible());
        const auto& after = f.pEnding.surface();
        ASSERT_EQ(after.width(), 525);
        ASSERT_EQ(after.height(), 397);
        for (int y = 0; y < 397; ++y)
            for (int x = 0; x < 525; ++x) {
                const auto want = (x + y) % 2 == 0 ? 0u : before.get(x, y);
                ASSERT_EQ(after.get(x, y), want) << x << "," << y;
            }
    });
    ASSERT_FALSE(tops.empty());
    EXPECT_EQ(tops.front(), 5955);
    // The scroll's last step: the first top below 32 twips.
    float last = 0;
    for (float t : tops)
        if (t < 32) {
            last = t;
            break;
        }
    EXPECT_EQ(last, 3);
    EXPECT_EQ(run.events("ending").size(), 1u);
}

TEST(EndingTest, StopsTheTuneEvenMutedAndPlaysTheFanfareOnlyWithSound) {
    for (const Long muted : {kFalse, kTrue}) {
        const auto run = test::RunHeadless(test::Options(), [&] {
            test::OpenMainWindow();
            PlaySoundFile("dr.mid", 1);
            SoundOff = muted;
            ShowEnding();
        });
        std::vector<std::string> steps;
        for (const auto& line : run.events("music"))
            steps.push_back(line.substr(line.find("\"do\"")));
        std::vector<std::string> want = {"\"do\":\"open\",\"file\":\"dr.mid\",\"ok\":true}",
                                         "\"do\":\"play\",\"file\":\"dr.mid\"}",
                                         "\"do\":\"close\",\"file\":\"dr.mid\"}"};
        if (!muted) {
            want.push_back("\"do\":\"open\",\"file\":\"fanfa4.mid\",\"ok\":true}");
            want.push_back("\"do\":\"play\",\"file\":\"fanfa4.mid\"}");
            want.push_back("\"do\":\"close\",\"file\":\"fanfa4.mid\"}");
        }
        EXPECT_EQ(steps, want) << "muted " << muted;
    }
}

} // namespace
