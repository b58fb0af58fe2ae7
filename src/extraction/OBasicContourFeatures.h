// The twelve basic contour features of a family-1 part, measured from its run list.
//
// Index: feature type, quantity
//   0: 3   number of columns            6: 5   centre of gravity, row (sum y / area)
//   1: 4   height (largest column-end   7: 6   centre of gravity, column (sum x / area)
//          bottom - smallest top)       8: 1   smallest distance of the centre to a
//   2: 0   area (sum of run heights)            column's first top or last bottom
//   3: 12  edge count                   9: 2   largest such distance
//   4: 9   area of the columns left    10: 7   central second moment in x
//          of the middle column        11: 8   central second moment in y
//   5: 18  area between the smallest top and the middle row
// The sums follow the device's integer arithmetic exactly (docs/extraction.md), including
// the variant of older firmware lines. Every value is rounded with dCBRound.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "tools/ContourToolTypes.h"
#include "tools/OContourColumns.h"

// The variant arithmetic of the firmware lines whose device type code lies in 256...512 or
// 1536...1792.
bool bIsVariantDeviceType(int deviceTypeCode);

// Results and the sums they come from (the sums as doubles, for drawing and display).
struct OBasicContourFeatures {
    std::array<double, BasicFeature::kCount> values{};
    int columns = 0;
    double area = 0, sumX = 0, sumY = 0, sumX2 = 0, sumY2 = 0, sumXY = 0;
    double centreX = 0, centreY = 0;
    int32_t smallestTop = 0, middleRow = 0;
};

// Measures run lists; keeps its scratch buffers between parts so that measuring many parts
// allocates nothing after the first ones.
class OBasicContourMeasure {
  public:
    // Malformed run lists follow the rules of OContourColumns. When `index` is given it is
    // filled with the column starts of `runs` on the way.
    void Measure(std::span<const int16_t> runs, bool variantRule, OBasicContourFeatures& out,
                 OContourColumns* index = nullptr);

  private:
    // Sum over the previous column's runs of min(bottom, b) - max(top, t) where positive.
    int64_t Overlap(std::span<const int16_t> runs, int32_t top, int32_t bottom) {
        if (m_prevSingle) {
            // The common case: the previous column is one run.
            const int32_t ov = (bottom < m_prevRun.bottom ? bottom : m_prevRun.bottom) -
                               (top > m_prevRun.top ? top : m_prevRun.top);
            return ov > 0 ? ov : 0;
        }
        if (!(m_prevSorted && m_curSorted)) return OverlapOutOfOrder(runs, top, bottom);
        // Runs of both columns ascend: a moving cursor finds the overlapping ones.
        int64_t sum = 0;
        while (m_prevCursor < m_prevEnd && Bottom(runs, m_prevCursor) <= top)
            m_prevCursor += 2;
        for (size_t k = m_prevCursor; k < m_prevEnd; k += 2) {
            const OContourRun p = ContourRunAt(runs, k);
            if (p.top >= bottom) break;
            const int32_t ov =
                (bottom < p.bottom ? bottom : p.bottom) - (top > p.top ? top : p.top);
            if (ov > 0) sum += ov;
        }
        return sum;
    }
    static int32_t Bottom(std::span<const int16_t> runs, size_t k) {
        const OContourRun r = ContourRunAt(runs, k);
        return r.bottom > r.top ? r.bottom : r.top;
    }
    int64_t OverlapOutOfOrder(std::span<const int16_t> runs, int32_t top, int32_t bottom);
    void BuildIntegral(std::span<const int16_t> runs);
    int64_t IntegralUpTo(int32_t row) const;

    std::vector<int32_t> m_firstTop;
    std::vector<int32_t> m_lastBottom;
    std::vector<int64_t> m_areaAfter;  // area up to and including each column
    // The previous column is a range of the run list; its runs are in order (ascending and
    // disjoint) in every list the device writes.
    size_t m_prevBegin = 0;
    size_t m_prevEnd = 0;
    bool m_prevSorted = true;
    bool m_curSorted = true;
    bool m_prevSingle = false;
    OContourRun m_prevRun;
    size_t m_prevCursor = 0;
    // Coverage of the previous column for columns whose runs are not in order: the sorted
    // event rows and the integral of the coverage up to each of them.
    std::vector<std::pair<int32_t, int32_t>> m_events;
    std::vector<int32_t> m_eventRows;
    std::vector<int64_t> m_integral;
    std::vector<int32_t> m_coverage;
    bool m_integralBuilt = false;
};
