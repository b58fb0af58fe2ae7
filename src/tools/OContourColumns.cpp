#include "tools/OContourColumns.h"

#include <algorithm>
#include <limits>

void OContourColumns::BeginFill(std::span<const int16_t> runs) {
    m_runs = runs;
    m_start.clear();
    m_materialTop = 0;
    m_materialBottom = 0;
}

void OContourColumns::EndFill(int32_t end, int32_t materialTop, int32_t materialBottom) {
    if (m_start.empty()) return;
    m_start.push_back(end);
    if (materialBottom > materialTop) {
        m_materialTop = materialTop;
        m_materialBottom = materialBottom;
    }
}

void OContourColumns::Build(std::span<const int16_t> runs) {
    BeginFill(runs);
    int32_t top = std::numeric_limits<int32_t>::max();
    int32_t bottom = std::numeric_limits<int32_t>::min();
    const size_t pairs = runs.size() / 2;
    size_t columnStart = 0;
    size_t closedEnd = 0;
    for (size_t p = 0; p < pairs; ++p) {
        const size_t i = 2 * p;
        const OContourRun run = ContourRunAt(runs, i);
        if (run.bottom > run.top) {
            top = std::min(top, run.top);
            bottom = std::max(bottom, run.bottom);
        }
        if (runs[i + 1] < 0) {
            AddColumn(static_cast<int32_t>(columnStart));
            columnStart = i + 2;
            closedEnd = i + 2;
        }
    }
    // Material of an unclosed trailing column does not count.
    if (closedEnd < runs.size() && bottom > top) {
        top = std::numeric_limits<int32_t>::max();
        bottom = std::numeric_limits<int32_t>::min();
        for (size_t i = 0; i + 1 < closedEnd; i += 2) {
            const OContourRun run = ContourRunAt(runs, i);
            if (run.bottom > run.top) {
                top = std::min(top, run.top);
                bottom = std::max(bottom, run.bottom);
            }
        }
    }
    EndFill(static_cast<int32_t>(closedEnd), top, bottom);
}
