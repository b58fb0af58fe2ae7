// A family-1 part indexed for measuring many regions quickly: the features of the ROI,
// VStrip and CTool kinds answered from prefix tables in constant time per region, with the
// same values the tools compute. The automatic tool search measures hundreds of thousands
// of candidate regions on the same few parts, which is what this index is for.
//
// The column sums hold when the region's rows take in the part's whole material (every
// column then reads as its summary); ROI areas hold for any rows. Other regions return no
// value, and the caller measures them with the tool itself.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "model/draw/OGeometry.h"
#include "tools/OContourColumns.h"

class OContourPartIndex {
  public:
    OContourPartIndex() = default;
    // The index copies the run list; it stays valid when the source changes.
    explicit OContourPartIndex(std::span<const int16_t> runs) { Build(runs); }
    OContourPartIndex(const OContourPartIndex& other) : OContourPartIndex(other.m_runs) {}
    OContourPartIndex& operator=(const OContourPartIndex& other);

    void Build(std::span<const int16_t> runs);

    const OContourColumns& Columns() const { return m_columns; }
    int iGetColumns() const { return m_columns.iGetColumns(); }
    bool bHasMaterial() const { return m_columns.bHasMaterial(); }

    // The feature of a tool of `kind` (ROI, VStrip, CTool) measuring `featureType` in
    // `region` placed by `mode`, when the tables answer it.
    std::optional<double> Measure(int kind, int featureType, int mode, const ORect& region) const;

  private:
    // Material of column range [first, last] in rows [rowBegin, rowEnd).
    int64_t RectangleArea(int first, int last, int32_t rowBegin, int32_t rowEnd) const;
    // Smallest / largest upper outline of the material columns in [first, last].
    void OutlineRange(int first, int last, int32_t& lowest, int32_t& highest) const;

    std::vector<int16_t> m_runs;
    OContourColumns m_columns;
    // Prefix sums over columns (entry c covers columns 0 .. c - 1).
    std::vector<int32_t> m_materialColumns;  // columns holding material
    std::vector<int64_t> m_highestSum;       // upper outline of material columns
    std::vector<int64_t> m_spanSum;          // highest - lowest of material columns
    // Sparse tables of the upper outline (min and max), level k covering 2^k columns;
    // columns without material hold neutral values.
    std::vector<std::vector<int32_t>> m_outlineMin;
    std::vector<std::vector<int32_t>> m_outlineMax;
    // Summed-area table over the material rows [m_rowBase, m_rowBase + m_rows):
    // m_area[c * (m_rows + 1) + r] = material of columns < c in rows < m_rowBase + r.
    std::vector<int32_t> m_area;
    int32_t m_rowBase = 0;
    int32_t m_rows = 0;
};
