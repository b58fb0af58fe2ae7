#include "tools/OContourColumns.h"

#include <algorithm>

void OContourColumns::BeginFill(std::span<const int16_t> runs) {
    m_runs = runs;
    m_columns = 0;
    // At most one column per pair.
    const size_t columns = runs.size() / 2;
    if (m_summary.size() < columns) m_summary.resize(columns);
    if (m_start.size() < columns + 1) m_start.resize(columns + 1);
    m_materialTop = std::numeric_limits<int32_t>::max();
    m_materialBottom = std::numeric_limits<int32_t>::min();
}

void OContourColumns::EndFill(int32_t end) {
    m_start[static_cast<size_t>(m_columns)] = end;
}

void OContourColumns::Build(std::span<const int16_t> runs) {
    BeginFill(runs);
    const size_t pairs = runs.size() / 2;
    size_t columnStart = 0;
    size_t closedEnd = 0;
    OColumnSummary column;
    for (size_t p = 0; p < pairs; ++p) {
        const size_t i = 2 * p;
        const OContourRun run = ContourRunAt(runs, i);
        if (run.bottom > run.top) {
            if (!column.bHasMaterial()) {
                column.lowest = run.top;
                column.highest = run.bottom;
            } else {
                column.lowest = std::min(column.lowest, run.top);
                column.highest = std::max(column.highest, run.bottom);
            }
            column.area += run.bottom - run.top;
        }
        if (runs[i + 1] < 0) {
            AddColumn(static_cast<int32_t>(columnStart), column);
            column = OColumnSummary();
            columnStart = i + 2;
            closedEnd = i + 2;
        }
    }
    EndFill(static_cast<int32_t>(closedEnd));
}
