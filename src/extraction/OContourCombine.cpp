#include "extraction/OContourCombine.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "model/part/OType_Part.h"
#include "tools/OContourColumns.h"

namespace {

using OMask = std::array<uint8_t, kCombineMaskRows>;

void Rasterise(std::span<const int16_t> column, OMask& mask) {
    mask.fill(0);
    constexpr int32_t kLastRow = kCombineMaskRows - 1;
    for (size_t i = 0; i + 1 < column.size(); i += 2) {
        const OContourRun r = ContourRunAt(column, i);
        const int32_t a = std::clamp(r.top, 0, kLastRow);
        const int32_t b = std::clamp(r.bottom, 0, kLastRow);
        if (b > a) std::memset(mask.data() + a, 1, static_cast<size_t>(b - a));
    }
}

// Runs of set rows: (first set row, first clear row after it); (1, -1) when none.
void WriteMask(const OMask& mask, std::vector<int16_t>& out) {
    const size_t columnStart = out.size();
    int32_t row = 0;
    while (row < kCombineMaskRows) {
        if (!mask[static_cast<size_t>(row)]) {
            ++row;
            continue;
        }
        const int32_t top = row;
        while (row < kCombineMaskRows && mask[static_cast<size_t>(row)])
            ++row;
        out.push_back(static_cast<int16_t>(top));
        out.push_back(static_cast<int16_t>(row));
    }
    if (out.size() == columnStart) {
        out.push_back(1);
        out.push_back(-1);
    } else {
        out.back() = static_cast<int16_t>(-out.back());
    }
}

bool bIsEmptyColumn(std::span<const int16_t> column) {
    return column.size() == 2 && ContourRunAt(column, 0).Length() == 0;
}

}  // namespace

std::vector<int16_t> CombineContours(std::span<const int16_t> a, std::span<const int16_t> b,
                                     ContourCombineOp op) {
    if (a.empty()) return {b.begin(), b.end()};
    if (b.empty()) return {a.begin(), a.end()};
    OContourColumns ca, cb;
    ca.Build(a);
    cb.Build(b);
    const int columns = std::min(std::max(ca.iGetColumns(), cb.iGetColumns()), kCombineMaxColumns);
    std::vector<int16_t> out;
    out.reserve(static_cast<size_t>(columns) * 2);
    OMask ma, mb;
    for (int c = 0; c < columns; ++c) {
        Rasterise(ca.ColumnValues(c), ma);
        Rasterise(cb.ColumnValues(c), mb);
        for (size_t r = 0; r < ma.size(); ++r) {
            switch (op) {
                case ContourCombineOp::Or:
                    ma[r] = ma[r] | mb[r];
                    break;
                case ContourCombineOp::And:
                    ma[r] = ma[r] & mb[r];
                    break;
                case ContourCombineOp::Xor:
                    ma[r] = ma[r] ^ mb[r];
                    break;
            }
        }
        WriteMask(ma, out);
    }
    return out;
}

std::vector<int16_t> MirrorContourVertical(std::span<const int16_t> runs) {
    OContourColumns index;
    index.Build(runs);
    std::vector<int16_t> out;
    out.reserve(runs.size());
    for (int c = index.iGetColumns() - 1; c >= 0; --c) {
        const auto column = index.ColumnValues(c);
        if (bIsEmptyColumn(column)) {
            out.push_back(1);
            out.push_back(-1);
            continue;
        }
        for (size_t i = 0; i + 1 < column.size(); i += 2) {
            const OContourRun r = ContourRunAt(column, i);
            out.push_back(static_cast<int16_t>(std::min(r.top, 32767)));
            out.push_back(static_cast<int16_t>(std::min(r.bottom, 32767)));
        }
        out.back() = static_cast<int16_t>(-std::max<int16_t>(out.back(), 1));
    }
    return out;
}

std::vector<int16_t> MirrorContourHorizontal(std::span<const int16_t> runs, int height) {
    height = std::clamp(height, 1, 32767);
    OContourColumns index;
    index.Build(runs);
    std::vector<int16_t> out;
    out.reserve(runs.size());
    std::vector<OContourRun> mirrored;
    for (int c = 0; c < index.iGetColumns(); ++c) {
        const auto column = index.ColumnValues(c);
        mirrored.clear();
        for (size_t i = column.size(); i >= 2; i -= 2) {
            const OContourRun r = ContourRunAt(column, i - 2);
            const int32_t top = std::clamp(r.top, 0, height);
            const int32_t bottom = std::clamp(r.bottom, top, height);
            mirrored.push_back({height - bottom, height - top});
        }
        // A last run that now ends at row 0 cannot carry the column-end mark.
        while (!mirrored.empty() && mirrored.back().bottom == 0)
            mirrored.pop_back();
        const bool empty = mirrored.empty() || (mirrored.size() == 1 && mirrored[0].Length() == 0);
        if (empty) {
            out.push_back(1);
            out.push_back(-1);
            continue;
        }
        for (const OContourRun& r : mirrored) {
            out.push_back(static_cast<int16_t>(r.top));
            out.push_back(static_cast<int16_t>(r.bottom));
        }
        out.back() = static_cast<int16_t>(-out.back());
    }
    return out;
}

void MirrorPartVertical(OType_Part& part) {
    if (part.bHasBackup()) part.SetBackupContour(MirrorContourVertical(part.BackupContour()));
    part.SetConturData(MirrorContourVertical(part.Contour()));
}

void MirrorPartHorizontal(OType_Part& part, int height) {
    if (part.bHasBackup())
        part.SetBackupContour(MirrorContourHorizontal(part.BackupContour(), height));
    part.SetConturData(MirrorContourHorizontal(part.Contour(), height));
}
