#include "stage/build_cost.h"

#include "stage/round_file.h"

#include <algorithm>

void CellSet::fill() {
    const Bits all = Span(0, kGridSide - 1);
    columnsOfRow_.fill(all);
    for (int c = 0; c < kLeaves; ++c)
        rowsOfNode_[kLeaves + c] = c < kGridSide ? all : Bits{};
    for (int node = kLeaves - 1; node >= 1; --node)
        for (int w = 0; w < kWords; ++w)
            rowsOfNode_[node][w] = rowsOfNode_[2 * node][w] | rowsOfNode_[2 * node + 1][w];
    held_ = kGridSide * kGridSide;
}

void CellSet::clear() {
    // A few cells are taken one by one; many, all at once.
    if (held_ < 1024) return take(0, 0, kGridSide - 1, kGridSide - 1, [](int, int, int) {});
    columnsOfRow_.fill(Bits{});
    rowsOfNode_.fill(Bits{});
    held_ = 0;
}

void CellSet::insert(int column, int row) {
    if (column < 0 || row < 0 || column >= kGridSide || row >= kGridSide) return;
    if (Has(columnsOfRow_[row], column)) return;
    ++held_;
    columnsOfRow_[row][column / 64] |= std::uint64_t(1) << (column % 64);
    for (int node = kLeaves + column; node >= 1 && !Has(rowsOfNode_[node], row); node /= 2)
        rowsOfNode_[node][row / 64] |= std::uint64_t(1) << (row % 64);
}

void CellSet::takeFromTree(int row, int first, int last) {
    const std::uint64_t bit = std::uint64_t(1) << (row % 64);
    const int w = row / 64;
    held_ -= last - first + 1;
    int lo = kLeaves + first, hi = kLeaves + last;
    for (int node = lo; node <= hi; ++node)
        rowsOfNode_[node][w] &= ~bit;
    // Up the tree, level by level, over the nodes above the run.
    while (lo > 1) {
        lo /= 2;
        hi /= 2;
        for (int node = lo; node <= hi; ++node) {
            const bool held = (rowsOfNode_[2 * node][w] | rowsOfNode_[2 * node + 1][w]) & bit;
            rowsOfNode_[node][w] = held ? rowsOfNode_[node][w] | bit : rowsOfNode_[node][w] & ~bit;
        }
    }
}

CellSet::Bits CellSet::Span(int first, int last) {
    Bits bits{};
    for (int w = 0; w < kWords; ++w) {
        const int lo = std::max(first, w * 64), hi = std::min(last, w * 64 + 63);
        if (lo > hi) continue;
        const int n = hi - lo + 1;
        const std::uint64_t ones = n == 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << n) - 1;
        bits[w] = ones << (lo - w * 64);
    }
    return bits;
}

int GridCell(std::int64_t v, int offset) {
    return int(std::clamp<std::int64_t>(v + offset, -1, kGridSide));
}

PaintingPlan PlanPainting(const std::vector<RoundRecord>& records) {
    // From the last record back: a cell is open while something after this point still shows
    // what it holds here (the finished playfield, or a capsule or person copying it). A box
    // paints the open cells it covers and closes them; a range clears the picture, so nothing
    // painted before it shows.
    CellSet open;
    open.fill();
    PaintingPlan plan;
    for (std::size_t i = records.size(); i-- > 0;) {
        const RoundRecord& r = records[i];
        const auto& p = r.Param;
        switch (r.kind()) {
        case RoundKeyword::RoundRange:
            open.clear();
            break;
        case RoundKeyword::Energy:
        case RoundKeyword::Resq:
            open.insert(GridCell(p[0], kRangeColumnOffset), GridCell(p[1], kRangeRowOffset));
            break;
        case RoundKeyword::BmpBox: {
            open.take(GridCell(p[0], kRangeColumnOffset), GridCell(p[1], kRangeRowOffset),
                      GridCell(p[2], kRangeColumnOffset), GridCell(p[3], kRangeRowOffset),
                      [&](int row, int first, int last) {
                          plan.runs.push_back({std::int32_t(i), std::int16_t(row),
                                               std::int16_t(first), std::int16_t(last)});
                          plan.cells += last - first + 1;
                      });
            break;
        }
        default:
            break;
        }
    }
    std::reverse(plan.runs.begin(), plan.runs.end());
    return plan;
}

std::int64_t BuildCost(const std::vector<RoundRecord>& records, const PaintingPlan& plan) {
    const KeywordCounts counts = CountKeywords(records);
    return plan.cells + counts[RoundKeyword::RoundRange] * kLargestPlayfieldCells +
           counts[RoundKeyword::Rock] + counts[RoundKeyword::Energy] + counts[RoundKeyword::Resq] +
           counts.enemies();
}
