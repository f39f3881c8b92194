// Round files: the layout of rnd_dat/R<n>.dat.rnd, the keyword scrambling (module bRoundDat), and
// the check that a file is whole and sound before anything of the stage changes. Plain C++ with
// no window or game state behind it, so the round tool and the fuzzer use exactly this reader.
//
// Layout, all integers little-endian: a signed 32-bit record count, then that many records of
// a 16-bit keyword length L, L keyword bytes each XORed with 0x5A, and eight signed 32-bit
// parameters. Bytes after the last record are never read.
#pragma once

#include "stage/build_cost.h"

#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// bRoundDat: XORs every character with 0x5A. Scrambles a plain keyword and unscrambles a
// scrambled one alike.
std::string DecodeRoundString(std::string_view s);

// The twelve keywords, in the order a record is compared against them.
enum class RoundKeyword {
    RoundRange,
    Rock,
    MyShip,
    Goal,
    Energy,
    Resq,
    BmpBox,
    Enemy1,
    Enemy2,
    Enemy3,
    Enemy4,
    Enemy5,
    Unknown, // any other bytes: the record is skipped
};
constexpr int kRoundKeywordCount = 12;
extern const std::array<std::string_view, kRoundKeywordCount> kRoundKeywordNames;

// Byte for byte and case-sensitive, without trimming.
RoundKeyword KeywordFromText(std::string_view plain);

struct RoundRecord {
    std::string Keyword; // decoded (plain) bytes, exactly as stored after unscrambling
    std::array<std::int32_t, 8> Param{};
    RoundKeyword kind() const { return KeywordFromText(Keyword); }
};

// How many records of each of the twelve keywords there are (other records are not counted).
struct KeywordCounts {
    std::array<long long, kRoundKeywordCount> records{};
    long long operator[](RoundKeyword k) const { return records[std::size_t(k)]; }
    long long enemies() const; // ENEMY1 .. ENEMY5 together
};
KeywordCounts CountKeywords(const std::vector<RoundRecord>& records);

// What a round file holds, split into records.
struct RoundFileContents {
    std::int32_t RecordCount = 0; // as stored; a negative count holds no records
    std::vector<RoundRecord> Records;
    std::size_t EndOffset = 0; // where the last whole record ends
    // The painting the records leave to do, worked out by the reader's check.
    PaintingPlan Painting;
    bool Planned = false;
};

constexpr std::size_t kRecordFixedBytes = 2 + 8 * 4; // a record with an empty keyword
constexpr std::size_t kMaxRoundFileBytes = 16u << 20;

// Limits that keep every write of the stage builder inside the grid, the surfaces and the
// tables (the grid is 233 x 233 cells; the range sits 9 cells in from the left, 7 from the top),
// with the range's largest size (kMaxRangeWidth, kMaxRangeHeight in build_cost.h).
constexpr int kMinCellX = -9, kMaxCellX = 223;
constexpr int kMinCellY = -7, kMaxCellY = 225;
constexpr int kMaxSpritesPerArray = 32767;
// An enemy's step is its speed in pixels times the twips of a pixel, a 32-bit number; speeds are
// refused only where that would not fit on the coarsest screen the game runs on (24 dots per
// inch, 60 twips per pixel).
constexpr int kMaxTwipsPerPixel = 60;
constexpr std::int64_t kMaxEnemySpeed = INT32_MAX / kMaxTwipsPerPixel;

// Splits the bytes into records without judging their values or the file's size. Stops at the
// first fault of the structure (a short file, a bad count, a keyword or record running past the
// end) and describes it in `fault`; the records read up to there are kept in `out`, and
// EndOffset tells where they end.
bool SplitRoundFile(const std::vector<std::uint8_t>& bytes, RoundFileContents& out,
                    std::string& fault);

// Every fault of a round file, one line each, in the game's language, first fault first:
// the structure, then each record's values, then the totals. Empty when the file is sound.
std::vector<std::string> CheckRoundFile(const std::vector<std::uint8_t>& bytes);

// The reader: records of a sound file with the plan of their painting, or false with the first
// fault.
bool ReadRoundFile(const std::vector<std::uint8_t>& bytes, RoundFileContents& out,
                   std::string& fault);

// Writes records back into bytes, keyword scrambled. `count` is written as the header.
std::vector<std::uint8_t> EncodeRoundFile(std::int32_t count,
                                          const std::vector<RoundRecord>& records);
