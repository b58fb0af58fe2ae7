#include "extraction/OBasicContourFeatures.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "model/util/Rounding.h"

namespace {

__extension__ typedef __int128 Int128;

// Previous columns larger than this use the coverage integral when their runs are out of
// order; smaller ones are compared run by run.
constexpr size_t kSmallColumn = 32;

// End (exclusive) of the last closed column: values after it belong to no column.
size_t ClosedEnd(std::span<const int16_t> runs) {
    for (size_t pairs = runs.size() / 2; pairs > 0; --pairs) {
        if (runs[2 * pairs - 1] < 0) return 2 * pairs;
    }
    return 0;
}

Int128 FloorDiv(Int128 a, int64_t b) {
    Int128 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

}  // namespace

bool bIsVariantDeviceType(int code) {
    return (code >= 256 && code <= 512) || (code >= 1536 && code <= 1792);
}

void OBasicContourMeasure::BuildIntegral(std::span<const int16_t> runs) {
    m_events.clear();
    for (size_t k = m_prevBegin; k < m_prevEnd; k += 2) {
        const OContourRun r = ContourRunAt(runs, k);
        if (r.bottom <= r.top) continue;
        m_events.push_back({r.top, +1});
        m_events.push_back({r.bottom, -1});
    }
    std::sort(m_events.begin(), m_events.end());
    m_eventRows.clear();
    m_integral.clear();
    m_coverage.clear();
    int64_t integral = 0;
    int32_t coverage = 0;
    for (const auto& [row, step] : m_events) {
        if (!m_eventRows.empty()) integral += int64_t{coverage} * (row - m_eventRows.back());
        if (m_eventRows.empty() || m_eventRows.back() != row) {
            m_eventRows.push_back(row);
            m_integral.push_back(integral);
            m_coverage.push_back(0);
        }
        coverage += step;
        m_coverage.back() = coverage;
    }
    m_integralBuilt = true;
}

int64_t OBasicContourMeasure::IntegralUpTo(int32_t row) const {
    const auto it = std::upper_bound(m_eventRows.begin(), m_eventRows.end(), row);
    if (it == m_eventRows.begin()) return 0;
    const size_t k = static_cast<size_t>(it - m_eventRows.begin()) - 1;
    return m_integral[k] + int64_t{m_coverage[k]} * (row - m_eventRows[k]);
}

int64_t OBasicContourMeasure::OverlapOutOfOrder(std::span<const int16_t> runs, int32_t top,
                                                int32_t bottom) {
    int64_t sum = 0;
    if (m_prevEnd - m_prevBegin <= 2 * kSmallColumn) {
        for (size_t k = m_prevBegin; k < m_prevEnd; k += 2) {
            const OContourRun p = ContourRunAt(runs, k);
            const int32_t ov = std::min(bottom, p.bottom) - std::max(top, p.top);
            if (ov > 0) sum += ov;
        }
        return sum;
    }
    if (!m_integralBuilt) BuildIntegral(runs);
    return bottom > top ? IntegralUpTo(bottom) - IntegralUpTo(top) : 0;
}

void OBasicContourMeasure::Measure(std::span<const int16_t> runs, bool variant,
                                   OBasicContourFeatures& out, OContourColumns* index) {
    out = OBasicContourFeatures();
    const size_t end = ClosedEnd(runs);
    // At most one column per pair; the buffers only grow.
    if (m_firstTop.size() < end / 2) {
        m_firstTop.resize(end / 2);
        m_lastBottom.resize(end / 2);
        m_areaAfter.resize(end / 2);
    }
    m_prevBegin = m_prevEnd = m_prevCursor = 0;
    m_prevSorted = m_curSorted = true;
    m_prevSingle = false;
    m_integralBuilt = false;
    if (index) index->BeginFill(runs);

    const int64_t y2Correction = variant ? 1 : 0;
    int64_t area = 0, sumX = 0, sumY = 0, edges = 0;
    Int128 sumX2 = 0, sumY2 = 0;
    double sumXY = 0;  // shown only, not a feature
    int32_t smallestTop = std::numeric_limits<int32_t>::max();
    int32_t largestEnd = std::numeric_limits<int32_t>::min();
    int64_t x = 0;
    size_t i = 0;
    while (i < end) {
        // One column: x is the same for all its runs, so the x sums are taken per column.
        const size_t columnBegin = i;
        const int32_t columnTop = std::abs(static_cast<int32_t>(runs[i]));
        m_prevCursor = m_prevBegin;
        m_curSorted = true;
        OColumnSummary column;
        int64_t columnSumY = 0, columnSumY2 = 0;
        int32_t lastBottomInColumn = std::numeric_limits<int32_t>::min();
        int32_t runsUnflushed = 0;
        int32_t b = 0;
        int64_t d = 0;
        for (;;) {
            const int32_t t = std::abs(static_cast<int32_t>(runs[i]));
            const int16_t rawBottom = runs[i + 1];
            b = std::abs(static_cast<int32_t>(rawBottom));
            d = b > t ? b - t : 0;
            if (t < lastBottomInColumn) m_curSorted = false;
            lastBottomInColumn = std::max(b, t);
            smallestTop = std::min(smallestTop, t);
            // d and t are not negative: unsigned halving and sixths are plain shifts and
            // multiplications.
            const uint64_t ud = static_cast<uint64_t>(d);
            const uint64_t ut = static_cast<uint64_t>(t);
            columnSumY += static_cast<int64_t>((ud * ud >> 1) + ut * ud + (ud >> 1));
            columnSumY2 +=
                static_cast<int64_t>(ud * (ud + 1) * (2 * ud + 1) / 6 + ut * ud * (ut + ud + 1)) -
                y2Correction;
            if (d > 0) {
                column.lowest = column.area == 0 ? t : std::min(column.lowest, t);
                column.highest = std::max(column.highest, b);
                column.area += d;
            }
            const bool endsColumn = rawBottom < 0;
            // A zero-length run that ends its column adds no edges.
            if (!endsColumn || d > 0)
                edges += 2 * ((d + 1) - Overlap(runs, t, t + static_cast<int32_t>(d)));
            i += 2;
            if (endsColumn) break;
            // Keep the column's 64-bit sums far from overflowing in very long columns.
            if (++runsUnflushed == 65536) {
                sumY2 += columnSumY2;
                columnSumY2 = 0;
                runsUnflushed = 0;
            }
        }
        area += column.area;
        sumX += x * column.area;
        sumY += columnSumY;
        sumY2 += columnSumY2;
        int64_t x2Area = 0;
        if (__builtin_mul_overflow(x * x, column.area, &x2Area))
            sumX2 += Int128{x * x} * column.area;
        else
            sumX2 += x2Area;
        sumXY += static_cast<double>(x) * static_cast<double>(columnSumY);
        largestEnd = std::max(largestEnd, b);
        const size_t c = static_cast<size_t>(x);
        m_firstTop[c] = columnTop;
        m_lastBottom[c] = b;
        m_areaAfter[c] = area;
        if (index) index->AddColumn(static_cast<int32_t>(columnBegin), column);
        // Under the variant rule an empty column does not become the previous column.
        const bool emptyColumn = i == columnBegin + 2 && d == 0;
        if (!(variant && emptyColumn)) {
            m_prevBegin = columnBegin;
            m_prevEnd = i;
            m_prevSorted = m_curSorted;
            m_integralBuilt = false;
            m_prevSingle = i == columnBegin + 2;
            m_prevRun = ContourRunAt(runs, columnBegin);
        }
        ++x;
    }
    if (index) index->EndFill(static_cast<int32_t>(end));

    const int columns = static_cast<int>(x);
    out.columns = columns;
    if (columns == 0) return;

    const int32_t height = largestEnd - smallestTop;
    const int32_t middleRow = smallestTop + height / 2;
    int64_t lowerArea = 0;
    for (size_t i = 0; i < end; i += 2) {
        const int32_t t = std::abs(static_cast<int32_t>(runs[i]));
        const int32_t b = std::abs(static_cast<int32_t>(runs[i + 1]));
        const int32_t top = std::min(b, middleRow);
        if (b > t && top > t) lowerArea += top - t;
    }
    const int64_t leftArea =
        columns / 2 > 0 ? m_areaAfter[static_cast<size_t>(columns / 2 - 1)] : 0;

    double cx = 0, cy = 0, minRadius = 0, maxRadius = 0, momentX = 0, momentY = 0;
    if (area > 0) {
        cx = dCBRound(static_cast<double>(sumX) / static_cast<double>(area));
        cy = dCBRound(static_cast<double>(sumY) / static_cast<double>(area));
        double minSq = DBL_MAX, maxSq = -DBL_MAX;
        for (int c = 0; c < columns; ++c) {
            const double dx = cx - c;
            const double dx2 = dx * dx;
            const double dt = cy - m_firstTop[static_cast<size_t>(c)];
            const double db = cy - m_lastBottom[static_cast<size_t>(c)];
            const double top = dx2 + dt * dt;
            const double bottom = dx2 + db * db;
            if (variant) {
                if (top < minSq)
                    minSq = top;
                else
                    maxSq = std::max(maxSq, top);
            } else {
                minSq = std::min(minSq, top);
                maxSq = std::max(maxSq, top);
            }
            minSq = std::min(minSq, bottom);
            maxSq = std::max(maxSq, bottom);
        }
        minRadius = std::sqrt(minSq);
        maxRadius = std::sqrt(std::max(maxSq, 0.0));
        const Int128 less = variant ? 1 : 0;
        momentX = static_cast<double>(sumX2 - (FloorDiv(Int128{sumX} * sumX, area) - less));
        momentY = static_cast<double>(sumY2 - (FloorDiv(Int128{sumY} * sumY, area) - less));
    }

    using namespace BasicFeature;
    out.values[kColumns] = columns;
    out.values[kHeight] = height;
    out.values[kArea] = static_cast<double>(area);
    out.values[kEdges] = static_cast<double>(edges);
    out.values[kLeftArea] = static_cast<double>(leftArea);
    out.values[kLowerArea] = static_cast<double>(lowerArea);
    out.values[kCentreRow] = cy;
    out.values[kCentreColumn] = cx;
    out.values[kMinRadius] = minRadius;
    out.values[kMaxRadius] = maxRadius;
    out.values[kMomentX] = momentX;
    out.values[kMomentY] = momentY;
    for (double& v : out.values)
        v = dCBRound(v);

    out.area = static_cast<double>(area);
    out.sumX = static_cast<double>(sumX);
    out.sumY = static_cast<double>(sumY);
    out.sumX2 = static_cast<double>(sumX2);
    out.sumY2 = static_cast<double>(sumY2);
    out.sumXY = sumXY;
    out.centreX = cx;
    out.centreY = cy;
    out.smallestTop = smallestTop;
    out.middleRow = middleRow;
}
