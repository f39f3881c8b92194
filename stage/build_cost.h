// What building a round costs, worked out from its records before anything is built, and the
// painting the builder can leave out because nothing would ever show it. Plain C++ like the
// reader, which refuses a file whose build would cost more than the budget.
//
// The unit is a painted cell of 32 x 32 pixels. A "ROUNDRANGE" counts as a coat of the largest
// playfield, whatever its size: it clears, sizes and fills the playfield, scatters the 50,001
// star points over it and lets the window refresh. A rock, capsule, person or enemy counts one
// cell (a rock is one tile and a size, however large). A "BMPBOX" counts the cells it paints
// that stay to be seen: a cell that a later "BMPBOX" paints over before a capsule or person
// copies it, and before any "ROUNDRANGE" clears the playfield, is not painted at all.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

struct RoundRecord;

// The collision grid's columns and rows; cell (x, y) of the range is grid cell (x + 9, y + 7).
constexpr int kGridSide = 233;
constexpr int kRangeColumnOffset = 9;
constexpr int kRangeRowOffset = 7;
// The grid column of range column v (offset kRangeColumnOffset), or the grid row of range row v
// (offset kRangeRowOffset), held to the grid or to one just off it on either side.
int GridCell(std::int64_t v, int offset);

// The widest and highest range reaches the grid's last column and row; the margins of such a
// playfield beyond the grid read as walls.
constexpr int kMaxRangeWidth = 224;  // range columns are grid columns 9 .. W + 8
constexpr int kMaxRangeHeight = 226; // range rows are grid rows 7 .. H + 6

// The largest playfield, in cells: the widest and highest range with its margins, as wide on
// each side as the range's offset on the grid.
constexpr std::int64_t kLargestPlayfieldCells =
    std::int64_t(kMaxRangeWidth + 2 * kRangeColumnOffset) * (kMaxRangeHeight + 2 * kRangeRowOffset);
// A round may cost as much as painting the largest playfield 64 times over.
constexpr std::int64_t kBuildBudgetCells = 64 * kLargestPlayfieldCells;

// A set of grid cells, one bit each, kept both by row and by column. Over the columns lies a
// tree whose nodes note the rows that hold a cell in their columns, so that the rows holding
// cells of a rectangle are found in a few steps: taking the cells of a rectangle costs a few
// steps, and a few more per cell taken.
class CellSet {
  public:
    void fill();
    void clear();
    void insert(int column, int row);
    // Takes the cells of columns c0..c1 and rows r0..r1 (clipped to the grid) out of the set,
    // calling run(row, first, last) for each run of neighbouring cells of a row taken.
    template <typename Run>
    void take(int c0, int r0, int c1, int r1, Run&& run);

  private:
    static constexpr int kWords = (kGridSide + 63) / 64;
    static constexpr int kLeaves = kWords * 64; // one per column, and a few past the grid
    using Bits = std::array<std::uint64_t, kWords>;
    static Bits Span(int first, int last);
    static bool Has(const Bits& bits, int i) { return (bits[i / 64] >> (i % 64)) & 1; }
    // Clears the row's bit in the leaves of columns first..last and in every node they leave
    // without a cell of the row.
    void takeFromTree(int row, int first, int last);

    int held_ = 0; // cells in the set
    std::array<Bits, kGridSide> columnsOfRow_{};
    std::array<Bits, 2 * kLeaves> rowsOfNode_{}; // node 1 is the root, kLeaves + c column c
};

// Cells of one grid row that a "BMPBOX" record must paint.
struct PaintRun {
    std::int32_t record; // index in the file's records
    std::int16_t row, first, last;
};

// Every cell of every "BMPBOX" that stays to be seen, in record order, and how many.
struct PaintingPlan {
    std::vector<PaintRun> runs;
    std::int64_t cells = 0;
};
PaintingPlan PlanPainting(const std::vector<RoundRecord>& records);

// What the records cost to build, in painted cells, given the plan of their painting.
std::int64_t BuildCost(const std::vector<RoundRecord>& records, const PaintingPlan& plan);

// --- CellSet's template ------------------------------------------------------------------------

template <typename Run>
void CellSet::take(int c0, int r0, int c1, int r1, Run&& run) {
    c0 = c0 < 0 ? 0 : c0;
    r0 = r0 < 0 ? 0 : r0;
    c1 = c1 >= kGridSide ? kGridSide - 1 : c1;
    r1 = r1 >= kGridSide ? kGridSide - 1 : r1;
    if (c0 > c1 || r0 > r1 || held_ == 0) return;
    // The rows that hold a cell in the columns: from the nodes that together span them.
    Bits rows{};
    for (int l = c0 + kLeaves, r = c1 + kLeaves + 1; l < r; l /= 2, r /= 2) {
        for (int w = 0; w < kWords; ++w) {
            if (l & 1) rows[w] |= rowsOfNode_[l][w];
            if (r & 1) rows[w] |= rowsOfNode_[r - 1][w];
        }
        l += l & 1;
        r -= r & 1;
    }
    const Bits wantedRows = Span(r0, r1), columns = Span(c0, c1);
    for (int w = 0; w < kWords; ++w) {
        for (std::uint64_t m = rows[w] & wantedRows[w]; m; m &= m - 1) {
            const int row = w * 64 + __builtin_ctzll(m);
            Bits& bits = columnsOfRow_[row];
            int first = -1, last = -2;
            const auto taken = [&] {
                takeFromTree(row, first, last);
                run(row, first, last);
            };
            for (int v = 0; v < kWords; ++v) {
                const std::uint64_t cells = bits[v] & columns[v];
                bits[v] &= ~cells;
                for (std::uint64_t t = cells; t; t &= t - 1) {
                    const int column = v * 64 + __builtin_ctzll(t);
                    if (column != last + 1) {
                        if (first >= 0) taken();
                        first = column;
                    }
                    last = column;
                }
            }
            if (first >= 0) taken();
        }
    }
}
