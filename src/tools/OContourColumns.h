// The columns of a family-1 run list, indexed so that tools visit only their own columns.
//
// Run lists come from files and devices and may be malformed. Every reader of run lists in
// this program follows the same rules, fixed here:
// - values are read in pairs (top, bottom); a pair whose bottom is negative ends its column;
// - both values count by their absolute value; a pair whose bottom does not lie above its
//   top holds no material (length 0);
// - a lone last value (odd length) and the pairs after the last column end belong to no
//   column and are ignored.
// A run (top, bottom) covers the rows top ... bottom - 1, i.e. bottom - top pixels.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

struct OContourRun {
    int32_t top = 0;
    int32_t bottom = 0;
    int32_t Length() const { return bottom > top ? bottom - top : 0; }
};

inline OContourRun ContourRunAt(std::span<const int16_t> values, size_t i) {
    return {std::abs(static_cast<int32_t>(values[i])),
            std::abs(static_cast<int32_t>(values[i + 1]))};
}

class OContourColumns {
  public:
    // Indexes `runs`, which must stay alive and unchanged while the index is used.
    void Build(std::span<const int16_t> runs);

    // Filling by a caller that walks the run list itself (the basic-feature pass): Begin,
    // then AddColumn with the index of each column's first value, then End with the index
    // one past the last value of the last closed column.
    void BeginFill(std::span<const int16_t> runs);
    void AddColumn(int32_t firstValue) { m_start.push_back(firstValue); }
    void EndFill(int32_t end, int32_t materialTop, int32_t materialBottom);

    int iGetColumns() const { return static_cast<int>(m_start.size()) - (m_start.empty() ? 0 : 1); }
    // The values of column c (an even count, the last pair ends the column); empty out of range.
    std::span<const int16_t> ColumnValues(int c) const {
        if (c < 0 || c >= iGetColumns()) return {};
        const size_t a = static_cast<size_t>(m_start[static_cast<size_t>(c)]);
        const size_t b = static_cast<size_t>(m_start[static_cast<size_t>(c) + 1]);
        return m_runs.subspan(a, b - a);
    }
    std::span<const int16_t> Runs() const { return m_runs; }

    bool bHasMaterial() const { return m_materialBottom > m_materialTop; }
    // Smallest top and largest bottom of the runs that hold material; 0 when there are none.
    int32_t iGetMaterialTop() const { return m_materialTop; }
    int32_t iGetMaterialBottom() const { return m_materialBottom; }

  private:
    std::span<const int16_t> m_runs;
    std::vector<int32_t> m_start;  // first value of each column, then the end
    int32_t m_materialTop = 0;
    int32_t m_materialBottom = 0;
};
