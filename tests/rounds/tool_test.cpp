// vexaro-rounds from the command line: the rounds of the repository both ways, check on broken
// files, compile errors, and the preview.
#include "platform/assets.h"
#include "stage/round_file.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Outcome {
    int status;
    std::string out;
};

// Runs the tool with the arguments (paths without quotes or blanks) and collects its output.
Outcome Tool(const std::string& args) {
    const std::string command = std::string(VEXARO_ROUNDS_TOOL) + " " + args + " 2>&1";
    Outcome o{-1, ""};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return o;
    std::array<char, 4096> buffer;
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        o.out.append(buffer.data(), n);
    const int raw = pclose(pipe);
    o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return o;
}

Bytes ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

class ToolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("vexaro-rounds-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string at(const std::string& name) const { return (dir_ / name).string(); }
    // The tool's status for compiling the worked example into `name` in the test's folder.
    int CompileWorkedExample(const std::string& name) const {
        return Tool("compile " VEXARO_SOURCE_DIR "/tests/fixtures/worked-example.txt " + at(name))
            .status;
    }
    fs::path dir_;
};

std::vector<fs::path> RepositoryRounds() {
    std::vector<fs::path> rounds;
    for (const auto& entry : fs::directory_iterator(VEXARO_SOURCE_DIR "/rounds"))
        if (entry.path().extension() == ".txt") rounds.push_back(entry.path());
    return rounds;
}

// Every round of the repository: compiled by the build, sound, and its dump compiles back to
// the same bytes.
TEST_F(ToolTest, RepositoryRoundsRoundTripAndPassTheCheck) {
    const auto rounds = RepositoryRounds();
    ASSERT_FALSE(rounds.empty());
    for (const fs::path& source : rounds) {
        const std::string name = source.stem().string();
        SCOPED_TRACE(name);
        const std::string compiled = at(name + ".dat.rnd");
        ASSERT_EQ(Tool("compile " + source.string() + " " + compiled).status, 0);
        EXPECT_EQ(ReadBytes(compiled),
                  ReadBytes(fs::path(VEXARO_BUILD_DIR) / "rnd_dat" / (name + ".dat.rnd")));
        const Outcome check = Tool("check " + compiled);
        EXPECT_EQ(check.status, 0) << check.out;
        EXPECT_EQ(check.out, "");

        const Outcome dump = Tool("dump " + compiled);
        ASSERT_EQ(dump.status, 0);
        std::ofstream(at(name + ".dump.txt")) << dump.out;
        ASSERT_EQ(Tool("compile " + at(name + ".dump.txt") + " " + at(name + ".again")).status, 0);
        EXPECT_EQ(ReadBytes(at(name + ".again")), ReadBytes(compiled));
    }
}

TEST_F(ToolTest, CheckPrintsOneLinePerFaultAndFailsForAnyBadFile) {
    auto rec = [](const char* keyword, std::array<std::int32_t, 8> p) {
        RoundRecord r;
        r.Keyword = keyword;
        r.Param = p;
        return r;
    };
    WriteBytes(at("good.rnd"), EncodeRoundFile(1, {rec("GOAL", {1, 1})}));
    WriteBytes(at("two.rnd"),
               EncodeRoundFile(2, {rec("ROCK", {0, 0, 0, 0, 9}), rec("ENEMY3", {0, 0, 5, 1})}));
    WriteBytes(at("short.rnd"), Bytes{1, 0});
    const Outcome good = Tool("check " + at("good.rnd"));
    EXPECT_EQ(good.status, 0);
    EXPECT_EQ(good.out, "");

    const Outcome all = Tool("check " + at("good.rnd") + " " + at("two.rnd") + " " +
                             at("short.rnd") + " " + at("missing.rnd"));
    EXPECT_EQ(all.status, 1);
    EXPECT_EQ(all.out,
              at("two.rnd") + ": レコード 1（ROCK）: タイル番号 9 が 1〜6 の範囲外です\n" +
                  at("two.rnd") + ": レコード 2（ENEMY3）: 最初の向き 5 が 0〜3 の範囲外です\n" +
                  at("short.rnd") + ": レコード数の途中でファイルが終わっています（2 バイト）\n" +
                  at("missing.rnd") + ": 読み込めません\n");
}

TEST_F(ToolTest, CompileErrorWritesNothing) {
    std::ofstream(at("bad.txt")) << "ROUNDRANGE 20 15\n# fine so far\nROCKS 1 2 3 4 5\n";
    const Outcome o = Tool("compile " + at("bad.txt") + " " + at("bad.rnd"));
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.out.find("bad.txt:line 3: unknown keyword \"ROCKS\""), std::string::npos) << o.out;
    EXPECT_FALSE(fs::exists(at("bad.rnd")));
    EXPECT_FALSE(fs::exists(at("bad.rnd.part")));
}

TEST_F(ToolTest, UsageForUnknownCommands) {
    EXPECT_EQ(Tool("").status, 2);
    EXPECT_EQ(Tool("frobnicate x").status, 2);
    EXPECT_EQ(Tool("compile only-one").status, 2);
}

// The worked example as the game builds it: the whole playfield with its sprites.
TEST_F(ToolTest, PreviewShowsTheWholePlayfield) {
    ASSERT_EQ(CompileWorkedExample("we.rnd"), 0);
    const Outcome o = Tool("preview " + at("we.rnd") + " " + at("we.png"));
    ASSERT_EQ(o.status, 0) << o.out;
    const auto picture = platform::ReadPng(at("we.png"));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width(), 1216);
    EXPECT_EQ(picture->height(), 928);
    const auto px = [&](int x, int y) { return picture->pixels.get(x, y); };
    EXPECT_EQ(px(288, 224 + 100), platform::Rgb(255, 255, 0)); // the range frame, left side
    EXPECT_EQ(px(1216 - 1, 10), platform::Rgb(128, 64, 64));   // the strip at the right
    // The pad between the rock masses is the goal picture, not the ground.
    const auto pad = platform::LoadPicture("pGoal.png");
    EXPECT_EQ(px(288 + 9 * 32 + 10, 224 + 14 * 32 + 10), pad->pixels.get(10, 10));
}

// The figures of a round without a replay: what its file holds.
TEST_F(ToolTest, StatsCountsWhatARoundHolds) {
    ASSERT_EQ(CompileWorkedExample("R3.dat.rnd"), 0);
    const Outcome o = Tool("stats " + at("R3.dat.rnd"));
    ASSERT_EQ(o.status, 0) << o.out;
    for (const char* line :
         {"round:              3\n", "size:               20 x 15 cells, 2 rocks\n",
          "capsules:           1\n", "people:             1\n",
          "enemies:            1 guard, 1 clockwise sentry, 1 loose block\n",
          "allowance:          120 s\n"})
        EXPECT_NE(o.out.find(line), std::string::npos) << line << o.out;
    EXPECT_EQ(o.out.find("flight time"), std::string::npos) << o.out;
}

// With a replay: the flight as the game plays it. Without keys after the start the ship falls
// from its cell onto the rock below and crashes; the preview draws its way down.
TEST_F(ToolTest, StatsAndPreviewFollowTheReplaysFlight) {
    ASSERT_EQ(CompileWorkedExample("R1.dat.rnd"), 0);
    std::ofstream(at("fall.txt")) << "1100 tap space\n9000 up space\n";
    const Outcome o = Tool("stats " + at("R1.dat.rnd") + " " + at("fall.txt"));
    ASSERT_EQ(o.status, 0) << o.out;
    EXPECT_NE(o.out.find("outcome:            crashed\n"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("pad in view:        no\n"), std::string::npos) << o.out;
    EXPECT_NE(o.out.find("taken:              0 capsules, 0 people\n"), std::string::npos) << o.out;

    const Outcome row = Tool("stats " + at("R1.dat.rnd") + " " + at("fall.txt") + " --row");
    ASSERT_EQ(row.status, 0) << row.out;
    EXPECT_EQ(row.out.rfind("| 1 | 20 × 15 | ", 0), 0u) << row.out;

    ASSERT_EQ(
        Tool("preview " + at("R1.dat.rnd") + " " + at("fall.png") + " " + at("fall.txt")).status,
        0);
    const auto picture = platform::ReadPng(at("fall.png"));
    ASSERT_TRUE(picture);
    // The ship's centre starts at the middle of range cell (2, 3) and falls straight down.
    const int x = 288 + 2 * 32 + 16;
    int dots = 0;
    for (int y = 224 + 3 * 32 + 16; y < 224 + 12 * 32; ++y)
        dots += picture->pixels.get(x, y) == platform::Rgb(0xFF, 0xE0, 0x40);
    EXPECT_GT(dots, 40);
}

TEST_F(ToolTest, StatsNamesWhatItCannotRead) {
    WriteBytes(at("bad.rnd"), Bytes{0x01, 0x00, 0x00, 0x00}); // a record promised, none there
    EXPECT_EQ(Tool("stats " + at("bad.rnd")).status, 1);
    ASSERT_EQ(CompileWorkedExample("R1.dat.rnd"), 0);
    const Outcome o = Tool("stats " + at("R1.dat.rnd") + " " + at("missing.txt"));
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.out.find("missing.txt: cannot read"), std::string::npos) << o.out;
    EXPECT_EQ(Tool("stats").status, 2);
}

TEST_F(ToolTest, PreviewRefusesAnUnsoundFile) {
    WriteBytes(at("bad.rnd"), Bytes{0x01, 0x00, 0x00, 0x00}); // a record promised, none there
    const Outcome o = Tool("preview " + at("bad.rnd") + " " + at("bad.png"));
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.out.find("収まりません"), std::string::npos);
    EXPECT_FALSE(fs::exists(at("bad.png")));
}

} // namespace
