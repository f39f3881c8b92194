// The committed sound files: that the generator still writes exactly them, and that each is the
// kind of file the game expects (format, length, level).
#include "sound_measures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace soundtest;

const std::string kCommitted = VEXARO_SOUND_DIR;
const char* const kAllFiles[] = {"beep.wav",   "get.wav", "thank.wav", "bomb.wav",
                                 "wave06.wav", "dr.mid",  "fanfa4.mid"};

fs::path FreshFolder() {
    std::string pattern = (fs::temp_directory_path() / "vexaro-sounds-XXXXXX").string();
    const char* made = mkdtemp(pattern.data());
    return made != nullptr ? fs::path(made) : fs::path();
}

TEST(GeneratedSounds, GeneratorWritesExactlyTheCommittedFiles) {
    const fs::path folder = FreshFolder();
    ASSERT_FALSE(folder.empty());
    const fs::path out = folder / "not-yet-there"; // the generator makes its folder
    const std::string command =
        std::string("\"") + VEXARO_GEN_SOUNDS + "\" \"" + out.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (const char* name : kAllFiles) {
        const auto fresh = ReadBytes((out / name).string());
        const auto committed = ReadBytes(kCommitted + "/" + name);
        ASSERT_TRUE(fresh.has_value()) << name << " was not generated";
        ASSERT_TRUE(committed.has_value()) << name << " is not committed";
        EXPECT_TRUE(*fresh == *committed)
            << name << " differs from the generator's output: regenerate assets/wav with "
            << "vexaro-gen-sounds";
    }
    fs::remove_all(folder);
}

struct EffectCase {
    const char* name;
    double minSeconds, maxSeconds;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const EffectCase& c, std::ostream* out) {
    *out << c.name;
}

class Effect : public testing::TestWithParam<EffectCase> {};

TEST_P(Effect, IsCleanSixteenBitMonoAtAboutMinusThreeDecibels) {
    const EffectCase& c = GetParam();
    const auto bytes = ReadBytes(kCommitted + "/" + c.name);
    ASSERT_TRUE(bytes.has_value());
    const auto wave = ParseWav(*bytes);
    ASSERT_TRUE(wave.has_value()) << "not a PCM wave file";
    EXPECT_EQ(wave->channels, 1);
    EXPECT_EQ(wave->bits, 16);
    EXPECT_TRUE(wave->rate == 44100 || wave->rate == 22050) << wave->rate;
    const double seconds = static_cast<double>(wave->mono.size()) / wave->rate;
    EXPECT_GE(seconds, c.minSeconds);
    EXPECT_LE(seconds, c.maxSeconds);
    const Loudness level = Measure(wave->mono, wave->rate, 0.001);
    EXPECT_NEAR(ToDb(level.peak), -3.0, 0.5);
    EXPECT_EQ(wave->clipped, 0);
    // Starting or stopping away from zero clicks.
    EXPECT_LT(std::abs(wave->mono.front()), 0.01);
    EXPECT_LT(std::abs(wave->mono.back()), 0.01);
}

INSTANTIATE_TEST_SUITE_P(Sounds, Effect,
                         testing::Values(EffectCase{"beep.wav", 0.12, 0.2},
                                         EffectCase{"get.wav", 0.2, 0.7},
                                         EffectCase{"thank.wav", 0.5, 1.5},
                                         EffectCase{"bomb.wav", 0.8, 1.5},
                                         EffectCase{"wave06.wav", 1.0, 2.0}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             return name.substr(0, name.find('.'));
                         });

TEST(GeneratedSounds, GameTuneIsAMinuteOfSeveralPartsWithDrums) {
    const auto bytes = ReadBytes(kCommitted + "/dr.mid");
    ASSERT_TRUE(bytes.has_value());
    const auto midi = ParseMidi(*bytes);
    ASSERT_TRUE(midi.has_value()) << "not a readable MIDI file";
    EXPECT_EQ(midi->format, 1);
    EXPECT_GE(midi->lastNoteOff, 60.0);
    EXPECT_LE(midi->seconds - midi->lastNoteOff, 3.0) << "long silence at the end";
    EXPECT_TRUE(midi->channelUsed[9]) << "no drums on channel 10";
    int melodic = 0;
    for (int channel = 0; channel < 16; ++channel)
        melodic += channel != 9 && midi->channelUsed[channel];
    EXPECT_GE(melodic, 3) << "melody, bass and harmony at least";
}

TEST(GeneratedSounds, FanfareIsAShortBrassPiece) {
    const auto bytes = ReadBytes(kCommitted + "/fanfa4.mid");
    ASSERT_TRUE(bytes.has_value());
    const auto midi = ParseMidi(*bytes);
    ASSERT_TRUE(midi.has_value()) << "not a readable MIDI file";
    EXPECT_EQ(midi->format, 1);
    EXPECT_GE(midi->lastNoteOff, 5.0);
    EXPECT_LE(midi->lastNoteOff, 8.0);
    int brass = 0;
    for (int program : midi->programs)
        brass += program >= 56 && program <= 63;
    EXPECT_GE(brass, 2) << "trumpets, horns or trombones";
}

} // namespace
