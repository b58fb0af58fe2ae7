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

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
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

// What a column holds: its lowest and highest material rows (highest exclusive) and its
// material area. A column without material has lowest == highest == 0.
struct OColumnSummary {
    int32_t lowest = 0;
    int32_t highest = 0;
    int64_t area = 0;
    bool bHasMaterial() const { return highest > lowest; }
};

class OContourColumns {
  public:
    // Indexes `runs`, which must stay alive and unchanged while the index is used.
    void Build(std::span<const int16_t> runs);

    // Filling by a caller that walks the run list itself (the basic-feature pass): Begin,
    // then AddColumn with the index of each column's first value and its summary, then End
    // with the index one past the last value of the last closed column. The buffers only
    // grow, so indexing part after part allocates nothing once they are large enough.
    void BeginFill(std::span<const int16_t> runs);
    void AddColumn(int32_t firstValue, const OColumnSummary& summary) {
        const size_t c = static_cast<size_t>(m_columns++);
        m_start[c] = firstValue;
        m_summary[c] = summary;
        if (summary.highest > summary.lowest) {
            m_materialTop = std::min(m_materialTop, summary.lowest);
            m_materialBottom = std::max(m_materialBottom, summary.highest);
        }
    }
    void EndFill(int32_t end);

    int iGetColumns() const { return m_columns; }
    // The values of column c (an even count, the last pair ends the column); empty out of range.
    std::span<const int16_t> ColumnValues(int c) const {
        if (c < 0 || c >= iGetColumns()) return {};
        const size_t a = static_cast<size_t>(m_start[static_cast<size_t>(c)]);
        const size_t b = static_cast<size_t>(m_start[static_cast<size_t>(c) + 1]);
        return m_runs.subspan(a, b - a);
    }
    const OColumnSummary& Summary(int c) const { return m_summary[static_cast<size_t>(c)]; }
    std::span<const int16_t> Runs() const { return m_runs; }

    bool bHasMaterial() const { return m_materialBottom > m_materialTop; }
    // Smallest top and largest bottom of the runs that hold material; 0 when there are none.
    int32_t iGetMaterialTop() const { return bHasMaterial() ? m_materialTop : 0; }
    int32_t iGetMaterialBottom() const { return bHasMaterial() ? m_materialBottom : 0; }

  private:
    std::span<const int16_t> m_runs;
    int m_columns = 0;
    std::vector<int32_t> m_start;  // first value of each column, then the end
    std::vector<OColumnSummary> m_summary;
    int32_t m_materialTop = 0;
    int32_t m_materialBottom = 0;
};
