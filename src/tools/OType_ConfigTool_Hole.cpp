#include "tools/OType_ConfigTool_Hole.h"

#include <algorithm>
#include <numeric>
#include <vector>

#include "model/draw/OPainter.h"

namespace {

struct OGap {
    int32_t begin = 0;
    int32_t end = 0;
    int component = 0;
};

// The holes of one column inside the rows: the background between consecutive runs that
// hold material, in run order.
void ColumnGaps(std::span<const int16_t> column, int32_t rowBegin, int32_t rowEnd,
                std::vector<OGap>& gaps) {
    gaps.clear();
    bool havePrevious = false;
    int32_t previousBottom = 0;
    for (size_t i = 0; i + 1 < column.size(); i += 2) {
        const OContourRun r = ContourRunAt(column, i);
        if (r.Length() == 0) continue;
        if (havePrevious && r.top > previousBottom) {
            const int32_t a = std::max(previousBottom, rowBegin);
            const int32_t b = std::min(r.top, rowEnd);
            if (b > a) gaps.push_back({a, b, 0});
        }
        previousBottom = havePrevious ? std::max(previousBottom, r.bottom) : r.bottom;
        havePrevious = true;
    }
}

int Find(std::vector<int>& parent, int i) {
    while (parent[static_cast<size_t>(i)] != i) {
        parent[static_cast<size_t>(i)] =
            parent[static_cast<size_t>(parent[static_cast<size_t>(i)])];
        i = parent[static_cast<size_t>(i)];
    }
    return i;
}

}  // namespace

OType_ConfigTool_Hole::OType_ConfigTool_Hole()
    : OType_ConfigTool_Contour(ContourFeatureType::kHoleArea, {0, 0, 99, 511}) {}

std::unique_ptr<OType_ConfigTool> OType_ConfigTool_Hole::CreateNew() const {
    return std::make_unique<OType_ConfigTool_Hole>();
}

std::vector<int> OType_ConfigTool_Hole::GetSubKinds() const {
    return {ContourFeatureType::kHoleArea, ContourFeatureType::kHoleCount};
}

OToolMeasurement OType_ConfigTool_Hole::Measure(const OContourColumns& columns,
                                                const OType_FeatureArray&) const {
    const ORect placed = GetPlacedRegion(columns);
    const int32_t rowBegin = placed.top;
    const int32_t rowEnd = placed.bottom + 1;
    OToolMeasurement m;
    m.valid = true;
    int first = 0, last = -1;
    if (!ContourMeasure::bColumnRange(columns, placed, first, last)) return m;
    const bool count = iGetFeatureType() == ContourFeatureType::kHoleCount;
    // Scratch lists kept between calls: extraction runs part after part.
    thread_local std::vector<OGap> previous, current;
    thread_local std::vector<int> parent;
    previous.clear();
    parent.clear();
    int64_t area = 0;
    for (int c = first; c <= last; ++c) {
        const OColumnSummary& s = columns.Summary(c);
        // A column whose material is one block, or that lies outside the rows, has no hole.
        if (s.area == s.highest - s.lowest || s.highest <= rowBegin || s.lowest >= rowEnd) {
            previous.clear();
            continue;
        }
        ColumnGaps(columns.ColumnValues(c), rowBegin, rowEnd, current);
        for (OGap& g : current) {
            area += g.end - g.begin;
            if (!count) continue;
            g.component = static_cast<int>(parent.size());
            parent.push_back(g.component);
            // Gaps of neighbouring columns that share rows belong to the same hole.
            for (const OGap& p : previous) {
                if (std::min(g.end, p.end) > std::max(g.begin, p.begin))
                    parent[static_cast<size_t>(Find(parent, p.component))] =
                        Find(parent, g.component);
            }
        }
        std::swap(previous, current);
    }
    if (count) {
        int holes = 0;
        for (int i = 0; i < static_cast<int>(parent.size()); ++i)
            holes += Find(parent, i) == i ? 1 : 0;
        m.value = holes;
    } else {
        m.value = static_cast<double>(area);
    }
    return m;
}

void OType_ConfigTool_Hole::DrawMeasurement(OPainter& painter, const OContourColumns& columns,
                                            const ORect& placed) const {
    int first = 0, last = -1;
    if (!ContourMeasure::bColumnRange(columns, placed, first, last)) return;
    painter.SetPen({0, 200, 200});
    std::vector<OGap> gaps;
    for (int c = first; c <= last; ++c) {
        ColumnGaps(columns.ColumnValues(c), placed.top, placed.bottom + 1, gaps);
        for (const OGap& g : gaps)
            painter.DrawLine({c, g.begin}, {c, g.end});
    }
}
