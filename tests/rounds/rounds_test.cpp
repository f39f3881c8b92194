// The text form of round files: what compile accepts and refuses, and that a dump of any bytes
// compiles back to exactly those bytes.
#include "stage/round_file.h"
#include "tools/rounds/round_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <iterator>
#include <random>

namespace {

using Bytes = std::vector<std::uint8_t>;

RoundRecord Rec(std::string keyword, std::array<std::int32_t, 8> params = {}) {
    RoundRecord r;
    r.Keyword = std::move(keyword);
    r.Param = params;
    return r;
}

Bytes File(const std::vector<RoundRecord>& records) {
    return EncodeRoundFile(std::int32_t(records.size()), records);
}

Bytes Compile(const std::string& text) {
    Bytes bytes;
    std::string error;
    EXPECT_TRUE(CompileRoundText(text, bytes, error)) << error;
    return bytes;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The worked example of the round file's description, as the build's fixture has it.
TEST(CompileRoundText, WorkedExampleBeginsWithTheGivenBytes) {
    const Bytes bytes = Compile(ReadText(VEXARO_SOURCE_DIR "/tests/fixtures/worked-example.txt"));
    const Bytes start = {0x0B, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x08, 0x15, 0x0F, 0x14, 0x1E, 0x08,
                         0x1B, 0x14, 0x1D, 0x1F, 0x14, 0x00, 0x00, 0x00, 0x0F, 0x00, 0x00, 0x00,
                         0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x78, 0x00, 0x00, 0x00,
                         0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0};
    ASSERT_GE(bytes.size(), start.size());
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + long(start.size())), start);
    RoundFileContents contents;
    std::string fault;
    ASSERT_TRUE(ReadRoundFile(bytes, contents, fault)) << fault;
    ASSERT_EQ(contents.Records.size(), 11u);
    EXPECT_EQ(contents.Records[9].Keyword, "ENEMY3");
    EXPECT_EQ(contents.Records[9].Param, (std::array<std::int32_t, 8>{16, 8, 0, 1}));
}

TEST(CompileRoundText, ReadsNumbersCommentsAndMissingParameters) {
    const Bytes bytes = Compile("# a comment\n"
                                "\n"
                                "ROUNDRANGE 20 15 0xFF8000 -1 120   # colour in hexadecimal\n"
                                "  GOAL\t3 4\r\n"
                                "ENEMY1 1 2 -1 3 0 0 0x7FFFFFFF -2147483648\n"
                                "\"lower case\" 0xffffffff\n");
    EXPECT_EQ(bytes, File({Rec("ROUNDRANGE", {20, 15, 0xFF8000, -1, 120}), Rec("GOAL", {3, 4}),
                           Rec("ENEMY1", {1, 2, -1, 3, 0, 0, INT_MAX, INT_MIN}),
                           Rec("lower case", {-1})}));
}

TEST(CompileRoundText, QuotedKeywordsCarryAnyBytes) {
    const Bytes bytes = Compile(R"("" 1
"ROCK " 2
"a\"b\\c#d" 3
"\x00\xFF\x5a" 4
)");
    EXPECT_EQ(bytes, File({Rec("", {1}), Rec("ROCK ", {2}), Rec("a\"b\\c#d", {3}),
                           Rec(std::string("\x00\xFF\x5A", 3), {4})}));
}

TEST(CompileRoundText, DirectivesWriteTheCountAndRawBytes) {
    Bytes expected = EncodeRoundFile(7, {Rec("GOAL", {1, 1})});
    expected.insert(expected.end(), {0x00, 0xAB, 0xFF});
    EXPECT_EQ(Compile("!count 7\nGOAL 1 1\n!bytes 00 ab\n!bytes FF\n"), expected);
    EXPECT_EQ(Compile("!noheader\n!bytes 01 02\n"), (Bytes{1, 2}));
    EXPECT_EQ(Compile(""), (Bytes{0, 0, 0, 0}));
}

struct BadText {
    const char* name;
    const char* text;
    const char* error;
};

class CompileErrors : public ::testing::TestWithParam<BadText> {};

TEST_P(CompileErrors, NameTheLineAndWriteNothing) {
    Bytes bytes = {9, 9};
    std::string error;
    EXPECT_FALSE(CompileRoundText(GetParam().text, bytes, error));
    EXPECT_EQ(error.rfind(GetParam().error, 0), 0u) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CompileErrors,
    ::testing::Values(
        BadText{"unknownKeyword", "GOAL 1 1\nBOX 1 2\n", "line 2: unknown keyword \"BOX\""},
        BadText{"lowerCase", "\n\nrock 1 1 1 1 1\n", "line 3: unknown keyword"},
        BadText{"nineNumbers", "ROCK 1 2 3 4 5 6 7 8 9\n", "line 1: more than eight numbers"},
        BadText{"tooLarge", "GOAL 2147483648\n", "line 1: bad number"},
        BadText{"tooSmall", "GOAL -2147483649\n", "line 1: bad number"},
        BadText{"hexTooLong", "GOAL 0x100000000\n", "line 1: bad number"},
        BadText{"notANumber", "GOAL 1 two\n", "line 1: bad number \"two\""},
        BadText{"plusSign", "GOAL +1\n", "line 1: bad number"},
        BadText{"unterminated", "\"ROCK 1 2\n", "line 1: unterminated"},
        BadText{"badEscape", "\"\\q\" 1\n", "line 1: bad escape"},
        BadText{"shortEscape", "\"\\x4\" 1\n", "line 1: bad escape"},
        BadText{"recordAfterBytes", "!bytes 00\nGOAL 1 1\n", "line 2: a record after !bytes"},
        BadText{"badByte", "!bytes 0g\n", "line 1: !bytes takes"},
        BadText{"twoCounts", "!count 1\n!count 2\n", "line 2: a second !count"},
        BadText{"unknownDirective", "!flip\n", "line 1: unknown directive"},
        BadText{"noHeaderWithRecords", "!noheader\nGOAL 1 1\n", "!noheader leaves no room"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- dump, and back ------------------------------------------------------------------------------

void ExpectRoundTrip(const Bytes& bytes) {
    const std::string text = DumpRoundText(bytes);
    Bytes again;
    std::string error;
    ASSERT_TRUE(CompileRoundText(text, again, error)) << error << "\n" << text;
    EXPECT_EQ(again, bytes) << text;
}

Bytes Cut(Bytes bytes, std::size_t n) {
    bytes.resize(n);
    return bytes;
}

TEST(DumpRoundText, PrintsTheTextFormOfEachRecord) {
    const Bytes bytes =
        File({Rec("ROUNDRANGE", {20, 15, 0x123456, -1, 90}), Rec("ROUNDRANGE", {1, 1, -1}),
              Rec("MYSHIP", {2, 3}), Rec("GOAL", {0, 0, 0, 0, 0, 0, 0, 5}), Rec("Rock", {1}),
              Rec("a\"b\\", {}), Rec(std::string("\x01\xFF", 2), {})});
    EXPECT_EQ(DumpRoundText(bytes), "ROUNDRANGE 20 15 0x123456 -1 90\n"
                                    "ROUNDRANGE 1 1 0xFFFFFFFF 0 0\n"
                                    "MYSHIP 2 3\n"
                                    "GOAL 0 0 0 0 0 0 0 5\n"
                                    "\"Rock\" 1\n"
                                    "\"a\\\"b\\\\\"\n"
                                    "\"\\x01\\xFF\"\n");
}

TEST(DumpRoundText, CompilesBackToTheSameBytesForOddFiles) {
    const Bytes sound = File({Rec("ROUNDRANGE", {20, 15, 0, -1, 120}), Rec("Rock", {1, 2}),
                              Rec("GOAL", {1, 1, 1, 1, 1, 1, 1, 1})});
    Bytes trailing = sound;
    trailing.insert(trailing.end(), 70, 0xEE);
    Bytes negative = sound;
    negative[3] = 0x80;
    const std::vector<Bytes> files = {
        {},
        {1},
        {1, 2, 3},
        {0, 0, 0, 0},
        sound,
        trailing,
        negative,
        EncodeRoundFile(INT_MAX, {Rec("GOAL")}),
        EncodeRoundFile(5, {Rec("GOAL"), Rec("RESQ")}),
        Cut(sound, 5),
        Cut(sound, 40),
        Cut(sound, sound.size() - 1),
        File({Rec(std::string(300, '#'), {INT_MIN, INT_MAX})}),
    };
    for (const Bytes& bytes : files)
        ExpectRoundTrip(bytes);
}

// Random files, some well formed and some cut or garbled, from a fixed seed.
TEST(DumpRoundText, CompilesBackToTheSameBytesForRandomFiles) {
    std::mt19937 random(20240501);
    auto number = [&](int n) { return int(random() % unsigned(n)); };
    for (int round = 0; round < 300; ++round) {
        std::vector<RoundRecord> records;
        for (int r = number(6); r > 0; --r) {
            RoundRecord record;
            if (number(2)) {
                record.Keyword = std::string(kRoundKeywordNames[number(kRoundKeywordCount)]);
            } else {
                for (int c = number(12); c > 0; --c)
                    record.Keyword += char(number(256));
            }
            for (auto& p : record.Param)
                p = number(3) ? number(41) - 20 : std::int32_t(random());
            records.push_back(record);
        }
        Bytes bytes = File(records);
        switch (number(4)) {
        case 0:
            bytes.resize(std::size_t(number(int(bytes.size()) + 1)));
            break;
        case 1:
            bytes[std::size_t(number(int(bytes.size())))] ^= std::uint8_t(1 + number(255));
            break;
        case 2:
            for (int extra = number(40); extra > 0; --extra)
                bytes.push_back(std::uint8_t(number(256)));
            break;
        default:
            break;
        }
        ExpectRoundTrip(bytes);
        if (HasFailure()) return;
    }
}

} // namespace
