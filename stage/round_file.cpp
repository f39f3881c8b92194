#include "stage/round_file.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

constexpr std::uint8_t kKeywordMask = 0x5A;

std::int32_t ReadInt32(const std::uint8_t* p) {
    return std::int32_t(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                        std::uint32_t(p[3]) << 24);
}

void WriteInt32(std::vector<std::uint8_t>& out, std::int32_t value) {
    const auto v = std::uint32_t(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(std::uint8_t(v >> shift));
}

template <typename... Args>
std::string Format(const char* pattern, Args... args) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, pattern, args...);
    return buffer;
}

// The keyword as it may be shown in a message: printable ASCII only, at most 16 characters.
std::string ShownKeyword(const std::string& keyword) {
    std::string shown;
    for (char c : keyword.substr(0, 16))
        shown += (c >= 0x20 && c < 0x7F) ? c : '?';
    return keyword.size() > 16 ? shown + "..." : shown;
}

class RecordChecker {
  public:
    RecordChecker(int number, const RoundRecord& record, std::vector<std::string>& faults)
        : number_(number), record_(record), faults_(faults) {}

    void inRange(int param, const char* what, std::int64_t low, std::int64_t high) {
        const std::int32_t v = record_.Param[param];
        if (v < low || v > high)
            fail(Format("%s %d が %lld〜%lld の範囲外です", what, int(v), (long long)low,
                        (long long)high));
    }
    void column(int param, const char* name) {
        inRange(param, (std::string("列 ") + name + " =").c_str(), kMinCellX, kMaxCellX);
    }
    void row(int param, const char* name) {
        inRange(param, (std::string("行 ") + name + " =").c_str(), kMinCellY, kMaxCellY);
    }
    void cell() {
        column(0, "x");
        row(1, "y");
    }
    void box() {
        column(0, "x1");
        row(1, "y1");
        column(2, "x2");
        row(3, "y2");
        inRange(4, "タイル番号", 1, 6);
    }
    void speed(std::int64_t pixelsPerFrame) {
        if (std::llabs(pixelsPerFrame) > kMaxEnemySpeed)
            fail(Format("速さ %lld ピクセル/フレームが上限 %lld を超えています",
                        (long long)pixelsPerFrame, (long long)kMaxEnemySpeed));
    }

  private:
    void fail(const std::string& what) {
        faults_.push_back(
            Format("レコード %d（%s）: ", number_, ShownKeyword(record_.Keyword).c_str()) + what);
    }
    int number_;
    const RoundRecord& record_;
    std::vector<std::string>& faults_;
};

void CheckRecordValues(int number, const RoundRecord& r, std::vector<std::string>& faults) {
    RecordChecker check(number, r, faults);
    switch (r.kind()) {
    case RoundKeyword::RoundRange:
        check.inRange(0, "幅", 1, kMaxRangeWidth);
        check.inRange(1, "高さ", 1, kMaxRangeHeight);
        break;
    case RoundKeyword::Rock:
    case RoundKeyword::BmpBox:
        check.box();
        break;
    case RoundKeyword::MyShip:
    case RoundKeyword::Goal:
    case RoundKeyword::Energy:
    case RoundKeyword::Resq:
    case RoundKeyword::Enemy5:
        check.cell();
        break;
    case RoundKeyword::Enemy1:
    case RoundKeyword::Enemy2:
        check.cell();
        check.speed(std::int64_t(r.Param[2]) * r.Param[3]);
        break;
    case RoundKeyword::Enemy3:
    case RoundKeyword::Enemy4:
        check.cell();
        check.inRange(2, "最初の向き", 0, 3);
        check.speed(r.Param[3]);
        break;
    case RoundKeyword::Unknown:
        break;
    }
}

// Each sprite array holds at most 32767 run-time elements (16-bit indices).
void CheckSpriteTotals(const std::vector<RoundRecord>& records, std::vector<std::string>& faults) {
    const KeywordCounts counts = CountKeywords(records);
    // A range's ground block is a rock sprite too.
    const long long rocks = counts[RoundKeyword::RoundRange] + counts[RoundKeyword::Rock];
    const std::pair<const char*, long long> totals[] = {
        {"岩", rocks},
        {"エネルギー", counts[RoundKeyword::Energy]},
        {"救助を待つ人", counts[RoundKeyword::Resq]},
        {"敵", counts.enemies()}};
    for (const auto& [what, n] : totals)
        if (n > kMaxSpritesPerArray)
            faults.push_back(
                Format("%sが %lld 個あり、上限 %d 個を超えています", what, n, kMaxSpritesPerArray));
}

// The painting the records leave to do, and a fault when their build would cost more than the
// budget.
bool PlanWithinBudget(RoundFileContents& contents, std::vector<std::string>& faults) {
    contents.Painting = PlanPainting(contents.Records);
    contents.Planned = true;
    const std::int64_t cost = BuildCost(contents.Records, contents.Painting);
    if (cost <= kBuildBudgetCells) return true;
    faults.push_back(Format("ステージの描画が %lld セル分になり、上限 %lld セルを超えています",
                            (long long)cost, (long long)kBuildBudgetCells));
    return false;
}

// A legal round is a few kilobytes; a file past the limit is not taken apart at all.
std::string TooLarge(std::size_t size) {
    return Format("ファイルが大きすぎます（%zu バイト、上限 %zu バイト）", size,
                  kMaxRoundFileBytes);
}

} // namespace

std::string DecodeRoundString(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        out += char(std::uint8_t(c) ^ kKeywordMask);
    return out;
}

const std::array<std::string_view, kRoundKeywordCount> kRoundKeywordNames = {
    "ROUNDRANGE", "ROCK",   "MYSHIP", "GOAL",   "ENERGY", "RESQ",
    "BMPBOX",     "ENEMY1", "ENEMY2", "ENEMY3", "ENEMY4", "ENEMY5"};

RoundKeyword KeywordFromText(std::string_view plain) {
    // The length and the first letter tell most keywords apart before any bytes are compared.
    for (int i = 0; i < kRoundKeywordCount; ++i) {
        const std::string_view name = kRoundKeywordNames[i];
        if (plain.size() == name.size() && plain[0] == name[0] && plain == name)
            return RoundKeyword(i);
    }
    return RoundKeyword::Unknown;
}

long long KeywordCounts::enemies() const {
    long long n = 0;
    for (RoundKeyword k : {RoundKeyword::Enemy1, RoundKeyword::Enemy2, RoundKeyword::Enemy3,
                           RoundKeyword::Enemy4, RoundKeyword::Enemy5})
        n += (*this)[k];
    return n;
}

KeywordCounts CountKeywords(const std::vector<RoundRecord>& records) {
    KeywordCounts counts;
    for (const RoundRecord& r : records)
        if (const RoundKeyword k = r.kind(); k != RoundKeyword::Unknown)
            ++counts.records[std::size_t(k)];
    return counts;
}

bool SplitRoundFile(const std::vector<std::uint8_t>& bytes, RoundFileContents& out,
                    std::string& fault) {
    out = RoundFileContents{};
    const std::size_t size = bytes.size();
    if (size < 4) {
        fault = Format("レコード数の途中でファイルが終わっています（%zu バイト）", size);
        return false;
    }
    out.RecordCount = ReadInt32(bytes.data());
    out.EndOffset = 4;
    if (out.RecordCount <= 0) return true; // a negative count reads no record, as 0 does
    // Every record takes at least 34 bytes, so the count alone can be judged before reading.
    if (std::size_t(out.RecordCount) > (size - 4) / kRecordFixedBytes) {
        fault = Format("レコード数 %d がファイルの大きさ（%zu バイト）に収まりません",
                       int(out.RecordCount), size);
        return false;
    }
    std::size_t at = 4;
    out.Records.reserve(std::size_t(out.RecordCount));
    for (int i = 0; i < out.RecordCount; ++i) {
        const int number = i + 1;
        if (size - at < 2) {
            fault = Format("レコード %d: キーワードの長さの途中でファイルが終わっています", number);
            return false;
        }
        const std::size_t length = std::size_t(bytes[at]) | std::size_t(bytes[at + 1]) << 8;
        at += 2;
        if (length > size - at) {
            fault = Format(
                "レコード %d: キーワードの長さ %zu がファイルの残り %zu バイトを超えています",
                number, length, size - at);
            return false;
        }
        RoundRecord record;
        record.Keyword = DecodeRoundString(
            std::string_view(reinterpret_cast<const char*>(bytes.data() + at), length));
        at += length;
        if (size - at < 32) {
            fault = Format("レコード %d: 数値の途中でファイルが終わっています", number);
            return false;
        }
        for (int p = 0; p < 8; ++p, at += 4)
            record.Param[p] = ReadInt32(bytes.data() + at);
        out.Records.push_back(std::move(record));
        out.EndOffset = at;
    }
    return true;
}

std::vector<std::string> CheckRoundFile(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::string> faults;
    if (bytes.size() > kMaxRoundFileBytes) return {TooLarge(bytes.size())};
    RoundFileContents contents;
    std::string fault;
    if (!SplitRoundFile(bytes, contents, fault)) faults.push_back(fault);
    for (std::size_t i = 0; i < contents.Records.size(); ++i)
        CheckRecordValues(int(i) + 1, contents.Records[i], faults);
    CheckSpriteTotals(contents.Records, faults);
    PlanWithinBudget(contents, faults);
    return faults;
}

bool ReadRoundFile(const std::vector<std::uint8_t>& bytes, RoundFileContents& out,
                   std::string& fault) {
    if (bytes.size() > kMaxRoundFileBytes) {
        out = RoundFileContents{};
        fault = TooLarge(bytes.size());
        return false;
    }
    if (!SplitRoundFile(bytes, out, fault)) return false;
    std::vector<std::string> faults;
    for (std::size_t i = 0; i < out.Records.size() && faults.empty(); ++i)
        CheckRecordValues(int(i) + 1, out.Records[i], faults);
    if (faults.empty()) CheckSpriteTotals(out.Records, faults);
    if (faults.empty() && PlanWithinBudget(out, faults)) return true;
    fault = faults.front();
    return false;
}

std::vector<std::uint8_t> EncodeRoundFile(std::int32_t count,
                                          const std::vector<RoundRecord>& records) {
    std::vector<std::uint8_t> out;
    WriteInt32(out, count);
    for (const RoundRecord& r : records) {
        const std::size_t length = std::min<std::size_t>(r.Keyword.size(), 0xFFFF);
        out.push_back(std::uint8_t(length));
        out.push_back(std::uint8_t(length >> 8));
        for (char c : DecodeRoundString(std::string_view(r.Keyword).substr(0, length)))
            out.push_back(std::uint8_t(c));
        for (std::int32_t p : r.Param)
            WriteInt32(out, p);
    }
    return out;
}
