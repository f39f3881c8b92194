// The round file reader on its own: the scrambling, the layout, and every fault it must refuse
// before anything of the stage changes.
#include "stage/round_file.h"
#include "tests/fixtures/stage_fixture.h"

#include <gtest/gtest.h>

#include <climits>

using stage_test::Encode;
using stage_test::Rec;

namespace {

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<std::uint8_t> out;
    for (int v : values)
        out.push_back(std::uint8_t(v));
    return out;
}

void AppendInt32(std::vector<std::uint8_t>& bytes, std::int32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(std::uint8_t(std::uint32_t(v) >> shift));
}

TEST(DecodeRoundString, XorsEveryByteWith5A) {
    const std::string scrambled = DecodeRoundString("ROUNDRANGE");
    EXPECT_EQ(scrambled, std::string("\x08\x15\x0F\x14\x1E\x08\x1B\x14\x1D\x1F"));
    EXPECT_EQ(DecodeRoundString(scrambled), "ROUNDRANGE");
    EXPECT_EQ(DecodeRoundString(""), "");
}

TEST(DecodeRoundString, IsItsOwnInverseForEveryByte) {
    std::string all;
    for (int c = 0; c < 256; ++c)
        all += char(c);
    const std::string once = DecodeRoundString(all);
    ASSERT_EQ(once.size(), 256u);
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(std::uint8_t(once[c]), std::uint8_t(c ^ 0x5A));
    EXPECT_EQ(DecodeRoundString(once), all);
}

TEST(KeywordFromText, MatchesExactlyAndCaseSensitively) {
    for (int i = 0; i < kRoundKeywordCount; ++i)
        EXPECT_EQ(KeywordFromText(kRoundKeywordNames[i]), RoundKeyword(i));
    for (const char* other :
         {"Rock", "rock", "ROCK ", " ROCK", "BOX", "ENEMY6", "ENEMY", "", "ROUNDRANGE\t", "GOAL\n"})
        EXPECT_EQ(KeywordFromText(other), RoundKeyword::Unknown) << '"' << other << '"';
    EXPECT_EQ(KeywordFromText(std::string("ROCK\0", 5)), RoundKeyword::Unknown);
}

// The worked example's first bytes, as the round file section gives them.
TEST(EncodeRoundFile, WritesTheWorkedExampleLayout) {
    const auto bytes =
        Encode({Rec("ROUNDRANGE", {20, 15, 0, -1, 120, 0}), Rec("BMPBOX", {0, 0, 19, 1, 5, -1})});
    const auto expected =
        Bytes({0x02, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x08, 0x15, 0x0F, 0x14, 0x1E, 0x08,
               0x1B, 0x14, 0x1D, 0x1F, 0x14, 0x00, 0x00, 0x00, 0x0F, 0x00, 0x00, 0x00,
               0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x78, 0x00, 0x00, 0x00,
               0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0});
    ASSERT_GE(bytes.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), bytes.begin()));
    EXPECT_EQ(bytes.size(), 4u + (2 + 10 + 32) + (2 + 6 + 32));
}

TEST(ReadRoundFile, SkippedRecordsStayInStep) {
    // Keywords that are none of the twelve, one of them long and with every byte value, sit
    // between two real records; the second must still read its own numbers.
    std::string odd;
    for (int c = 0; c < 256; ++c)
        odd += char(c);
    const auto bytes =
        Encode({Rec("MYSHIP", {1, 2}), Rec(odd, {7, 7, 7, 7, 7, 7, 7, 7}), Rec("Rock", {9}),
                Rec("", {}), Rec("GOAL", {3, 4, 0, 0, 0, 0, 5, 6})});
    RoundFileContents contents;
    std::string fault;
    ASSERT_TRUE(ReadRoundFile(bytes, contents, fault)) << fault;
    ASSERT_EQ(contents.Records.size(), 5u);
    EXPECT_EQ(contents.Records[1].Keyword, odd);
    EXPECT_EQ(contents.Records[1].kind(), RoundKeyword::Unknown);
    EXPECT_EQ(contents.Records[3].Keyword, "");
    EXPECT_EQ(contents.Records[4].kind(), RoundKeyword::Goal);
    EXPECT_EQ(contents.Records[4].Param, (std::array<std::int32_t, 8>{3, 4, 0, 0, 0, 0, 5, 6}));
    EXPECT_EQ(contents.EndOffset, bytes.size());
}

TEST(ReadRoundFile, IgnoresBytesAfterTheLastRecord) {
    auto bytes = Encode({Rec("GOAL", {1, 1})});
    bytes.insert(bytes.end(), {1, 2, 3});
    RoundFileContents contents;
    std::string fault;
    EXPECT_TRUE(ReadRoundFile(bytes, contents, fault)) << fault;
    EXPECT_EQ(contents.Records.size(), 1u);
}

// Files that are whole and within every limit: read as they are.
TEST(ReadRoundFile, AcceptsTheEdgesOfTheValidRanges) {
    const auto fastest = std::int32_t(kMaxEnemySpeed);
    const std::vector<RoundRecord> records = {
        Rec("ROUNDRANGE", {224, 226, -1, 5, -7}),
        Rec("ROUNDRANGE", {1, 1, 0, 0, 0}),
        Rec("ROCK", {-9, -7, 223, 225, 1, 99}),
        Rec("ROCK", {5, 3, 3, 3, 6}),
        Rec("BMPBOX", {223, 225, -9, -7, 1, 7}),
        Rec("MYSHIP", {-9, 225}),
        Rec("GOAL", {223, -7}),
        Rec("ENERGY", {0, 0}),
        Rec("RESQ", {4, 11}),
        Rec("ENEMY1", {10, 6, 1, fastest}),
        Rec("ENEMY2", {10, 6, -1, -fastest}),
        Rec("ENEMY2", {10, 6, -fastest, 1}),
        Rec("ENEMY1", {10, 6, INT_MAX, 0}),
        Rec("ENEMY3", {16, 8, 0, fastest}),
        Rec("ENEMY4", {16, 8, 3, -fastest}),
        Rec("ENEMY5", {6, 4, 99, 99, 99, 99}),
        Rec("ENEMY6", {INT_MIN, INT_MAX, 99, 99}),
        Rec("rock", {1000, 1000, 1000, 1000, 1000}),
    };
    RoundFileContents contents;
    std::string fault;
    EXPECT_TRUE(ReadRoundFile(Encode(records), contents, fault)) << fault;
    EXPECT_TRUE(CheckRoundFile(Encode(records)).empty());
}

struct BadFile {
    const char* name;
    std::vector<std::uint8_t> bytes;
    const char* fault; // a piece of the message that names the fault
};

std::vector<std::uint8_t> WithCount(std::int32_t count, std::vector<std::uint8_t> bytes) {
    std::vector<std::uint8_t> head;
    AppendInt32(head, count);
    std::copy(head.begin(), head.end(), bytes.begin());
    return bytes;
}

std::vector<std::uint8_t> Cut(std::vector<std::uint8_t> bytes, std::size_t n) {
    bytes.resize(bytes.size() - n);
    return bytes;
}

std::vector<BadFile> BadFiles() {
    const auto goal = Encode({Rec("GOAL", {1, 1})});
    // A keyword length that promises more bytes than the file has left.
    auto longKeyword = Encode({Rec("GOAL", {1, 1})});
    longKeyword[4] = 0xFF;
    longKeyword[5] = 0x00;
    // Two records promised; the second stops inside its length field.
    auto shortSecond = Encode({Rec(std::string(40, 'X'), {})});
    shortSecond = WithCount(2, shortSecond);
    shortSecond.push_back(0x04);
    return {
        {"empty", {}, "レコード数の途中"},
        {"threeBytes", Bytes({1, 0, 0}), "レコード数の途中"},
        {"countTooLarge", WithCount(2, goal), "収まりません"},
        {"countHuge", WithCount(INT_MAX, goal), "収まりません"},
        {"keywordPastTheEnd", longKeyword, "キーワードの長さ 255"},
        {"endsInNumbers", Cut(Encode({Rec(std::string(10, 'X'), {})}), 5), "数値の途中"},
        {"endsInLength", shortSecond, "キーワードの長さの途中"},
        {"widthZero", Encode({Rec("ROUNDRANGE", {0, 15})}), "幅 0"},
        {"widthTooLarge", Encode({Rec("ROUNDRANGE", {225, 15})}), "幅 225"},
        {"heightTooLarge", Encode({Rec("ROUNDRANGE", {20, 227})}), "高さ 227"},
        {"heightNegative", Encode({Rec("ROUNDRANGE", {20, -1})}), "高さ -1"},
        {"rockLeftOfGrid", Encode({Rec("ROCK", {-10, 0, 0, 0, 1})}), "列 x1 = -10"},
        {"rockRightOfGrid", Encode({Rec("ROCK", {0, 0, 224, 0, 1})}), "列 x2 = 224"},
        {"rockAboveGrid", Encode({Rec("ROCK", {0, -8, 0, 0, 1})}), "行 y1 = -8"},
        {"rockBelowGrid", Encode({Rec("ROCK", {0, 0, 0, 226, 1})}), "行 y2 = 226"},
        {"rockTileZero", Encode({Rec("ROCK", {0, 0, 0, 0, 0})}), "タイル番号 0"},
        {"rockTileSeven", Encode({Rec("ROCK", {0, 0, 0, 0, 7})}), "タイル番号 7"},
        {"bmpboxTile", Encode({Rec("BMPBOX", {0, 0, 1, 1, -3, -1})}), "タイル番号 -3"},
        {"bmpboxCell", Encode({Rec("BMPBOX", {0, 0, 300, 1, 1, 0})}), "列 x2 = 300"},
        {"shipOffGrid", Encode({Rec("MYSHIP", {224, 0})}), "列 x = 224"},
        {"goalOffGrid", Encode({Rec("GOAL", {0, INT_MIN})}), "行 y ="},
        {"energyOffGrid", Encode({Rec("ENERGY", {-100, 0})}), "列 x = -100"},
        {"resqOffGrid", Encode({Rec("RESQ", {0, 500})}), "行 y = 500"},
        {"enemy5OffGrid", Encode({Rec("ENEMY5", {INT_MAX, 0})}), "列 x ="},
        {"enemy3Leg4", Encode({Rec("ENEMY3", {1, 1, 4, 1})}), "最初の向き 4"},
        {"enemy4LegNegative", Encode({Rec("ENEMY4", {1, 1, -1, 1})}), "最初の向き -1"},
        // A step is speed x twips per pixel, a 32-bit number even at 60 twips per pixel.
        {"enemy1TooFast", Encode({Rec("ENEMY1", {1, 1, 1, 35791395})}), "速さ 35791395"},
        {"enemy2ProductTooFast", Encode({Rec("ENEMY2", {1, 1, -2, 17895698})}), "速さ -35791396"},
        {"enemy1Overflowing", Encode({Rec("ENEMY1", {1, 1, INT_MAX, INT_MAX})}), "速さ"},
        {"enemy3TooFast", Encode({Rec("ENEMY3", {1, 1, 0, INT_MIN})}), "速さ -2147483648"},
        {"enemy4TooFast", Encode({Rec("ENEMY4", {1, 1, 0, 35791395})}), "速さ 35791395"},
        // Each range paints the playfield whole: 65 of them are more than a round may paint.
        {"tooMuchPainting", Encode(std::vector<RoundRecord>(65, Rec("ROUNDRANGE", {20, 15}))),
         "描画が 3775200 セル分"},
    };
}

class BadRoundFile : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadRoundFile, IsRefusedWithItsFault) {
    const BadFile& c = GetParam();
    RoundFileContents contents;
    std::string fault;
    EXPECT_FALSE(ReadRoundFile(c.bytes, contents, fault));
    EXPECT_NE(fault.find(c.fault), std::string::npos) << fault;
    const auto faults = CheckRoundFile(c.bytes);
    ASSERT_FALSE(faults.empty());
    EXPECT_EQ(faults.front(), fault);
}

INSTANTIATE_TEST_SUITE_P(Cases, BadRoundFile, ::testing::ValuesIn(BadFiles()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReadRoundFile, NamesTheRecordAndItsKeyword) {
    const auto bytes =
        Encode({Rec("ROUNDRANGE", {20, 15}), Rec("GOAL", {1, 1}), Rec("ROCK", {0, 0, 0, 0, 9})});
    RoundFileContents contents;
    std::string fault;
    ASSERT_FALSE(ReadRoundFile(bytes, contents, fault));
    EXPECT_EQ(fault, "レコード 3（ROCK）: タイル番号 9 が 1〜6 の範囲外です");
}

TEST(CheckRoundFile, ListsEveryFaultInFileOrder) {
    const auto bytes =
        Encode({Rec("ROUNDRANGE", {0, 300}), Rec("GOAL", {1, 1}), Rec("ENEMY3", {1, 1, 9, 1})});
    const auto faults = CheckRoundFile(bytes);
    ASSERT_EQ(faults.size(), 3u);
    EXPECT_NE(faults[0].find("レコード 1（ROUNDRANGE）: 幅 0"), std::string::npos);
    EXPECT_NE(faults[1].find("レコード 1（ROUNDRANGE）: 高さ 300"), std::string::npos);
    EXPECT_NE(faults[2].find("レコード 3（ENEMY3）: 最初の向き 9"), std::string::npos);
}

TEST(CheckRoundFile, ChecksTheRecordsBeforeAStructuralFault) {
    auto bytes = Encode({Rec("ROCK", {0, 0, 0, 0, 8}), Rec("GOAL", {1, 1})});
    bytes.resize(bytes.size() - 1);
    const auto faults = CheckRoundFile(bytes);
    ASSERT_EQ(faults.size(), 2u);
    EXPECT_NE(faults[0].find("レコード 2: 数値の途中"), std::string::npos);
    EXPECT_NE(faults[1].find("タイル番号 8"), std::string::npos);
}

// Each sprite array holds at most 32767 run-time elements; the ground block counts as a rock.
TEST(CheckRoundFile, RefusesMoreSpritesThanAnArrayHolds) {
    std::vector<RoundRecord> records(kMaxSpritesPerArray, Rec("ROCK", {0, 0, 0, 0, 1}));
    EXPECT_TRUE(CheckRoundFile(Encode(records)).empty());
    records.push_back(Rec("ROUNDRANGE", {20, 15}));
    const auto faults = CheckRoundFile(Encode(records));
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_NE(faults[0].find("岩が 32768 個"), std::string::npos);

    std::vector<RoundRecord> enemies(kMaxSpritesPerArray + 1, Rec("ENEMY5", {0, 0}));
    EXPECT_EQ(CheckRoundFile(Encode(enemies)).size(), 1u);
}

// A negative count reads as no record at all, as 0 does; what follows is ignored like any bytes
// after the last record.
TEST(ReadRoundFile, ANegativeCountHoldsNoRecords) {
    for (std::int32_t count : {0, -1, INT_MIN}) {
        const auto bytes = WithCount(count, Encode({Rec("GOAL", {1, 1})}));
        RoundFileContents contents;
        std::string fault;
        EXPECT_TRUE(ReadRoundFile(bytes, contents, fault)) << count << ": " << fault;
        EXPECT_TRUE(contents.Records.empty());
        EXPECT_EQ(contents.RecordCount, count);
        EXPECT_EQ(contents.EndOffset, 4u);
        EXPECT_TRUE(CheckRoundFile(bytes).empty());
    }
}

// Every range paints a coat of the largest playfield and every sprite a cell; a round may paint
// 64 coats.
TEST(CheckRoundFile, RefusesABuildPastTheBudgetByOneCell) {
    std::vector<RoundRecord> records(64, Rec("ROUNDRANGE", {1, 1}));
    EXPECT_TRUE(CheckRoundFile(Encode(records)).empty());
    records.push_back(Rec("ENEMY5", {0, 0}));
    const auto faults = CheckRoundFile(Encode(records));
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_EQ(faults[0], "ステージの描画が 3717121 セル分になり、上限 3717120 セルを超えています");
}

// Boxes painted over by later boxes before anything shows them cost nothing: as many boxes as
// fit in a file, each over the whole grid, paint the grid once.
TEST(CheckRoundFile, CountsOnlyBoxCellsThatStayToBeSeen) {
    const std::vector<RoundRecord> records(100000, Rec("BMPBOX", {-9, -7, 223, 225, 4, -1}));
    RoundFileContents contents;
    std::string fault;
    ASSERT_TRUE(ReadRoundFile(Encode(records), contents, fault)) << fault;
    ASSERT_TRUE(contents.Planned);
    EXPECT_EQ(contents.Painting.cells, 233 * 233);
    for (const PaintRun& run : contents.Painting.runs)
        EXPECT_EQ(run.record, 99999);
}

TEST(CheckRoundFile, RefusesAFileLargerThanAnyRound) {
    std::vector<std::uint8_t> bytes(kMaxRoundFileBytes + 1, 0);
    const auto faults = CheckRoundFile(bytes);
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_NE(faults[0].find("大きすぎます"), std::string::npos);
}

} // namespace
