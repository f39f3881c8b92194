// The SDL sound player, rendered through SDL's disk audio driver: every sound of the game is
// audible and of its intended length, and the player behaves as the game expects (a new effect
// cuts the old one, a synchronous effect blocks, the music channel opens and closes, bad files
// are skipped quietly).
#include "platform/desktop.h"
#include "platform/sdl/sound_sdl.h"
#include "platform/sound.h"
#include "sound_measures.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace soundtest;
using platform::desktop::mciSendString; // the desktop's player itself, without the game's door
using platform::desktop::sndPlaySound;

const std::string kSounds = VEXARO_SOUND_DIR;

std::string SoundPath(const char* name) {
    return kSounds + "/" + name;
}

// Opens the player on the disk driver, which writes the mix to a file: as fast as the machine
// can (for measuring what is heard) or at the pace of a real device (for timing behaviour).
class DiskAudio {
  public:
    enum Pace { Fast, RealTime };

    explicit DiskAudio(Pace pace) {
        std::string pattern = (fs::temp_directory_path() / "vexaro-audio-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) folder_ = pattern;
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", (folder_ / "mix.raw").c_str(), 1);
        if (pace == Fast)
            setenv("SDL_DISKAUDIODELAY", "0", 1);
        else
            unsetenv("SDL_DISKAUDIODELAY");
        opened_ = platform::sdl::OpenAudio();
        Uint16 format = 0;
        if (opened_) Mix_QuerySpec(&rate_, &format, &channels_);
        sixteenBit_ = format == AUDIO_S16SYS;
    }
    ~DiskAudio() {
        platform::sdl::CloseAudio();
        fs::remove_all(folder_);
    }
    bool Ready() const { return opened_ && sixteenBit_ && !folder_.empty(); }
    const fs::path& Folder() const { return folder_; }

    // Closes the device and returns everything it played.
    Wave Finish() {
        platform::sdl::CloseAudio();
        const auto bytes = ReadBytes((folder_ / "mix.raw").string());
        return FromRaw16(bytes.value_or(""), channels_, rate_);
    }

  private:
    fs::path folder_;
    bool opened_ = false;
    bool sixteenBit_ = false;
    int rate_ = 0;
    int channels_ = 0;
};

// Waits until the player is quiet, at most `limitMs` of wall time.
template <typename Playing>
bool WaitWhile(Playing playing, Uint32 limitMs) {
    const Uint32 start = SDL_GetTicks();
    while (playing()) {
        if (SDL_GetTicks() - start > limitMs) return false;
        SDL_Delay(1);
    }
    return true;
}

bool WaveChannelPlaying() {
    return Mix_Playing(-1) != 0;
}

bool MusicPlaying() {
    return platform::sdl::MusicPlaying();
}

Wave RenderEffect(const char* name) {
    DiskAudio audio(DiskAudio::Fast);
    EXPECT_TRUE(audio.Ready());
    EXPECT_TRUE(sndPlaySound(SoundPath(name), platform::SND_ASYNC));
    EXPECT_TRUE(WaitWhile(WaveChannelPlaying, 20000));
    return audio.Finish();
}

Wave RenderTune(const char* name) {
    DiskAudio audio(DiskAudio::Fast);
    EXPECT_TRUE(audio.Ready());
    EXPECT_EQ(mciSendString("open " + SoundPath(name) + " alias bgm"), 0);
    EXPECT_EQ(mciSendString("play bgm notify"), 0);
    EXPECT_TRUE(WaitWhile(MusicPlaying, 90000));
    return audio.Finish();
}

constexpr double kFloor = 0.003; // -50 dBFS: where a sound is taken to have ended

struct EffectCase {
    const char* name;
    double minSeconds, maxSeconds;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const EffectCase& c, std::ostream* out) {
    *out << c.name;
}

class AudibleEffect : public testing::TestWithParam<EffectCase> {};

TEST_P(AudibleEffect, SoundsLoudUnclippedAndForItsLength) {
    const EffectCase& c = GetParam();
    const Wave mix = RenderEffect(c.name);
    const Loudness heard = Measure(mix.mono, mix.rate, kFloor);
    EXPECT_GE(heard.end - heard.start, c.minSeconds);
    EXPECT_LE(heard.end - heard.start, c.maxSeconds);
    EXPECT_GT(ToDb(heard.peak), -6.0);
    EXPECT_GT(ToDb(heard.rms), -30.0);
    EXPECT_EQ(mix.clipped, 0);
}

INSTANTIATE_TEST_SUITE_P(Sounds, AudibleEffect,
                         testing::Values(EffectCase{"beep.wav", 0.1, 0.2},
                                         EffectCase{"get.wav", 0.2, 0.7},
                                         EffectCase{"thank.wav", 0.5, 1.5},
                                         EffectCase{"bomb.wav", 0.6, 1.5},
                                         EffectCase{"wave06.wav", 1.0, 2.0}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             return name.substr(0, name.find('.'));
                         });

TEST(AudibleMusic, GameTunePlaysForOverAMinuteWithoutGaps) {
    const Wave mix = RenderTune("dr.mid");
    const Loudness heard = Measure(mix.mono, mix.rate, kFloor);
    ASSERT_GE(heard.end - heard.start, 60.0);
    for (double rms : WindowRms(mix.mono, mix.rate, heard.start, heard.start + 60.0, 2.0))
        EXPECT_GT(ToDb(rms), -40.0) << "a quiet stretch in the first minute";
    EXPECT_GT(ToDb(heard.peak), -20.0);
    EXPECT_EQ(mix.clipped, 0);
    EXPECT_LT(ToDb(heard.peak), -1.0) << "no headroom left for the effects";
    // The tune stops where the file says it does.
    const auto midi = ParseMidi(ReadBytes(SoundPath("dr.mid")).value_or(""));
    ASSERT_TRUE(midi.has_value());
    EXPECT_NEAR(heard.end - heard.start, midi->lastNoteOff, 3.0);
}

TEST(AudibleMusic, FanfareIsAFewLoudSeconds) {
    const Wave mix = RenderTune("fanfa4.mid");
    const Loudness heard = Measure(mix.mono, mix.rate, kFloor);
    EXPECT_GE(heard.end - heard.start, 5.0);
    EXPECT_LE(heard.end - heard.start, 9.5);
    EXPECT_GT(ToDb(heard.peak), -20.0);
    EXPECT_GT(ToDb(heard.rms), -35.0);
    EXPECT_EQ(mix.clipped, 0);
    EXPECT_LT(ToDb(heard.peak), -1.0) << "no headroom left for the effects";
}

TEST(SoundPlayer, NewEffectCutsThePreviousOne) {
    DiskAudio audio(DiskAudio::RealTime);
    ASSERT_TRUE(audio.Ready());
    ASSERT_TRUE(sndPlaySound(SoundPath("bomb.wav"), platform::SND_ASYNC));
    ASSERT_TRUE(sndPlaySound(SoundPath("beep.wav"), platform::SND_ASYNC));
    ASSERT_TRUE(WaitWhile(WaveChannelPlaying, 5000));
    const Wave mix = audio.Finish();
    const Loudness heard = Measure(mix.mono, mix.rate, kFloor);
    EXPECT_LT(heard.end - heard.start, 0.4) << "the explosion went on under the beep";
    // What remains is the 880 Hz beep.
    const double middle = (heard.start + heard.end) / 2;
    EXPECT_NEAR(CrossingRate(mix.mono, mix.rate, middle - 0.03, middle + 0.03), 1760.0, 100.0);
}

TEST(SoundPlayer, SynchronousEffectBlocksUntilItHasEnded) {
    DiskAudio audio(DiskAudio::RealTime);
    ASSERT_TRUE(audio.Ready());
    ASSERT_TRUE(sndPlaySound(SoundPath("get.wav"), platform::SND_ASYNC));
    EXPECT_TRUE(WaveChannelPlaying()) << "an asynchronous effect plays on after the call";
    const Uint32 start = SDL_GetTicks();
    ASSERT_TRUE(sndPlaySound(SoundPath("beep.wav"), platform::SND_SYNC));
    const Uint32 elapsed = SDL_GetTicks() - start;
    EXPECT_FALSE(WaveChannelPlaying());
    EXPECT_GE(elapsed, 100u) << "the beep lasts 150 ms";
    EXPECT_LT(elapsed, 3000u);
}

TEST(SoundPlayer, MusicChannelOpensPlaysAndCloses) {
    DiskAudio audio(DiskAudio::Fast);
    ASSERT_TRUE(audio.Ready());
    // A folder with a space in its name: the path comes unquoted inside the command.
    const fs::path spaced = audio.Folder() / "my music";
    fs::create_directories(spaced);
    fs::copy_file(SoundPath("fanfa4.mid"), spaced / "fanfa4.mid");
    const std::string open = "open " + (spaced / "fanfa4.mid").string() + " alias bgm";

    EXPECT_NE(mciSendString("status bgm mode"), 0) << "nothing is open yet";
    EXPECT_NE(mciSendString("play bgm notify"), 0);
    EXPECT_NE(mciSendString("close bgm"), 0);
    ASSERT_EQ(mciSendString(open), 0);
    EXPECT_EQ(mciSendString("status bgm mode"), 0);
    EXPECT_NE(mciSendString(open), 0) << "the alias is taken until it is closed";
    EXPECT_EQ(mciSendString("play bgm notify"), 0);
    EXPECT_TRUE(MusicPlaying());
    EXPECT_EQ(mciSendString("close bgm"), 0);
    EXPECT_FALSE(MusicPlaying());
    EXPECT_NE(mciSendString("status bgm mode"), 0);
    // Closed, it opens again on another tune.
    EXPECT_EQ(mciSendString("open " + SoundPath("dr.mid") + " alias bgm"), 0);
    EXPECT_EQ(mciSendString("status bgm mode"), 0);
}

TEST(SoundPlayer, CommandsItDoesNotKnowAreRefused) {
    DiskAudio audio(DiskAudio::Fast);
    ASSERT_TRUE(audio.Ready());
    const std::string tune = SoundPath("dr.mid");
    for (const std::string& command :
         {std::string(""), std::string("status bgm"), std::string("status other mode"),
          "open " + tune, "open " + tune + " alias other", std::string("play other"),
          std::string("seek bgm to start"), std::string("pause bgm")})
        EXPECT_NE(mciSendString(command), 0) << "'" << command << "'";
    EXPECT_NE(mciSendString("status bgm mode"), 0);
}

TEST(SoundPlayer, MissingOrCorruptFilesAreSkippedWithoutAWord) {
    DiskAudio audio(DiskAudio::Fast);
    ASSERT_TRUE(audio.Ready());
    const fs::path folder = audio.Folder();
    const auto write = [&](const char* name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
        return (folder / name).string();
    };
    const std::string garbage(4000, '\x5A');
    const std::string tune = ReadBytes(SoundPath("dr.mid")).value_or("");
    ASSERT_GT(tune.size(), 100u);
    std::string badEvent = tune;
    badEvent[23] = '\xF4'; // the first event's status: one no file may hold
    const std::string tunes[] = {(folder / "missing.mid").string(),
                                 write("empty.mid", ""),
                                 write("noise.mid", garbage),
                                 write("cut.mid", tune.substr(0, tune.size() / 2)),
                                 write("header-only.mid", tune.substr(0, 14) + garbage),
                                 write("bad-event.mid", badEvent),
                                 (folder / "folder.mid").string(),
                                 (folder / "failing.mid").string()};
    fs::create_directory(folder / "folder.mid");
    // Every read of these fails with an I/O error, as on a failing disk.
    fs::create_symlink("/proc/self/mem", folder / "failing.mid");
    fs::create_symlink("/proc/self/mem", folder / "failing.wav");
    const std::string waves[] = {
        (folder / "missing.wav").string(), write("empty.wav", ""), write("noise.wav", garbage),
        write("cut.wav", ReadBytes(SoundPath("beep.wav")).value_or("").substr(0, 30)),
        (folder / "failing.wav").string()};

    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    for (const std::string& path : tunes) {
        EXPECT_NE(mciSendString("open " + path + " alias bgm"), 0) << path;
        EXPECT_NE(mciSendString("status bgm mode"), 0) << path;
    }
    for (const std::string& path : waves) {
        EXPECT_FALSE(sndPlaySound(path, platform::SND_SYNC)) << path;
        EXPECT_FALSE(sndPlaySound(path, platform::SND_ASYNC)) << path;
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(SoundPlayer, WithoutAnAudioDeviceEverythingIsSilentlyANoOp) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_FALSE(platform::sdl::OpenAudio());
    const Uint32 start = SDL_GetTicks();
    EXPECT_FALSE(sndPlaySound(SoundPath("bomb.wav"), platform::SND_SYNC));
    EXPECT_LT(SDL_GetTicks() - start, 500u) << "a silent game does not wait for sounds";
    EXPECT_NE(mciSendString("open " + SoundPath("dr.mid") + " alias bgm"), 0);
    EXPECT_NE(mciSendString("status bgm mode"), 0);
    EXPECT_NE(mciSendString("play bgm notify"), 0);
    platform::sdl::CloseAudio();
    platform::sdl::CloseAudio(); // closing twice is harmless
}

} // namespace
