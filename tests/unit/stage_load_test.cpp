// LoadRound: the file it looks for, what it says when the file is missing or unsound, and that
// the previous stage then stays exactly as it was.
#include "harness.h"
#include "tests/fixtures/stage_fixture.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <unistd.h>

using stage_test::AppFolder;
using stage_test::Encode;
using stage_test::GridAt;
using stage_test::OpenGame;
using stage_test::Rec;

namespace {

const std::vector<RoundRecord> kSmallRound = {Rec("ROUNDRANGE", {10, 6, 0x00FF00, -1, 77}),
                                              Rec("ROCK", {0, 5, 9, 5, 2}),
                                              Rec("MYSHIP", {2, 1}),
                                              Rec("GOAL", {4, 4}),
                                              Rec("ENERGY", {7, 2}),
                                              Rec("RESQ", {1, 4}),
                                              Rec("ENEMY1", {5, 1, 1, 2})};

// Everything a load can change, to compare before and after one that must change nothing.
struct StageSnapshot {
    CollisionGrid grid;
    std::vector<std::uint32_t> handles;
    platform::Surface playfield;
    float screenWidth, screenHeight;
    std::string roundCaption;
    std::vector<Long> numbers;

    static StageSnapshot Take() {
        FMain& f = fMain();
        StageSnapshot s{Grid,
                        {},
                        f.pScreen.surface(),
                        f.pScreen.width(),
                        f.pScreen.height(),
                        f.lRound.caption(),
                        {}};
        for (SpriteArray* array : {&f.pRock, &f.pEnergy, &f.pEnemy, &f.pResq})
            for (int i = 0; i < array->Count(); ++i)
                s.handles.push_back((*array)[i].handle() ^ ((*array)[i].visible() ? 1u << 31 : 0));
        s.numbers = {RangeLeft,
                     RangeTop,
                     RangeWidth,
                     RangeHeight,
                     TimeLeft,
                     Long(f.iRocket.left()),
                     Long(f.iRocket.top()),
                     Long(f.pGoal.left()),
                     Long(f.pGoal.top()),
                     Long(f.sRange.width()),
                     Long(Enemies.size()),
                     Long(Rescues.size()),
                     RescuedCount};
        return s;
    }
    void expectSameAs(const StageSnapshot& o) const {
        EXPECT_TRUE(grid == o.grid);
        EXPECT_EQ(handles, o.handles);
        EXPECT_TRUE(playfield == o.playfield);
        EXPECT_EQ(screenWidth, o.screenWidth);
        EXPECT_EQ(screenHeight, o.screenHeight);
        EXPECT_EQ(roundCaption, o.roundCaption);
        EXPECT_EQ(numbers, o.numbers);
    }
};

TEST(LoadRound, BuildsTheFileOfTheRoundAndShowsItsNumber) {
    AppFolder folder;
    folder.writeRound(3, kSmallRound);
    auto run = test::RunHeadless(test::Options(), [&] {
        OpenGame(folder);
        const Long n = 3;
        LoadRound(n);
        EXPECT_EQ(n, 3);
        EXPECT_EQ(fMain().lRound.caption(), "3");
        EXPECT_EQ(TimeLeft, 77);
        EXPECT_EQ(EnemyCount, 1);
        EXPECT_EQ(RescueCount, 1);
        EXPECT_EQ(fMain().pEnergy.Count(), 2);
    });
    const auto loads = run.events("load");
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_NE(loads[0].find("\"round\":3,\"ok\":true"), std::string::npos) << loads[0];
    EXPECT_EQ(loads[0].find("error"), std::string::npos);
    EXPECT_TRUE(run.events("msgbox").empty());
}

TEST(LoadRound, LooksUpTwoDigitRoundsWithoutPadding) {
    AppFolder folder;
    folder.writeRound(12, kSmallRound);
    test::RunHeadless(test::Options(), [&] {
        OpenGame(folder);
        LoadRound(12);
        EXPECT_EQ(fMain().lRound.caption(), "12");
        EXPECT_EQ(TimeLeft, 77);
    });
}

// Loads round 1, then round 2, which must be refused: the stage of round 1 stands exactly as it
// was, and the object counts are emptied (before the file is even looked for). The run's trace
// is the caller's to look at.
test::Run RefuseSecondRound(const AppFolder& folder) {
    return test::RunHeadless(test::Options(), [&] {
        OpenGame(folder);
        LoadRound(1);
        const auto before = StageSnapshot::Take();
        LoadRound(2);
        StageSnapshot::Take().expectSameAs(before);
        EXPECT_EQ(EnemyCount, 0);
        EXPECT_EQ(RescueCount, 0);
    });
}

TEST(LoadRound, MissingFileSaysSoAndKeepsTheStage) {
    AppFolder folder;
    folder.writeRound(1, kSmallRound);
    const auto run = RefuseSecondRound(folder);
    const auto boxes = run.events("msgbox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("\"text\":\"ラウンドデータがありません\",\"title\":\"Vexaro!!\""),
              std::string::npos)
        << boxes[0];
    const auto loads = run.events("load");
    ASSERT_EQ(loads.size(), 2u);
    EXPECT_NE(loads[1].find("\"round\":2,\"ok\":false,\"error\":\"ラウンドデータがありません\""),
              std::string::npos)
        << loads[1];
}

// A count of 0, or a negative one, builds an empty stage; records after a negative count are
// not read.
TEST(LoadRound, EmptyRoundClearsGridAndSpritesButKeepsThePicture) {
    for (const std::int32_t count : {0, -1, INT_MIN}) {
        AppFolder folder;
        folder.writeRound(1, kSmallRound);
        folder.writeBytes(2, EncodeRoundFile(count, {Rec("ROUNDRANGE", {5, 5})}));
        const auto run = test::RunHeadless(test::Options(), [&] {
            OpenGame(folder);
            LoadRound(1);
            const platform::Surface picture = fMain().pScreen.surface();
            const float width = fMain().pScreen.width();
            LoadRound(2);
            for (int i = 0; i < kGridSize * kGridSize; ++i)
                ASSERT_EQ(Grid[i], kGridOutside) << count;
            FMain& f = fMain();
            for (SpriteArray* array : {&f.pRock, &f.pEnergy, &f.pEnemy, &f.pResq})
                EXPECT_EQ(array->Count(), 1) << array->name();
            EXPECT_TRUE(f.pScreen.surface() == picture);
            EXPECT_EQ(f.pScreen.width(), width);
            EXPECT_EQ(f.lRound.caption(), "2");
        });
        EXPECT_TRUE(run.events("msgbox").empty()) << count;
    }
}

// Every kind of unsound file: one message naming the file and its fault, the same text in the
// trace, and the previous stage exactly as it was.
struct RejectCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
    const char* fault;
};

class RejectedRound : public ::testing::TestWithParam<RejectCase> {};

TEST_P(RejectedRound, KeepsThePreviousStage) {
    const RejectCase& c = GetParam();
    AppFolder folder;
    folder.writeRound(1, kSmallRound);
    folder.writeBytes(2, c.bytes);
    const auto run = RefuseSecondRound(folder);
    const auto boxes = run.events("msgbox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("rnd_dat/R2.dat.rnd"), std::string::npos) << boxes[0];
    EXPECT_NE(boxes[0].find(c.fault), std::string::npos) << boxes[0];
    const auto loads = run.events("load");
    ASSERT_EQ(loads.size(), 2u);
    EXPECT_NE(loads[1].find("\"ok\":false"), std::string::npos);
    // The trace carries the very text of the message box.
    const auto text = [](const std::string& line, const char* key) {
        const auto at = line.find(std::string("\"") + key + "\":\"") + std::strlen(key) + 4;
        return line.substr(at, line.find('"', at) - at);
    };
    EXPECT_EQ(text(loads[1], "error"), text(boxes[0], "text"));
}

std::vector<std::uint8_t> Truncated(std::vector<std::uint8_t> bytes, std::size_t n) {
    bytes.resize(n);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RejectedRound,
    ::testing::Values(
        RejectCase{"empty", {}, "レコード数の途中"},
        RejectCase{"endsEarly", Truncated(Encode(kSmallRound), 270), "数値の途中"},
        RejectCase{"rangeTooWide", Encode({Rec("ROUNDRANGE", {225, 10})}), "幅 225"},
        RejectCase{"tooMuchPainting",
                   Encode(std::vector<RoundRecord>(65, Rec("ROUNDRANGE", {10, 10, 0, -1}))),
                   "描画が 3775200 セル分"},
        RejectCase{"rockOffGrid",
                   Encode({Rec("ROUNDRANGE", {10, 10}), Rec("ROCK", {0, 0, 300, 0, 1})}),
                   "列 x2 = 300"},
        RejectCase{"badTile", Encode({Rec("BMPBOX", {0, 0, 0, 0, 0, 0})}), "タイル番号 0"},
        RejectCase{"badLeg", Encode({Rec("ENEMY4", {0, 0, 7, 1})}), "最初の向き 7"},
        // A sound record before the fault must not have been built either.
        RejectCase{
            "faultAfterGoodRecords",
            Encode({Rec("ROUNDRANGE", {30, 30}), Rec("ENERGY", {1, 1}), Rec("MYSHIP", {0, 999})}),
            "行 y = 999"}),
    [](const auto& info) { return std::string(info.param.name); });

// Loads round 1, then round 2, which is refused with one message holding `fault`.
void ExpectSecondRoundRefused(const AppFolder& folder, const std::string& fault) {
    const auto boxes = RefuseSecondRound(folder).events("msgbox");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find(fault), std::string::npos) << boxes[0];
}

// Round 2's name taken by something that cannot be read as a file: a message, never an abort.
struct UnreadableCase {
    const char* name;
    void (*make)(const std::string& path);
    const char* fault;
};
VEXARO_PRINT_CASE_BY_NAME(UnreadableCase)

class UnreadableRound : public ::testing::TestWithParam<UnreadableCase> {};

TEST_P(UnreadableRound, IsRefusedAndKeepsThePreviousStage) {
    AppFolder folder;
    folder.writeRound(1, kSmallRound);
    GetParam().make(folder.roundPath(2));
    ExpectSecondRoundRefused(folder, GetParam().fault);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, UnreadableRound,
    ::testing::Values(
        UnreadableCase{"folder", [](const std::string& p) { std::filesystem::create_directory(p); },
                       "ファイルではありません"},
        UnreadableCase{
            "device", [](const std::string& p) { std::filesystem::create_symlink("/dev/zero", p); },
            "ファイルではありません"},
        // A plain file whose every read fails with an I/O error, as a failing disk's would.
        UnreadableCase{
            "readFails",
            [](const std::string& p) { std::filesystem::create_symlink("/proc/self/mem", p); },
            "ファイルの読み取りに失敗しました"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LoadRound, AFileWithoutReadPermissionIsRefused) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
    AppFolder folder;
    folder.writeRound(1, kSmallRound);
    folder.writeRound(2, kSmallRound);
    std::filesystem::permissions(folder.roundPath(2), std::filesystem::perms::none);
    ExpectSecondRoundRefused(folder, "開けません");
}

TEST(LoadRound, SkipsRecordsOfOtherKeywordsAndReadsOnInStep) {
    AppFolder folder;
    folder.writeRound(1, {Rec("ROUNDRANGE", {10, 10}), Rec("Rock", {0, 0, 9, 9, 1}),
                          Rec("ROCK ", {0, 0, 9, 9, 1}), Rec("ENEMY6", {1, 1, 1, 1}),
                          Rec(std::string(300, '\xA5'), {1, 2, 3, 4, 5, 6, 7, 8}),
                          Rec("GOAL", {3, 4})});
    test::RunHeadless(test::Options(), [&] {
        OpenGame(folder);
        LoadRound(1);
        FMain& f = fMain();
        EXPECT_EQ(f.pRock.Count(), 2); // the ground block only
        EXPECT_EQ(EnemyCount, 0);
        EXPECT_EQ(GridAt(9, 7), kGridOpen);
        EXPECT_EQ(f.pGoal.left(), float((288 + 96) * TwipsX));
        EXPECT_EQ(f.pGoal.top(), float((224 + 128) * TwipsY));
    });
}

TEST(LoadRound, ReloadingRestartsTheNumberingAndLeavesTheOldSpritesGone) {
    AppFolder folder;
    folder.writeRound(1, kSmallRound);
    test::RunHeadless(test::Options(), [&] {
        OpenGame(folder);
        LoadRound(1);
        FMain& f = fMain();
        const std::uint32_t oldRock = f.pRock[2].handle();
        const std::size_t children = f.pScreen.children().size();
        LoadRound(1);
        EXPECT_EQ(f.pRock.Count(), 3);
        EXPECT_EQ(f.pEnemy.Count(), 2);
        EXPECT_NE(f.pRock[2].handle(), oldRock);
        EXPECT_EQ(f.pScreen.children().size(), children);
        EXPECT_EQ(Enemies[0].Sprite, 1);
        EXPECT_EQ(Rescues[0].Sprite, 1);
    });
}

} // namespace
