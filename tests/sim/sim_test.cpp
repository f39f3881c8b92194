// vexaro-sim as a player's machine runs it: pictures shot at the exact tick of a message step,
// and whole flights started at any value of the tick count.
#include "platform/assets.h"
#include "platform/trace.h"
#include "tests/fixtures/sim_process.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using sim_test::ReadLines;
using sim_test::TempPath;

const std::string kSource = VEXARO_SOURCE_DIR "/";
const std::string kRoundOne = kSource + "tests/replays/R1.txt";

// Runs vexaro-sim with the arguments and returns its trace.
std::vector<std::string> Sim(const std::string& args, const std::string& name) {
    return sim_test::PlaySim(VEXARO_SIM, args, name);
}

long long Field(const std::string& line, const std::string& key) {
    return platform::TraceField(line, key);
}

// --- The message plate -------------------------------------------------------------------------

// Where the plate and the countdown digits lie in a shot of the window (menu bar included).
constexpr int kMenuBar = 20;
constexpr int kPlateX = 262 - 160, kPlateY = kMenuBar + 198 - 64;
constexpr int kDigitX = 3217 / 15, kDigitY = kMenuBar + 64;
constexpr platform::Pixel kPlateBackColour = platform::Rgb(255, 255, 255);

// The first place where a shot differs from a picture laid at (x, y), or "" where none does.
std::string Mismatch(const platform::Picture& shot, const platform::Surface& want, int x, int y) {
    for (int row = 0; row < want.height(); ++row)
        for (int col = 0; col < want.width(); ++col)
            if (shot.pixels.get(x + col, y + row) != want.get(col, row))
                return "at (" + std::to_string(col) + ", " + std::to_string(row) + ")";
    return "";
}

struct Shown {
    long long t;
    std::string what; // the picture that must show at t + 1: "pMsg4.png", "pCount2.png"
    int x, y;
};

// Round 1 flown to the pad, then round 2 lost without a key until the game is over: every
// banner of a game's path comes up over the previous one's leftovers.
TEST(MessagePlate, ShowsItsBackColourUntilTheBannerIsCopiedIn) {
    const std::string args = "--round 1 --script " + kRoundOne + " --until idle";
    std::vector<Shown> shown;
    for (const std::string& line : Sim(args, "plate")) {
        if (platform::TraceIs(line, "message"))
            shown.push_back({Field(line, "t"), "pMsg" + std::to_string(Field(line, "n")) + ".png",
                             kPlateX, kPlateY});
        if (platform::TraceIs(line, "countdown"))
            shown.push_back({Field(line, "t"),
                             "pCount" + std::to_string(Field(line, "digit") - 1) + ".png", kDigitX,
                             kDigitY});
    }
    ASSERT_GE(shown.size(), 8u);

    std::string shots;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        for (int after = 0; after <= 1; ++after)
            shots += " --shot " + std::to_string(shown[i].t + after) + ":" +
                     TempPath(std::to_string(i) + "-" + std::to_string(after) + ".png");
    }
    Sim(args + shots, "plate-shots");

    const platform::Surface plate(320, 128, kPlateBackColour);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const Shown& s = shown[i];
        SCOPED_TRACE(s.what + " shown at tick " + std::to_string(s.t));
        const std::string during = TempPath(std::to_string(i) + "-0.png");
        const std::string after = TempPath(std::to_string(i) + "-1.png");
        const auto duringShot = platform::ReadPng(during);
        const auto afterShot = platform::ReadPng(after);
        std::remove(during.c_str());
        std::remove(after.c_str());
        ASSERT_TRUE(duringShot && afterShot);
        // The step that puts the plate up shows its back colour, never an earlier banner.
        if (s.what.rfind("pMsg", 0) == 0) {
            EXPECT_EQ(Mismatch(*duringShot, plate, s.x, s.y), "") << "the plate while it goes up";
        }
        // One step on, the picture itself, pixel for pixel.
        EXPECT_EQ(Mismatch(*afterShot, platform::LoadPicture(s.what)->pixels, s.x, s.y), "");
    }
}

// --- Flights at any tick count -----------------------------------------------------------------

struct StartCase {
    const char* name;
    std::uint32_t startTick;
};
void PrintTo(const StartCase& c, std::ostream* os) {
    *os << c.name;
}

class StartTick : public ::testing::TestWithParam<StartCase> {};

// The trace counts ticks from the run's start, so a flight started at any tick count gives the
// same trace as one started at 0, frame for frame: the first frame is never held back and the
// frame pace, the waits and the one-second timer cross the wrap of the count unharmed.
TEST_P(StartTick, FlightIsTheSameAsFromZero) {
    const std::vector<std::string> script = ReadLines(kRoundOne);
    ASSERT_FALSE(script.empty());
    const std::string args = "--round 1 --script " + kRoundOne + " --ticks " +
                             std::to_string(std::stoll(script.back()) + 300);
    static const std::vector<std::string> fromZero = Sim(args, "from-zero");
    const std::vector<std::string> trace =
        Sim(args + " --start-tick " + std::to_string(GetParam().startTick), GetParam().name);
    ASSERT_GT(fromZero.size(), 400u);
    EXPECT_EQ(trace, fromZero);
}

// Round 1's replay flies its first frame 4556 ticks after the start and lands 432 frames later.
INSTANTIATE_TEST_SUITE_P(
    Ticks, StartTick,
    ::testing::Values(StartCase{"zero", 0}, StartCase{"small", 7},
                      StartCase{"passes2pow31BeforeTheFirstFrame", 2147482000u},
                      StartCase{"justPast2pow31", 2147483648u + 100},
                      StartCase{"wrapsDuringTheCountdown", 4294967296u - 3000},
                      StartCase{"wrapsJustBeforeTheFirstFrame", 4294967296u - 4550},
                      StartCase{"wrapsInFlight", 4294967296u - 6000}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
