// Any bytes as a round file: the reader must never read outside them, the check and the reader
// must agree, a file the reader accepts must keep every write of the builder on the grid and
// every number in range, and the round tool's dump must compile back to the same bytes.
#include "stage/round_file.h"
#include "tools/rounds/round_text.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

bool OnGrid(std::int64_t column, std::int64_t row) {
    return column >= 0 && column < 233 && row >= 0 && row < 233;
}

// What the builder does with a record of an accepted file, in 64 bits: the grid cells it marks
// and the twips it computes (at up to 15 twips per pixel) must all fit.
void RequireBuildable(const RoundRecord& r) {
    const auto& p = r.Param;
    const auto fitsLong = [](std::int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; };
    switch (r.kind()) {
    case RoundKeyword::RoundRange:
        Require(OnGrid(9, 7) && OnGrid(std::int64_t(p[0]) + 8, std::int64_t(p[1]) + 6),
                "range inside the grid");
        Require(fitsLong(std::int64_t(p[1] + 14) * 32 * 15) && fitsLong(48LL * p[1] * 15),
                "playfield and ground block sizes fit");
        break;
    case RoundKeyword::Rock:
        Require(OnGrid(std::int64_t(p[0]) + 9, std::int64_t(p[1]) + 7) &&
                    OnGrid(std::int64_t(p[2]) + 9, std::int64_t(p[3]) + 7),
                "rock corners on the grid");
        [[fallthrough]];
    case RoundKeyword::BmpBox:
        Require(p[4] >= 1 && p[4] <= 6, "tile on the sheet");
        Require(fitsLong((288 + 32LL * std::llabs(std::int64_t(p[2]) - p[0] + 1)) * 15),
                "box width fits");
        break;
    case RoundKeyword::Enemy1:
    case RoundKeyword::Enemy2:
        Require(fitsLong(std::int64_t(p[2]) * p[3] * 15), "step fits");
        break;
    case RoundKeyword::Enemy3:
    case RoundKeyword::Enemy4:
        Require(p[2] >= 0 && p[2] <= 3, "leg inside the path tables");
        Require(fitsLong(std::int64_t(p[3]) * 15), "path step fits");
        break;
    default:
        break;
    }
    if (r.kind() != RoundKeyword::Unknown && r.kind() != RoundKeyword::RoundRange)
        Require(fitsLong((288 + 32LL * p[0]) * 15) && fitsLong((224 + 32LL * p[1]) * 15),
                "position fits");
}

constexpr std::size_t kLargestRoundTrip = 1 << 20;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> bytes(data, data + size);

    RoundFileContents contents;
    std::string fault;
    const bool accepted = ReadRoundFile(bytes, contents, fault);
    const std::vector<std::string> faults = CheckRoundFile(bytes);
    Require(accepted == faults.empty(), "reader and check agree");
    if (!accepted) Require(fault == faults.front(), "the reader names the first fault");
    if (accepted) {
        Require(contents.Records.size() == std::size_t(std::max(contents.RecordCount, 0)),
                "all records read");
        for (const RoundRecord& r : contents.Records)
            RequireBuildable(r);
    }

    // The round trip treats each record alike, so a megabyte of records shows every fault it can
    // have; on the largest files it would only take most of the 2 s an input may take here.
    if (size > kLargestRoundTrip) return 0;
    std::vector<std::uint8_t> again;
    std::string error;
    Require(CompileRoundText(DumpRoundText(bytes), again, error), "a dump compiles");
    Require(again == bytes, "a dump compiles back to the same bytes");
    return 0;
}
