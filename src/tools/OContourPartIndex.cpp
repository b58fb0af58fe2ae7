#include "tools/OContourPartIndex.h"

#include <algorithm>
#include <bit>
#include <limits>

#include "tools/ContourToolTypes.h"
#include "tools/OType_ConfigTool_Contour.h"

namespace {

constexpr int32_t kNoOutlineMin = std::numeric_limits<int32_t>::max();
constexpr int32_t kNoOutlineMax = std::numeric_limits<int32_t>::min();

}  // namespace

OContourPartIndex& OContourPartIndex::operator=(const OContourPartIndex& other) {
    if (this != &other) Build(other.m_runs);
    return *this;
}

void OContourPartIndex::Build(std::span<const int16_t> runs) {
    m_runs.assign(runs.begin(), runs.end());
    m_columns.Build(m_runs);
    const int n = m_columns.iGetColumns();
    const size_t count = static_cast<size_t>(n);

    m_materialColumns.assign(count + 1, 0);
    m_highestSum.assign(count + 1, 0);
    m_spanSum.assign(count + 1, 0);
    std::vector<int32_t> outlineMin(count), outlineMax(count);
    for (int c = 0; c < n; ++c) {
        const OColumnSummary& s = m_columns.Summary(c);
        const size_t i = static_cast<size_t>(c);
        const bool material = s.bHasMaterial();
        m_materialColumns[i + 1] = m_materialColumns[i] + (material ? 1 : 0);
        m_highestSum[i + 1] = m_highestSum[i] + (material ? s.highest : 0);
        m_spanSum[i + 1] = m_spanSum[i] + (material ? s.highest - s.lowest : 0);
        outlineMin[i] = material ? s.highest : kNoOutlineMin;
        outlineMax[i] = material ? s.highest : kNoOutlineMax;
    }

    m_outlineMin.clear();
    m_outlineMax.clear();
    m_outlineMin.push_back(std::move(outlineMin));
    m_outlineMax.push_back(std::move(outlineMax));
    for (size_t width = 2; width <= count; width *= 2) {
        const std::vector<int32_t>& lowerMin = m_outlineMin.back();
        const std::vector<int32_t>& lowerMax = m_outlineMax.back();
        const size_t half = width / 2;
        std::vector<int32_t> levelMin(count - width + 1), levelMax(count - width + 1);
        for (size_t c = 0; c + width <= count; ++c) {
            levelMin[c] = std::min(lowerMin[c], lowerMin[c + half]);
            levelMax[c] = std::max(lowerMax[c], lowerMax[c + half]);
        }
        m_outlineMin.push_back(std::move(levelMin));
        m_outlineMax.push_back(std::move(levelMax));
    }

    // Summed-area table over the rows that hold material. Runs count one by one, as the
    // tools count them (overlapping runs of a malformed column count twice).
    m_rowBase = m_columns.iGetMaterialTop();
    m_rows = m_columns.iGetMaterialBottom() - m_rowBase;
    const size_t stride = static_cast<size_t>(m_rows) + 1;
    m_area.assign((count + 1) * stride, 0);
    std::vector<int32_t> column(stride + 1);
    for (int c = 0; c < n; ++c) {
        std::fill(column.begin(), column.end(), 0);
        const std::span<const int16_t> values = m_columns.ColumnValues(c);
        for (size_t i = 0; i + 1 < values.size(); i += 2) {
            const OContourRun r = ContourRunAt(values, i);
            if (r.Length() == 0) continue;
            ++column[static_cast<size_t>(r.top - m_rowBase)];
            --column[static_cast<size_t>(r.bottom - m_rowBase)];
        }
        // column[r] becomes the rows covered at row base + r, then the material below it.
        const int32_t* previous = &m_area[static_cast<size_t>(c) * stride];
        int32_t* current = &m_area[(static_cast<size_t>(c) + 1) * stride];
        int32_t covered = 0, below = 0;
        for (size_t r = 0; r < stride; ++r) {
            current[r] = previous[r] + below;
            covered += column[r];
            below += covered;
        }
    }
}

int64_t OContourPartIndex::RectangleArea(int first, int last, int32_t rowBegin,
                                         int32_t rowEnd) const {
    const int32_t r0 = std::clamp(rowBegin - m_rowBase, 0, m_rows);
    const int32_t r1 = std::clamp(rowEnd - m_rowBase, 0, m_rows);
    if (r1 <= r0) return 0;
    const size_t stride = static_cast<size_t>(m_rows) + 1;
    const auto at = [&](int c, int32_t r) {
        return static_cast<int64_t>(
            m_area[static_cast<size_t>(c) * stride + static_cast<size_t>(r)]);
    };
    return at(last + 1, r1) - at(first, r1) - at(last + 1, r0) + at(first, r0);
}

void OContourPartIndex::OutlineRange(int first, int last, int32_t& lowest, int32_t& highest) const {
    const size_t width = static_cast<size_t>(last - first + 1);
    const size_t level = static_cast<size_t>(std::bit_width(width) - 1);
    const size_t a = static_cast<size_t>(first);
    const size_t b = static_cast<size_t>(last + 1) - (size_t{1} << level);
    lowest = std::min(m_outlineMin[level][a], m_outlineMin[level][b]);
    highest = std::max(m_outlineMax[level][a], m_outlineMax[level][b]);
}

std::optional<double> OContourPartIndex::Measure(int kind, int featureType, int mode,
                                                 const ORect& region) const {
    const ORect placed = OType_ConfigTool_Contour::PlaceRegion(region, mode, m_columns);
    const int32_t rowBegin = placed.top;
    const int32_t rowEnd = placed.bottom + 1;
    int first = 0, last = -1;
    const bool anyColumn = ContourMeasure::bColumnRange(m_columns, placed, first, last);
    if (kind == ContourToolKind::kROI) {
        return anyColumn ? static_cast<double>(RectangleArea(first, last, rowBegin, rowEnd)) : 0.0;
    }
    if (kind != ContourToolKind::kVStrip && kind != ContourToolKind::kCTool) return std::nullopt;
    if (!anyColumn) return 0.0;
    const bool wholeColumns =
        !m_columns.bHasMaterial() ||
        (rowBegin <= m_columns.iGetMaterialTop() && rowEnd >= m_columns.iGetMaterialBottom());
    if (!wholeColumns) return std::nullopt;
    const size_t a = static_cast<size_t>(first);
    const size_t b = static_cast<size_t>(last) + 1;
    if (kind == ContourToolKind::kVStrip) return static_cast<double>(m_spanSum[b] - m_spanSum[a]);
    const int32_t crossed = m_materialColumns[b] - m_materialColumns[a];
    switch (featureType) {
        case ContourFeatureType::kContourWidth:
            return static_cast<double>(crossed);
        case ContourFeatureType::kContourHeight: {
            if (crossed == 0) return 0.0;
            int32_t lowest = 0, highest = 0;
            OutlineRange(first, last, lowest, highest);
            return static_cast<double>(highest - lowest);
        }
        default:
            return static_cast<double>(m_highestSum[b] - m_highestSum[a] -
                                       static_cast<int64_t>(crossed) * rowBegin);
    }
}
